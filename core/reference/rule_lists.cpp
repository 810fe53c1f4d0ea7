#include "rule_lists.h"

#include "day_rules.h"
#include "yishu/yishu.h"

namespace yishu::reference {
namespace {

std::string CodeKey(int code) {
  std::string key = std::to_string(10000 + code).substr(1);
  return key + ' ';
}

std::u32string Widen(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }

Rule CodeRule(const CodeRow& row) {
  const std::string key = CodeKey(row.code);
  return {key, std::string{static_cast<char>(row.lead), static_cast<char>(row.trail)},
          Widen(key), std::u32string(1, row.unicode)};
}

std::vector<Rule> BuildCodeToChar() {
  std::vector<Rule> rules;
  const auto days_before = [](const CodeRow& row) { return row.code >= 9941; };
  bool days_added = false;
  for (const CodeRow& row : CodeBook()) {
    if (!days_added && days_before(row)) {
      for (const detail::DayText& d : detail::kDayTexts) {
        const std::string key(d.key, 5);
        rules.push_back({key, std::string(d.cp936, 2 * d.length), Widen(key),
                         std::u32string(d.unicode, d.unicode + d.length)});
      }
      days_added = true;
    }
    rules.push_back(CodeRule(row));
  }
  return rules;
}

std::vector<Rule> BuildCharToCode() {
  std::vector<Rule> rules;
  for (const CodeRow& row : CodeBook()) {
    if (!row.produced) continue;
    Rule r = CodeRule(row);
    std::swap(r.key, r.replacement);
    std::swap(r.unicode_key, r.unicode_replacement);
    rules.push_back(std::move(r));
  }
  return rules;
}

}  // namespace

const std::vector<Rule>& CodeToCharRules() {
  static const std::vector<Rule> rules = BuildCodeToChar();
  return rules;
}

const std::vector<Rule>& CharToCodeRules() {
  static const std::vector<Rule> rules = BuildCharToCode();
  return rules;
}

}  // namespace yishu::reference

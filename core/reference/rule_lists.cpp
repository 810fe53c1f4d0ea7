#include "rule_lists.h"

#include <map>

#include "day_rules.h"
#include "variant_table.h"
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
          Widen(key), std::u32string(1, row.unicode), row.lead != 0};
}

std::vector<Rule> BuildCodeToChar(Book book) {
  std::vector<Rule> rules;
  const auto days_before = [](const CodeRow& row) { return row.code >= 9941; };
  bool days_added = book != Book::Mainland;
  for (const CodeRow& row : CodeBook(book)) {
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

Rule Reversed(Rule r) {
  std::swap(r.key, r.replacement);
  std::swap(r.unicode_key, r.unicode_replacement);
  return r;
}

std::vector<Rule> BuildCharToCode(Book book) {
  std::vector<Rule> rules;
  for (const CodeRow& row : CodeBook(book)) {
    if (row.produced) rules.push_back(Reversed(CodeRule(row)));
  }
  return rules;
}

// The code each character's first rule gives it.
std::map<char32_t, std::string> FirstCodes(Book book) {
  std::map<char32_t, std::string> codes;
  for (const Rule& r : CharToCodeRules(book)) codes.emplace(r.unicode_key[0], r.replacement);
  return codes;
}

Book Other(Book book) { return book == Book::Mainland ? Book::Taiwan : Book::Mainland; }

// For each character of the variant pairs that `book` has no rule for: the
// set of codes its variants have there.
struct VariantCodes {
  const detail::VariantPair* pair;  // the first pair of the character
  std::set<std::string> codes;
};

std::map<char32_t, VariantCodes> CodesThroughVariants(Book book) {
  const auto own = FirstCodes(book);
  std::map<char32_t, VariantCodes> found;
  for (std::size_t i = 0; i < detail::kVariantPairCount; ++i) {
    const detail::VariantPair& p = detail::kVariantPairs[i];
    if (own.count(p.character)) continue;
    VariantCodes& v = found.try_emplace(p.character, VariantCodes{&p, {}}).first->second;
    if (const auto it = own.find(p.variant); it != own.end()) v.codes.insert(it->second);
  }
  return found;
}

std::vector<Rule> BuildVariantRules(Book book) {
  std::vector<Rule> rules;
  for (const auto& [c, v] : CodesThroughVariants(book)) {
    if (v.codes.size() != 1) continue;
    const std::string& code = *v.codes.begin();
    rules.push_back({std::string{static_cast<char>(v.pair->lead), static_cast<char>(v.pair->trail)},
                     code, std::u32string(1, c), Widen(code), v.pair->lead != 0});
  }
  return rules;
}

Leftovers BuildLeftovers(Book book) {
  Leftovers left;
  const auto own = FirstCodes(book);
  const auto through = CodesThroughVariants(book);
  for (const auto& [c, v] : through) {
    if (v.codes.size() < 2) continue;
    left.ambiguous.insert(c);
    if (v.pair->lead != 0) left.pair_chars[static_cast<std::uint16_t>(v.pair->lead << 8 | v.pair->trail)] = c;
  }
  for (const CodeRow& row : CodeBook(Other(book))) {
    if (!row.produced || own.count(row.unicode)) continue;
    if (const auto it = through.find(row.unicode); it != through.end() && !it->second.codes.empty()) continue;
    left.other_book.insert(row.unicode);
    if (row.lead != 0) left.pair_chars[static_cast<std::uint16_t>(row.lead << 8 | row.trail)] = row.unicode;
  }
  const char16_t* ideograph = detail::kCp936Ideographs;
  for (std::size_t i = 0; i < detail::kCp936IdeographRangeCount; ++i) {
    const detail::Cp936Range& r = detail::kCp936IdeographRanges[i];
    for (unsigned pair = r.first; pair <= r.last; ++pair) {
      left.pair_chars.emplace(static_cast<std::uint16_t>(pair), *ideograph++);
    }
  }
  return left;
}

}  // namespace

const std::vector<Rule>& CodeToCharRules(Book book) {
  static const std::vector<Rule> mainland = BuildCodeToChar(Book::Mainland);
  static const std::vector<Rule> taiwan = BuildCodeToChar(Book::Taiwan);
  return book == Book::Taiwan ? taiwan : mainland;
}

const std::vector<Rule>& CharToCodeRules(Book book) {
  static const std::vector<Rule> mainland = BuildCharToCode(Book::Mainland);
  static const std::vector<Rule> taiwan = BuildCharToCode(Book::Taiwan);
  return book == Book::Taiwan ? taiwan : mainland;
}

const std::vector<Rule>& VariantRules(Book book) {
  static const std::vector<Rule> mainland = BuildVariantRules(Book::Mainland);
  static const std::vector<Rule> taiwan = BuildVariantRules(Book::Taiwan);
  return book == Book::Taiwan ? taiwan : mainland;
}

const Leftovers& LeftoversOf(Book book) {
  static const Leftovers mainland = BuildLeftovers(Book::Mainland);
  static const Leftovers taiwan = BuildLeftovers(Book::Taiwan);
  return book == Book::Taiwan ? taiwan : mainland;
}

}  // namespace yishu::reference

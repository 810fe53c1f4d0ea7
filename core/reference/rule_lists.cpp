#include "rule_lists.h"

#include <map>
#include <tuple>

#include "code_table.h"
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
  Rule r{key, std::string{static_cast<char>(row.lead), static_cast<char>(row.trail)}, Widen(key),
         std::u32string(1, row.unicode), row.lead != 0};
  r.code = row.code;
  return r;
}

constexpr Book kAllBooks[] = {Book::Mainland, Book::Taiwan, Book::Eccc};

// The CP936 pair of each ideograph the code page holds.
const std::map<char32_t, std::uint16_t>& IdeographPairs() {
  static const std::map<char32_t, std::uint16_t> pairs = [] {
    std::map<char32_t, std::uint16_t> m;
    const char16_t* ideograph = detail::kCp936Ideographs;
    for (std::size_t i = 0; i < detail::kCp936IdeographRangeCount; ++i) {
      const detail::Cp936Range& r = detail::kCp936IdeographRanges[i];
      for (unsigned pair = r.first; pair <= r.last; ++pair) {
        m.emplace(*ideograph++, static_cast<std::uint16_t>(pair));
      }
    }
    return m;
  }();
  return pairs;
}

// The standard form that decoding may write for `c`, or 0.
char32_t StandardOf(char32_t c) {
  for (std::size_t i = 0; i < detail::kStandardFormCount; ++i) {
    if (detail::kStandardForms[i].old_form == c) return detail::kStandardForms[i].standard;
  }
  return 0;
}

std::uint8_t MissingColumn(int code) {
  for (std::size_t i = 0; i < detail::kEcccGapCount; ++i) {
    if (detail::kEcccGaps[i].code == code) return detail::kEcccGaps[i].missing;
  }
  return 0;
}

std::vector<Rule> BuildCodeToChar(Book book, Script script, bool standard_forms) {
  std::vector<Rule> rules;
  const auto days_before = [](const CodeRow& row) { return row.code >= 9941; };
  bool days_added = book != Book::Mainland;
  const bool traditional =
      book == Book::Taiwan || (book == Book::Eccc && script == Script::Traditional);
  for (const CodeRow& row : CodeBook(book, script)) {
    if (!days_added && days_before(row)) {
      for (const detail::DayText& d : detail::kDayTexts) {
        const std::string key(d.key, 5);
        rules.push_back({key, std::string(d.cp936, 2 * d.length), Widen(key),
                         std::u32string(d.unicode, d.unicode + d.length)});
      }
      days_added = true;
    }
    Rule rule = CodeRule(row);
    if (book == Book::Eccc && MissingColumn(row.code) == (script == Script::Traditional ? 1 : 2)) {
      rule.note = 1;
    } else if (const char32_t standard = traditional ? StandardOf(row.unicode) : 0) {
      rule.note = 2;
      if (standard_forms) {
        const auto it = IdeographPairs().find(standard);
        const std::uint16_t pair = it == IdeographPairs().end() ? 0 : it->second;
        rule.replacement = {static_cast<char>(pair >> 8), static_cast<char>(pair & 0xFF)};
        rule.unicode_replacement = std::u32string(1, standard);
        rule.in_cp936 = pair != 0;
      }
    }
    rules.push_back(rule);
  }
  return rules;
}

Rule Reversed(Rule r) {
  std::swap(r.key, r.replacement);
  std::swap(r.unicode_key, r.unicode_replacement);
  return r;
}

// A form converts to the lowest code that has it in the book (the rule of
// that code comes first), but for the codes never produced.
std::vector<Rule> BuildCharToCode(Book book) {
  std::vector<Rule> rules;
  const std::span<const CodeRow> traditional = CodeBook(book, Script::Traditional);
  const std::span<const CodeRow> simplified = CodeBook(book, Script::Simplified);
  for (std::size_t i = 0; i < traditional.size(); ++i) {
    if (traditional[i].produced) rules.push_back(Reversed(CodeRule(traditional[i])));
    if (book == Book::Eccc && simplified[i].produced &&
        simplified[i].unicode != traditional[i].unicode) {
      rules.push_back(Reversed(CodeRule(simplified[i])));
    }
  }
  return rules;
}

// The code each character's first rule gives it.
const std::map<char32_t, std::string>& FirstCodes(Book book) {
  static std::map<Book, std::map<char32_t, std::string>> memo;
  auto it = memo.find(book);
  if (it == memo.end()) {
    std::map<char32_t, std::string> codes;
    for (const Rule& r : CharToCodeRules(book)) codes.emplace(r.unicode_key[0], r.replacement);
    it = memo.emplace(book, std::move(codes)).first;
  }
  return it->second;
}

// For each character of the variant pairs that `book` has no rule for: the
// set of codes its variants have there through `routes`, and the first pair
// that gives each code.
struct VariantCodes {
  const detail::VariantPair* pair;  // the first pair of the character
  std::map<std::string, const detail::VariantPair*> codes;
};

// Links of the same character decide where any of them gives a code; the
// semantic links only where none does.
std::map<char32_t, VariantCodes> CodesThroughVariants(Book book, std::uint8_t routes) {
  const auto& own = FirstCodes(book);
  std::map<char32_t, VariantCodes> found;
  for (const std::uint8_t tier : {static_cast<std::uint8_t>(routes & ~kSemanticSources),
                                  static_cast<std::uint8_t>(routes & kSemanticSources)}) {
    std::map<char32_t, VariantCodes> in_tier;
    for (std::size_t i = 0; i < detail::kVariantPairCount; ++i) {
      const detail::VariantPair& p = detail::kVariantPairs[i];
      if (own.count(p.character) || (p.sources & tier) == 0) continue;
      VariantCodes& v = in_tier.try_emplace(p.character, VariantCodes{&p, {}}).first->second;
      if (const auto it = own.find(p.variant); it != own.end()) v.codes.emplace(it->second, &p);
    }
    for (auto& [c, v] : in_tier) {
      const auto it = found.find(c);
      if (it == found.end()) {
        found.emplace(c, v);
      } else if (it->second.codes.empty()) {
        it->second.codes = v.codes;
      }
    }
  }
  return found;
}

std::vector<Rule> BuildVariantRules(Book book, std::uint8_t routes) {
  std::vector<Rule> rules;
  for (const auto& [c, v] : CodesThroughVariants(book, routes)) {
    if (v.codes.size() != 1) continue;
    const auto& [code, pair] = *v.codes.begin();
    Rule rule{std::string{static_cast<char>(v.pair->lead), static_cast<char>(v.pair->trail)}, code,
              std::u32string(1, c), Widen(code), v.pair->lead != 0};
    rule.code = static_cast<std::uint16_t>(std::stoi(code));
    rule.variant = pair->variant;
    rule.sources = pair->sources;
    rules.push_back(rule);
  }
  return rules;
}

// Whether `c` (which `book` lacks) is reached by another book, itself or
// through any link, or by `book` through links that `routes` leaves out.
bool ReachedElsewhere(Book book, char32_t c, std::uint8_t routes) {
  for (Book other : kAllBooks) {
    if (other != book && FirstCodes(other).count(c)) return true;
  }
  static const std::multimap<char32_t, const detail::VariantPair*> pairs_of = [] {
    std::multimap<char32_t, const detail::VariantPair*> m;
    for (std::size_t i = 0; i < detail::kVariantPairCount; ++i) {
      m.emplace(detail::kVariantPairs[i].character, &detail::kVariantPairs[i]);
    }
    return m;
  }();
  for (auto [it, end] = pairs_of.equal_range(c); it != end; ++it) {
    const detail::VariantPair& p = *it->second;
    for (Book other : kAllBooks) {
      if (!FirstCodes(other).count(p.variant)) continue;
      if (other != book || (p.sources & routes) == 0) return true;
    }
  }
  return false;
}

Leftovers BuildLeftovers(Book book, std::uint8_t routes) {
  Leftovers left;
  const auto& own = FirstCodes(book);
  const auto through = CodesThroughVariants(book, routes);
  std::map<char32_t, std::uint16_t> pairs;  // every character whose bytes are known
  for (const auto& [c, pair] : IdeographPairs()) pairs.emplace(c, pair);
  for (Book b : kAllBooks) {
    for (Script s : {Script::Traditional, Script::Simplified}) {
      for (const CodeRow& row : CodeBook(b, s)) {
        if (row.lead != 0)
          pairs[row.unicode] = static_cast<std::uint16_t>(row.lead << 8 | row.trail);
      }
    }
  }
  for (std::size_t i = 0; i < detail::kVariantPairCount; ++i) {
    const detail::VariantPair& p = detail::kVariantPairs[i];
    if (p.lead != 0) pairs[p.character] = static_cast<std::uint16_t>(p.lead << 8 | p.trail);
  }
  std::set<char32_t> candidates;
  for (Book b : kAllBooks) {
    for (const auto& [c, code] : FirstCodes(b)) candidates.insert(c);
  }
  for (std::size_t i = 0; i < detail::kVariantPairCount; ++i) {
    candidates.insert(detail::kVariantPairs[i].character);
  }
  for (char32_t c : candidates) {
    if (own.count(c)) continue;
    if (const auto it = through.find(c); it != through.end() && !it->second.codes.empty()) {
      if (it->second.codes.size() > 1) left.ambiguous.insert(c);
      continue;
    }
    if (ReachedElsewhere(book, c, routes)) left.other_book.insert(c);
  }
  for (const auto& [c, pair] : pairs) left.pair_chars[pair] = c;
  return left;
}

template <class Key, class Build>
const auto& Memo(const Key& key, const Build& build) {
  static std::map<Key, decltype(build())> memo;
  auto it = memo.find(key);
  if (it == memo.end()) it = memo.emplace(key, build()).first;
  return it->second;
}

}  // namespace

const std::vector<Rule>& CodeToCharRules(Book book, Script script, bool standard_forms) {
  if (book != Book::Eccc) script = Script::Traditional;
  if (book == Book::Mainland) standard_forms = false;
  return Memo(std::tuple{book, script, standard_forms},
              [&] { return BuildCodeToChar(book, script, standard_forms); });
}

const std::vector<Rule>& CharToCodeRules(Book book) {
  return Memo(book, [&] { return BuildCharToCode(book); });
}

const std::vector<Rule>& VariantRules(Book book, std::uint8_t routes) {
  return Memo(std::pair{book, routes}, [&] { return BuildVariantRules(book, routes); });
}

const Leftovers& LeftoversOf(Book book, std::uint8_t routes) {
  return Memo(std::pair{book, routes}, [&] { return BuildLeftovers(book, routes); });
}

std::uint8_t RoutesOf(Book book, Variants variants) {
  const std::uint8_t all = kFormSources | kUnihanSimplified | kUnihanTraditional;
  switch (variants) {
    case Variants::None:
      return 0;
    case Variants::Forms:
      return kFormSources;
    case Variants::All:
      return all;
    case Variants::BookDefault:
      break;
  }
  return book == Book::Mainland ? 0 : kFormSources;
}

}  // namespace yishu::reference

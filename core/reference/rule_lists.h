// The rule lists of each book, spelled out: ordered (key, replacement) pairs
// that are applied one after another, each over the whole text.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "yishu/yishu.h"

namespace yishu::reference {

// One rule in both text forms: CP936 bytes, and Unicode code points. A rule
// whose character CP936 cannot hold exists in the Unicode forms only.
struct Rule {
  std::string key, replacement;
  std::u32string unicode_key, unicode_replacement;
  bool in_cp936 = true;
};

// Codes to characters. Mainland: the codes 0001 to 9899 in code order, then
// the 31 day keys, then the codes 9941 to 9998. Taiwan: its codes in code
// order.
const std::vector<Rule>& CodeToCharRules(Book book = Book::Mainland);

// Characters to codes: one rule per code in code order, but for the codes that
// are never produced.
const std::vector<Rule>& CharToCodeRules(Book book = Book::Mainland);

// Variant look-up, applied after the book's own rules: a character without a
// rule there whose simplified and traditional variants give exactly one code
// of the book takes that code.
const std::vector<Rule>& VariantRules(Book book);

// What stays of the characters without a rule, for the report.
struct Leftovers {
  std::set<char32_t> ambiguous;   // their variants give several codes
  std::set<char32_t> other_book;  // the other book has a code
  // CP936 pair (lead << 8 | trail) -> character, for the characters above
  // and every ideograph the code page holds.
  std::map<std::uint16_t, char32_t> pair_chars;
};
const Leftovers& LeftoversOf(Book book);

}  // namespace yishu::reference

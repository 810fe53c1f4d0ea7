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
  // Codes to characters: what the Report counts when the rule applies
  // (1: written in the other script, 2: an old form with a standard form).
  std::uint8_t note = 0;
  std::uint16_t code = 0;
  // Variant rules: the variant whose code the character takes, and the
  // sources of their link.
  char32_t variant = 0;
  std::uint8_t sources = 0;
};

// Codes to characters. Mainland: the codes 0001 to 9899 in code order, then
// the 31 day keys, then the codes 9941 to 9998. The other books: their codes
// in code order, in the form of `script` (e-CCC) and with standard forms for
// old forms where asked (the traditional books).
const std::vector<Rule>& CodeToCharRules(Book book = Book::Mainland,
                                         Script script = Script::Traditional,
                                         bool standard_forms = false);

// Characters to codes: one rule per code and form in code order, but for the
// codes that are never produced from the form.
const std::vector<Rule>& CharToCodeRules(Book book = Book::Mainland);

// Variant look-up, applied after the book's own rules: a character without a
// rule there whose variants (through the links of `routes`, VariantSource
// bits) give exactly one code of the book takes that code.
const std::vector<Rule>& VariantRules(Book book, std::uint8_t routes);

// What stays of the characters without a rule, for the report.
struct Leftovers {
  std::set<char32_t> ambiguous;   // their variants give several codes
  std::set<char32_t> other_book;  // another book, or other links, reach them
  // CP936 pair (lead << 8 | trail) -> character, for the characters above
  // and every ideograph the code page holds.
  std::map<std::uint16_t, char32_t> pair_chars;
};
const Leftovers& LeftoversOf(Book book, std::uint8_t routes);

// The links that `variants` follows in `book`.
std::uint8_t RoutesOf(Book book, Variants variants);

}  // namespace yishu::reference

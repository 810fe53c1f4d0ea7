// Indexes over the code book, built once on first use: from a code to its
// row, and from a character (CP936 pair or BMP code point) to the code that
// it converts to.
#pragma once

#include <cstdint>

#include "code_table.h"

namespace yishu::detail {

struct Lookup {
  // code -> index into kCodeRows + 1; 0 where the code has no rule.
  std::uint16_t row_of_code[10000];
  // (lead << 8 | trail) -> code; 0 where the pair converts to nothing.
  std::uint16_t code_of_cp936[65536];
  // BMP code point -> code; 0 where the character converts to nothing.
  std::uint16_t code_of_unicode[65536];
  // code -> its four ASCII digits.
  char digits[10000][4];
  // code -> its four digits and a space, as the first five bytes of a word in
  // memory order, so that a code is written with one store.
  std::uint64_t code_text[10000];
};

const Lookup& GetLookup();

}  // namespace yishu::detail

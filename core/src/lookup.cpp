#include "lookup.h"

#include <cstring>
#include <memory>

namespace yishu::detail {
namespace {

std::unique_ptr<Lookup> BuildLookup() {
  auto t = std::make_unique<Lookup>();
  for (int code = 0; code < 10000; ++code) {
    t->digits[code][0] = static_cast<char>('0' + code / 1000);
    t->digits[code][1] = static_cast<char>('0' + code / 100 % 10);
    t->digits[code][2] = static_cast<char>('0' + code / 10 % 10);
    t->digits[code][3] = static_cast<char>('0' + code % 10);
    char text[8] = {t->digits[code][0], t->digits[code][1], t->digits[code][2], t->digits[code][3],
                    ' '};
    std::memcpy(&t->code_text[code], text, 8);
  }
  // Rows are in code order, so the first code seen for a character is the one
  // that takes it; later codes of the same character never match.
  for (std::size_t i = 0; i < kCodeRowCount; ++i) {
    const CodeRow& row = kCodeRows[i];
    t->row_of_code[row.code] = static_cast<std::uint16_t>(i + 1);
    if (!row.produced) continue;
    std::uint16_t& by_bytes = t->code_of_cp936[row.lead << 8 | row.trail];
    if (by_bytes == 0) by_bytes = row.code;
    std::uint16_t& by_unicode = t->code_of_unicode[row.unicode];
    if (by_unicode == 0) by_unicode = row.code;
  }
  return t;
}

}  // namespace

const Lookup& GetLookup() {
  static const std::unique_ptr<Lookup> lookup = BuildLookup();
  return *lookup;
}

}  // namespace yishu::detail

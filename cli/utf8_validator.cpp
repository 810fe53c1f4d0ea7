#include "utf8_validator.h"

#include <cstring>

namespace telecode {

void Utf8Validator::Feed(std::string_view piece) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(piece.data());
  const std::size_t size = piece.size();
  std::size_t i = 0;
  while (i < size && !first_invalid_) {
    if (pending_ == 0) {
      // Plain ASCII is most of most texts: skip it eight bytes at a time.
      while (i + 8 <= size) {
        std::uint64_t word;
        std::memcpy(&word, bytes + i, 8);
        if (word & 0x8080808080808080u) break;
        i += 8;
      }
      if (i == size) break;
      const unsigned char lead = bytes[i];
      sequence_start_ = offset_ + i;
      ++i;
      low_ = 0x80;
      high_ = 0xBF;
      if (lead < 0x80) {
        continue;
      } else if (lead >= 0xC2 && lead <= 0xDF) {
        pending_ = 1;
      } else if (lead >= 0xE0 && lead <= 0xEF) {
        pending_ = 2;
        if (lead == 0xE0) low_ = 0xA0;   // no overlong forms
        if (lead == 0xED) high_ = 0x9F;  // no surrogates
      } else if (lead >= 0xF0 && lead <= 0xF4) {
        pending_ = 3;
        if (lead == 0xF0) low_ = 0x90;
        if (lead == 0xF4) high_ = 0x8F;  // nothing above U+10FFFF
      } else {
        Fail();
      }
    } else {
      const unsigned char next = bytes[i];
      if (next < low_ || next > high_) {
        Fail();
      } else {
        ++i;
        --pending_;
        low_ = 0x80;
        high_ = 0xBF;
      }
    }
  }
  offset_ += size;
}

void Utf8Validator::Finish() {
  if (pending_ != 0 && !first_invalid_) Fail();
  pending_ = 0;
}

}  // namespace telecode

#include "plain_unicode.h"

namespace yishu::reference {

std::u32string DecodeUtf8(std::string_view s) {
  std::u32string out;
  std::size_t i = 0;
  while (i < s.size()) {
    const unsigned char b = s[i];
    int extra = b >= 0xF0 && b <= 0xF7 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    if (b >= 0xF8 || (b >= 0x80 && b < 0xC0)) extra = -1;
    char32_t cp = extra == 3 ? b & 0x07 : extra == 2 ? b & 0x0F : extra == 1 ? b & 0x1F : b;
    bool ok = extra >= 0 && i + extra < s.size();
    for (int k = 1; ok && k <= extra; ++k) {
      const unsigned char c = s[i + k];
      ok = (c & 0xC0) == 0x80;
      cp = cp << 6 | (c & 0x3F);
    }
    const char32_t min[4] = {0, 0x80, 0x800, 0x10000};
    ok =
        ok && cp >= min[extra > 0 ? extra : 0] && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
    if (ok) {
      out += cp;
      i += extra + 1;
    } else {
      out += kNotACharacter + b;
      ++i;
    }
  }
  return out;
}

std::string EncodeUtf8(std::u32string_view items) {
  std::string out;
  for (char32_t c : items) {
    if (c >= kNotACharacter) {
      out += static_cast<char>(c - kNotACharacter);
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | c >> 12);
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | c >> 18);
      out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::u32string DecodeUtf16(std::u16string_view s) {
  std::u32string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char16_t u = s[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
        s[i + 1] <= 0xDFFF) {
      out += 0x10000 + ((u - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      out += kNotACharacter + u;
    } else {
      out += u;
    }
  }
  return out;
}

std::u16string EncodeUtf16(std::u32string_view items) {
  std::u16string out;
  for (char32_t c : items) {
    if (c >= kNotACharacter) {
      out += static_cast<char16_t>(c - kNotACharacter);
    } else if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

std::size_t Utf8Units(char32_t item) {
  return item >= kNotACharacter ? 1 : item < 0x80 ? 1 : item < 0x800 ? 2 : item < 0x10000 ? 3 : 4;
}

std::size_t Utf16Units(char32_t item) { return item >= 0x10000 && item < kNotACharacter ? 2 : 1; }

}  // namespace yishu::reference

// The program holds texts as std::wstring, the Win32 API's UTF-16; the core
// takes std::u16string. On Windows both are 16-bit code units, so moving
// between them is a plain copy of the units, nothing is re-encoded.
#pragma once

#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the program needs 16-bit wchar_t (Windows)");

inline std::u16string ToU16(std::wstring_view text) {
  return std::u16string(text.begin(), text.end());
}

inline std::wstring ToWide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

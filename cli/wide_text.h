// UTF-8 and the Windows API's UTF-16, converted by the platform itself:
// telecode's platform layer and the Windows-side tests share these.
// Invalid input becomes U+FFFD, as the platform's conversions do.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <string>
#include <string_view>

namespace wide_text {

// Bytes of a code page (CP_UTF8, 936, ...) as UTF-16.
inline std::wstring WideFrom(UINT code_page, std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(code_page, 0, bytes.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(code_page, 0, bytes.data(), size, wide.data(), length);
  return wide;
}

inline std::wstring Wide(std::string_view utf8) { return WideFrom(CP_UTF8, utf8); }

inline std::string Utf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

}  // namespace wide_text

#endif

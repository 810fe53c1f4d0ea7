// Feeds arbitrary bytes to the single-pass engine and the literal reference,
// in both modes and every form, and stops at the first difference. The first
// byte picks where the streaming converter cuts the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "reference.h"
#include "yishu/yishu.h"

namespace {

void Check(bool same) {
  if (!same) std::abort();
}

std::string Streamed(yishu::Direction direction, yishu::Encoding encoding, const std::string& text, std::size_t step) {
  yishu::Converter converter(direction, encoding);
  std::string out;
  for (std::size_t at = 0; at < text.size(); at += step) converter.Feed(text.substr(at, step), out);
  converter.Finish(out);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t step = data[0] % 7 + 1;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::u16string utf16;
  for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
    utf16 += static_cast<char16_t>(static_cast<unsigned char>(text[i]) |
                                   static_cast<unsigned char>(text[i + 1]) << 8);
  }
  for (yishu::Direction mode : {yishu::Direction::CodeToChar, yishu::Direction::CharToCode}) {
    const std::string cp936 = yishu::ConvertText(mode, text);
    Check(cp936 == yishu::reference::ConvertText(mode, text));
    Check(cp936 == Streamed(mode, yishu::Encoding::Cp936, text, step));
    const std::string utf8 = yishu::ConvertText(mode, text, yishu::Encoding::Utf8);
    Check(utf8 == yishu::reference::ConvertTextUtf8(mode, text));
    Check(utf8 == Streamed(mode, yishu::Encoding::Utf8, text, step));
    Check(yishu::ConvertText(mode, std::u16string_view(utf16)) ==
          yishu::reference::ConvertTextUtf16(mode, utf16));
  }
  return 0;
}

#include "code_list.h"

#include <cstdio>

#include "utf16_transcoder.h"
#include "yishu/yishu.h"

namespace telecode {

namespace {

void AppendUtf8(char16_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
    return;
  }
  if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
    return;
  }
  out += static_cast<char>(0xE0 | (c >> 12));
  out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  out += static_cast<char>(0x80 | (c & 0x3F));
}

}  // namespace

std::string CodeList(TextEncoding encoding) {
  const bool byte_form = encoding == TextEncoding::kCp936 || encoding == TextEncoding::kGb18030;
  std::string list;
  for (const yishu::CodeRow& row : yishu::CodeBook()) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04u\t", static_cast<unsigned>(row.code));
    list += digits;
    if (byte_form) {
      list += static_cast<char>(row.lead);
      list += static_cast<char>(row.trail);
    } else {
      AppendUtf8(row.unicode, list);
    }
    list += '\n';
  }
  if (encoding != TextEncoding::kUtf16) return list;

  std::string utf16 = "\xFF\xFE";  // the byte-order mark
  Utf16Encoder encoder(ByteOrder::kLittleEndian);
  encoder.Feed(list, utf16);
  encoder.Finish(utf16);
  return utf16;
}

}  // namespace telecode

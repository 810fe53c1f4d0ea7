#include "code_list.h"

#include <cstdio>

#include "utf16_units.h"
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
  std::string list;
  std::u16string units = u"\uFEFF";  // UTF-16 only: the list after its byte-order mark
  for (const yishu::CodeRow& row : yishu::CodeBook()) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04u\t", static_cast<unsigned>(row.code));
    switch (encoding) {
      case TextEncoding::kCp936:
      case TextEncoding::kGb18030:
        list += digits;
        list += static_cast<char>(row.lead);
        list += static_cast<char>(row.trail);
        list += '\n';
        break;
      case TextEncoding::kUtf8:
        list += digits;
        AppendUtf8(row.unicode, list);
        list += '\n';
        break;
      case TextEncoding::kUtf16:  // every character of the code book is one unit
        units.append(digits, digits + 5);
        units += row.unicode;
        units += u'\n';
        break;
    }
  }
  if (encoding == TextEncoding::kUtf16) AppendUnits(units, ByteOrder::kLittleEndian, list);
  return list;
}

}  // namespace telecode

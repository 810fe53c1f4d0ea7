#include "code_list.h"

#include <cstdio>

#include "utf16_units.h"
#include "yishu/internal/unicode.h"
#include "yishu/yishu.h"

namespace telecode {

// Each line is a code, a tab and the character the code converts to.
std::string CodeList(TextEncoding encoding, yishu::Book book, std::size_t& left_out) {
  left_out = 0;
  std::string list;
  std::u16string units = u"\uFEFF";  // UTF-16 only: the list after its byte-order mark
  for (const yishu::CodeRow& row : yishu::CodeBook(book)) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04u", static_cast<unsigned>(row.code));
    switch (encoding) {
      case TextEncoding::kUtf16: {
        char16_t character[2];
        units.append(digits, digits + 4);
        units += u'\t';
        units.append(character, yishu::detail::EncodeUtf16(row.unicode, character));
        units += u'\n';
        continue;
      }
      case TextEncoding::kCp936:
      case TextEncoding::kGb18030:
        if (row.lead == 0) {  // the code page lacks the character
          ++left_out;
          continue;
        }
        list.append(digits, 4);
        list += '\t';
        list += static_cast<char>(row.lead);
        list += static_cast<char>(row.trail);
        break;
      case TextEncoding::kUtf8: {
        char character[4];
        list.append(digits, 4);
        list += '\t';
        list.append(character, yishu::detail::EncodeUtf8(row.unicode, character));
        break;
      }
    }
    list += '\n';
  }
  if (encoding == TextEncoding::kUtf16) AppendUnits(units, ByteOrder::kLittleEndian, list);
  return list;
}

}  // namespace telecode

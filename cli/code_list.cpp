#include "code_list.h"

#include <cstdio>

#include "gb18030.h"
#include "utf16_units.h"
#include "yishu/internal/unicode.h"
#include "yishu/yishu.h"

namespace telecode {

// Each line is a code, a tab and the character the code converts to.
std::string CodeList(TextEncoding encoding, yishu::Book book, std::size_t& left_out) {
  left_out = 0;
  std::string list;
  // UTF-16 only: the list, after a byte-order mark unless the order is fixed.
  const std::optional<ByteOrder> fixed = FixedByteOrder(encoding);
  std::u16string units = fixed ? u"" : u"\uFEFF";
  for (const yishu::CodeRow& row : yishu::CodeBook(book)) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04u", static_cast<unsigned>(row.code));
    if (IsUtf16(encoding)) {
      char16_t character[2];
      units.append(digits, digits + 4);
      units += u'\t';
      units.append(character, yishu::detail::EncodeUtf16(row.unicode, character));
      units += u'\n';
      continue;
    }
    switch (encoding) {
      case TextEncoding::kCp936:
      case TextEncoding::kGb18030:
        if (row.lead != 0) {
          list.append(digits, 4);
          list += '\t';
          list += static_cast<char>(row.lead);
          list += static_cast<char>(row.trail);
        } else if (encoding == TextEncoding::kGb18030) {
          list.append(digits, 4);
          list += '\t';
          list += gb18030::FourBytesOf(row.unicode);  // the code page lacks it
        } else {                                      // CP936 lacks the character
          ++left_out;
          continue;
        }
        break;
      default: {  // UTF-8
        char character[4];
        list.append(digits, 4);
        list += '\t';
        list.append(character, yishu::detail::EncodeUtf8(row.unicode, character));
        break;
      }
    }
    list += '\n';
  }
  if (IsUtf16(encoding)) AppendUnits(units, fixed.value_or(ByteOrder::kLittleEndian), list);
  return list;
}

}  // namespace telecode

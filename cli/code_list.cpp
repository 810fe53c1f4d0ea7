#include "code_list.h"

#include <cstdio>

#include "gb18030.h"
#include "stream_converter.h"
#include "utf16_units.h"
#include "yishu/yishu.h"

namespace telecode {

// Each line is a code, a tab and what the core makes of the code.
std::string CodeList(TextEncoding encoding, yishu::Book book, std::size_t& left_out) {
  left_out = 0;
  const yishu::Options options{book, yishu::Variants::None};
  yishu::Report report;
  std::string list;
  // UTF-16 only: the list, after a byte-order mark unless the order is fixed.
  const std::optional<ByteOrder> fixed = FixedByteOrder(encoding);
  std::u16string units = fixed ? u"" : u"\uFEFF";
  for (const yishu::CodeRow& row : yishu::CodeBook(book)) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04u ", static_cast<unsigned>(row.code));
    const std::string_view code(digits, 5);
    if (IsUtf16(encoding)) {
      units.append(code.begin(), code.end() - 1);
      units += u'\t';
      units += yishu::ConvertText(yishu::Direction::CodeToChar,
                                  std::u16string(code.begin(), code.end()), options);
      units += u'\n';
    } else {
      const std::string character = yishu::ConvertText(yishu::Direction::CodeToChar, code,
                                                       CoreEncoding(encoding), options, &report);
      list.append(code.substr(0, 4));
      list += '\t';
      if (!report.unwritable) {
        list += character;
      } else if (encoding == TextEncoding::kGb18030) {
        list += gb18030::FourBytesOf(row.unicode);  // CP936 lacks it
      } else {
        ++left_out;
        list.resize(list.size() - 5);
        continue;
      }
      list += '\n';
    }
  }
  if (IsUtf16(encoding)) AppendUnits(units, fixed.value_or(ByteOrder::kLittleEndian), list);
  return list;
}

}  // namespace telecode

#include "code_list.h"

#include <cstdio>

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
  std::u16string units = u"\uFEFF";  // UTF-16 only: the list after its byte-order mark
  for (const yishu::CodeRow& row : yishu::CodeBook(book)) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04u ", static_cast<unsigned>(row.code));
    const std::string_view code(digits, 5);
    if (encoding == TextEncoding::kUtf16) {
      units.append(code.begin(), code.end() - 1);
      units += u'\t';
      units += yishu::ConvertText(yishu::Direction::CodeToChar,
                                  std::u16string(code.begin(), code.end()), options);
      units += u'\n';
    } else {
      const std::string character = yishu::ConvertText(yishu::Direction::CodeToChar, code,
                                                       CoreEncoding(encoding), options, &report);
      if (report.unwritable) {
        ++left_out;
        continue;
      }
      list.append(code.substr(0, 4));
      list += '\t';
      list += character;
      list += '\n';
    }
  }
  if (encoding == TextEncoding::kUtf16) AppendUnits(units, ByteOrder::kLittleEndian, list);
  return list;
}

}  // namespace telecode

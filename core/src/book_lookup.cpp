// Look-up of single characters and codes, for people rather than texts.
#include <algorithm>

#include "code_table.h"
#include "lookup.h"
#include "variant_table.h"
#include "yishu/yishu.h"

namespace yishu {

std::vector<CodeFound> CodesOf(Book book, char32_t character) {
  std::vector<CodeFound> found;
  for (const CodeRow& row : detail::RowsOf(book)) {
    if (row.unicode == character) found.push_back({row.code, 0});
  }
  if (!found.empty()) return found;
  for (const detail::VariantPair& v : detail::VariantsOf(character)) {
    for (const CodeRow& row : detail::RowsOf(book)) {
      if (row.unicode == v.variant) found.push_back({row.code, v.variant});
    }
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const CodeFound& a, const CodeFound& b) { return a.code < b.code; });
  return found;
}

char32_t CharacterOf(Book book, int code) {
  if (code < 0 || code > 9999) return 0;
  const int row = detail::GetLookup(book).row_of_code[code];
  return row == 0 ? 0 : detail::RowsOf(book)[row - 1].unicode;
}

}  // namespace yishu

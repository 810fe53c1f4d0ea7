// Look-up of single characters and codes, for people rather than texts.
#include <algorithm>

#include "code_table.h"
#include "lookup.h"
#include "variant_table.h"
#include "yishu/yishu.h"

namespace yishu {

std::vector<CodeFound> CodesOf(Book book, char32_t character, Variants variants) {
  std::vector<CodeFound> found;
  const std::uint16_t produced = detail::ProducedCode(book, character);
  for (Script script : {Script::Traditional, Script::Simplified}) {
    for (const CodeRow& row : detail::RowsOf(book, script)) {
      if (row.unicode != character) continue;
      if (std::none_of(found.begin(), found.end(),
                       [&](const CodeFound& f) { return f.code == row.code; })) {
        found.push_back({row.code, 0, 0, row.code == produced});
      }
    }
    if (book != Book::Eccc) break;
  }
  if (!found.empty()) {
    std::sort(found.begin(), found.end(),
              [](const CodeFound& a, const CodeFound& b) { return a.code < b.code; });
    return found;
  }
  const std::uint8_t routes = detail::RouteSources(book, variants);
  const std::uint16_t mark = detail::MarkOf(book, character, routes);
  for (const detail::VariantPair& v : detail::VariantsOf(character)) {
    if ((v.sources & routes) == 0) continue;
    const std::uint16_t code = detail::ProducedCode(book, v.variant);
    for (const CodeFound& f : CodesOf(book, v.variant, Variants::None)) {
      found.push_back(
          {f.code, v.variant, v.sources, f.code == code && mark == (detail::kViaVariant | code)});
    }
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const CodeFound& a, const CodeFound& b) { return a.code < b.code; });
  return found;
}

char32_t CharacterOf(Book book, int code, Script script) {
  if (code < 0 || code > 9999) return 0;
  const detail::Lookup& lookup = detail::CodeToCharLookup(book, script);
  const int row = lookup.row_of_code[code];
  return row == 0 ? 0 : lookup.rows[row - 1].unicode;
}

char32_t StandardFormOf(char32_t character) {
  const detail::StandardForm* form = detail::StandardFormEntry(character);
  return form ? form->standard : 0;
}

}  // namespace yishu

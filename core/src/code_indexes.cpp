#include "code_indexes.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "variant_table.h"
#include "yishu/internal/unicode.h"

namespace yishu::detail {
namespace {

std::uint16_t CodeIn(const std::vector<std::pair<char32_t, std::uint16_t>>& codes, char32_t c) {
  const auto it =
      std::lower_bound(codes.begin(), codes.end(), std::pair<char32_t, std::uint16_t>{c, 0});
  return it != codes.end() && it->first == c ? it->second : 0;
}

// Whether some other book has `c`, itself or through any variant.
bool OtherBookHas(Book book, char32_t c) {
  for (Book other : kBooks) {
    if (other == book) continue;
    if (ProducedCode(other, c)) return true;
    for (const VariantPair& v : VariantsOf(c)) {
      if (ProducedCode(other, v.variant)) return true;
    }
  }
  return false;
}

// Whether the book itself reaches `c` through a link that `routes` leaves out.
bool BookHasThroughOthers(Book book, char32_t c, std::uint8_t routes) {
  for (const VariantPair& v : VariantsOf(c)) {
    if ((v.sources & routes) == 0 && ProducedCode(book, v.variant)) return true;
  }
  return false;
}

// Code point -> CP936 pair of every character whose bytes the data give.
const std::map<char32_t, std::uint16_t>& Cp936Characters() {
  static const std::map<char32_t, std::uint16_t> chars = [] {
    std::map<char32_t, std::uint16_t> m;
    for (Book b : kBooks) {
      for (Script s : {Script::Traditional, Script::Simplified}) {
        for (const CodeRow& row : RowsOf(b, s)) {
          if (row.lead != 0) m[row.unicode] = static_cast<std::uint16_t>(row.lead << 8 | row.trail);
        }
      }
    }
    for (std::size_t i = 0; i < kVariantPairCount; ++i) {
      const VariantPair& v = kVariantPairs[i];
      if (v.lead != 0) m[v.character] = static_cast<std::uint16_t>(v.lead << 8 | v.trail);
    }
    std::size_t k = 0;
    for (std::size_t i = 0; i < kCp936IdeographRangeCount; ++i) {
      for (unsigned p = kCp936IdeographRanges[i].first; p <= kCp936IdeographRanges[i].last; ++p) {
        m[kCp936Ideographs[k++]] = static_cast<std::uint16_t>(p);
      }
    }
    return m;
  }();
  return chars;
}

void SetCharTexts(Lookup& t, const CodeRow& row, std::uint8_t notes) {
  if (row.lead != 0) {
    const char cp936[2] = {static_cast<char>(row.lead), static_cast<char>(row.trail)};
    t.cp936_text[row.code] = PackCharText(cp936, 2, notes);
  }
  char utf8[4];
  t.utf8_text[row.code] = PackCharText(utf8, EncodeUtf8(row.unicode, utf8), notes);
  char16_t utf16[2];
  t.utf16_text[row.code] = PackCharText(utf16, EncodeUtf16(row.unicode, utf16), notes);
}

void SetCodeTexts(Lookup& t) {
  for (int code = 0; code < 10000; ++code) {
    const char text[8] = {
        static_cast<char>('0' + code / 1000), static_cast<char>('0' + code / 100 % 10),
        static_cast<char>('0' + code / 10 % 10), static_cast<char>('0' + code % 10), ' '};
    std::memcpy(&t.code_text[code], text, 8);
  }
}

// Both columns of the e-CCC book, code by code (each table is in code order).
template <class Visit>
void ForEachRowOfBothForms(Book book, const Visit& visit) {
  const std::span<const CodeRow> first = RowsOf(book, Script::Traditional);
  if (book != Book::Eccc) {
    for (const CodeRow& row : first) visit(row);
    return;
  }
  const std::span<const CodeRow> second = RowsOf(book, Script::Simplified);
  for (std::size_t i = 0; i < first.size(); ++i) {
    visit(first[i]);
    visit(second[i]);
  }
}

std::unique_ptr<Lookup> BuildCodeToChar(Book book, Script script, bool standard_forms) {
  auto t = std::make_unique<Lookup>();
  t->book = book;
  const std::span<const CodeRow> rows = RowsOf(book, script);
  t->rows = rows.data();
  t->day_codes = book == Book::Mainland;
  t->standard_forms = standard_forms;
  SetCodeTexts(*t);
  if (book == Book::Eccc) {
    const std::uint8_t missing = script == Script::Traditional ? 1 : 2;
    for (std::size_t i = 0; i < kEcccGapCount; ++i) {
      if (kEcccGaps[i].missing == missing) t->note_of_code[kEcccGaps[i].code] |= kNoteOtherScript;
    }
  }
  // Standard forms are those of the traditional books' characters.
  const bool traditional =
      book == Book::Taiwan || (book == Book::Eccc && script == Script::Traditional);
  if (traditional) t->own_rows.assign(rows.begin(), rows.end());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    CodeRow row = rows[i];
    t->row_of_code[row.code] = static_cast<std::uint16_t>(i + 1);
    const StandardForm* standard = traditional && !(t->note_of_code[row.code] & kNoteOtherScript)
                                       ? StandardFormEntry(row.unicode)
                                       : nullptr;
    if (standard) {
      t->note_of_code[row.code] |= kNoteOldForm;
      if (standard_forms) {
        const auto& cp936 = Cp936Characters();
        const auto it = cp936.find(standard->standard);
        const std::uint16_t pair = it == cp936.end() ? 0 : it->second;
        row.unicode = standard->standard;
        row.lead = static_cast<std::uint8_t>(pair >> 8);
        row.trail = static_cast<std::uint8_t>(pair & 0xFF);
        t->own_rows[i] = row;
      }
    }
    if (t->note_of_code[row.code]) t->notes = true;
    SetCharTexts(*t, row, t->note_of_code[row.code]);
  }
  // Only a traditional book's rows have standard forms; the others are read
  // as they are, whatever the option says.
  if (standard_forms && traditional) {
    t->rows = t->own_rows.data();
  } else {
    t->own_rows.clear();
  }
  return t;
}

std::unique_ptr<Lookup> BuildCharToCode(Book book, std::uint8_t routes) {
  auto t = std::make_unique<Lookup>();
  t->book = book;
  const std::span<const CodeRow> rows = RowsOf(book);
  t->rows = rows.data();
  t->day_codes = book == Book::Mainland;
  t->marks = routes != 0;
  t->routes = routes;
  SetCodeTexts(*t);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    t->row_of_code[rows[i].code] = static_cast<std::uint16_t>(i + 1);
  }
  // Rows are in code order, so the first code seen for a character is the one
  // that takes it; later codes of the same character never match.
  ForEachRowOfBothForms(book, [&](const CodeRow& row) {
    if (!row.produced) return;
    if (row.lead != 0) {
      std::uint16_t& by_bytes = t->code_of_cp936[row.lead << 8 | row.trail];
      if (by_bytes == 0) by_bytes = row.code;
    }
    if (row.unicode < 0x10000) {
      std::uint16_t& by_unicode = t->code_of_unicode[row.unicode];
      if (by_unicode == 0) by_unicode = row.code;
    }
  });
  for (const auto& [c, code] : ProducedCodes(book)) {
    if (c >= 0x10000) t->code_of_supplementary.emplace_back(c, code);
  }
  t->supplementary = !t->code_of_supplementary.empty() || t->marks;
  if (!t->marks) return t;

  // Every character the book lacks whose fate the variant look-up decides:
  // those with variants, those of the other books, the ideographs.
  const std::map<char32_t, std::uint16_t>& cp936_chars = Cp936Characters();
  t->char_of_cp936.assign(65536, 0);
  std::set<char32_t> candidates;
  for (const auto& [c, pair] : cp936_chars) {
    candidates.insert(c);
    t->char_of_cp936[pair] = static_cast<char16_t>(c);
  }
  for (Book other : kBooks) {
    if (other == book) continue;
    for (const auto& [c, code] : ProducedCodes(other)) candidates.insert(c);
  }
  for (std::size_t i = 0; i < kVariantPairCount; ++i) candidates.insert(kVariantPairs[i].character);
  for (char32_t c = 0x3400; c < 0x10000; ++c) {
    if (IsIdeograph(c)) candidates.insert(c);
  }
  std::vector<std::pair<char32_t, std::uint16_t>> supplementary_marks;
  for (char32_t c : candidates) {
    if (ProducedCode(book, c)) continue;
    const std::uint16_t mark = MarkOf(book, c, routes);
    if (c < 0x10000) t->code_of_unicode[c] = mark;
    if (c >= 0x10000 && mark != 0) supplementary_marks.emplace_back(c, mark);
    if (const auto it = cp936_chars.find(c); it != cp936_chars.end())
      t->code_of_cp936[it->second] = mark;
  }
  auto& s = t->code_of_supplementary;
  s.insert(s.end(), supplementary_marks.begin(), supplementary_marks.end());
  std::sort(s.begin(), s.end());
  return t;
}

std::vector<std::pair<char32_t, std::uint16_t>> BuildProducedCodes(Book book) {
  std::map<char32_t, std::uint16_t> first;
  ForEachRowOfBothForms(book, [&](const CodeRow& row) {
    if (row.produced) first.emplace(row.unicode, row.code);
  });
  return {first.begin(), first.end()};
}

int BookIndex(Book book) { return book == Book::Taiwan ? 1 : book == Book::Eccc ? 2 : 0; }

// Look-ups are built on first use, each once, whichever thread asks first.
template <std::size_t N, class Build>
const Lookup& Cached(std::size_t slot, const Build& build) {
  static std::array<std::once_flag, N> once;
  static std::array<std::unique_ptr<Lookup>, N> built;
  std::call_once(once[slot], [&] { built[slot] = build(); });
  return *built[slot];
}

}  // namespace

std::uint16_t Lookup::CodeOfSupplementary(char32_t c) const {
  if (const std::uint16_t code = CodeIn(code_of_supplementary, c)) return code;
  return marks && IsIdeograph(c) ? kNoCode : 0;
}

std::uint8_t RouteSources(Book book, Variants variants) {
  switch (variants) {
    case Variants::None:
      return 0;
    case Variants::Forms:
      return kFormSources;
    case Variants::All:
      return kFormSources | kUnihanSimplified | kUnihanTraditional;
    case Variants::BookDefault:
      break;
  }
  return book == Book::Mainland ? 0 : kFormSources;
}

const Lookup& CharToCodeLookup(Book book, std::uint8_t routes) {
  const int kind = routes == 0 ? 0 : routes == kFormSources ? 1 : 2;
  return Cached<9>(static_cast<std::size_t>(BookIndex(book) * 3 + kind),
                   [&] { return BuildCharToCode(book, routes); });
}

const Lookup& CodeToCharLookup(Book book, Script script, bool standard_forms) {
  if (book != Book::Eccc) script = Script::Traditional;
  if (book == Book::Mainland) standard_forms = false;
  const std::size_t slot = static_cast<std::size_t>(
      BookIndex(book) * 4 + (script == Script::Simplified ? 2 : 0) + (standard_forms ? 1 : 0));
  return Cached<12>(slot, [&] { return BuildCodeToChar(book, script, standard_forms); });
}

const std::vector<std::pair<char32_t, std::uint16_t>>& ProducedCodes(Book book) {
  static const auto mainland = BuildProducedCodes(Book::Mainland);
  static const auto taiwan = BuildProducedCodes(Book::Taiwan);
  static const auto eccc = BuildProducedCodes(Book::Eccc);
  return book == Book::Taiwan ? taiwan : book == Book::Eccc ? eccc : mainland;
}

std::uint16_t ProducedCode(Book book, char32_t c) { return CodeIn(ProducedCodes(book), c); }

std::uint8_t TierOf(Book book, char32_t c, std::uint8_t routes) {
  const std::uint8_t first = routes & ~kSemanticSources;
  for (const VariantPair& v : VariantsOf(c)) {
    if ((v.sources & first) && ProducedCode(book, v.variant)) return first;
  }
  return routes & kSemanticSources;
}

std::uint16_t MarkOf(Book book, char32_t c, std::uint8_t routes) {
  const std::uint8_t tier = TierOf(book, c, routes);
  std::set<std::uint16_t> codes;
  for (const VariantPair& v : VariantsOf(c)) {
    if (v.sources & tier) {
      if (const std::uint16_t code = ProducedCode(book, v.variant)) codes.insert(code);
    }
  }
  if (codes.size() == 1) return kViaVariant | *codes.begin();
  if (codes.size() > 1) return kAmbiguous;
  // Covered elsewhere: by another book, or by this one through other links.
  if (OtherBookHas(book, c) || BookHasThroughOthers(book, c, routes)) return kOtherBookOnly;
  return IsIdeograph(c) ? kNoCode : 0;
}

const VariantPair* RouteTo(Book book, char32_t c, std::uint16_t code, std::uint8_t routes) {
  const std::uint8_t tier = TierOf(book, c, routes);
  for (const VariantPair& v : VariantsOf(c)) {
    if ((v.sources & tier) && ProducedCode(book, v.variant) == code) return &v;
  }
  return nullptr;
}

std::span<const VariantPair> VariantsOf(char32_t character) {
  const VariantPair* begin = kVariantPairs;
  const VariantPair* end = kVariantPairs + kVariantPairCount;
  const auto lo = std::lower_bound(
      begin, end, character, [](const VariantPair& v, char32_t c) { return v.character < c; });
  auto hi = lo;
  while (hi != end && hi->character == character) ++hi;
  return {lo, hi};
}

void NoteThroughVariant(const Lookup& lookup, char32_t c, std::uint16_t code, Report& report) {
  auto& list = report.through_chars;
  for (const VariantUse& use : list) {
    if (use.character == c) return;
  }
  const VariantPair* route = RouteTo(lookup.book, c, code, lookup.routes);
  list.push_back({c, route ? route->variant : 0, code, route ? route->sources : std::uint8_t{0}});
}

namespace {

inline void ListCode(std::vector<std::uint16_t>& codes, std::uint16_t code) {
  if (codes.size() < Report::kListedChars &&
      std::find(codes.begin(), codes.end(), code) == codes.end()) {
    codes.push_back(code);
  }
}

}  // namespace

void ListNotedCode(std::uint16_t code, unsigned notes, Report& report) {
  if (notes & kNoteOtherScript) ListCode(report.other_script_codes, code);
  if (notes & kNoteOldForm) ListCode(report.old_form_codes, code);
}

const StandardForm* StandardFormEntry(char32_t c) {
  const StandardForm* end = kStandardForms + kStandardFormCount;
  const StandardForm* it = std::lower_bound(
      kStandardForms, end, c, [](const StandardForm& f, char32_t x) { return f.old_form < x; });
  return it != end && it->old_form == c ? it : nullptr;
}

}  // namespace yishu::detail

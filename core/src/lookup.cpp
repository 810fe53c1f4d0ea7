#include "lookup.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <set>

#include "variant_table.h"
#include "yishu/internal/unicode.h"

namespace yishu::detail {
namespace {

Book OtherBook(Book book) { return book == Book::Mainland ? Book::Taiwan : Book::Mainland; }

std::uint16_t CodeIn(const std::vector<std::pair<char32_t, std::uint16_t>>& codes, char32_t c) {
  const auto it =
      std::lower_bound(codes.begin(), codes.end(), std::pair<char32_t, std::uint16_t>{c, 0});
  return it != codes.end() && it->first == c ? it->second : 0;
}

// What the variant look-up makes of a character that `book` lacks.
std::uint16_t MarkOf(Book book, char32_t c) {
  std::set<std::uint16_t> codes;
  for (const VariantPair& v : VariantsOf(c)) {
    if (const std::uint16_t code = CodeIn(ProducedCodes(book), v.variant)) codes.insert(code);
  }
  if (codes.size() == 1) return kViaVariant | *codes.begin();
  if (codes.size() > 1) return kAmbiguous;
  if (CodeIn(ProducedCodes(OtherBook(book)), c)) return kOtherBookOnly;
  return IsIdeograph(c) ? kNoCode : 0;
}

// Code point -> CP936 pair of every character whose bytes the data give.
std::map<char32_t, std::uint16_t> Cp936Characters() {
  std::map<char32_t, std::uint16_t> chars;
  for (Book b : {Book::Mainland, Book::Taiwan}) {
    for (const CodeRow& row : RowsOf(b)) {
      if (row.lead != 0) chars[row.unicode] = static_cast<std::uint16_t>(row.lead << 8 | row.trail);
    }
  }
  for (std::size_t i = 0; i < kVariantPairCount; ++i) {
    const VariantPair& v = kVariantPairs[i];
    if (v.lead != 0) chars[v.character] = static_cast<std::uint16_t>(v.lead << 8 | v.trail);
  }
  std::size_t k = 0;
  for (std::size_t i = 0; i < kCp936IdeographRangeCount; ++i) {
    for (unsigned p = kCp936IdeographRanges[i].first; p <= kCp936IdeographRanges[i].last; ++p) {
      chars[kCp936Ideographs[k++]] = static_cast<std::uint16_t>(p);
    }
  }
  return chars;
}

void SetCharTexts(Lookup& t, const CodeRow& row) {
  if (row.lead != 0) {
    const char cp936[2] = {static_cast<char>(row.lead), static_cast<char>(row.trail)};
    t.cp936_text[row.code] = PackCharText(cp936, 2);
  }
  char utf8[4];
  t.utf8_text[row.code] = PackCharText(utf8, EncodeUtf8(row.unicode, utf8));
  char16_t utf16[2];
  t.utf16_text[row.code] = PackCharText(utf16, EncodeUtf16(row.unicode, utf16));
}

std::unique_ptr<Lookup> BuildLookup(Book book, bool variants) {
  auto t = std::make_unique<Lookup>();
  const std::span<const CodeRow> rows = RowsOf(book);
  t->rows = rows.data();
  t->day_codes = book == Book::Mainland;
  t->marks = variants;
  for (int code = 0; code < 10000; ++code) {
    const char text[8] = {
        static_cast<char>('0' + code / 1000), static_cast<char>('0' + code / 100 % 10),
        static_cast<char>('0' + code / 10 % 10), static_cast<char>('0' + code % 10), ' '};
    std::memcpy(&t->code_text[code], text, 8);
  }
  // Rows are in code order, so the first code seen for a character is the one
  // that takes it; later codes of the same character never match.
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const CodeRow& row = rows[i];
    t->row_of_code[row.code] = static_cast<std::uint16_t>(i + 1);
    SetCharTexts(*t, row);
    if (!row.produced) continue;
    if (row.lead != 0) {
      std::uint16_t& by_bytes = t->code_of_cp936[row.lead << 8 | row.trail];
      if (by_bytes == 0) by_bytes = row.code;
    }
    if (row.unicode < 0x10000) {
      std::uint16_t& by_unicode = t->code_of_unicode[row.unicode];
      if (by_unicode == 0) by_unicode = row.code;
    }
  }
  for (const auto& [c, code] : ProducedCodes(book)) {
    if (c >= 0x10000) t->code_of_supplementary.emplace_back(c, code);
  }
  t->supplementary = !t->code_of_supplementary.empty() || variants;
  if (!variants) return t;

  // Every character the book lacks whose fate the variant look-up decides:
  // those with variants, those of the other book, the ideographs.
  const std::map<char32_t, std::uint16_t> cp936_chars = Cp936Characters();
  t->char_of_cp936.assign(65536, 0);
  std::set<char32_t> candidates;
  for (const auto& [c, pair] : cp936_chars) {
    candidates.insert(c);
    t->char_of_cp936[pair] = static_cast<char16_t>(c);
  }
  for (const auto& [c, code] : ProducedCodes(OtherBook(book))) candidates.insert(c);
  for (std::size_t i = 0; i < kVariantPairCount; ++i) candidates.insert(kVariantPairs[i].character);
  for (char32_t c = 0x3400; c < 0x10000; ++c) {
    if (IsIdeograph(c)) candidates.insert(c);
  }
  std::vector<std::pair<char32_t, std::uint16_t>> supplementary_marks;
  for (char32_t c : candidates) {
    if (CodeIn(ProducedCodes(book), c)) continue;
    const std::uint16_t mark = MarkOf(book, c);
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
  for (const CodeRow& row : RowsOf(book)) {
    if (row.produced) first.emplace(row.unicode, row.code);
  }
  return {first.begin(), first.end()};
}

}  // namespace

std::uint16_t Lookup::CodeOfSupplementary(char32_t c) const {
  if (const std::uint16_t code = CodeIn(code_of_supplementary, c)) return code;
  return marks && IsIdeograph(c) ? kNoCode : 0;
}

const Lookup& GetLookup(Book book, bool variants) {
  // Each is built on first use; a function-local static per pair is the
  // thread-safe way to do that.
  switch ((book == Book::Taiwan ? 2 : 0) + (variants ? 1 : 0)) {
    case 0: {
      static const std::unique_ptr<Lookup> l = BuildLookup(Book::Mainland, false);
      return *l;
    }
    case 1: {
      static const std::unique_ptr<Lookup> l = BuildLookup(Book::Mainland, true);
      return *l;
    }
    case 2: {
      static const std::unique_ptr<Lookup> l = BuildLookup(Book::Taiwan, false);
      return *l;
    }
    default: {
      static const std::unique_ptr<Lookup> l = BuildLookup(Book::Taiwan, true);
      return *l;
    }
  }
}

const std::vector<std::pair<char32_t, std::uint16_t>>& ProducedCodes(Book book) {
  static const auto mainland = BuildProducedCodes(Book::Mainland);
  static const auto taiwan = BuildProducedCodes(Book::Taiwan);
  return book == Book::Taiwan ? taiwan : mainland;
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

}  // namespace yishu::detail

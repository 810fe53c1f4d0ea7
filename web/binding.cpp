// The page's window on the core: conversion, look-up, the code books and the
// reading of a text (its direction, its digits and Chinese characters, whether
// it is traditional), exported to JavaScript with embind. Texts cross as
// UTF-16, the page's own string form, so nothing is re-encoded on the way.
// A conversion's text comes back through the module's memory, which the page
// reads itself (outputData): embind's own strings pass long texts through
// TextDecoder, which turns lone surrogates into U+FFFD.
#include <emscripten/bind.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "yishu/internal/bindings.h"
// The core's own test of a Chinese character (IsIdeograph), so that the page
// counts exactly what the conversion counts.
#include "yishu/internal/unicode.h"
#include "yishu/version.h"
#include "yishu/yishu.h"

namespace {

// What the page sends: the direction (0 codes to characters, 1 characters to
// codes), the book (0 mainland, 1 Hong Kong/Macau/Taiwan, 2 the banks'
// e-CCC), the reading options, and for codes to characters the form written:
// the script of e-CCC's two columns (0 traditional, 1 simplified) and the
// standard forms of the traditional books (為, not 爲).
struct Request {
  int direction = 0;
  int book = 0;
  bool variants = false;
  bool as_written = false;
  int script = 0;
  bool standard_forms = false;
};

// One character in one book: the code that converting it gives ("" for
// none), the variant it was reached through (0 for its own code), and, where
// its variants give different codes, `ambiguous` with those codes listed in
// `choices` ("钟 6988 锺 7167").
struct BookEntry {
  std::u16string code;
  int via = 0;
  bool ambiguous = false;
  std::u16string choices;
};

yishu::Book BookOf(int book) {
  if (book == 2) return yishu::Book::Eccc;
  return book == 1 ? yishu::Book::Taiwan : yishu::Book::Mainland;
}

yishu::Script ScriptOf(int script) {
  return script == 1 ? yishu::Script::Simplified : yishu::Script::Traditional;
}

std::u16string Digits(int code) {
  std::u16string s(4, u'0');
  for (int i = 3; i >= 0; --i, code /= 10) s[i] = static_cast<char16_t>(u'0' + code % 10);
  return s;
}

void AppendChar(std::u16string& s, char32_t c) {
  char16_t units[2];
  s.append(units, yishu::detail::EncodeUtf16(c, units));
}

// The code point at text[i] and how many units it takes.
char32_t CodePointAt(const std::u16string& text, std::size_t i, std::size_t& units) {
  const char16_t u = text[i];
  units = 1;
  if (yishu::detail::IsHighSurrogate(u) && i + 1 < text.size() &&
      yishu::detail::IsLowSurrogate(text[i + 1])) {
    units = 2;
    return yishu::detail::FromSurrogates(u, text[i + 1]);
  }
  return u;
}

bool IsHan(int c) { return yishu::detail::IsIdeograph(static_cast<char32_t>(c)); }

// Digits as codes may be written: ASCII and full-width, as an input method
// types them.
bool IsDigit(int c) { return (c >= '0' && c <= '9') || (c >= 0xFF10 && c <= 0xFF19); }

// Digits mean codes, Chinese characters mean text: whichever comes first
// decides. Empty or undecided input reads as codes.
int GuessDirection(const std::u16string& text) {
  std::size_t units = 1;
  for (std::size_t i = 0; i < text.size(); i += units) {
    const char32_t c = CodePointAt(text, i, units);
    if (IsDigit(static_cast<int>(c))) return 0;
    if (IsHan(static_cast<int>(c))) return 1;
  }
  return 0;
}

// The characters that the Hong Kong/Macau/Taiwan book has and the mainland
// book lacks, sorted. Found once, from the two books' rows (a row's
// character always has its own code): asking the books for each character of
// a long text as it is typed took tens of milliseconds.
const std::vector<char32_t>& TaiwanOnly() {
  static const std::vector<char32_t> chars = [] {
    const auto sorted = [](yishu::Book book) {
      std::vector<char32_t> found;
      for (const yishu::CodeRow& row : yishu::CodeBook(book)) found.push_back(row.unicode);
      std::sort(found.begin(), found.end());
      found.erase(std::unique(found.begin(), found.end()), found.end());
      return found;
    };
    const std::vector<char32_t> taiwan = sorted(yishu::Book::Taiwan);
    const std::vector<char32_t> mainland = sorted(yishu::Book::Mainland);
    std::vector<char32_t> only;
    std::set_difference(taiwan.begin(), taiwan.end(), mainland.begin(), mainland.end(),
                        std::back_inserter(only));
    return only;
  }();
  return chars;
}

// A character of TaiwanOnly() marks the text as traditional. A long text
// shows it early: only its first 2,000 Chinese characters are looked at.
bool LooksTraditional(const std::u16string& text) {
  const std::vector<char32_t>& taiwan_only = TaiwanOnly();
  std::size_t units = 1;
  int seen = 0;
  for (std::size_t i = 0; i < text.size() && seen < 2000; i += units) {
    const char32_t c = CodePointAt(text, i, units);
    if (!IsHan(static_cast<int>(c))) continue;
    ++seen;
    if (std::binary_search(taiwan_only.begin(), taiwan_only.end(), c)) return true;
  }
  return false;
}

// The last conversion's text, until the next one.
std::u16string output;

std::uintptr_t OutputData() { return reinterpret_cast<std::uintptr_t>(output.data()); }

// Gives the memory of a long text back once the page has read it.
void Release() {
  if (output.capacity() > (1 << 16)) std::u16string().swap(output);
}

// The length of a conversion's text (in `output`), every count of its Report
// by the page's names (codesWithoutSpace, keptRuns, throughVariant, ...), and
// where its doubtful runs are: [{offset, units, digits}], in UTF-16 units.
emscripten::val Convert(const Request& request, const std::u16string& text) {
  const auto direction =
      request.direction == 1 ? yishu::Direction::CharToCode : yishu::Direction::CodeToChar;
  yishu::Options options;
  options.book = BookOf(request.book);
  options.variants = request.variants ? yishu::Variants::All : yishu::Variants::BookDefault;
  options.reading = request.as_written ? yishu::CodeReading::AsWritten : yishu::CodeReading::Typed;
  options.script = ScriptOf(request.script);
  options.standard_forms = request.standard_forms;
  yishu::Report report;
  emscripten::val result = emscripten::val::object();
  output = yishu::ConvertText(direction, text, options, &report);
  result.set("units", static_cast<double>(output.size()));
  yishu::detail::WalkReport(report, true, [&](const std::string& name, const auto& value) {
    if constexpr (std::is_same_v<std::remove_cvref_t<decltype(value)>, std::uint64_t>) {
      result.set(name, static_cast<double>(value));
    }
  });
  emscripten::val doubtful = emscripten::val::array();
  for (const yishu::DigitRun& run : report.doubtful) {
    emscripten::val place = emscripten::val::object();
    place.set("offset", static_cast<double>(run.offset));
    place.set("units", static_cast<double>(run.units));
    place.set("digits", static_cast<double>(run.digits));
    doubtful.call<void>("push", place);
  }
  result.set("doubtful", doubtful);
  return result;
}

BookEntry Lookup(int book_id, int code_point) {
  const yishu::Book book = BookOf(book_id);
  const char32_t c = static_cast<char32_t>(code_point);
  BookEntry entry;
  const std::vector<yishu::CodeFound> found = yishu::CodesOf(book, c, yishu::Variants::All);
  // The code that converting the character gives, with variants.
  // Where several variants share it, the last one listed is named.
  for (const yishu::CodeFound& f : found) {
    if (!f.produced) continue;
    entry.code = Digits(f.code);
    entry.via = static_cast<int>(f.via);
  }
  if (!entry.code.empty()) return entry;
  // None: the character is ambiguous where its variants produce several codes.
  std::vector<std::uint16_t> codes;
  for (const yishu::CodeFound& f : found) {
    if (f.via == 0 || std::find(codes.begin(), codes.end(), f.code) != codes.end()) continue;
    for (const yishu::CodeFound& own : yishu::CodesOf(book, f.via, yishu::Variants::None)) {
      if (own.produced && own.code == f.code) codes.push_back(f.code);
    }
  }
  if (codes.size() < 2) return entry;
  entry.ambiguous = true;
  for (const yishu::CodeFound& f : found) {
    if (!entry.choices.empty()) entry.choices += u' ';
    AppendChar(entry.choices, f.via);
    entry.choices += u' ';
    entry.choices += Digits(f.code);
  }
  return entry;
}

// The character of a code in a book (in e-CCC, its form in `script`), 0 for
// none.
int CharacterOf(int book, int code, int script) {
  if (code < 0 || code > 9999) return 0;
  return static_cast<int>(yishu::CharacterOf(BookOf(book), code, ScriptOf(script)));
}

// The book as lines of "code<TAB>character", e-CCC's in the form of `script`.
std::u16string BookList(int book, int script) {
  std::u16string list;
  for (const yishu::CodeRow& row : yishu::CodeBook(BookOf(book), ScriptOf(script))) {
    list += Digits(row.code);
    list += u'\t';
    AppendChar(list, row.unicode);
    list += u'\n';
  }
  return list;
}

}  // namespace

EMSCRIPTEN_BINDINGS(yishu) {
  using emscripten::value_object;
  value_object<Request>("Request")
      .field("direction", &Request::direction)
      .field("book", &Request::book)
      .field("variants", &Request::variants)
      .field("asWritten", &Request::as_written)
      .field("script", &Request::script)
      .field("standardForms", &Request::standard_forms);
  value_object<BookEntry>("BookEntry")
      .field("code", &BookEntry::code)
      .field("via", &BookEntry::via)
      .field("ambiguous", &BookEntry::ambiguous)
      .field("choices", &BookEntry::choices);
  emscripten::function("convert", &Convert);
  emscripten::function("outputData", &OutputData);
  emscripten::function("release", &Release);
  emscripten::function("guessDirection", &GuessDirection);
  emscripten::function("isHan", &IsHan);
  emscripten::function("isDigit", &IsDigit);
  emscripten::function("looksTraditional", &LooksTraditional);
  emscripten::function("lookup", &Lookup);
  emscripten::function("characterOf", &CharacterOf);
  emscripten::function("bookList", &BookList);
  emscripten::function(
      "version", +[] { return std::string(YISHU_VERSION_STRING); });
}

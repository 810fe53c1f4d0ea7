// The page's window on the core: conversion, look-up and the code books,
// exported to JavaScript with embind. Texts cross as UTF-16, the page's own
// string form, so nothing is re-encoded on the way.
#include <emscripten/bind.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "yishu/internal/unicode.h"
#include "yishu/version.h"
#include "yishu/yishu.h"

namespace {

// What the page sends: the direction (0 codes to characters, 1 characters to
// codes), the book (0 mainland, 1 Taiwan) and the two reading options.
struct Request {
  int direction = 0;
  int book = 0;
  bool variants = false;
  bool as_written = false;
};

// What the core compiled into this module can do; the page disables the
// controls of anything missing.
struct Features {
  bool taiwan = false;
  bool variants = false;
  bool as_written = false;
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

struct CharInfo {
  BookEntry mainland;
  BookEntry taiwan;
};

yishu::Book BookOf(int book) { return book == 1 ? yishu::Book::Taiwan : yishu::Book::Mainland; }

std::u16string Digits(int code) {
  std::u16string s(4, u'0');
  for (int i = 3; i >= 0; --i, code /= 10) s[i] = static_cast<char16_t>(u'0' + code % 10);
  return s;
}

void AppendChar(std::u16string& s, char32_t c) {
  char16_t units[2];
  s.append(units, yishu::detail::EncodeUtf16(c, units));
}

// The page's name of a Report field: through_variant -> throughVariant.
std::string CamelCase(std::string_view name) {
  std::string camel;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '_' && i + 1 < name.size()) {
      camel += static_cast<char>(name[++i] - 'a' + 'A');
    } else {
      camel += name[i];
    }
  }
  return camel;
}

// A conversion's text and every count of its Report, by the page's names
// (codesWithoutSpace, keptRuns, throughVariant, ambiguous, ...).
emscripten::val Convert(const Request& request, const std::u16string& text) {
  const auto direction =
      request.direction == 1 ? yishu::Direction::CharToCode : yishu::Direction::CodeToChar;
  yishu::Options options;
  options.book = BookOf(request.book);
  options.variants = request.variants ? yishu::Variants::All : yishu::Variants::BookDefault;
  options.reading = request.as_written ? yishu::CodeReading::AsWritten : yishu::CodeReading::Typed;
  yishu::Report report;
  emscripten::val result = emscripten::val::object();
  result.set("text", yishu::ConvertText(direction, text, options, &report));
  yishu::Report::ForEachField([&](const char* name, auto member) {
    if constexpr (std::is_same_v<std::remove_cvref_t<decltype(report.*member)>, std::uint64_t>) {
      result.set(CamelCase(name), static_cast<double>(report.*member));
    }
  });
  return result;
}

Features GetFeatures() { return {.taiwan = true, .variants = true, .as_written = true}; }

BookEntry Entry(yishu::Book book, char32_t c) {
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

CharInfo LookupChar(int code_point) {
  const char32_t c = static_cast<char32_t>(code_point);
  return {Entry(yishu::Book::Mainland, c), Entry(yishu::Book::Taiwan, c)};
}

// The book as lines of "code<TAB>character".
std::u16string BookList(int book) {
  std::u16string list;
  for (const yishu::CodeRow& row : yishu::CodeBook(BookOf(book))) {
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
      .field("asWritten", &Request::as_written);
  value_object<Features>("Features")
      .field("taiwan", &Features::taiwan)
      .field("variants", &Features::variants)
      .field("asWritten", &Features::as_written);
  value_object<BookEntry>("BookEntry")
      .field("code", &BookEntry::code)
      .field("via", &BookEntry::via)
      .field("ambiguous", &BookEntry::ambiguous)
      .field("choices", &BookEntry::choices);
  value_object<CharInfo>("CharInfo")
      .field("mainland", &CharInfo::mainland)
      .field("taiwan", &CharInfo::taiwan);
  emscripten::function("convert", &Convert);
  emscripten::function("features", &GetFeatures);
  emscripten::function("lookupChar", &LookupChar);
  emscripten::function("bookList", &BookList);
  emscripten::function(
      "version", +[] { return std::string(YISHU_VERSION_STRING); });
}

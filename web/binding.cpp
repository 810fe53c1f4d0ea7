// The page's window on the core: conversion, look-up and the code books,
// exported to JavaScript with embind. Texts cross as UTF-16, the page's own
// string form, so nothing is re-encoded on the way.
#include <emscripten/bind.h>

#include <cstdint>
#include <string>
#include <vector>

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

// A conversion's text and what happened in it: codes left as digits for want
// of a space, runs of digits that are no codes, characters coded through a
// variant or left because their variants disagree.
struct Result {
  std::u16string text;
  double codes_without_space = 0;
  double kept_runs = 0;
  double through_variant = 0;
  double ambiguous = 0;
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
  if (c < 0x10000) {
    s += static_cast<char16_t>(c);
  } else {
    s += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
    s += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
  }
}

Result Convert(const Request& request, const std::u16string& text) {
  const auto direction =
      request.direction == 1 ? yishu::Direction::CharToCode : yishu::Direction::CodeToChar;
  yishu::Options options;
  options.book = BookOf(request.book);
  options.variants = request.variants ? yishu::Variants::All : yishu::Variants::BookDefault;
  options.reading = request.as_written ? yishu::CodeReading::AsWritten : yishu::CodeReading::Typed;
  yishu::Report report;
  Result result;
  result.text = yishu::ConvertText(direction, text, options, &report);
  result.codes_without_space = static_cast<double>(report.codes_without_space);
  result.kept_runs = static_cast<double>(report.kept_runs);
  result.through_variant = static_cast<double>(report.through_variant);
  result.ambiguous = static_cast<double>(report.ambiguous);
  return result;
}

Features GetFeatures() { return {.taiwan = true, .variants = true, .as_written = true}; }

BookEntry Entry(yishu::Book book, char32_t c) {
  BookEntry entry;
  const std::vector<yishu::CodeFound> found = yishu::CodesOf(book, c);
  if (found.empty()) return entry;
  // The code the conversion gives, with variants: a character of the book
  // takes its lowest produced code, one outside it the single code its
  // variants agree on.
  std::u16string text;
  AppendChar(text, c);
  yishu::Options options;
  options.book = book;
  options.variants = yishu::Variants::All;
  yishu::Report report;
  const std::u16string converted =
      yishu::ConvertText(yishu::Direction::CharToCode, text, options, &report);
  if (report.ambiguous) {
    entry.ambiguous = true;
    for (const yishu::CodeFound& f : found) {
      if (!entry.choices.empty()) entry.choices += u' ';
      AppendChar(entry.choices, f.via);
      entry.choices += u' ';
      entry.choices += Digits(f.code);
    }
    return entry;
  }
  if (converted.size() == 5 && converted[4] == u' ') entry.code = converted.substr(0, 4);
  for (const yishu::CodeFound& f : found) {
    if (f.via != 0 && Digits(f.code) == entry.code) entry.via = static_cast<int>(f.via);
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
  value_object<Result>("Result")
      .field("text", &Result::text)
      .field("codesWithoutSpace", &Result::codes_without_space)
      .field("keptRuns", &Result::kept_runs)
      .field("throughVariant", &Result::through_variant)
      .field("ambiguous", &Result::ambiguous);
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

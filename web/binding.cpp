// The page's window on the core: conversion, look-up and the code books,
// exported to JavaScript with embind. Texts cross as UTF-16, the page's own
// string form, so nothing is re-encoded on the way.
#include <emscripten/bind.h>

#include <cstdint>
#include <string>

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

// One character of one book: its code ("" for none), the variant it was
// reached through (0 for none) and whether its variants disagree.
struct BookEntry {
  std::u16string code;
  int via = 0;
  bool ambiguous = false;
};

struct CharInfo {
  BookEntry mainland;
  BookEntry taiwan;
};

std::u16string Digits(int code) {
  std::u16string s(4, u'0');
  for (int i = 3; i >= 0; --i, code /= 10) s[i] = static_cast<char16_t>(u'0' + code % 10);
  return s;
}

Result Convert(const Request& request, const std::u16string& text) {
  const auto direction =
      request.direction == 1 ? yishu::Direction::CharToCode : yishu::Direction::CodeToChar;
  Result result;
  result.text = yishu::ConvertText(direction, text);
  return result;
}

Features GetFeatures() { return {}; }

// The mainland code of each BMP character, indexed once.
struct Index {
  std::uint16_t code_of[65536] = {};
  Index() {
    for (const yishu::CodeRow& row : yishu::CodeBook()) {
      if (row.produced && code_of[row.unicode] == 0) code_of[row.unicode] = row.code;
    }
  }
};

const Index& GetIndex() {
  static const Index index;
  return index;
}

CharInfo LookupChar(int code_point) {
  CharInfo info;
  if (code_point >= 0 && code_point < 65536 && GetIndex().code_of[code_point] != 0) {
    info.mainland.code = Digits(GetIndex().code_of[code_point]);
  }
  return info;
}

// The book as lines of "code<TAB>character".
std::u16string BookList(int book) {
  std::u16string list;
  if (book != 0) return list;
  for (const yishu::CodeRow& row : yishu::CodeBook()) {
    list += Digits(row.code);
    list += u'\t';
    list += row.unicode;
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
      .field("ambiguous", &BookEntry::ambiguous);
  value_object<CharInfo>("CharInfo")
      .field("mainland", &CharInfo::mainland)
      .field("taiwan", &CharInfo::taiwan);
  emscripten::function("convert", &Convert);
  emscripten::function("features", &GetFeatures);
  emscripten::function("lookupChar", &LookupChar);
  emscripten::function("bookList", &BookList);
  emscripten::function("version", +[] { return std::string(YISHU_VERSION_STRING); });
}

// yishu: conversion between Chinese telegraph codes and Chinese characters.
//
// A telegraph code is four decimal digits from the standard code book
// (0022 = 中, 2429 = 文). The library converts whole texts in one of two
// directions:
//
//   CodeToChar  every code written as four ASCII digits followed by one ASCII
//               space becomes its character ("0022 2429 " -> "中文"). Five-digit
//               day codes such as 99010 become day texts (一日). A code without
//               its space is left alone: a code converts once its space is
//               typed.
//   CharToCode  every character that has a code becomes the code's four digits
//               and one space ("中文" -> "0022 2429 ").
//
// Everything else passes through unchanged, byte for byte: text without a
// code, line breaks, malformed bytes. The result never depends on where a
// streamed text is split.
//
// Texts come in three forms:
//   * CP936 bytes (Windows code page 936, GBK). A byte 0x81..0xFE is a lead
//     byte and forms one character with whatever byte follows it; 0x80 and
//     0xFF are single bytes. Malformed input is handled exactly by these rules.
//   * UTF-8 bytes. Invalid sequences and characters outside the code page
//     (U+20000, emoji, Hangul) pass through untouched.
//   * UTF-16 code units. Unpaired surrogates pass through untouched.
// For every text that CP936 can represent, the Unicode forms give the same
// result as the CP936 form, mapped through the code page.
//
// All functions are thread-safe; the code book is read-only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// YISHU_API marks what a shared build of the library exports; everything else
// stays inside it. Windows users of a DLL define YISHU_SHARED (the CMake and
// pkg-config packages do).
#if defined(_WIN32)
#if defined(YISHU_BUILDING) && defined(YISHU_SHARED)
#define YISHU_API __declspec(dllexport)
#elif defined(YISHU_SHARED)
#define YISHU_API __declspec(dllimport)
#else
#define YISHU_API
#endif
#else
#define YISHU_API __attribute__((visibility("default")))
#endif

namespace yishu {

// The direction of a conversion.
enum class Direction { CodeToChar, CharToCode };

// The byte forms of text.
enum class Encoding { Cp936, Utf8 };

// Converts a whole text. `text` is in `encoding`; so is the result.
YISHU_API std::string ConvertText(Direction direction, std::string_view text,
                        Encoding encoding = Encoding::Cp936);

// Converts a whole UTF-16 text.
YISHU_API std::u16string ConvertText(Direction direction, std::u16string_view text);

// Converts a text that arrives in pieces, in constant memory. Feeding the
// pieces of a text one after another and then calling Finish gives exactly
// what ConvertText gives for the whole text, however the text was split.
class YISHU_API Converter {
 public:
  Converter(Direction direction, Encoding encoding);

  // Converts `piece` and appends to `out` all the output that no later piece
  // can change. At most a few kilobytes are held back.
  void Feed(std::string_view piece, std::string& out);

  // Appends the rest of the output; the converter can then be fed again as a
  // new text.
  void Finish(std::string& out);

  // The number of input bytes held back, waiting for the rest of a code, a
  // digit run or a character.
  std::size_t held() const { return carry_.size(); }

 private:
  void Process(std::string_view text, bool final, std::string& out);

  Direction direction_;
  Encoding encoding_;
  std::string carry_;
};

// The same for UTF-16 text.
class YISHU_API Utf16Converter {
 public:
  explicit Utf16Converter(Direction direction);
  void Feed(std::u16string_view piece, std::u16string& out);
  void Finish(std::u16string& out);
  std::size_t held() const { return carry_.size(); }

 private:
  void Process(std::u16string_view text, bool final, std::u16string& out);

  Direction direction_;
  std::u16string carry_;
};

// One row of the code book: a code and its character.
struct CodeRow {
  std::uint16_t code;     // 1..9998
  std::uint8_t lead;      // CP936 bytes of the character
  std::uint8_t trail;
  char16_t unicode;       // the character's code point (all lie in the BMP)
  bool produced;          // false for the few codes that convert to their
                          // character but are never produced from it
};

// The code book: every code that converts to a character, in code order.
YISHU_API std::span<const CodeRow> CodeBook();

}  // namespace yishu

// The three forms of text the engines work on, and what differs between them:
// the code unit, how a replacement character is written, and (for CP936)
// where characters begin.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

#include "code_table.h"
#include "day_rules.h"
#include "utf8.h"
#include "writer.h"

namespace yishu::detail {

enum class Form { Cp936, Utf8, Utf16 };

template <Form F>
struct TextForm;

inline bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

template <>
struct TextForm<Form::Cp936> {
  using Unit = char;
  // CP936 lacks a few characters of the Taiwan book.
  static bool CanWrite(const CodeRow& row) { return row.lead != 0; }
  static void AppendChar(Writer<char>& out, const CodeRow& row) {
    out += static_cast<char>(row.lead);
    out += static_cast<char>(row.trail);
  }
  static void AppendDay(Writer<char>& out, const DayText& day) {
    out.append(day.cp936, 2 * day.length);
  }
};

template <>
struct TextForm<Form::Utf8> {
  using Unit = char;
  static bool CanWrite(const CodeRow&) { return true; }
  static void AppendUnicode(Writer<char>& out, char32_t c) {
    char bytes[8] = {};
    const int n = EncodeUtf8(c, bytes);
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    out.append_word(word, static_cast<std::size_t>(n));
  }
  static void AppendChar(Writer<char>& out, const CodeRow& row) { AppendUnicode(out, row.unicode); }
  static void AppendDay(Writer<char>& out, const DayText& day) {
    for (int i = 0; i < day.length; ++i) AppendUnicode(out, day.unicode[i]);
  }
};

template <>
struct TextForm<Form::Utf16> {
  using Unit = char16_t;
  static bool CanWrite(const CodeRow&) { return true; }
  static void AppendChar(Writer<char16_t>& out, const CodeRow& row) {
    if (row.unicode < 0x10000) {
      out += static_cast<char16_t>(row.unicode);
    } else {  // a surrogate pair
      out += static_cast<char16_t>(0xD800 + ((row.unicode - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((row.unicode - 0x10000) & 0x3FF));
    }
  }
  static void AppendDay(Writer<char16_t>& out, const DayText& day) {
    out.append(day.unicode, day.length);
  }
};

template <class Unit>
bool IsAscii(Unit u) {
  return static_cast<std::make_unsigned_t<Unit>>(u) < 0x80;
}

// The most ASCII characters between two codes, or within Chinese text,
// that the engines' fastest loops copy without leaving them.
inline constexpr std::size_t kShortGap = 4;

template <class Unit>
inline bool IsDigit(Unit u) {
  return u >= '0' && u <= '9';
}

}  // namespace yishu::detail

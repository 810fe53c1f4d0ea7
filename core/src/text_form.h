// The three forms of text the engines work on, and what differs between them:
// the code unit, how a replacement character is written, and (for CP936)
// where characters begin.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "code_table.h"
#include "day_rules.h"

namespace yishu::detail {

enum class Form { Cp936, Utf8, Utf16 };

template <Form F>
struct TextForm;

inline bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

template <class Out>
inline void AppendUtf8(Out& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | cp >> 6);
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {  // every character of the code book lies in the BMP
    out += static_cast<char>(0xE0 | cp >> 12);
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

template <>
struct TextForm<Form::Cp936> {
  using Unit = char;
  template <class Out>
  static void AppendChar(Out& out, const CodeRow& row) {
    out += static_cast<char>(row.lead);
    out += static_cast<char>(row.trail);
  }
  template <class Out>
  static void AppendDay(Out& out, const DayText& day) {
    out.append(day.cp936, 2 * day.length);
  }
};

template <>
struct TextForm<Form::Utf8> {
  using Unit = char;
  template <class Out>
  static void AppendChar(Out& out, const CodeRow& row) {
    AppendUtf8(out, row.unicode);
  }
  template <class Out>
  static void AppendDay(Out& out, const DayText& day) {
    for (int i = 0; i < day.length; ++i) AppendUtf8(out, day.unicode[i]);
  }
};

template <>
struct TextForm<Form::Utf16> {
  using Unit = char16_t;
  template <class Out>
  static void AppendChar(Out& out, const CodeRow& row) {
    out += row.unicode;
  }
  template <class Out>
  static void AppendDay(Out& out, const DayText& day) {
    out.append(day.unicode, day.length);
  }
};

template <class Unit>
inline bool IsDigit(Unit u) {
  return u >= '0' && u <= '9';
}

}  // namespace yishu::detail

// The three forms of text the engines work on, and what differs between them:
// the code unit, how a replacement character is written, and (for CP936)
// where characters begin.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

#include "code_indexes.h"
#include "day_rules.h"
#include "writer.h"
#include "yishu/internal/unicode.h"

namespace yishu::detail {

enum class Form { Cp936, Utf8, Utf16 };

template <Form F>
struct TextForm;

inline bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

template <>
struct TextForm<Form::Cp936> {
  using Unit = char;
  static void AppendDay(Writer<char>& out, const DayText& day) {
    out.append(day.cp936, 2 * day.length);
  }
};

template <>
struct TextForm<Form::Utf8> {
  using Unit = char;
  // Five digits become at most nine bytes, and every estimate leaves room
  // for a store of 16 beyond the text (MostOutput).
  static void AppendDay(Writer<char>& out, const DayText& day) {
    out.append_word(day.utf8, 3 * std::size_t{day.length});
  }
};

template <>
struct TextForm<Form::Utf16> {
  using Unit = char16_t;
  static void AppendDay(Writer<char16_t>& out, const DayText& day) {
    out.append(day.unicode, day.length);
  }
};

// The characters of the codes in form F, packed (see Lookup).
template <Form F>
const std::uint64_t* CharTexts(const Lookup& lookup) {
  if constexpr (F == Form::Cp936) return lookup.cp936_text;
  if constexpr (F == Form::Utf8) return lookup.utf8_text;
  if constexpr (F == Form::Utf16) return lookup.utf16_text;
}

// Whether the form can hold the character of `code` (CP936 lacks a few of
// the Taiwan book), and writing it: the one way a code's character is written.
template <Form F>
bool CanWriteCode(const Lookup& lookup, int code) {
  return CharTexts<F>(lookup)[code] != 0;
}
// Codes with notes are counted in the report (NoteWritten).
template <Form F>
void AppendCodeChar(const Lookup& lookup, int code, Writer<typename TextForm<F>::Unit>& out,
                    Report& report) {
  const std::uint64_t text = CharTexts<F>(lookup)[code];
  out.append_word(text, UnitsOfCharText(text));
  if (const unsigned notes = NotesOfCharText(text)) [[unlikely]]
    NoteWritten(static_cast<std::uint16_t>(code), notes, report);
}

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

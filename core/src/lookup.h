// Indexes over a code book, built once on first use: from a code to its row,
// and from a character (CP936 pair or code point) to the code that it
// converts to.
//
// With variant look-up, the character indexes also say what happens to a
// character the book lacks, in values above every code (see the marks
// below); without it they hold codes only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <utility>
#include <vector>

#include "code_table.h"

namespace yishu::detail {

// The character indexes hold a code (1..kLastCode), 0 for nothing, or with
// variant look-up a mark above every code: a code reached through a variant,
// or why a character stays. IsMark tells them apart; ResolveMark (in
// char_to_code.h) says what a mark makes of its character.
inline constexpr std::uint16_t kLastCode = 9999;
inline constexpr std::uint16_t kViaVariant = 0x8000;  // | the code
inline constexpr std::uint16_t kAmbiguous = 0xFFFF;   // variants give several codes
inline constexpr std::uint16_t kOtherBookOnly = 0xFFFE;
inline constexpr std::uint16_t kNoCode = 0xFFFD;  // an ideograph neither book has

constexpr bool IsMark(std::uint16_t value) { return value > kLastCode; }
constexpr bool IsVariantCode(std::uint16_t mark) { return mark < kNoCode; }
constexpr std::uint16_t CodeOfVariantMark(std::uint16_t mark) { return mark & ~kViaVariant; }
static_assert(IsMark(kViaVariant | 1) && IsVariantCode(kViaVariant | kLastCode) &&
              !IsVariantCode(kNoCode));

struct Lookup {
  const CodeRow* rows;
  bool day_codes;      // five-digit day codes convert (mainland book)
  bool marks;          // the character indexes hold marks (variant look-up)
  bool supplementary;  // characters above the BMP can have a code or a mark
  // code -> index into rows + 1; 0 where the code has no rule.
  std::uint16_t row_of_code[10000];
  // (lead << 8 | trail) -> code; 0 where the pair converts to nothing.
  std::uint16_t code_of_cp936[65536];
  // BMP code point -> code; 0 where the character converts to nothing.
  std::uint16_t code_of_unicode[65536];
  // The same for code points above the BMP, sorted.
  std::vector<std::pair<char32_t, std::uint16_t>> code_of_supplementary;
  // code -> its four digits and a space, as the first five bytes of a word in
  // memory order, so that a code is written with one store.
  std::uint64_t code_text[10000];
  // code -> its character in each form, packed (PackCharText): 0 where the
  // code has no rule or the form cannot hold its character. One load and one
  // store write a character; every character of a row is written so.
  std::uint64_t cp936_text[10000];
  std::uint64_t utf8_text[10000];
  std::uint64_t utf16_text[10000];
  // With marks: (lead << 8 | trail) -> the character, where the data know it.
  std::vector<char16_t> char_of_cp936;

  std::uint16_t CodeOfSupplementary(char32_t c) const;
};

// A character packed into a word: its units as the first units of the word
// in memory order, and their number in the top byte.
inline constexpr int kCharTextUnitsShift = 56;

template <class Unit>
std::uint64_t PackCharText(const Unit* units, int count) {
  std::uint64_t word = 0;
  std::memcpy(&word, units, static_cast<std::size_t>(count) * sizeof(Unit));
  return word | std::uint64_t(count) << kCharTextUnitsShift;
}

inline std::size_t UnitsOfCharText(std::uint64_t text) {
  return static_cast<std::size_t>(text >> kCharTextUnitsShift);
}

const Lookup& GetLookup(Book book = Book::Mainland, bool variants = false);

// The lowest produced code of each character of a book, in code point order.
const std::vector<std::pair<char32_t, std::uint16_t>>& ProducedCodes(Book book);

// The variants of a character (from the generated pairs).
std::span<const struct VariantPair> VariantsOf(char32_t character);

}  // namespace yishu::detail

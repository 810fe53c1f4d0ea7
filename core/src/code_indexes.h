// Indexes over a code book, built once on first use: from a code to its row,
// and from a character (CP936 pair or code point) to the code that it
// converts to.
//
// With variant look-up, the character indexes also say what happens to a
// character the book lacks, in values above every code (see the marks
// below); without it they hold codes only.
//
// A look-up serves one direction's options: characters to codes, the book
// and the variant links followed; codes to characters, the book, the script
// and whether standard forms are written.
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

// Notes on codes that codes to characters counts in the Report.
inline constexpr std::uint8_t kNoteOtherScript = 1;  // written in the other script
inline constexpr std::uint8_t kNoteOldForm = 2;      // the book's character has a standard form
// In the character texts, the notes sit above the number of units.
inline constexpr int kNoteShift = 62;
inline constexpr std::uint64_t kUnitsMask = 0x3F;

struct Lookup {
  Book book;
  const CodeRow* rows;  // codes to characters: in the script and forms written
  bool day_codes;       // five-digit day codes convert (mainland book)
  bool marks;           // the character indexes hold marks (variant look-up)
  bool supplementary;   // characters above the BMP can have a code or a mark
  std::uint8_t routes;  // with marks: the VariantSource bits the variants follow
  bool notes;           // some codes have notes (note_of_code)
  bool standard_forms;  // old forms are written as their standard forms
  std::uint8_t note_of_code[10000];
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
  // code -> its character in each form, packed (PackCharText) with the
  // code's notes: 0 where the code has no rule or the form cannot hold its
  // character. One load and one store write a character; every character of
  // a row is written so.
  std::uint64_t cp936_text[10000];
  std::uint64_t utf8_text[10000];
  std::uint64_t utf16_text[10000];
  // With marks: (lead << 8 | trail) -> the character, where the data know it.
  std::vector<char16_t> char_of_cp936;
  // The rows written where they differ from the book's (standard forms).
  std::vector<CodeRow> own_rows;

  std::uint16_t CodeOfSupplementary(char32_t c) const;
};

// A character packed into a word: its units as the first units of the word
// in memory order, and in the top byte their number (the low six bits) and
// the code's notes above it.
inline constexpr int kCharTextUnitsShift = 56;

template <class Unit>
std::uint64_t PackCharText(const Unit* units, int count, std::uint8_t notes) {
  std::uint64_t word = 0;
  std::memcpy(&word, units, static_cast<std::size_t>(count) * sizeof(Unit));
  return word | std::uint64_t(count) << kCharTextUnitsShift | std::uint64_t{notes} << kNoteShift;
}

// The top byte: the number of units, and the notes above it.
inline std::size_t TopOfCharText(std::uint64_t text) {
  return static_cast<std::size_t>(text >> kCharTextUnitsShift);
}
inline std::size_t UnitsOfCharText(std::uint64_t text) { return TopOfCharText(text) & kUnitsMask; }

// The VariantSource bits that `variants` follows in `book`.
std::uint8_t RouteSources(Book book, Variants variants);

// Characters to codes in `book`, following the variant links of `routes`.
const Lookup& CharToCodeLookup(Book book, std::uint8_t routes);
// Codes to characters in `book`.
const Lookup& CodeToCharLookup(Book book, Script script = Script::Traditional,
                               bool standard_forms = false);

// The lowest produced code of each character of a book, in code point order.
const std::vector<std::pair<char32_t, std::uint16_t>>& ProducedCodes(Book book);

// The variants of a character (from the generated pairs).
std::span<const struct VariantPair> VariantsOf(char32_t character);

// The lowest produced code of `c` in `book`, or 0.
std::uint16_t ProducedCode(Book book, char32_t c);

// The links of `routes` that decide for `c` in `book`: those of the same
// character where any gives a code, else the semantic ones.
std::uint8_t TierOf(Book book, char32_t c, std::uint8_t routes);

// What the variant look-up makes of `c`, which `book` lacks, following the
// links of `routes` (TierOf): kViaVariant | code, a mark why it stays, or 0.
std::uint16_t MarkOf(Book book, char32_t c, std::uint8_t routes);

// The link of `c` that gives `code` in `book` through `routes` (the first
// in variant order), or null.
const struct VariantPair* RouteTo(Book book, char32_t c, std::uint16_t code, std::uint8_t routes);

// Lists `c`, converted to `code` through a variant, in the Report (once).
void NoteThroughVariant(const Lookup& lookup, char32_t c, std::uint16_t code, Report& report);

// The notes of a code, from its packed character.
inline unsigned NotesOfCharText(std::uint64_t text) {
  return static_cast<unsigned>(text >> kNoteShift);
}

// Whether a list of codes that `notes` go to still has room: only then is a
// noted code listed. The lists fill within the first few dozen noted codes;
// after that, counting is all that is left to do.
inline bool NoteListsHaveRoom(unsigned notes, const Report& report) {
  return ((notes & kNoteOtherScript) && report.other_script_codes.size() < Report::kListedChars) ||
         ((notes & kNoteOldForm) && report.old_form_codes.size() < Report::kListedChars);
}

// Lists `code`, written with `notes`, where it is not listed yet.
void ListNotedCode(std::uint16_t code, unsigned notes, Report& report);

// Counts `notes` of a code written as a character in the Report.
inline void CountNotes(unsigned notes, Report& report) {
  static_assert(kNoteOtherScript == 1 && kNoteOldForm == 2);
  report.other_script += notes & kNoteOtherScript;
  report.old_forms += notes >> 1;
}

// Counts the notes of a code written as a character in the Report, and lists
// the code while its lists have room.
inline void NoteWritten(std::uint16_t code, unsigned notes, Report& report) {
  CountNotes(notes, report);
  if (NoteListsHaveRoom(notes, report)) [[unlikely]]
    ListNotedCode(code, notes, report);
}

// The standard form of `c` (standard forms of old forms), or null.
const struct StandardForm* StandardFormEntry(char32_t c);

}  // namespace yishu::detail

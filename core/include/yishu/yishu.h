// yishu: conversion between Chinese telegraph codes and Chinese characters.
//
// A telegraph code is four decimal digits from a code book (0022 = 中,
// 2429 = 文). Three books are built in: the mainland book (the default, for
// simplified text), the Taiwan book (for traditional text and for documents
// from Hong Kong, Macau and Taiwan) and the e-CCC book (the table that banks
// in mainland China, Hong Kong and Macau use for the names of CNY payments;
// it gives each code a traditional and a simplified form). The library
// converts whole texts in one of two directions:
//
//   CodeToChar  every code written as four ASCII digits followed by one ASCII
//               space becomes its character ("0022 2429 " -> "中文"). In the
//               mainland book, five-digit day codes such as 99010 become day
//               texts (一日). A code without its space is left alone: a code
//               converts once its space is typed. Options can read codes as
//               people write them instead (CodeReading::AsWritten:
//               "0022,2429" -> "中,文").
//   CharToCode  every character that has a code becomes the code's four digits
//               and one space ("中文" -> "0022 2429 ").
//
// Everything else passes through unchanged, byte for byte: text without a
// code, line breaks, malformed bytes. A code whose character the text's form
// cannot hold (CP936 lacks some characters of the Taiwan book) stays as its
// digits and its space, and is counted in the Report. The result never
// depends on where a streamed text is split.
//
// Texts come in three forms:
//   * CP936 bytes (Windows code page 936, GBK). A byte 0x81..0xFE is a lead
//     byte and forms one character with whatever byte follows it; 0x80 and
//     0xFF are single bytes. Malformed input is handled exactly by these rules.
//   * UTF-8 bytes. Invalid sequences and characters without a code (emoji,
//     Hangul) pass through untouched.
//   * UTF-16 code units. Unpaired surrogates pass through untouched.
// For every text that CP936 can represent, the Unicode forms give the same
// result as the CP936 form, mapped through the code page.
//
// All functions are thread-safe; the code books are read-only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

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

// The code books.
enum class Book { Mainland, Taiwan, Eccc };

// Which of a code's two forms codes convert to. Only the e-CCC book has two
// columns; the other books have one form per code and ignore this.
enum class Script { Traditional, Simplified };

// Which variant links characters to codes take when the book lacks the
// character itself (see Options::variants).
enum class Variants {
  // Forms for the Taiwan and e-CCC books, None for the mainland book.
  BookDefault,
  // Only the book's own characters have codes.
  None,
  // Other written forms of the same character: 衛 takes the code of 衞, 為
  // that of 爲. The links come from the Unicode Han database (semantic,
  // specialized semantic and Z variants), from OpenCC's Taiwan and Hong
  // Kong variant tables and from the e-CCC rows that pair an old form with
  // its form in Big5 (屛 and 屏).
  Forms,
  // Forms, and the simplified and traditional links of the Unicode Han
  // database: 叶 takes the code of 葉 in a traditional book and 葉 the code
  // of 叶 in the mainland book.
  All,
};

// Where a variant link comes from, as bits of a mask.
enum VariantSource : std::uint8_t {
  kUnihanSimplified = 1,           // kSimplifiedVariant
  kUnihanTraditional = 2,          // kTraditionalVariant
  kUnihanSemantic = 4,             // kSemanticVariant
  kUnihanSpecializedSemantic = 8,  // kSpecializedSemanticVariant
  kUnihanZ = 16,                   // kZVariant
  kOpenccTaiwan = 32,              // OpenCC's Taiwan variants (TWVariants)
  kOpenccHongKong = 64,            // OpenCC's Hong Kong variants (HKVariants)
  kEcccForms = 128,  // an e-CCC row: its traditional form outside Big5, its other form in it
};
// The sources that Variants::Forms follows.
inline constexpr std::uint8_t kFormSources = kUnihanSemantic | kUnihanSpecializedSemantic |
                                             kUnihanZ | kOpenccTaiwan | kOpenccHongKong |
                                             kEcccForms;
// Links of the same character (a glyph or a script apart) come before the
// semantic ones (a different character of the same meaning): where the
// first give a code, the semantic links are not asked.
inline constexpr std::uint8_t kSemanticSources = kUnihanSemantic | kUnihanSpecializedSemantic;

// How codes are read when codes are converted to characters.
enum class CodeReading {
  // A code converts once its space follows: "0022 " becomes 中, "0022" stays.
  // This suits typing, where a code is not taken while it is being typed.
  Typed,
  // Codes as people write them in lists, on cards and in files:
  //   * a run of exactly 4 digits is a code, whatever follows it (a line
  //     break, a comma, a character, the end of the text), and one space
  //     right after it goes with it: "0022,2429" -> 中,文, "0022 2429" -> 中文;
  //   * a run of 8, 12, ... digits (up to 2,048 digits) is codes of four
  //     written together: "00222429" -> 中文;
  //   * in the mainland book, a run of five digits that is a day code (99010
  //     to 99319) becomes its day text, and takes one space after it as a
  //     code does;
  //   * digits and spaces may be full-width (０-９, the ideographic space);
  //   * every other run of digits stays exactly as it is and is listed in
  //     the Report: runs of other lengths, and runs in which some group of
  //     four is no code ("2024" would convert, "20245" or "0000" stay). A run
  //     with a code whose character the text's form cannot hold stays too,
  //     counted as unwritable.
  // Codes that CharToCode produced read back to the same text as long as
  // that text had no digits of its own next to a character with a code.
  AsWritten,
};

// How to convert. The defaults give the mainland book's plain conversion.
// Each option applies to one direction and is ignored in the other.
struct Options {
  Book book = Book::Mainland;
  // Characters to codes only: a character that the book lacks takes the code of
  // its variants (the links that `variants` allows) when those give exactly
  // one code; with several, it stays as it is. Either way the Report names
  // it: a route is never taken silently.
  Variants variants = Variants::BookDefault;
  // Codes to characters only: how codes are read.
  CodeReading reading = CodeReading::Typed;
  // Codes to characters only, in the e-CCC book: the form written. Where the
  // book's column is empty for a code, the other form is written and counted
  // in the Report (other_script).
  Script script = Script::Traditional;
  // Codes to characters only, in the traditional books (Taiwan, e-CCC's
  // traditional column): write the standard form where the book's character
  // is an old variant of a character that Big5 (CP950) holds: 為, not 爲;
  // 衛, not 衞. Off, the book's own form is written and such codes are
  // counted (Report::old_forms); on, the changed codes are counted.
  bool standard_forms = false;
};

// A run of digits that the as-written reading kept as it was.
struct DigitRun {
  std::uint64_t offset;  // from the start of the text, in its units (bytes,
                         // or UTF-16 code units)
  std::uint64_t units;   // its length in the same units
  std::uint64_t digits;  // how many digits it has
  bool operator==(const DigitRun&) const = default;
};

// A character converted through a variant: its code is the variant's.
struct VariantUse {
  char32_t character;
  char32_t variant;
  std::uint16_t code;
  std::uint8_t sources;  // VariantSource bits of the link
  bool operator==(const VariantUse&) const = default;
};

// What a conversion did besides its plain work, in one text. Counts cover
// the whole text; character lists hold each character once, in the order of
// first appearance, at most kListedChars.
struct Report {
  static constexpr std::size_t kListedChars = 32;

  // Characters to codes, with variant look-up only:
  std::uint64_t through_variant = 0;  // converted through a variant
  std::uint64_t ambiguous = 0;        // left: their variants give several codes
  std::uint64_t other_book_only = 0;  // left: only the other book has a code
  std::uint64_t no_code = 0;          // CJK ideographs left: neither book has a code
  std::u32string ambiguous_chars, other_book_chars, no_code_chars;
  // The characters converted through a variant, each once, with the variant.
  std::vector<VariantUse> through_chars;

  // Codes to characters: codes left as digits because the text's form cannot
  // hold their character.
  std::uint64_t unwritable = 0;
  std::vector<std::uint16_t> unwritable_codes;  // each once, at most kListedChars

  // Codes to characters in the e-CCC book: codes written in the other script
  // because the book has no form in the chosen one.
  std::uint64_t other_script = 0;
  std::vector<std::uint16_t> other_script_codes;  // each once, at most kListedChars

  // Codes to characters: codes whose book character is an old form with a
  // standard form in Big5. Without Options::standard_forms they were
  // written in the old form; with it, in the standard form.
  std::uint64_t old_forms = 0;
  std::vector<std::uint16_t> old_form_codes;  // each once, at most kListedChars

  // Codes to characters as typed: codes left as digits only because no space
  // followed them ("0022" at the end of a line, both codes of "00222429").
  // Reading codes as written would have converted them.
  std::uint64_t codes_without_space = 0;

  // Codes to characters as written: runs of digits that stayed as they were,
  // and the first kListedRuns of them in text order.
  static constexpr std::size_t kListedRuns = 1000;
  std::uint64_t kept_runs = 0;
  std::vector<DigitRun> kept;

  // Codes to characters as written: runs of exactly four digits that
  // converted, but that a letter, a currency sign or one of 年月日號号 stands
  // right next to (HK$1999, Tel2345, 1949年), as numbers often are: worth
  // checking. Counted, and the first kListedRuns listed in text order.
  std::uint64_t doubtful_runs = 0;
  std::vector<DigitRun> doubtful;

  // Calls visit(name, member) for every field above, in order: a field added
  // here is merged, compared and printed wherever reports are.
  template <class Visit>
  static constexpr void ForEachField(Visit&& visit) {
    visit("through_variant", &Report::through_variant);
    visit("ambiguous", &Report::ambiguous);
    visit("other_book_only", &Report::other_book_only);
    visit("no_code", &Report::no_code);
    visit("ambiguous_chars", &Report::ambiguous_chars);
    visit("other_book_chars", &Report::other_book_chars);
    visit("no_code_chars", &Report::no_code_chars);
    visit("through_chars", &Report::through_chars);
    visit("unwritable", &Report::unwritable);
    visit("unwritable_codes", &Report::unwritable_codes);
    visit("other_script", &Report::other_script);
    visit("other_script_codes", &Report::other_script_codes);
    visit("old_forms", &Report::old_forms);
    visit("old_form_codes", &Report::old_form_codes);
    visit("codes_without_space", &Report::codes_without_space);
    visit("kept_runs", &Report::kept_runs);
    visit("kept", &Report::kept);
    visit("doubtful_runs", &Report::doubtful_runs);
    visit("doubtful", &Report::doubtful);
  }

  // Adds another text's report to this one, for callers that sum over
  // texts: counts add up, lists take what they lack up to their limits (kept
  // runs keep the offsets of their own texts).
  YISHU_API void Merge(const Report& other);

  bool operator==(const Report&) const = default;

  // Whether anything above happened.
  bool any() const { return *this != Report{}; }
};

// Converts a whole text. `text` is in `encoding`; so is the result. When
// `report` is given, it is reset and filled.
YISHU_API std::string ConvertText(Direction direction, std::string_view text, Encoding encoding,
                                  const Options& options = {}, Report* report = nullptr);

// Converts a whole UTF-16 text.
YISHU_API std::u16string ConvertText(Direction direction, std::u16string_view text,
                                     const Options& options = {}, Report* report = nullptr);

// Converts texts that arrive in pieces, in constant memory: Converter<char>
// for the byte forms (CP936, UTF-8), Converter<char16_t> for UTF-16. Feeding
// the pieces of a text one after another and then calling Finish gives
// exactly what ConvertText gives for the whole text, however the text was
// split. After Finish, the next Feed starts a new text.
template <class Unit>
class Converter {
  static_assert(std::is_same_v<Unit, char> || std::is_same_v<Unit, char16_t>);

 public:
  using String = std::basic_string<Unit>;
  using View = std::basic_string_view<Unit>;

  // The byte forms name their encoding.
  Converter(Direction direction, Encoding encoding,
            const Options& options = {}) requires std::is_same_v<Unit, char>
      : direction_(direction), encoding_(encoding), options_(options) {}
  explicit Converter(Direction direction,
                     const Options& options = {}) requires std::is_same_v<Unit, char16_t>
      : direction_(direction), options_(options) {}

  // Converts `piece` and appends to `out` all the output that no later piece
  // can change. At most a few kilobytes are held back.
  void Feed(View piece, String& out);

  // Ends the text: appends the rest of its output.
  void Finish(String& out);

  // The number of input units held back, waiting for the rest of a code, a
  // digit run or a character.
  std::size_t held() const { return carry_.size(); }

  // What happened in the current text, or in the one that Finish ended until
  // the next Feed. Offsets count from the start of that text.
  const Report& report() const { return report_; }

 private:
  void Process(View text, bool final, String& out);

  Direction direction_;
  Encoding encoding_ = Encoding::Utf8;  // unused for UTF-16
  Options options_;
  Report report_;
  String carry_;
  std::uint64_t consumed_ = 0;  // units of the current text decided so far
  std::uint64_t last_kept_end_ = 0;
  bool finished_ = false;
};

extern template class YISHU_API Converter<char>;
extern template class YISHU_API Converter<char16_t>;

Converter(Direction, Encoding)->Converter<char>;
Converter(Direction, Encoding, const Options&)->Converter<char>;
Converter(Direction)->Converter<char16_t>;
Converter(Direction, const Options&)->Converter<char16_t>;

// One row of a code book: a code and its character.
struct CodeRow {
  std::uint16_t code;  // 1..9998
  std::uint8_t lead;   // CP936 bytes of the character; 0, 0 where the code
  std::uint8_t trail;  // page lacks it (only in the Taiwan and e-CCC books)
  char32_t unicode;    // the character's code point
  bool produced;       // false for the few codes that convert to their
                       // character but are never produced from it
};

// A code book: every code that converts to a character, in code order, with
// the form of `script` (e-CCC; where that form is missing, the other one). A
// character with several codes converts back to the lowest produced one.
// Characters to codes, the e-CCC book takes both forms of every row.
YISHU_API std::span<const CodeRow> CodeBook(Book book = Book::Mainland,
                                            Script script = Script::Traditional);

// Look-up of single characters and codes in a book.
struct CodeFound {
  std::uint16_t code;
  char32_t via;              // 0: the character's own code; else the variant it belongs to
  std::uint8_t sources = 0;  // with a variant: the VariantSource bits of its link
  bool produced = false;     // the code that converting the character gives
};

// The codes of `character` in `book`, lowest first. Where the book has none,
// the codes of its variants that `variants` follows, each with its variant
// and the link's sources; several different codes there mean the character is
// ambiguous (and none is produced).
YISHU_API std::vector<CodeFound> CodesOf(Book book, char32_t character,
                                         Variants variants = Variants::All);

// The character of `code` (0..9999) in `book`, or 0 where it has none.
YISHU_API char32_t CharacterOf(Book book, int code, Script script = Script::Traditional);

// The standard form (in Big5) that Options::standard_forms writes for
// `character`, or 0 where it has none.
YISHU_API char32_t StandardFormOf(char32_t character);

}  // namespace yishu

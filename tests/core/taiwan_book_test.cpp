// The Taiwan book's figures and what users see of the two books and the
// variant look-up. Any slip in the data or its generator shows here.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "reference.h"
#include "rule_lists.h"
#include "test_text.h"
#include "yishu/yishu.h"

namespace yishu {
namespace {

using enum Direction;

constexpr Options kTaiwan{Book::Taiwan, Variants::None};
constexpr Options kMainlandAll{Book::Mainland, Variants::All};
constexpr Options kTaiwanAll{Book::Taiwan, Variants::All};

std::map<int, char32_t> CharsByCode(Book book) {
  std::map<int, char32_t> chars;
  for (const CodeRow& r : CodeBook(book)) chars[r.code] = r.unicode;
  return chars;
}

TEST(TaiwanBookTest, Figures) {
  std::set<char32_t> chars;
  std::map<char32_t, int> codes_per_char;
  int outside_bmp = 0, outside_cp936 = 0;
  for (const CodeRow& r : CodeBook(Book::Taiwan)) {
    if (chars.insert(r.unicode).second) {
      outside_bmp += r.unicode > 0xFFFF;
      outside_cp936 += r.lead == 0;
    }
    ++codes_per_char[r.unicode];
  }
  EXPECT_EQ(CodeBook(Book::Taiwan).size(), 9026u);
  EXPECT_EQ(chars.size(), 9024u);
  std::u32string doubled;
  for (const auto& [c, n] : codes_per_char) {
    if (n > 1) doubled += c;
  }
  EXPECT_EQ(doubled, U"塵萼");
  EXPECT_EQ(outside_bmp, 40);
  EXPECT_EQ(outside_cp936, 44);
  EXPECT_EQ(reference::CodeToCharRules(Book::Taiwan).size(), 9026u);  // no day keys
}

TEST(TaiwanBookTest, AgainstTheMainlandBook) {
  const auto mainland = CharsByCode(Book::Mainland), taiwan = CharsByCode(Book::Taiwan);
  int both = 0, same = 0, mainland_only = 0;
  for (const auto& [code, c] : mainland) {
    const auto it = taiwan.find(code);
    if (it == taiwan.end()) {
      ++mainland_only;
      continue;
    }
    ++both;
    same += it->second == c;
  }
  EXPECT_EQ(mainland.size(), 7278u);
  EXPECT_EQ(both, 6865);
  EXPECT_EQ(same, 4152);
  EXPECT_EQ(mainland_only, 413);
  EXPECT_EQ(static_cast<int>(taiwan.size()) - both, 2161);
}

// Conversions a user meets, in UTF-8 and UTF-16 (the forms that hold every
// character), checked against the reference too.
struct Case {
  const char* what;
  Direction mode;
  Options options;
  std::u16string input, expected;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

class BooksTest : public testing::TestWithParam<Case> {};

TEST_P(BooksTest, UnicodeFormsAndReference) {
  const Case& c = GetParam();
  const std::string utf8 = test::ToUtf8(c.input);
  EXPECT_EQ(ConvertText(c.mode, utf8, Encoding::Utf8, c.options), test::ToUtf8(c.expected));
  EXPECT_EQ(ConvertText(c.mode, std::u16string_view(c.input), c.options), c.expected);
  EXPECT_EQ(reference::ConvertTextUtf16(c.mode, c.input, c.options), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, BooksTest,
    testing::Values(
        Case{"a name in the Taiwan book", CharToCode, kTaiwan, u"陳大文", u"7115 1129 2429 "},
        Case{"the mainland book lacks 陳", CharToCode, {}, u"陳大文", u"陳1129 2429 "},
        Case{"codes in the Taiwan book", CodeToChar, kTaiwan, u"5509 7115 ", u"葉陳"},
        Case{"no day codes in the Taiwan book", CodeToChar, kTaiwan, u"99010 990101",
             u"99010 990101"},
        Case{"塵 converts to its lower code", CharToCode, kTaiwan, u"塵萼", u"1057 5501 "},
        Case{"both codes of 塵 read", CodeToChar, kTaiwan, u"1057 7775 5501 9795 ", u"塵塵萼萼"},
        Case{"outside the BMP", CodeToChar, kTaiwan, u"0274 3560 ", u"𠉰𠙦"},
        Case{"outside the BMP, back", CharToCode, kTaiwan, u"𠉰a𠙦", u"0274 a3560 "},
        Case{"through 陈", CharToCode, kMainlandAll, u"陳大文", u"7115 1129 2429 "},
        Case{"葉 through 叶", CharToCode, kMainlandAll, u"葉", u"0673 "},
        Case{"several codes through the variants", CharToCode, kMainlandAll, u"鍾線餘", u"鍾線餘"},
        Case{"陈 through 陳", CharToCode, kTaiwanAll, u"陈", u"7115 "},
        Case{"the book's own code comes first", CharToCode, kTaiwanAll, u"葉", u"5509 "}));

TEST(BooksTest, ReportSaysWhatHappened) {
  Report r;
  ConvertText(CharToCode, std::u16string_view(u"陳葉鍾鍾𠀀𠉰中"), kMainlandAll, &r);
  EXPECT_EQ(r.through_variant, 2u);
  EXPECT_EQ(r.ambiguous, 2u);
  EXPECT_EQ(r.ambiguous_chars, U"鍾");
  EXPECT_EQ(r.other_book_only, 1u);  // 𠉰 has a code in the Taiwan book only
  EXPECT_EQ(r.other_book_chars, U"𠉰");
  EXPECT_EQ(r.no_code, 1u);
  EXPECT_EQ(r.no_code_chars, U"𠀀");
  EXPECT_TRUE(r.any());

  ConvertText(CharToCode, std::u16string_view(u"中文"), {}, &r);
  EXPECT_FALSE(r.any()) << "a report starts empty";
}

// A character CP936 cannot hold stays as its code, digits and space, and is
// counted; it never becomes '?'.
TEST(BooksTest, CodesCp936CannotWriteStayAsDigits) {
  Report r;
  const std::string out =
      ConvertText(CodeToChar, "8249 5509 0274 8249 ", Encoding::Cp936, kTaiwan, &r);
  EXPECT_EQ(out, "8249 \xC8~0274 8249 ");
  EXPECT_EQ(r.unwritable, 3u);
  EXPECT_EQ(r.unwritable_codes, (std::vector<std::uint16_t>{8249, 274}));
  ConvertText(CodeToChar, "8249 0274 ", Encoding::Utf8, kTaiwan, &r);
  EXPECT_EQ(r.unwritable, 0u);
}

TEST(LookUpTest, CharactersAndCodes) {
  const auto codes = [](Book book, char32_t c) {
    std::string s;
    for (const CodeFound& f : CodesOf(book, c)) {
      s += std::to_string(f.code);
      if (f.via) s += test::ToUtf8(std::u16string(1, static_cast<char16_t>(f.via)));
      s += ' ';
    }
    return s;
  };
  EXPECT_EQ(codes(Book::Mainland, U'陳'), "7115陈 ");
  EXPECT_EQ(codes(Book::Taiwan, U'陳'), "7115 ");
  EXPECT_EQ(codes(Book::Mainland, U'葉'), "673叶 ");
  EXPECT_EQ(codes(Book::Taiwan, U'葉'), "5509 ");
  EXPECT_EQ(codes(Book::Taiwan, U'塵'), "1057 7775 ");
  EXPECT_EQ(codes(Book::Mainland, U'鍾'), "6945锺 6988钟 ");
  EXPECT_EQ(codes(Book::Mainland, U'😀'), "");
  EXPECT_EQ(CharacterOf(Book::Taiwan, 5509), U'葉');
  EXPECT_EQ(CharacterOf(Book::Mainland, 5509), 0u);  // not in the mainland book
  EXPECT_EQ(CharacterOf(Book::Taiwan, 274), U'𠉰');
  EXPECT_EQ(CharacterOf(Book::Taiwan, 0), 0u);
  EXPECT_EQ(CharacterOf(Book::Taiwan, 10000), 0u);
}

// Standard forms belong to the traditional books: e-CCC's simplified column
// reads the same with the option as without it (it once read rows that were
// never filled).
TEST(BooksTest, StandardFormsLeaveTheSimplifiedColumnAlone) {
  for (const bool standard_forms : {false, true}) {
    Options options{
        .book = Book::Eccc, .script = Script::Simplified, .standard_forms = standard_forms};
    EXPECT_EQ(ConvertText(CodeToChar, u"7115 1129 2429 3634 ", options), u"陈大文为");
    EXPECT_EQ(ConvertText(CodeToChar, "7115 1129 2429 3634 ", Encoding::Utf8, options), "陈大文为");
  }
  Options traditional{.book = Book::Eccc, .standard_forms = true};
  EXPECT_EQ(ConvertText(CodeToChar, u"7115 3634 ", traditional), u"陳為");
}

// Lists of codes are decoded on a path of their own, which counts the codes
// whose characters have notes (old forms, the other script) and lists the
// first of them: the reports must be the reference's in every form, whole or
// streamed, also long after the lists are full.
TEST(BooksTest, CodeListsReportNotesAsTheReference) {
  const Options cases[] = {{.book = Book::Taiwan},
                           {.book = Book::Taiwan, .standard_forms = true},
                           {.book = Book::Eccc},
                           {.book = Book::Eccc, .script = Script::Simplified}};
  for (const Options& options : cases) {
    std::string text;  // every code, some lines of codes among them
    for (const CodeRow& r : CodeBook(options.book, options.script)) {
      text += std::to_string(10000 + r.code).substr(1) + (r.code % 17 == 0 ? " \n" : " ");
    }
    const std::u16string units(text.begin(), text.end());
    Report engine, reference, streamed;
    for (const Encoding encoding : {Encoding::Cp936, Encoding::Utf8}) {
      const std::string out = ConvertText(CodeToChar, text, encoding, options, &engine);
      EXPECT_EQ(out, encoding == Encoding::Cp936
                         ? reference::ConvertText(CodeToChar, text, options, &reference)
                         : reference::ConvertTextUtf8(CodeToChar, text, options, &reference));
      EXPECT_EQ(test::Describe(reference::AsReferenceReports(engine)), test::Describe(reference));
      if (options.script == Script::Traditional) {  // many more old forms than are listed
        EXPECT_GT(engine.old_forms, 2 * Report::kListedChars);
      }
      Converter<char> converter(CodeToChar, encoding, options);
      std::string pieces;
      for (std::size_t at = 0; at < text.size(); at += 1000) {
        converter.Feed(std::string_view(text).substr(at, 1000), pieces);
      }
      converter.Finish(pieces);
      EXPECT_EQ(pieces, out);
      EXPECT_EQ(test::Describe(converter.report()), test::Describe(engine));
    }
    ConvertText(CodeToChar, std::u16string_view(units), options, &engine);
    reference::ConvertTextUtf16(CodeToChar, units, options, &reference);
    EXPECT_EQ(test::Describe(reference::AsReferenceReports(engine)), test::Describe(reference));
  }
}

}  // namespace
}  // namespace yishu

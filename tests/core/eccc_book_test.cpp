// The e-CCC book against its data file, the names people look up in every
// book, and the variant routes and standard forms of the traditional books.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "reference.h"
#include "test_text.h"
#include "yishu/yishu.h"

namespace yishu {
namespace {

using enum Direction;

struct EcccRow {
  int code;
  std::u32string simplified, traditional;  // empty where the table has none
};

std::u32string Decode(const std::string& utf8) {
  std::u32string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    const int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    char32_t c = n == 1 ? b : b & (0x3F >> (n - 1));
    for (int k = 1; k < n; ++k) c = c << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    out += c;
    i += static_cast<std::size_t>(n);
  }
  return out;
}

std::vector<EcccRow> ReadTable() {
  std::ifstream in(YISHU_ECCC_FILE);
  std::vector<EcccRow> rows;
  std::string line;
  bool header = true;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (std::exchange(header, false)) continue;
    std::istringstream fields(line);
    std::string code, simplified, traditional;
    std::getline(fields, code, '\t');
    std::getline(fields, simplified, '\t');
    std::getline(fields, traditional, '\t');
    rows.push_back({std::stoi(code), Decode(simplified), Decode(traditional)});
  }
  return rows;
}

std::u16string CodeText(int code) {
  const std::string digits = std::to_string(10000 + code).substr(1) + ' ';
  return {digits.begin(), digits.end()};
}

// Every code in both scripts, and every form back to its lowest code, in
// each text form; CP936 leaves the few characters it cannot hold.
TEST(EcccBookTest, AgainstTheDataFile) {
  const std::vector<EcccRow> rows = ReadTable();
  ASSERT_EQ(rows.size(), 9395u);
  std::map<char32_t, int> lowest;
  for (const EcccRow& r : rows) {
    for (const std::u32string* form : {&r.traditional, &r.simplified}) {
      if (!form->empty()) lowest.emplace((*form)[0], r.code);
    }
  }
  for (Script script : {Script::Traditional, Script::Simplified}) {
    const Options options{.book = Book::Eccc, .script = script};
    std::u16string codes, chars, cp936_codes, cp936_chars;
    std::size_t gaps = 0;
    for (const EcccRow& r : rows) {
      const std::u32string& own = script == Script::Traditional ? r.traditional : r.simplified;
      const std::u32string& c =
          own.empty() ? (++gaps, script == Script::Traditional ? r.simplified : r.traditional)
                      : own;
      codes += CodeText(r.code);
      chars += reference::Utf16FromUtf32(c);
      const bool in_cp936 = CodeBook(Book::Eccc, script)[&r - rows.data()].lead != 0;
      cp936_codes += CodeText(r.code);
      cp936_chars += in_cp936 ? reference::Utf16FromUtf32(c) : CodeText(r.code);
    }
    Report report;
    EXPECT_EQ(ConvertText(CodeToChar, std::u16string_view(codes), options, &report), chars);
    EXPECT_EQ(report.other_script, gaps);
    EXPECT_EQ(ConvertText(CodeToChar, test::ToUtf8(codes), Encoding::Utf8, options),
              test::ToUtf8(chars));
    EXPECT_EQ(test::FromCp936(
                  ConvertText(CodeToChar, test::ToCp936(cp936_codes), Encoding::Cp936, options)),
              cp936_chars);
    EXPECT_EQ(gaps, script == Script::Traditional ? 24u : 2u);
  }
  std::u16string forms, expected;
  for (const auto& [c, code] : lowest) {
    forms += reference::Utf16FromUtf32(std::u32string(1, c));
    expected += CodeText(code);
  }
  const Options eccc{.book = Book::Eccc, .variants = Variants::None};
  EXPECT_EQ(ConvertText(CharToCode, std::u16string_view(forms), eccc), expected);
  EXPECT_EQ(ConvertText(CharToCode, test::ToUtf8(forms), Encoding::Utf8, eccc),
            test::ToUtf8(expected));
  EXPECT_EQ(reference::ConvertTextUtf16(CharToCode, forms, eccc), expected);
  const Options as_written{.book = Book::Eccc, .reading = CodeReading::AsWritten};
  EXPECT_EQ(ConvertText(CodeToChar, std::u16string_view(u"99010"), as_written), u"99010")
      << "no day codes in the e-CCC book";
}

// Names as identity cards and visa forms ask for them, in each book with its
// default routes; "" where the book leaves a character as it is.
TEST(NamesTest, CodesInEveryBook) {
  struct Name {
    std::u16string name, mainland, taiwan, eccc;
  };
  const Name names[] = {
      {u"陳大文", u"陳1129 2429 ", u"7115 1129 2429 ", u"7115 1129 2429 "},
      {u"李智能", u"2621 2535 5174 ", u"2621 2535 5174 ", u"2621 2535 5174 "},
      {u"衛志強", u"衛1807 強", u"5898 1807 1730 ", u"5898 1807 1730 "},
      {u"黃為民", u"黃為3046 ", u"7806 3634 3046 ", u"7806 3634 3046 "},
      {u"陳啟峰", u"陳啟1496 ", u"7115 0796 1496 ", u"7115 0796 1496 "},
      {u"葉劍英", u"葉劍5391 ", u"5509 0494 5391 ", u"5509 0494 5391 "},
  };
  for (const Name& n : names) {
    for (const auto& [book, expected] :
         {std::pair{Book::Mainland, n.mainland}, {Book::Taiwan, n.taiwan}, {Book::Eccc, n.eccc}}) {
      const Options options{.book = book};
      EXPECT_EQ(ConvertText(CharToCode, std::u16string_view(n.name), options), expected)
          << test::ToUtf8(n.name) << " in book " << static_cast<int>(book);
      EXPECT_EQ(ConvertText(CharToCode, test::ToUtf8(n.name), Encoding::Utf8, options),
                test::ToUtf8(expected));
      EXPECT_EQ(
          test::FromCp936(ConvertText(CharToCode, test::ToCp936(n.name), Encoding::Cp936, options)),
          expected);
    }
  }
  // 葉 has a mainland code only through 叶, with every link.
  EXPECT_EQ(ConvertText(CharToCode, std::u16string_view(u"葉"), {.variants = Variants::All}),
            u"0673 ");
}

// The standard forms of Hong Kong and Taiwan find the book's old forms, and
// every such route is reported.
TEST(RoutesTest, StandardFormsReachTheTaiwanBook) {
  const std::u16string chars = u"為說戶衛啟峰群即研絕銳屏既溉污";
  const std::u16string codes =
      u"3634 6141 2073 5898 0796 1496 5028 0613 4282 4815 6904 1456 2478 3346 3064 ";
  Report report;
  EXPECT_EQ(ConvertText(CharToCode, std::u16string_view(chars), {.book = Book::Taiwan}, &report),
            codes);
  EXPECT_EQ(report.through_variant, chars.size());
  ASSERT_EQ(report.through_chars.size(), chars.size());
  const VariantUse& wei = report.through_chars[3];
  EXPECT_EQ(wei.character, U'衛');
  EXPECT_EQ(wei.variant, U'衞');
  EXPECT_EQ(wei.code, 5898);
  EXPECT_TRUE(wei.sources & kUnihanSemantic);
  EXPECT_EQ(reference::ConvertTextUtf16(CharToCode, chars, {.book = Book::Taiwan}), codes);
  // Without routes the characters stay; the mainland book takes none by default.
  EXPECT_EQ(ConvertText(CharToCode, std::u16string_view(u"衛"),
                        {.book = Book::Taiwan, .variants = Variants::None}),
            u"衛");

  const std::vector<CodeFound> found = CodesOf(Book::Taiwan, U'衛');
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].code, 5898);
  EXPECT_EQ(found[0].via, U'衞');
  EXPECT_TRUE(found[0].produced);
  EXPECT_TRUE(found[0].sources & kOpenccHongKong);
  const std::vector<CodeFound> ye = CodesOf(Book::Mainland, U'葉', Variants::Forms);
  EXPECT_TRUE(ye.empty()) << "叶 is a simplified form, not another form of 葉";
}

TEST(StandardFormsTest, DecodingWritesTheFormsOfBig5OnlyWhenAsked) {
  EXPECT_EQ(StandardFormOf(U'爲'), U'為');
  EXPECT_EQ(StandardFormOf(U'為'), 0u);
  const std::u16string codes = u"7115 0796 1496 3634 ";
  for (bool standard : {false, true}) {
    const Options options{.book = Book::Taiwan, .standard_forms = standard};
    Report report;
    EXPECT_EQ(ConvertText(CodeToChar, std::u16string_view(codes), options, &report),
              standard ? u"陳啟峰為" : u"陳啓峯爲");
    EXPECT_EQ(report.old_forms, 3u);
    EXPECT_EQ(report.old_form_codes, (std::vector<std::uint16_t>{796, 1496, 3634}));
    EXPECT_EQ(reference::ConvertTextUtf16(CodeToChar, codes, options),
              standard ? u"陳啟峰為" : u"陳啓峯爲");
  }
  // The mainland book keeps its forms.
  Report report;
  ConvertText(CodeToChar, std::u16string_view(u"3634 "), {}, &report);
  EXPECT_EQ(report.old_forms, 0u);
}

}  // namespace
}  // namespace yishu

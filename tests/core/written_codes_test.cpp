// Codes as people write them: each case is checked in every text form,
// against the single-pass engine and the plain reading of the reference,
// with the runs of digits that stayed as they were.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "read_as_written.h"
#include "test_text.h"
#include "yishu/yishu.h"

namespace yishu {
namespace {

using test::ToCp936;
using test::ToUtf8;

const Options kAsWritten{.reading = CodeReading::AsWritten};

std::vector<std::u16string> KeptDigits(const Report& report, std::u16string_view text) {
  std::vector<std::u16string> runs;
  for (const DigitRun& run : report.kept) runs.emplace_back(text.substr(run.offset, run.units));
  return runs;
}

struct Case {
  std::u16string input, expected;
  std::vector<std::u16string> kept = {};  // the runs of digits left as they were
};

void PrintTo(const Case& c, std::ostream* os) { *os << ToUtf8(c.input); }

class WrittenCodesTest : public testing::TestWithParam<Case> {};

TEST_P(WrittenCodesTest, EveryFormAndBothImplementations) {
  const Case& c = GetParam();
  const std::string cp936 = ToCp936(c.input), utf8 = ToUtf8(c.input);

  Report utf16_report;
  EXPECT_EQ(
      ConvertText(Direction::CodeToChar, std::u16string_view(c.input), kAsWritten, &utf16_report),
      c.expected);
  EXPECT_EQ(KeptDigits(utf16_report, c.input), c.kept);

  Report cp936_report, utf8_report;
  EXPECT_EQ(ConvertText(Direction::CodeToChar, cp936, Encoding::Cp936, kAsWritten, &cp936_report),
            ToCp936(c.expected));
  EXPECT_EQ(ConvertText(Direction::CodeToChar, utf8, Encoding::Utf8, kAsWritten, &utf8_report),
            ToUtf8(c.expected));

  Report kept;
  EXPECT_EQ(reference::ReadWrittenCodes(cp936, kAsWritten, &kept), ToCp936(c.expected));
  EXPECT_EQ(test::Describe(cp936_report), test::Describe(kept)) << "CP936 report";
  EXPECT_EQ(reference::ReadWrittenCodesUtf8(utf8, kAsWritten, &kept), ToUtf8(c.expected));
  EXPECT_EQ(test::Describe(utf8_report), test::Describe(kept)) << "UTF-8 report";
  EXPECT_EQ(reference::ReadWrittenCodesUtf16(c.input, kAsWritten, &kept), c.expected);
  EXPECT_EQ(test::Describe(utf16_report), test::Describe(kept)) << "UTF-16 report";
}

INSTANTIATE_TEST_SUITE_P(
    Lists, WrittenCodesTest,
    testing::Values(Case{u"", u""}, Case{u"0022 2429", u"中文"}, Case{u"0022 2429 ", u"中文"},
                    Case{u"0022,2429", u"中,文"}, Case{u"5618/1947/0948", u"萧/爱/国"},
                    Case{u"7115 1129 2429\n", u"陈大文\n"},  // as an identity card prints a name
                    Case{u"0022\r\n2429\r\n\r\n0948", u"中\r\n文\r\n\r\n国"},
                    Case{u"0022  2429", u"中 文"},  // one space goes with a code, no more
                    Case{u"a0022b0022中", u"a中b中中"}, Case{u"(0022)", u"(中)"}));

INSTANTIATE_TEST_SUITE_P(RunsTogether, WrittenCodesTest,
                         testing::Values(Case{u"00222429", u"中文"},
                                         Case{u"002224290948 ", u"中文国"},
                                         Case{u"00222429,0948", u"中文,国"},
                                         // one group that is no code keeps the whole run
                                         Case{u"002299992429", u"002299992429", {u"002299992429"}},
                                         Case{u"0022242900", u"0022242900", {u"0022242900"}}));

INSTANTIATE_TEST_SUITE_P(
    OtherRunsStay, WrittenCodesTest,
    testing::Values(
        Case{u"12345 0022", u"12345 中", {u"12345"}},
        Case{u"0000 9999 0022", u"0000 9999 中", {u"0000", u"9999"}},
        Case{u"7 号 022 2429", u"7 号 022 文", {u"7", u"022"}},
        Case{u"电话 13812345678", u"电话 13812345678", {u"13812345678"}},
        Case{u"0022 110101199003074512", u"中110101199003074512", {u"110101199003074512"}}));

INSTANTIATE_TEST_SUITE_P(DayCodes, WrittenCodesTest,
                         testing::Values(Case{u"99010", u"一日"}, Case{u"99010 0022", u"一日中"},
                                         Case{u"99119,99319", u"十一日,卅一日"},
                                         Case{u"0022 99202", u"中廿日"},
                                         Case{u"99320 99009 990101",
                                              u"99320 99009 990101",
                                              {u"99320", u"99009", u"990101"}},
                                         Case{u"9901 ", u"9901 ", {u"9901"}}));

INSTANTIATE_TEST_SUITE_P(
    FullWidth, WrittenCodesTest,
    testing::Values(Case{u"００２２　２４２９", u"中文"}, Case{u"０022\u30002429", u"中文"},
                    Case{u"００２２２４２９", u"中文"}, Case{u"０", u"０", {u"０"}},
                    Case{u"中文００２２。", u"中文中。"},
                    Case{u"0022\u3000\u30002429", u"中\u3000文"}, Case{u"９９０１０　", u"一日"}));

// Bytes that only CP936 holds: a digit or a full-width digit is one only
// where a character begins.
struct ByteCase {
  std::string input, expected;
};

void PrintTo(const ByteCase& c, std::ostream* os) { *os << testing::PrintToString(c.input); }

class WrittenCp936Test : public testing::TestWithParam<ByteCase> {};

TEST_P(WrittenCp936Test, EngineAndReference) {
  const ByteCase& c = GetParam();
  Report report;
  Report kept;
  EXPECT_EQ(ConvertText(Direction::CodeToChar, c.input, Encoding::Cp936, kAsWritten, &report),
            c.expected);
  EXPECT_EQ(reference::ReadWrittenCodes(c.input, kAsWritten, &kept), c.expected);
  EXPECT_EQ(test::Describe(report), test::Describe(kept));
}

const std::string kZhong = "\xD6\xD0";  // 中, code 0022

INSTANTIATE_TEST_SUITE_P(
    Boundaries, WrittenCp936Test,
    testing::Values(ByteCase{"\xA3\xB0\xA3\xB0\xA3\xB2\xA3\xB2", kZhong},
                    // D2 A3 is one character: what follows pairs up differently
                    ByteCase{"\xD2\xA3\xB0\xA3\xB0\xA3\xB2\xA3\xB2",
                             "\xD2\xA3\xB0\xA3\xB0\xA3\xB2\xA3\xB2"},
                    ByteCase{"\x81"
                             "00022,",
                             "\x81"
                             "0" +
                                 kZhong + ","},
                    ByteCase{"\x81"
                             "0022",
                             "\x81"
                             "0022"},
                    ByteCase{"0022\xA1", kZhong + "\xA1"},
                    ByteCase{"0022\xA1\xA1"
                             "0022",
                             kZhong + kZhong},
                    ByteCase{"0022\xA3", kZhong + "\xA3"},
                    ByteCase{"\xA3"
                             "0022",
                             "\xA3"
                             "0022"},
                    ByteCase{"\x80"
                             "0022\xFF",
                             "\x80" + kZhong + "\xFF"}));

TEST(WrittenUtf8Test, InvalidBytesAreNoDigits) {
  const std::pair<std::string, std::string> cases[] = {
      {"0022\xE3\x80", "中\xE3\x80"},
      {"\xEF\xBC"
       "0022",
       "\xEF\xBC中"},
      {"\xEF\xBC\x90\x90", "\xEF\xBC\x90\x90"},
      {"\xE4\xB8"
       "0022 2429",
       "\xE4\xB8中文"},
      {"0022\xF0\x9F\x98\x80", "中😀"},
  };
  for (const auto& [input, expected] : cases) {
    EXPECT_EQ(ConvertText(Direction::CodeToChar, input, Encoding::Utf8, kAsWritten), expected);
    EXPECT_EQ(reference::ReadWrittenCodesUtf8(input, kAsWritten), expected);
  }
}

// Four digits right next to a letter, a currency sign or 年月日號号 still
// convert, and are listed as doubtful: in every form, by both readings, and
// streamed in two pieces cut anywhere.
TEST(WrittenCodesTest, DoubtfulRunsNextToMarks) {
  const std::pair<std::u16string, std::vector<std::u16string>> cases[] = {
      {u"HK$1999", {u"1999"}},
      {u"1949年", {u"1949"}},
      {u"Tel2345 6789", {u"2345"}},  // 6789 stands after a space
      {u"电话 2345 6789", {}},
      {u"a0022b0022中", {u"0022", u"0022"}},
      {u"￥１９９９月", {u"１９９９"}},
      {u"號0022 第0022号", {u"0022", u"0022"}},
      {u"0022Ａ", {u"0022"}},
      {u"00222429年 99010日", {}},  // codes written together, a day code
      {u"0022\r\n$2429\r\n0948", {u"2429"}},
      {u"0022 2429x 0948", {u"2429"}},
  };
  for (const auto& [text, doubtful] : cases) {
    Report utf16, reference;
    ConvertText(Direction::CodeToChar, std::u16string_view(text), kAsWritten, &utf16);
    std::vector<std::u16string> runs;
    for (const DigitRun& run : utf16.doubtful)
      runs.emplace_back(text.substr(run.offset, run.units));
    EXPECT_EQ(runs, doubtful) << ToUtf8(text);
    EXPECT_EQ(utf16.doubtful_runs, doubtful.size());
    reference::ReadWrittenCodesUtf16(text, kAsWritten, &reference);
    EXPECT_EQ(test::Describe(utf16), test::Describe(reference)) << ToUtf8(text);
    for (const Encoding encoding : {Encoding::Utf8, Encoding::Cp936}) {
      const std::string bytes = encoding == Encoding::Utf8 ? ToUtf8(text) : ToCp936(text);
      Report whole;
      const std::string out =
          ConvertText(Direction::CodeToChar, bytes, encoding, kAsWritten, &whole);
      if (encoding == Encoding::Utf8) {
        reference::ReadWrittenCodesUtf8(bytes, kAsWritten, &reference);
      } else {
        reference::ReadWrittenCodes(bytes, kAsWritten, &reference);
      }
      EXPECT_EQ(test::Describe(whole), test::Describe(reference)) << ToUtf8(text);
      EXPECT_EQ(whole.doubtful_runs, doubtful.size()) << ToUtf8(text);
      for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        Converter<char> converter(Direction::CodeToChar, encoding, kAsWritten);
        EXPECT_EQ(test::Streamed(converter, bytes, {cut}), out);
        EXPECT_EQ(test::Describe(converter.report()), test::Describe(whole))
            << ToUtf8(text) << ", cut at " << cut;
      }
    }
  }
}

// Text that CharToCode turned into codes reads back as it was, in every
// form, as long as it had no digits of its own.
TEST(WrittenCodesRoundTrip, CodesOfAnyTextWithoutDigitsReadBack) {
  std::vector<char16_t> chars;
  for (const CodeRow& row : CodeBook()) {
    if (row.produced) chars.push_back(row.unicode);
  }
  for (char16_t c : u" \r\n,.a\u3000憋後『") chars.push_back(c);
  chars.pop_back();  // the literal's terminating zero
  std::mt19937 rng(11);
  for (int round = 0; round < 300; ++round) {
    std::u16string text;
    const int n = std::uniform_int_distribution<int>(0, 40)(rng);
    for (int i = 0; i < n; ++i) {
      text += chars[std::uniform_int_distribution<std::size_t>(0, chars.size() - 1)(rng)];
    }
    const std::u16string codes = ConvertText(Direction::CharToCode, std::u16string_view(text));
    ASSERT_EQ(ConvertText(Direction::CodeToChar, std::u16string_view(codes), kAsWritten), text)
        << ToUtf8(text);
    const std::string cp936 = ConvertText(Direction::CharToCode, ToCp936(text), Encoding::Cp936);
    ASSERT_EQ(ConvertText(Direction::CodeToChar, cp936, Encoding::Cp936, kAsWritten),
              ToCp936(text));
    const std::string utf8 = ConvertText(Direction::CharToCode, ToUtf8(text), Encoding::Utf8);
    ASSERT_EQ(ConvertText(Direction::CodeToChar, utf8, Encoding::Utf8, kAsWritten), ToUtf8(text));
  }
}

// The Taiwan book has no day codes, and some of its characters CP936 cannot
// hold: such a code stays as digits in CP936, counted, not listed as no code.
TEST(WrittenTaiwanBook, NoDayCodesAndUnwritableCodesStay) {
  Options taiwan = kAsWritten;
  taiwan.book = Book::Taiwan;
  Report report;
  EXPECT_EQ(ConvertText(Direction::CodeToChar, std::u16string_view(u"99010 0022"), taiwan, &report),
            u"99010 中");
  EXPECT_EQ(report.kept_runs, 1u);
  const CodeRow* unwritable = nullptr;
  for (const CodeRow& row : CodeBook(Book::Taiwan)) {
    if (row.lead == 0 && row.unicode < 0x10000) {
      unwritable = &row;
      break;
    }
  }
  ASSERT_NE(unwritable, nullptr);
  const std::string code = std::to_string(10000 + unwritable->code).substr(1);
  const std::string text = code + "\n0022" + code;
  EXPECT_EQ(ConvertText(Direction::CodeToChar, text, Encoding::Cp936, taiwan, &report), text);
  EXPECT_EQ(report.unwritable, 2u);
  EXPECT_EQ(report.kept_runs, 0u);
  EXPECT_EQ(reference::ReadWrittenCodes(text, taiwan), text);
  const std::u16string in_utf16(text.begin(), text.end());
  const char16_t c = static_cast<char16_t>(unwritable->unicode);
  const std::u16string expected = {c, u'\n', u'中', c};
  EXPECT_EQ(ConvertText(Direction::CodeToChar, std::u16string_view(in_utf16), taiwan), expected);
}

const std::u16string kStreamSample =
    u"0022 2429,00222429\r\n12345 ００２２　99010 0000 \u3000中0948";

// A stream cut anywhere twice converts and keeps runs as the whole text;
// `encoding` is given for the byte forms.
template <class Unit, class... Form>
void ExpectEveryPairOfCutsAsWhole(std::basic_string_view<Unit> text, Form... encoding) {
  Report whole_report;
  const auto whole =
      ConvertText(Direction::CodeToChar, text, encoding..., kAsWritten, &whole_report);
  for (std::size_t a = 0; a <= text.size(); ++a) {
    for (std::size_t b = a; b <= text.size(); ++b) {
      Converter<Unit> converter(Direction::CodeToChar, encoding..., kAsWritten);
      ASSERT_EQ(test::Streamed(converter, text, {a, b}), whole) << a << ", " << b;
      ASSERT_EQ(converter.report().kept, whole_report.kept) << a << ", " << b;
    }
  }
}

TEST(WrittenStreaming, EveryCutAndEveryPairOfCutsInEveryForm) {
  ExpectEveryPairOfCutsAsWhole<char>(ToCp936(kStreamSample) + "\xA3\xB0\x81" + "0022\xA1",
                                     Encoding::Cp936);
  ExpectEveryPairOfCutsAsWhole<char>(ToUtf8(kStreamSample) + "\xEF\xBC" + "0022\xE3\x80",
                                     Encoding::Utf8);
  ExpectEveryPairOfCutsAsWhole<char16_t>(kStreamSample);
}

// A run too long to be codes is let go in parts while it lasts; it is still
// one kept run, and the codes around it convert.
TEST(WrittenStreaming, EndlessRunsHoldLittleAndAreReportedOnce) {
  std::mt19937 rng(3);
  for (const std::string digit : {"8", "８"}) {
    for (const std::size_t length : {2047u, 2048u, 2049u, 2052u, 20000u}) {
      std::string run;
      for (std::size_t i = 0; i < length; ++i) run += digit;
      const std::string text = "0022 " + run + ",0022";
      Converter converter(Direction::CodeToChar, Encoding::Utf8, kAsWritten);
      std::size_t most_held = 0;
      const std::string out =
          test::Streamed(converter, text, test::RandomCuts(rng, text.size(), 900), &most_held);
      EXPECT_EQ(out, reference::ReadWrittenCodesUtf8(text, kAsWritten)) << length;
      EXPECT_EQ(out, "中" + run + ",中") << length;  // 8888 is no code
      const std::vector<DigitRun> kept = {{5, run.size(), length}};
      EXPECT_EQ(converter.report().kept, kept) << length;
      EXPECT_EQ(converter.report().kept_runs, 1u);
      EXPECT_LE(most_held, 8192u);
    }
  }
}

// The typed reading tells how many codes it left only for want of a space.
TEST(TypedReadingReport, CountsCodesWithoutTheirSpace) {
  const std::pair<std::u16string, std::uint64_t> cases[] = {
      {u"0022 2429 ", 0},   {u"0022 2429", 1},       {u"0022\n2429\n", 2},    {u"00222429", 2},
      {u"00222429 ", 1},    {u"0022,2429,0948.", 3}, {u"12345 0000 9999", 0}, {u"99010", 0},
      {u"002299992429", 0}, {u"００２２", 0},        {u"0022\u30002429 ", 1},
  };
  for (const auto& [text, count] : cases) {
    Report report;
    const std::u16string typed = ConvertText(Direction::CodeToChar, std::u16string_view(text));
    EXPECT_EQ(ConvertText(Direction::CodeToChar, std::u16string_view(text), {}, &report), typed);
    EXPECT_EQ(report.codes_without_space, count) << ToUtf8(text);
    Report cp936_report;
    ConvertText(Direction::CodeToChar, ToCp936(text), Encoding::Cp936, {}, &cp936_report);
    EXPECT_EQ(cp936_report.codes_without_space, count) << ToUtf8(text);
  }
}

}  // namespace
}  // namespace yishu

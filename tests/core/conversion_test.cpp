// What users see: each case is checked in every text form, against both the
// single-pass engine and the literal rule-by-rule reference.
#include <gtest/gtest.h>

#include <string>

#include "reference.h"
#include "test_text.h"
#include "yishu/yishu.h"

namespace yishu {
namespace {

using test::ToCp936;
using test::ToUtf8;
using enum Direction;

struct Case {
  Direction mode;
  std::u16string input, expected;
};

void PrintTo(const Case& c, std::ostream* os) { *os << (c.mode == CodeToChar ? "codes to characters: " : "characters to codes: ") << ToUtf8(c.input); }

class ConversionTest : public testing::TestWithParam<Case> {};

TEST_P(ConversionTest, EveryFormAndBothEngines) {
  const Case& c = GetParam();
  const std::string cp936 = ToCp936(c.input), utf8 = ToUtf8(c.input);
  EXPECT_EQ(ConvertText(c.mode, cp936), ToCp936(c.expected)) << "CP936";
  EXPECT_EQ(ConvertText(c.mode, utf8, Encoding::Utf8), ToUtf8(c.expected)) << "UTF-8";
  EXPECT_EQ(ConvertText(c.mode, std::u16string_view(c.input)), c.expected) << "UTF-16";
  EXPECT_EQ(reference::ConvertText(c.mode, cp936), ToCp936(c.expected)) << "reference CP936";
  EXPECT_EQ(reference::ConvertTextUtf8(c.mode, utf8), ToUtf8(c.expected)) << "reference UTF-8";
}

INSTANTIATE_TEST_SUITE_P(
    CodesBecomeCharacters, ConversionTest,
    testing::Values(Case{CodeToChar, u"", u""}, Case{CodeToChar, u"0001 0002 ", u"一丁"},
                    Case{CodeToChar, u"0001", u"0001"},  // a code converts once its space is typed
                    Case{CodeToChar, u"0001 0002", u"一0002"}, Case{CodeToChar, u"0001  0002 ", u"一 丁"},
                    Case{CodeToChar, u"0024 9901 0000 9999 ", u"0024 9901 0000 9999 "},
                    Case{CodeToChar, u"12345 ", u"1击"}, Case{CodeToChar, u"00010002 ", u"0001丁"},
                    Case{CodeToChar, u"A0001 B", u"A一B"}, Case{CodeToChar, u"0001 \r\n0002 \r\n", u"一\r\n丁\r\n"},
                    Case{CodeToChar, u"0022 2429 ", u"中文"}, Case{CodeToChar, u"9978 9992 9993 ", u"···"},
                    Case{CodeToChar, u"1739 ", u"\uE005"}, Case{CodeToChar, u"０００１ ", u"０００１ "},
                    Case{CodeToChar, u"0001\u3000", u"0001\u3000"}, Case{CodeToChar, u"0430 2888 ", u"刀橄"},
                    Case{CodeToChar, u"0190 9701 9941 9998 ", u"系一Ⅰ□"}));

INSTANTIATE_TEST_SUITE_P(
    DayCodes, ConversionTest,
    testing::Values(Case{CodeToChar, u"99010", u"一日"}, Case{CodeToChar, u"990101", u"一日1"},
                    Case{CodeToChar, u"99030 ", u"三日 "}, Case{CodeToChar, u"99101 99202 99303 ", u"十日 廿日 卅日 "},
                    Case{CodeToChar, u"99119 99299 99319 ", u"十一日 廿九日 卅一日 "},
                    // a code up to 9899 comes before the day keys and takes its digits
                    Case{CodeToChar, u"99010 99020 99040 99090 ", u"9筘9簉9粽9芈"},
                    // codes from 9941 come after them
                    Case{CodeToChar, u"99319941 ", u"卅一日941 "}, Case{CodeToChar, u"9999941 ", u"999Ⅰ"},
                    // overlapping day keys: the lower key wins, then the leftmost
                    Case{CodeToChar, u"99199010", u"991一日"}, Case{CodeToChar, u"991199119", u"十一日9119"},
                    Case{CodeToChar, u"991299119", u"9912十一日"}, Case{CodeToChar, u"99199299", u"十九日299"},
                    Case{CodeToChar, u"9900 99320 99009 ", u"9900 99320 99009 "}));

INSTANTIATE_TEST_SUITE_P(
    CharactersBecomeCodes, ConversionTest,
    testing::Values(Case{CharToCode, u"", u""}, Case{CharToCode, u"一二三", u"0001 0059 0005 "},
                    Case{CharToCode, u"十一日卅一日", u"0577 0001 2480 0580 0001 2480 "},
                    // lowest codes that are never produced
                    Case{CharToCode, u"系范庄万价", u"4762 5400 8369 8001 0116 "},
                    Case{CharToCode, u"十廿零·—", u"0577 0579 7190 9978 9994 "},
                    Case{CharToCode, u"並\uE005", u"0017 1739 "},
                    Case{CharToCode, u"ＡЙㄅⅠ０，", u"9874 9799 9720 9941 9960 9976 "},
                    Case{CharToCode, u"abc 123\r\n", u"abc 123\r\n"}, Case{CharToCode, u"一 2", u"0001  2"},
                    Case{CharToCode, u"中文 abc", u"0022 2429  abc"},
                    Case{CharToCode, u"\u3000憋後撖『⒍", u"\u3000憋後撖『⒍"},
                    Case{CharToCode, u"刀橄", u"0430 2888 "}));

// Byte-level cases that only CP936 can hold: malformed input and byte pairs
// that straddle two characters.
struct ByteCase {
  Direction mode;
  std::string input, expected;
};

class Cp936BytesTest : public testing::TestWithParam<ByteCase> {};

TEST_P(Cp936BytesTest, EngineAndReference) {
  const ByteCase& c = GetParam();
  EXPECT_EQ(ConvertText(c.mode, c.input), c.expected);
  EXPECT_EQ(reference::ConvertText(c.mode, c.input), c.expected);
}

const std::string kYi = "\xD2\xBB";  // 一, code 0001

INSTANTIATE_TEST_SUITE_P(
    Malformed, Cp936BytesTest,
    testing::Values(
        // a digit right behind a lead byte belongs to it and starts no code
        ByteCase{CodeToChar, "\x81" "0001 ", "\x81" "0001 "}, ByteCase{CodeToChar, "\x81" "00001 ", "\x81" "0" + kYi},
        ByteCase{CodeToChar, "\x81\x81" "0001 ", "\x81\x81" + kYi},
        ByteCase{CodeToChar, "\x81\x81\x81" "0001 ", "\x81\x81\x81" "0001 "},
        ByteCase{CodeToChar, "\x80" "0001 \xFF" "0001 ", "\x80" + kYi + "\xFF" + kYi},
        ByteCase{CodeToChar, "0001 \xD2", kYi + "\xD2"},  // a lead byte at the very end
        ByteCase{CodeToChar, "\xD2" "99010", "\xD2" "99010"}, ByteCase{CodeToChar, "\xD2" "999010", "\xD2" "9" + kYi + "\xC8\xD5"},
        ByteCase{CharToCode, "\xD2", "\xD2"}, ByteCase{CharToCode, kYi + "\xD2", "0001 \xD2"},
        ByteCase{CharToCode, "\xD2" "A" + kYi, "\xD2" "A0001 "},
        ByteCase{CharToCode, "\x80" + kYi + "\xFF" + kYi, "\x80" "0001 \xFF" "0001 "},
        ByteCase{CharToCode, "\xBA\x72", "9020 "},  // 簉 has an ASCII trail byte
        // pairs across a character boundary never match
        ByteCase{CharToCode, "\xA1\xBA\x72", "\xA1\xBA\x72"}, ByteCase{CharToCode, "\xA2\xB6\xA1\xA1", "\xA2\xB6\xA1\xA1"},
        ByteCase{CharToCode, "\xA1" + kYi, "\xA1" + kYi}));

// Unicode text that CP936 cannot hold passes through untouched.
struct UnicodeCase {
  Direction mode;
  std::string input, expected;
};

class Utf8Test : public testing::TestWithParam<UnicodeCase> {};

TEST_P(Utf8Test, EngineAndReference) {
  const UnicodeCase& c = GetParam();
  EXPECT_EQ(ConvertText(c.mode, c.input, Encoding::Utf8), c.expected);
  EXPECT_EQ(reference::ConvertTextUtf8(c.mode, c.input), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    OutsideCp936, Utf8Test,
    testing::Values(UnicodeCase{CharToCode, "𠀀😀한€", "𠀀😀한€"}, UnicodeCase{CodeToChar, "𠀀😀0022 한", "𠀀😀中한"},
                    UnicodeCase{CharToCode, "𠀀中😀", "𠀀0022 😀"},
                    // invalid sequences stay byte for byte
                    UnicodeCase{CodeToChar, "\xE4\xB8" "0001 ", "\xE4\xB8一"},
                    UnicodeCase{CharToCode, "\xFF中\xC0\x80\xED\xA0\x80", "\xFF" "0022 \xC0\x80\xED\xA0\x80"},
                    UnicodeCase{CharToCode, "\xE4\xB8\xE4\xB8\x80", "\xE4\xB8" "0001 "},
                    UnicodeCase{CharToCode, "\xE4\xB8", "\xE4\xB8"}, UnicodeCase{CharToCode, "\xF0\x9F\x98", "\xF0\x9F\x98"},
                    UnicodeCase{CodeToChar, "\xC0\xB0" "001 ", "\xC0\xB0" "001 "}));

TEST(Utf16Test, SurrogatesPassThrough) {
  const std::u16string lone = u"\xD800" u"0001 \xDC00中";
  EXPECT_EQ(ConvertText(CodeToChar, std::u16string_view(lone)), u"\xD800一\xDC00中");
  EXPECT_EQ(ConvertText(CharToCode, std::u16string_view(lone)), u"\xD800" u"0001 \xDC00" u"0022 ");
  EXPECT_EQ(ConvertText(CharToCode, std::u16string_view(u"𠀀中")), u"𠀀0022 ");
  EXPECT_EQ(reference::ConvertTextUtf16(CharToCode, lone), ConvertText(CharToCode, std::u16string_view(lone)));
}

}  // namespace
}  // namespace yishu

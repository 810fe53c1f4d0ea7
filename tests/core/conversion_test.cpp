// What users see: each case is checked in every text form, against both the
// single-pass engine and the literal rule-by-rule reference.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "cases.h"
#include "reference.h"
#include "test_text.h"
#include "yishu/yishu.h"

namespace yishu {
namespace {

using test::ToCp936;
using enum Direction;

// The shared cases, which the other faces' tests read too.
TEST(ConversionTest, SharedCasesInEveryFormAndBothEngines) {
  const std::vector<cases::Case> all = cases::Read(YISHU_CASES_FILE);
  ASSERT_GE(all.size(), 40u) << "the file lost cases";
  for (const cases::Case& c : all) {
    SCOPED_TRACE("conversion.tsv line " + std::to_string(c.line) + ": " + c.why);
    const Direction d = c.to_codes ? CharToCode : CodeToChar;
    const std::u16string input = reference::Utf16FromUtf8(c.input);
    const std::u16string expected = reference::Utf16FromUtf8(c.expected);
    const std::string cp936 = ToCp936(input), expected_cp936 = ToCp936(expected);
    EXPECT_EQ(ConvertText(d, cp936), expected_cp936) << "CP936";
    EXPECT_EQ(ConvertText(d, c.input, Encoding::Utf8), c.expected) << "UTF-8";
    EXPECT_EQ(ConvertText(d, std::u16string_view(input)), expected) << "UTF-16";
    EXPECT_EQ(reference::ConvertText(d, cp936), expected_cp936) << "reference CP936";
    EXPECT_EQ(reference::ConvertTextUtf8(d, c.input), c.expected) << "reference UTF-8";
  }
}

// A case given as bytes, for input that only bytes can hold.
struct ByteCase {
  Direction mode;
  std::string input, expected;
};

// Failures and test names show the direction and the input, printable ASCII
// as itself and every other byte as \xNN.
void PrintTo(const ByteCase& c, std::ostream* out) {
  *out << (c.mode == CharToCode ? "to codes: " : "to characters: ");
  for (unsigned char byte : c.input) {
    if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
      *out << static_cast<char>(byte);
    } else {
      constexpr char kHex[] = "0123456789ABCDEF";
      *out << "\\x" << kHex[byte >> 4] << kHex[byte & 15];
    }
  }
}

// Byte-level cases that only CP936 can hold: malformed input and byte pairs
// that straddle two characters.

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
        ByteCase{CodeToChar,
                 "\x81"
                 "0001 ",
                 "\x81"
                 "0001 "},
        ByteCase{CodeToChar,
                 "\x81"
                 "00001 ",
                 "\x81"
                 "0" +
                     kYi},
        ByteCase{CodeToChar,
                 "\x81\x81"
                 "0001 ",
                 "\x81\x81" + kYi},
        ByteCase{CodeToChar,
                 "\x81\x81\x81"
                 "0001 ",
                 "\x81\x81\x81"
                 "0001 "},
        ByteCase{CodeToChar,
                 "\x80"
                 "0001 \xFF"
                 "0001 ",
                 "\x80" + kYi + "\xFF" + kYi},
        ByteCase{CodeToChar, "0001 \xD2", kYi + "\xD2"},  // a lead byte at the very end
        ByteCase{CodeToChar,
                 "\xD2"
                 "99010",
                 "\xD2"
                 "99010"},
        ByteCase{CodeToChar,
                 "\xD2"
                 "999010",
                 "\xD2"
                 "9" +
                     kYi + "\xC8\xD5"},
        ByteCase{CharToCode, "\xD2", "\xD2"}, ByteCase{CharToCode, kYi + "\xD2", "0001 \xD2"},
        ByteCase{CharToCode,
                 "\xD2"
                 "A" +
                     kYi,
                 "\xD2"
                 "A0001 "},
        ByteCase{CharToCode, "\x80" + kYi + "\xFF" + kYi,
                 "\x80"
                 "0001 \xFF"
                 "0001 "},
        ByteCase{CharToCode, "\xBA\x72", "9020 "},  // 簉 has an ASCII trail byte
        // pairs across a character boundary never match
        ByteCase{CharToCode, "\xA1\xBA\x72", "\xA1\xBA\x72"},
        ByteCase{CharToCode, "\xA2\xB6\xA1\xA1", "\xA2\xB6\xA1\xA1"},
        ByteCase{CharToCode, "\xA1" + kYi, "\xA1" + kYi}));

// Unicode text that CP936 cannot hold passes through untouched.
class Utf8Test : public testing::TestWithParam<ByteCase> {};

TEST_P(Utf8Test, EngineAndReference) {
  const ByteCase& c = GetParam();
  EXPECT_EQ(ConvertText(c.mode, c.input, Encoding::Utf8), c.expected);
  EXPECT_EQ(reference::ConvertTextUtf8(c.mode, c.input), c.expected);
}

INSTANTIATE_TEST_SUITE_P(OutsideCp936, Utf8Test,
                         testing::Values(ByteCase{CharToCode, "𠀀😀한€", "𠀀😀한€"},
                                         ByteCase{CodeToChar, "𠀀😀0022 한", "𠀀😀中한"},
                                         ByteCase{CharToCode, "𠀀中😀", "𠀀0022 😀"},
                                         // invalid sequences stay byte for byte
                                         ByteCase{CodeToChar,
                                                  "\xE4\xB8"
                                                  "0001 ",
                                                  "\xE4\xB8一"},
                                         ByteCase{CharToCode, "\xFF中\xC0\x80\xED\xA0\x80",
                                                  "\xFF"
                                                  "0022 \xC0\x80\xED\xA0\x80"},
                                         ByteCase{CharToCode, "\xE4\xB8\xE4\xB8\x80",
                                                  "\xE4\xB8"
                                                  "0001 "},
                                         ByteCase{CharToCode, "\xE4\xB8", "\xE4\xB8"},
                                         ByteCase{CharToCode, "\xF0\x9F\x98", "\xF0\x9F\x98"},
                                         ByteCase{CodeToChar,
                                                  "\xC0\xB0"
                                                  "001 ",
                                                  "\xC0\xB0"
                                                  "001 "}));

TEST(Utf16Test, SurrogatesPassThrough) {
  const std::u16string lone =
      u"\xD800"
      u"0001 \xDC00中";
  EXPECT_EQ(ConvertText(CodeToChar, std::u16string_view(lone)), u"\xD800一\xDC00中");
  EXPECT_EQ(ConvertText(CharToCode, std::u16string_view(lone)),
            u"\xD800"
            u"0001 \xDC00"
            u"0022 ");
  EXPECT_EQ(ConvertText(CharToCode, std::u16string_view(u"𠀀中")), u"𠀀0022 ");
  EXPECT_EQ(reference::ConvertTextUtf16(CharToCode, lone),
            ConvertText(CharToCode, std::u16string_view(lone)));
}

}  // namespace
}  // namespace yishu

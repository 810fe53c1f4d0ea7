// The engine's fastest loops read words and blocks (4 and 8 bytes, 8 UTF-16
// units) and stop at whatever breaks a run. Here one odd piece is put at
// every place in runs of every length up to a few blocks, so that it falls
// inside a block, at its edges and at the end of the text, in every form:
// the engine must give what the literal reference gives.
#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include "read_as_written.h"
#include "reference.h"
#include "test_text.h"
#include "yishu/yishu.h"

namespace yishu {
namespace {

using enum Direction;

// A run is made of one kind of piece; one odd piece goes somewhere in it. The
// odd piece is text, or bytes that no UTF-16 text has (then `utf8` and
// `cp936` give them), or a character CP936 lacks (then `cp936` gives other
// bytes to put there).
struct Edge {
  const char* name;
  std::u16string piece;  // repeated
  std::u16string odd;
  const char* utf8 = nullptr;
  const char* cp936 = nullptr;
};

void PrintTo(const Edge& edge, std::ostream* os) { *os << edge.name; }

const Edge kEdges[] = {
    {"hanzi, a comma and a space", u"中", u", "},
    {"hanzi, a long ASCII gap", u"文", u" and so on "},
    {"hanzi, a character without a code", u"中", u"『"},
    {"hanzi, a digit", u"中", u"7"},
    {"hanzi, a Cyrillic letter with a code", u"中", u"А"},
    {"hanzi, a variant", u"中", u"陳"},
    {"hanzi, a character above the BMP with a Taiwan code", u"中", u"\U00020270", nullptr,
     "\x81\x30"},
    {"hanzi, a lone surrogate", u"中", u"\xD800", "\xED\xA0\x80", "\xA1"},
    {"hanzi, an invalid byte", u"中", u"", "\x80", "\xFF"},
    {"hanzi, a cut character", u"中", u"", "\xE4\xB8", "\xD6"},
    {"hanzi, an overlong form of a coded letter", u"中", u"", "\xE0\x90\x90", "\x80\x80"},
    {"codes, a line break", u"0022 ", u"\r\n"},
    {"codes, a code without a rule", u"2429 ", u"9999 "},
    {"codes, a day code", u"0022 ", u"99119 "},
    {"codes, a long number", u"0022 ", u"123456789 "},
    {"codes, no space", u"0022 ", u"0001"},
    {"codes, a full-width digit", u"0022 ", u"０"},
    {"codes, a hanzi", u"0022 ", u"中"},
    {"codes, an invalid byte", u"2429 ", u"", "\x80", "\xFF"},
};

// The text: `before` pieces, the odd one, `after` pieces.
template <class String>
String Around(const String& piece, const String& odd, int before, int after) {
  String text;
  for (int i = 0; i < before; ++i) text += piece;
  text += odd;
  for (int i = 0; i < after; ++i) text += piece;
  return text;
}

class BlockEdgesTest : public testing::TestWithParam<Edge> {};

TEST_P(BlockEdgesTest, EveryPlaceInRunsOfEveryLength) {
  const Edge& edge = GetParam();
  const std::string piece8 = test::ToUtf8(edge.piece), piece936 = test::ToCp936(edge.piece);
  const std::string odd8 = edge.utf8 ? edge.utf8 : test::ToUtf8(edge.odd);
  const std::string odd936 = edge.cp936 ? edge.cp936 : test::ToCp936(edge.odd);
  const bool utf16 = !edge.odd.empty();
  for (const Options options :
       {Options{}, Options{Book::Taiwan}, Options{Book::Mainland, Variants::All}}) {
    for (int length = 0; length <= 20; ++length) {
      for (int at = 0; at <= length; ++at) {
        const std::string u8 = Around(piece8, odd8, at, length - at);
        const std::string c936 = Around(piece936, odd936, at, length - at);
        for (Direction d : {CodeToChar, CharToCode}) {
          if (d == CodeToChar && options.variants == Variants::All)
            continue;  // variants are for characters
          SCOPED_TRACE(testing::Message()
                       << (d == CodeToChar ? "codes to characters" : "characters to codes")
                       << ", book " << static_cast<int>(options.book)
                       << (options.variants == Variants::All ? " with variants" : "")
                       << ", odd piece after " << at << " of " << length);
          ASSERT_EQ(ConvertText(d, u8, Encoding::Utf8, options),
                    reference::ConvertTextUtf8(d, u8, options));
          ASSERT_EQ(ConvertText(d, c936, Encoding::Cp936, options),
                    reference::ConvertText(d, c936, options));
          if (utf16) {
            const std::u16string u16 = Around(edge.piece, edge.odd, at, length - at);
            ASSERT_EQ(ConvertText(d, std::u16string_view(u16), options),
                      reference::ConvertTextUtf16(d, u16, options));
          }
          if (d != CodeToChar) continue;
          Options written = options;
          written.reading = CodeReading::AsWritten;
          ASSERT_EQ(ConvertText(d, u8, Encoding::Utf8, written),
                    reference::ReadWrittenCodesUtf8(u8, options));
          ASSERT_EQ(ConvertText(d, c936, Encoding::Cp936, written),
                    reference::ReadWrittenCodes(c936, options));
          if (utf16) {
            const std::u16string u16 = Around(edge.piece, edge.odd, at, length - at);
            ASSERT_EQ(ConvertText(d, std::u16string_view(u16), written),
                      reference::ReadWrittenCodesUtf16(u16, options));
          }
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Runs, BlockEdgesTest, testing::ValuesIn(kEdges),
                         [](const testing::TestParamInfo<Edge>& info) {
                           std::string name;
                           for (const char c : std::string(info.param.name)) {
                             if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                           }
                           return name;
                         });

// UTF-16 output is sized from a count of the units that are not ASCII,
// made in blocks whose counters are emptied every 65,535 blocks: a text
// longer than that converts whole (debug and sanitizer builds check every
// write against the size).
TEST(BlockEdgesTest, LongUtf16TextConvertsWhole) {
  const std::size_t pairs = 0x10000 * 4 + 13;  // 8 units per block, so past one emptying
  std::u16string text;
  std::string expected;
  for (std::size_t i = 0; i < pairs; ++i) {
    text += u"中a";
    expected += "0022 a";
  }
  EXPECT_EQ(ConvertText(CharToCode, std::u16string_view(text)),
            std::u16string(expected.begin(), expected.end()));
}

}  // namespace
}  // namespace yishu

// Feeds arbitrary bytes to the single-pass engine and the literal reference,
// in every setting and every form, whole and in pieces, and stops at the
// first difference in the text or the report.
//
// An input is three header bytes and a body:
//   byte 0  where the streaming converters cut the text (an entry of kCuts);
//   byte 1  from 0xE0 up, the body's head is repeated to fill (byte 1 - 0xDF)
//           * 1024 bytes, so that digit runs far longer than the engine holds
//           back (8 KiB) come up without long inputs;
//   byte 2  how many bytes of the body make that head.
// The body is the text in CP936 and UTF-8, and, read as little-endian pairs,
// in UTF-16.
//
// The reference takes up to 30 microseconds a byte (digit runs), so texts longer than
// kReferenceLimit are checked streamed against whole only, with pieces no
// shorter than kLongTextCut: the whole-text engine has met the reference on
// the short texts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "read_as_written.h"
#include "reference.h"
#include "yishu/yishu.h"

namespace {

using yishu::Direction;

// Every way to drive the engine; each must agree with the reference. A new
// setting is one more row.
struct Setting {
  Direction direction;
  yishu::Options options;
};
constexpr yishu::Options kTaiwan{yishu::Book::Taiwan, yishu::Variants::None};
constexpr yishu::Options kMainlandVariants{yishu::Book::Mainland, yishu::Variants::All};
constexpr yishu::Options kTaiwanVariants{yishu::Book::Taiwan, yishu::Variants::All};
constexpr Setting kSettings[] = {
    {Direction::CodeToChar, {}},
    {Direction::CharToCode, {}},
    {Direction::CodeToChar, kTaiwan},
    {Direction::CharToCode, kTaiwan},
    {Direction::CharToCode, kMainlandVariants},
    {Direction::CharToCode, kTaiwanVariants},
};

// Piece lengths for the streaming converters: tiny ones, and ones about the
// longest digit run the engine holds back.
constexpr std::size_t kCuts[] = {1, 2, 3, 5, 7, 64, 4093, 8191, 8192, 8193};

constexpr std::size_t kReferenceLimit = 512;
constexpr std::size_t kLongTextCut = 64;

void Check(bool same) {
  if (!same) std::abort();
}

// The engine's report as the typed reference gives it.
bool Same(const yishu::Report& engine, const yishu::Report& literal) {
  return yishu::reference::AsReferenceReports(engine) == literal;
}

// The streamed result, checked to report what the whole text reported.
template <class Char, class Converter>
std::basic_string<Char> Streamed(Converter converter, std::basic_string_view<Char> text,
                                 std::size_t cut, const yishu::Report& whole) {
  std::basic_string<Char> out;
  for (std::size_t at = 0; at < text.size(); at += cut) converter.Feed(text.substr(at, cut), out);
  converter.Finish(out);
  Check(converter.report() == whole);
  return out;
}

std::string Text(const std::uint8_t* data, std::size_t size) {
  const std::string body(reinterpret_cast<const char*>(data) + 3, size - 3);
  if (data[1] < 0xE0) return body;
  const std::size_t fill = (data[1] - 0xDFu) * 1024;
  const std::string head = body.substr(0, std::max<std::size_t>(1, data[2]));
  if (head.empty()) return body;
  std::string text;
  while (text.size() < fill) text += head;
  return text + body.substr(head.size());
}

std::u16string Utf16(std::string_view bytes) {
  std::u16string units;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                   static_cast<unsigned char>(bytes[i + 1]) << 8);
  }
  return units;
}

const yishu::Options kAsWritten{.reading = yishu::CodeReading::AsWritten};

// Codes as written: the engine's text and report (`whole`, `report`) are the
// plain reading's (`read`, `kept`), and a stream cut every `cut` units gives
// them too. The plain reading is quick enough for texts of any length.
template <class String, class Stream>
void CheckAsWritten(const String& text, std::size_t cut, const String& whole,
                    const yishu::Report& report, const String& read, const yishu::Report& kept,
                    Stream converter) {
  Check(whole == read && report == kept);
  String out;
  for (std::size_t at = 0; at < text.size(); at += cut) converter.Feed(text.substr(at, cut), out);
  converter.Finish(out);
  Check(out == whole && converter.report() == report);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const std::string text = Text(data, size);
  const std::u16string utf16 = Utf16(text);
  const bool short_text = text.size() <= kReferenceLimit;
  std::size_t cut = kCuts[data[0] % std::size(kCuts)];
  if (!short_text) cut = std::max(cut, kLongTextCut);
  namespace reference = yishu::reference;
  using yishu::Encoding;
  for (const Setting& s : kSettings) {
    const yishu::Options& o = s.options;
    yishu::Report engine, literal;
    const std::string cp936 = yishu::ConvertText(s.direction, text, Encoding::Cp936, o, &engine);
    if (short_text) {
      Check(cp936 == reference::ConvertText(s.direction, text, o, &literal) &&
            Same(engine, literal));
    }
    Check(cp936 ==
          Streamed<char>(yishu::Converter(s.direction, Encoding::Cp936, o), text, cut, engine));

    const std::string utf8 = yishu::ConvertText(s.direction, text, Encoding::Utf8, o, &engine);
    if (short_text) {
      Check(utf8 == reference::ConvertTextUtf8(s.direction, text, o, &literal) &&
            Same(engine, literal));
    }
    Check(utf8 ==
          Streamed<char>(yishu::Converter(s.direction, Encoding::Utf8, o), text, cut, engine));

    const std::u16string units =
        yishu::ConvertText(s.direction, std::u16string_view(utf16), o, &engine);
    if (short_text) {
      Check(units == reference::ConvertTextUtf16(s.direction, utf16, o, &literal) &&
            Same(engine, literal));
    }
    Check(units ==
          Streamed<char16_t>(yishu::Converter<char16_t>(s.direction, o), utf16, cut, engine));
  }
  constexpr auto CodeToChar = yishu::Direction::CodeToChar;
  yishu::Report report, kept;
  for (const Encoding e : {Encoding::Cp936, Encoding::Utf8}) {
    const std::string whole = yishu::ConvertText(CodeToChar, text, e, kAsWritten, &report);
    const std::string read = e == Encoding::Cp936
                                 ? reference::ReadWrittenCodes(text, kAsWritten, &kept)
                                 : reference::ReadWrittenCodesUtf8(text, kAsWritten, &kept);
    CheckAsWritten(text, cut, whole, report, read, kept,
                   yishu::Converter(CodeToChar, e, kAsWritten));
  }
  const std::u16string whole =
      yishu::ConvertText(CodeToChar, std::u16string_view(utf16), kAsWritten, &report);
  const std::u16string read = reference::ReadWrittenCodesUtf16(utf16, kAsWritten, &kept);
  CheckAsWritten(utf16, cut, whole, report, read, kept,
                 yishu::Converter<char16_t>(CodeToChar, kAsWritten));
  return 0;
}

// A text fed to the streaming converter in pieces converts exactly as in one
// piece, wherever it is cut, and holds back only a little.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "reference.h"
#include "test_text.h"
#include "yishu/yishu.h"

namespace yishu {
namespace {

using enum Direction;

std::string Stream(Direction mode, Encoding encoding, std::string_view text,
                   const std::vector<std::size_t>& cuts, std::size_t* most_held = nullptr,
                   const Options& options = {}, Report* report = nullptr) {
  Converter converter(mode, encoding, options);
  std::string out = test::Streamed(converter, text, cuts, most_held);
  if (report) *report = converter.report();
  return out;
}

struct Sample {
  Direction mode;
  Encoding encoding;
  std::string text;
  Options options = {};
};

constexpr Options kTaiwan{Book::Taiwan, Variants::None};
constexpr Options kTaiwanVariants{Book::Taiwan, Variants::All};
constexpr Options kMainlandVariants{Book::Mainland, Variants::All};

// Codes, day keys, multi-byte characters and malformed bytes, each of which a
// cut can split.
const Sample kSamples[] = {
    {CodeToChar, Encoding::Cp936,
     "0001 0002  99010 99319941 99199010 \xD2\xBB"
     "12345 \x81"
     "0001 \xD2"},
    {CodeToChar, Encoding::Utf8,
     "中0022 2429 9901099020 𠀀0001 \xE4\xB8"
     "0001 990101"},
    {CharToCode, Encoding::Cp936, "\xD6\xD0\xCE\xC4 abc\xA1\xBA\x72\xBA\x72\x80\xFF\xD2"},
    {CharToCode, Encoding::Utf8, "中文 𠀀😀한\xE4\xB8中\xF0\x9F\x98\xC0\x80Й"},
    // the Taiwan book: characters outside the BMP (𠉰 0274), one CP936 lacks
    // (㘾 8249), no day codes
    {CodeToChar, Encoding::Utf8, "0274 5509 7115 99010 8249 12345 0274", kTaiwan},
    {CodeToChar, Encoding::Cp936,
     "8249 5509 0274 \xB3\xC2"
     "18249 99010 8249",
     kTaiwan},
    {CharToCode, Encoding::Utf8, "𠉰陳大文㘾\xF0\xA0\x89 😀𠉰", kTaiwan},
    {CharToCode, Encoding::Cp936, "\xEA\x90\xB4\xF3\xCE\xC4\xB3\xC2\xD2\xB6\xE6R\xD2",
     kTaiwanVariants},
    {CharToCode, Encoding::Utf8, "陳葉鍾𠀀中㘾線\xE4\xB8陈", kMainlandVariants},
    {CharToCode, Encoding::Utf8, "陈叶𠉰钟𠀀大", kTaiwanVariants},
};

// Runs `check` for each cut and pair of cuts of every sample.
template <class Check>
void ForEveryCut(const Check& check) {
  for (const Sample& s : kSamples) {
    Report whole_report;
    const std::string whole = ConvertText(s.mode, s.text, s.encoding, s.options, &whole_report);
    Report reference_report;
    ASSERT_EQ(whole, s.encoding == Encoding::Utf8
                         ? reference::ConvertTextUtf8(s.mode, s.text, s.options, &reference_report)
                         : reference::ConvertText(s.mode, s.text, s.options, &reference_report));
    ASSERT_EQ(test::Describe(reference::AsReferenceReports(whole_report)),
              test::Describe(reference_report));
    for (std::size_t a = 0; a <= s.text.size(); ++a) {
      for (std::size_t b = a; b <= s.text.size(); ++b) {
        check(s, std::vector<std::size_t>{a, b}, whole, whole_report);
      }
    }
  }
}

TEST(StreamingTest, EveryCutAndEveryPairOfCuts) {
  ForEveryCut([](const Sample& s, const std::vector<std::size_t>& cuts, const std::string& whole,
                 const Report& whole_report) {
    Report report;
    ASSERT_EQ(Stream(s.mode, s.encoding, s.text, cuts, nullptr, s.options, &report), whole)
        << s.text << " cut at " << cuts[0] << ", " << cuts[1];
    ASSERT_EQ(test::Describe(report), test::Describe(whole_report))
        << s.text << " cut at " << cuts[0] << ", " << cuts[1];
  });
}

// UTF-16 with surrogate pairs, cut between every two units.
TEST(StreamingTest, Utf16EveryCutAndEveryPairOfCuts) {
  const struct {
    Direction mode;
    std::u16string text;
    Options options;
  } kUnits[] = {
      {CodeToChar,
       u"0274 5509 \xD800"
       u"0274 𠀀7115 ",
       kTaiwan},
      {CharToCode, u"𠉰陳\xD840𠉰\xDC00大𠀀", kTaiwan},
      {CharToCode, u"陳𠀀鍾𠉰陈\xD840", kMainlandVariants},
      {CharToCode, u"𠉰陈\xD840钟𠀀", kTaiwanVariants},
  };
  for (const auto& s : kUnits) {
    Report whole_report;
    const std::u16string whole =
        ConvertText(s.mode, std::u16string_view(s.text), s.options, &whole_report);
    ASSERT_EQ(whole, reference::ConvertTextUtf16(s.mode, s.text, s.options));
    for (std::size_t a = 0; a <= s.text.size(); ++a) {
      for (std::size_t b = a; b <= s.text.size(); ++b) {
        Converter<char16_t> converter(s.mode, s.options);
        ASSERT_EQ(test::Streamed(converter, s.text, {a, b}), whole) << "cut at " << a << ", " << b;
        ASSERT_EQ(test::Describe(converter.report()), test::Describe(whole_report))
            << "cut at " << a << ", " << b;
      }
    }
  }
}

TEST(StreamingTest, OneByteAtATime) {
  for (const Sample& s : kSamples) {
    std::vector<std::size_t> cuts;
    for (std::size_t i = 1; i < s.text.size(); ++i) cuts.push_back(i);
    EXPECT_EQ(Stream(s.mode, s.encoding, s.text, cuts, nullptr, s.options),
              ConvertText(s.mode, s.text, s.encoding, s.options));
  }
}

// Each text starts afresh: its output and its report, whose offsets count
// from its own start.
TEST(StreamingTest, ConverterCanBeReused) {
  Converter converter(CodeToChar, Encoding::Cp936);
  std::string out;
  converter.Feed("0001", out);
  converter.Finish(out);
  converter.Feed(" 0002 ", out);
  converter.Finish(out);
  EXPECT_EQ(out, "0001 \xB6\xA1");  // the first text ended without its space

  Converter written(CodeToChar, Encoding::Utf8, {.reading = CodeReading::AsWritten});
  written.Feed("0022 12", out);
  written.Finish(out);
  written.Feed("345", out);
  written.Finish(out);
  EXPECT_EQ(written.report().kept, (std::vector<DigitRun>{{0, 3, 3}}));
}

TEST(StreamingTest, RandomPiecesOfLongTexts) {
  std::mt19937 rng(11);
  for (const Sample& s : kSamples) {
    std::string text;
    while (text.size() < 20000) {
      const std::size_t from =
          std::uniform_int_distribution<std::size_t>(0, s.text.size() - 1)(rng);
      text += s.text.substr(from);
    }
    for (std::size_t most : {3u, 70u, 700u}) {
      const std::vector<std::size_t> cuts = test::RandomCuts(rng, text.size(), most);
      ASSERT_EQ(Stream(s.mode, s.encoding, text, cuts, nullptr, s.options),
                ConvertText(s.mode, text, s.encoding, s.options))
          << "pieces of up to " << most;
    }
  }
}

TEST(StreamingTest, Utf16PiecesConvertAsTheWhole) {
  const std::u16string sample = u"中0022 2429 99010 99319941 \xD800𠀀0001 一文 99199010 ";
  std::mt19937 rng(5);
  std::u16string text;
  while (text.size() < 20000) {  // longer than the most it may hold
    text += sample.substr(std::uniform_int_distribution<std::size_t>(0, sample.size() - 1)(rng));
  }
  for (Direction mode : {CodeToChar, CharToCode}) {
    const std::u16string whole = ConvertText(mode, std::u16string_view(text));
    for (std::size_t most : {1u, 7u, 100u}) {
      Converter<char16_t> converter(mode);
      std::size_t most_held = 0;
      EXPECT_EQ(
          test::Streamed(converter, text, test::RandomCuts(rng, text.size(), most), &most_held),
          whole)
          << "mode " << static_cast<int>(mode) << ", pieces of up to " << most;
      EXPECT_LE(most_held, 8192u);
    }
  }
}

// Endless digit runs are converted in part while they last; the cut must not
// change what the day keys and the final code become.
TEST(StreamingTest, LongDigitRunsHoldLittleAndConvertExactly) {
  std::mt19937 rng(7);
  const char* const kParts[] = {"99", "9", "0", "1", "2", "3", "119", "199", "299", "010", "9941"};
  for (int round = 0; round < 20; ++round) {
    std::string text;
    while (text.size() < 40000) {
      text += kParts[std::uniform_int_distribution<int>(0, std::size(kParts) - 1)(rng)];
    }
    text += round % 2 ? " tail" : "9941 ";
    const std::vector<std::size_t> cuts =
        test::RandomCuts(rng, text.size(), round < 10 ? 100 : 5000);
    std::size_t most_held = 0;
    const std::string streamed = Stream(CodeToChar, Encoding::Cp936, text, cuts, &most_held);
    ASSERT_EQ(streamed, reference::ConvertText(CodeToChar, text)) << "round " << round;
    EXPECT_LE(most_held, 8192u);
  }
}

// A run of codes too long to be a list of them, streamed in part, must not
// count its streamed tail as codes that lacked a space.
TEST(StreamingTest, LongRunsOfCodesReportAsTheWhole) {
  for (std::size_t codes : {2049u, 2100u, 2500u, 4000u}) {
    for (const char* end : {"", " ", "\n"}) {
      std::string text = "x ";
      for (std::size_t i = 0; i < codes; ++i) text += "0022";
      text += end;
      Report whole;
      ConvertText(CodeToChar, text, Encoding::Utf8, {}, &whole);
      for (std::size_t piece : {1000u, 4096u, 65536u}) {
        std::vector<std::size_t> cuts;
        for (std::size_t at = piece; at < text.size(); at += piece) cuts.push_back(at);
        Report streamed;
        Stream(CodeToChar, Encoding::Utf8, text, cuts, nullptr, {}, &streamed);
        EXPECT_EQ(streamed.codes_without_space, whole.codes_without_space)
            << codes << " codes, pieces of " << piece;
        Converter<char16_t> converter(CodeToChar);
        test::Streamed(converter, std::u16string(text.begin(), text.end()), cuts);
        EXPECT_EQ(converter.report().codes_without_space, whole.codes_without_space)
            << codes << " codes in UTF-16, pieces of " << piece;
      }
    }
  }
}

}  // namespace
}  // namespace yishu

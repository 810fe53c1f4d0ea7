// Random texts, biased toward what makes conversion hard, converted by the
// single-pass engine and by the literal reference: the results and reports
// must be equal, in both directions, every form, both books, with and
// without variant look-up.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "read_as_written.h"
#include "reference.h"
#include "test_text.h"
#include "yishu/yishu.h"

namespace yishu {
namespace {

using enum Direction;

class TextMaker {
 public:
  explicit TextMaker(unsigned seed) : rng_(seed) {
    for (const auto& [b, script] : {std::pair{Book::Mainland, Script::Traditional},
                                    {Book::Taiwan, Script::Traditional},
                                    {Book::Eccc, Script::Traditional},
                                    {Book::Eccc, Script::Simplified}}) {
      for (const CodeRow& r : CodeBook(b, script)) {
        codes_.push_back(r.code);
        if (r.lead == 0) {
          unwritable_codes_.push_back(r.code);
          unicode_only_.push_back(ToUtf16(r.unicode));
        } else {
          writable_.push_back(static_cast<char16_t>(r.unicode));
        }
      }
    }
  }

  // A text that every form can hold.
  std::u16string Representable() {
    std::u16string t;
    const int pieces = Pick(1, 10);
    for (int i = 0; i < pieces; ++i) t += Piece();
    return t;
  }

  // A piece that only CP936 can hold: broken characters and pairs that
  // straddle a boundary.
  std::string Cp936Only() {
    static const char* const kPieces[] = {
        "\x81",     "\xD2", "\xFE", "\x80", "\xFF", "\xA1\xBA\x72", "\xA2\xB6\xA1\xA1",
        "\xBA\x72", "\xAA", "\xC8"};
    return kPieces[Pick(0, std::size(kPieces) - 1)];
  }

  // A piece that only the Unicode forms hold, as UTF-8.
  std::string Utf8Only() {
    static const char* const kPieces[] = {"𠀀", "😀", "한", "€", "\xE4\xB8", "\xFF", "\x80",
                                          "\xC0\xB0", "\xED\xA0\x80", "\xF0\x9F",
                                          // overlong forms of a character with a code (А, 一)
                                          "\xE0\x90\x90", "\xF0\x84\xB8\x80"};
    if (Pick(0, 2) == 0) return test::ToUtf8(unicode_only_[Pick(0, unicode_only_.size() - 1)]);
    return kPieces[Pick(0, std::size(kPieces) - 1)];
  }

  std::u16string Utf16Only() {
    static const std::u16string kPieces[] = {u"𠀀", u"😀", u"한", u"\xD800", u"\xDC00"};
    if (Pick(0, 2) == 0) return unicode_only_[Pick(0, unicode_only_.size() - 1)];
    return kPieces[Pick(0, std::size(kPieces) - 1)];
  }

  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

  // Codes as people write them: in runs, full-width, with separators or
  // none, and numbers that look nearly like them.
  std::u16string WrittenCodes() {
    static const std::u16string kBetween[] = {u"",     u" ",  u"  ", u"\u3000", u",",
                                              u"\r\n", u"/",  u"中", u"\xD800", u"$",
                                              u"年",   u"號", u"x",  u"Ｂ",     u"￥"};
    std::u16string t;
    const int codes = Pick(1, 6);
    for (int i = 0; i < codes; ++i) {
      const int kind = Pick(0, 9);
      std::u16string code = kind < 6 ? CodeOf(codes_[Pick(0, codes_.size() - 1)])
                            : kind == 6
                                ? CodeOf(unwritable_codes_[Pick(0, unwritable_codes_.size() - 1)])
                            : kind == 7 ? DayKey()
                                        : Digits(Pick(1, 9));
      if (Pick(0, 3) == 0) {
        for (char16_t& c : code) c = static_cast<char16_t>(c - u'0' + u'０');
      }
      t += code + kBetween[Pick(0, std::size(kBetween) - 1)];
    }
    return t;
  }

 private:
  std::u16string Digits(int n) {
    static const char16_t kBiased[] = u"99999000111223345678";
    std::u16string d;
    for (int i = 0; i < n; ++i) d += kBiased[Pick(0, std::size(kBiased) - 2)];
    return d;
  }

  std::u16string DayKey() {
    const int day = Pick(1, 31);
    const char16_t check = day < 10 ? u'0' : day % 10 == 0 ? char16_t(u'0' + day / 10) : u'9';
    return {u'9', u'9', char16_t(u'0' + day / 10), char16_t(u'0' + day % 10), check};
  }

  std::u16string CodeOf(int code) {
    return {char16_t(u'0' + code / 1000), char16_t(u'0' + code / 100 % 10),
            char16_t(u'0' + code / 10 % 10), char16_t(u'0' + code % 10)};
  }

  std::u16string Piece() {
    static const std::u16string kTricky[] = {u"一",     u"十",     u"廿", u"零", u"·",  u"—", u"系",
                                             u"\uE005", u"\uE00A", u"日", u"卅", u"筘", u"簉"};
    static const std::u16string kOther[] = {u"a",  u"Z", u"\r\n", u"\u3000", u"憋",
                                            u"『", u"⒍", u"０",   u"-",      u"9"};
    static const std::u16string kVariants[] = {
        u"陳", u"葉", u"鍾", u"線", u"餘", u"陈", u"叶", u"钟", u"锺", u"线", u"余", u"撖", u"後",
        u"衛", u"為", u"啟", u"研", u"屏", u"卫", u"爲", u"揅", u"发", u"廿", u"随", u"污", u"汙"};
    switch (Pick(0, 13)) {
      case 0:
      case 1:
        return Digits(Pick(1, 12));
      case 2:
        return DayKey();
      case 3:
        return DayKey().substr(Pick(1, 4)) + DayKey();  // overlapping keys
      case 4:
        if (Pick(0, 3) == 0)
          return CodeOf(unwritable_codes_[Pick(0, unwritable_codes_.size() - 1)]) + u" ";
        return CodeOf(codes_[Pick(0, codes_.size() - 1)]) + u" ";
      case 5:
        return Pick(0, 1) ? u" " : u"  ";
      case 6:
        return CodeOf(Pick(9890, 9999)) + (Pick(0, 1) ? u" " : u"");
      case 12: {  // a day key whose last digit begins a code from 9941 up
        const std::u16string day = DayKey(), code = CodeOf(Pick(9941, 9998));
        return day + code.substr(day.back() == code[0] ? 1 : 0) + u" ";
      }
      case 7:
      case 8:
        return kTricky[Pick(0, std::size(kTricky) - 1)];
      case 9:
        return std::u16string(1, writable_[Pick(0, writable_.size() - 1)]);
      case 10:  // characters whose variants decide
        return kVariants[Pick(0, std::size(kVariants) - 1)];
      default:
        return kOther[Pick(0, std::size(kOther) - 1)];
    }
  }

  static std::u16string ToUtf16(char32_t c) {
    if (c < 0x10000) return std::u16string(1, static_cast<char16_t>(c));
    return {static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)),
            static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF))};
  }

  std::mt19937 rng_;
  std::vector<int> codes_, unwritable_codes_;
  std::vector<char16_t> writable_;
  std::vector<std::u16string> unicode_only_;
};

int Iterations(int usual) {
  const char* env = std::getenv("YISHU_DIFFERENTIAL_ITERATIONS");
  return env ? std::atoi(env) : usual;
}

struct Shard {
  unsigned seed;
  Options options;
  int iterations;
};

void PrintTo(const Shard& s, std::ostream* os) {
  const char* const books[] = {"mainland", "Taiwan", "e-CCC"};
  const char* const variants[] = {"", " without variants", " with forms", " with all variants"};
  *os << books[static_cast<int>(s.options.book)] << variants[static_cast<int>(s.options.variants)]
      << (s.options.script == Script::Simplified ? ", simplified" : "")
      << (s.options.standard_forms ? ", standard forms" : "") << ", seed " << s.seed;
}

// Each shard runs in parallel with the others under CTest.
class DifferentialTest : public testing::TestWithParam<Shard> {};

TEST_P(DifferentialTest, EngineEqualsReference) {
  const Shard& shard = GetParam();
  const Options& options = shard.options;
  TextMaker maker(shard.seed);
  const int n = Iterations(shard.iterations);
  for (int i = 0; i < n; ++i) {
    const std::u16string text = maker.Representable();
    std::string cp936 = test::ToCp936(text), utf8 = test::ToUtf8(text);
    std::u16string utf16 = text;
    const bool plain = maker.Pick(0, 2) == 0;  // a third stay representable in every form
    if (!plain) {
      cp936.insert(maker.Pick(0, cp936.size()), maker.Cp936Only());
      utf8.insert(maker.Pick(0, utf8.size()), maker.Utf8Only());
      utf16.insert(maker.Pick(0, utf16.size()), maker.Utf16Only());
    }
    for (Direction mode : {CodeToChar, CharToCode}) {
      const std::string how =
          std::string(mode == CodeToChar ? "codes to characters" : "characters to codes");
      Report engine, reference;
      const std::string from_cp936 = ConvertText(mode, cp936, Encoding::Cp936, options, &engine);
      ASSERT_EQ(from_cp936, reference::ConvertText(mode, cp936, options, &reference))
          << "CP936, " << how << ", text " << testing::PrintToString(cp936);
      ASSERT_EQ(test::Describe(reference::AsReferenceReports(engine)), test::Describe(reference))
          << "CP936 report, " << how;
      const bool cp936_whole = engine.unwritable == 0;
      ASSERT_EQ(ConvertText(mode, utf8, Encoding::Utf8, options, &engine),
                reference::ConvertTextUtf8(mode, utf8, options, &reference))
          << "UTF-8, " << how << ", text " << testing::PrintToString(utf8);
      ASSERT_EQ(test::Describe(reference::AsReferenceReports(engine)), test::Describe(reference))
          << "UTF-8 report, " << how;
      const std::u16string from_utf16 =
          ConvertText(mode, std::u16string_view(utf16), options, &engine);
      ASSERT_EQ(from_utf16, reference::ConvertTextUtf16(mode, utf16, options, &reference))
          << "UTF-16, " << how;
      ASSERT_EQ(test::Describe(reference::AsReferenceReports(engine)), test::Describe(reference))
          << "UTF-16 report, " << how;
      if (plain && cp936_whole) {  // the forms agree through the code page
        ASSERT_EQ(test::FromCp936(from_cp936), from_utf16) << test::ToUtf8(text);
      }
    }
  }
}

// Codes as written: the engine's result and the runs it kept are the plain
// reading's, in every form.
TEST_P(DifferentialTest, AsWrittenEqualsPlainReading) {
  const Shard& shard = GetParam();
  TextMaker maker(shard.seed + 100);
  Options as_written = shard.options;
  as_written.reading = CodeReading::AsWritten;
  const int n = Iterations(shard.iterations);
  for (int i = 0; i < n; ++i) {
    std::u16string text;
    for (int k = maker.Pick(1, 4); k > 0; --k) {
      text += maker.Pick(0, 1) ? maker.WrittenCodes() : maker.Representable();
    }
    const bool unicode_only = text.find(u'\xD800') != std::u16string::npos;
    std::string cp936 = unicode_only ? std::string() : test::ToCp936(text);
    std::string utf8 = test::ToUtf8(text);
    if (maker.Pick(0, 2) == 0) {
      cp936.insert(maker.Pick(0, cp936.size()), maker.Cp936Only());
      utf8.insert(maker.Pick(0, utf8.size()), maker.Utf8Only());
    }
    Report report, kept;
    ASSERT_EQ(ConvertText(Direction::CodeToChar, cp936, Encoding::Cp936, as_written, &report),
              reference::ReadWrittenCodes(cp936, as_written, &kept))
        << "CP936, text " << testing::PrintToString(cp936);
    ASSERT_EQ(test::Describe(report), test::Describe(kept))
        << "CP936, text " << testing::PrintToString(cp936);
    ASSERT_EQ(ConvertText(Direction::CodeToChar, utf8, Encoding::Utf8, as_written, &report),
              reference::ReadWrittenCodesUtf8(utf8, as_written, &kept))
        << "UTF-8, text " << testing::PrintToString(utf8);
    ASSERT_EQ(test::Describe(report), test::Describe(kept))
        << "UTF-8, text " << testing::PrintToString(utf8);
    const std::u16string from_utf16 =
        ConvertText(Direction::CodeToChar, std::u16string_view(text), as_written, &report);
    ASSERT_EQ(from_utf16, reference::ReadWrittenCodesUtf16(text, as_written, &kept))
        << test::ToUtf8(text);
    ASSERT_EQ(test::Describe(report), test::Describe(kept)) << test::ToUtf8(text);
  }
}

INSTANTIATE_TEST_SUITE_P(Mainland, DifferentialTest,
                         testing::Values(Shard{1, {}, 25000}, Shard{2, {}, 25000},
                                         Shard{3, {}, 25000}, Shard{4, {}, 25000}));

INSTANTIATE_TEST_SUITE_P(
    OtherOptions, DifferentialTest,
    testing::Values(Shard{5, {Book::Taiwan, Variants::None}, 10000},
                    Shard{6, {Book::Taiwan, Variants::All}, 10000},
                    Shard{7, {Book::Mainland, Variants::All}, 10000},
                    Shard{8, {Book::Taiwan}, 5000},
                    Shard{9, {Book::Taiwan, {}, {}, {}, true}, 5000}, Shard{10, {Book::Eccc}, 5000},
                    Shard{11, {Book::Eccc, Variants::All, {}, Script::Simplified}, 5000},
                    Shard{12, {Book::Eccc, {}, {}, {}, true}, 5000}));

}  // namespace
}  // namespace yishu

// Random texts, biased toward what makes conversion hard, converted by the
// single-pass engine and by the literal reference: the results must be equal
// byte for byte, in both modes and every form.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "reference.h"
#include "test_text.h"
#include "yishu/yishu.h"

namespace yishu {
namespace {

using enum Direction;

class TextMaker {
 public:
  explicit TextMaker(unsigned seed) : rng_(seed) {
    for (const CodeRow& r : CodeBook()) book_.push_back(r);
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
    static const char* const kPieces[] = {"\x81", "\xD2", "\xFE", "\x80", "\xFF", "\xA1\xBA\x72",
                                          "\xA2\xB6\xA1\xA1", "\xBA\x72", "\xAA", "\xC8"};
    return kPieces[Pick(0, std::size(kPieces) - 1)];
  }

  // A piece that only the Unicode forms hold, as UTF-8.
  std::string Utf8Only() {
    static const char* const kPieces[] = {"𠀀", "😀", "한", "€", "\xE4\xB8", "\xFF", "\x80",
                                          "\xC0\xB0", "\xED\xA0\x80", "\xF0\x9F"};
    return kPieces[Pick(0, std::size(kPieces) - 1)];
  }

  std::u16string Utf16Only() {
    static const std::u16string kPieces[] = {u"𠀀", u"😀", u"한", u"\xD800", u"\xDC00"};
    return kPieces[Pick(0, std::size(kPieces) - 1)];
  }

  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

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
    static const std::u16string kTricky[] = {u"一", u"十", u"廿", u"零", u"·", u"—", u"系",
                                             u"\uE005", u"\uE00A", u"日", u"卅", u"筘", u"簉"};
    static const std::u16string kOther[] = {u"a", u"Z", u"\r\n", u"\u3000", u"憋", u"『",
                                            u"⒍", u"０", u"-", u"9"};
    switch (Pick(0, 12)) {
      case 0: case 1: return Digits(Pick(1, 12));
      case 2: return DayKey();
      case 3: return DayKey().substr(Pick(1, 4)) + DayKey();  // overlapping keys
      case 4: return CodeOf(book_[Pick(0, book_.size() - 1)].code) + u" ";
      case 5: return Pick(0, 1) ? u" " : u"  ";
      case 6: return CodeOf(Pick(9890, 9999)) + (Pick(0, 1) ? u" " : u"");
      case 12: {  // a day key whose last digit begins a code from 9941 up
        const std::u16string day = DayKey(), code = CodeOf(Pick(9941, 9998));
        return day + code.substr(day.back() == code[0] ? 1 : 0) + u" ";
      }
      case 7: case 8: return kTricky[Pick(0, std::size(kTricky) - 1)];
      case 9: return std::u16string(1, book_[Pick(0, book_.size() - 1)].unicode);
      default: return kOther[Pick(0, std::size(kOther) - 1)];
    }
  }

  std::mt19937 rng_;
  std::vector<CodeRow> book_;
};

int Iterations() {
  const char* env = std::getenv("YISHU_DIFFERENTIAL_ITERATIONS");
  return env ? std::atoi(env) : 25000;
}

// Four shards of 25,000 texts each run in parallel under CTest.
class DifferentialTest : public testing::TestWithParam<unsigned> {};

TEST_P(DifferentialTest, EngineEqualsReference) {
  TextMaker maker(GetParam());
  const int n = Iterations();
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
      const std::string from_cp936 = ConvertText(mode, cp936);
      ASSERT_EQ(from_cp936, reference::ConvertText(mode, cp936))
          << "CP936, mode " << static_cast<int>(mode) << ", text " << testing::PrintToString(cp936);
      ASSERT_EQ(ConvertText(mode, utf8, Encoding::Utf8), reference::ConvertTextUtf8(mode, utf8))
          << "UTF-8, mode " << static_cast<int>(mode) << ", text " << testing::PrintToString(utf8);
      const std::u16string from_utf16 = ConvertText(mode, std::u16string_view(utf16));
      ASSERT_EQ(from_utf16, reference::ConvertTextUtf16(mode, utf16)) << "UTF-16, mode " << static_cast<int>(mode);
      if (plain) {  // the forms agree through the code page
        ASSERT_EQ(test::FromCp936(from_cp936), from_utf16) << test::ToUtf8(text);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Shards, DifferentialTest, testing::Values(1u, 2u, 3u, 4u));

}  // namespace
}  // namespace yishu

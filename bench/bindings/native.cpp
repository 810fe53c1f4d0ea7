// The baseline of the bindings' figures: the C++ call, and the C interface's
// call on the same texts. Prints one line per figure:
//   NAME  MB/s-of-1MB  ns-per-short-call
// Texts: argv[1] (UTF-8 characters, converted to codes), argv[2] (codes,
// converted to characters); the short call converts 陳大文 in the Taiwan book.
#include <yishu/yishu.h>
#include <yishu/yishu_c.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

std::string Read(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The best of `rounds` rounds of `calls` calls, in seconds per call.
template <class F>
double Best(int rounds, int calls, F&& f) {
  double best = 1e9;
  for (int r = 0; r < rounds; ++r) {
    const auto start = Clock::now();
    for (int i = 0; i < calls; ++i) f();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count() / calls);
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  const std::string hanzi = Read(argv[1]), codes = Read(argv[2]);
  const std::u16string hanzi16 = [&] {  // UTF-16 of the same characters
    std::u16string s;
    for (std::size_t i = 0; i < hanzi.size();) {
      const unsigned char c = hanzi[i];
      const int n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
      char32_t u = n == 1 ? c : c & (0x7F >> n);
      for (int k = 1; k < n; ++k) u = u << 6 | (hanzi[i + k] & 0x3F);
      if (u >= 0x10000) {
        s += char16_t(0xD800 + ((u - 0x10000) >> 10));
        s += char16_t(0xDC00 + ((u - 0x10000) & 0x3FF));
      } else {
        s += char16_t(u);
      }
      i += n;
    }
    return s;
  }();
  const std::u16string codes16(codes.begin(), codes.end());
  const std::string name = "陳大文";
  const yishu::Options taiwan{yishu::Book::Taiwan};
  const double mb = 1 << 20;
  const int rounds = std::stoi(argv[3]);
  using yishu::Direction;

  auto line = [&](const char* what, double to_codes, double to_chars, double short_call) {
    std::printf("%s %.0f %.0f %.0f\n", what, hanzi.size() / mb / to_codes,
                codes.size() / mb / to_chars, short_call * 1e9);
  };
  line("c++-utf8",
       Best(rounds, 1,
            [&] { yishu::ConvertText(Direction::CharToCode, hanzi, yishu::Encoding::Utf8); }),
       Best(rounds, 1,
            [&] { yishu::ConvertText(Direction::CodeToChar, codes, yishu::Encoding::Utf8); }),
       Best(rounds, 200000, [&] {
         yishu::ConvertText(Direction::CharToCode, name, yishu::Encoding::Utf8, taiwan);
       }));
  line("c++-utf16",
       Best(rounds, 1,
            [&] { yishu::ConvertText(Direction::CharToCode, std::u16string_view(hanzi16)); }),
       Best(rounds, 1,
            [&] { yishu::ConvertText(Direction::CodeToChar, std::u16string_view(codes16)); }),
       Best(rounds, 200000, [&] {
         yishu::ConvertText(Direction::CharToCode, std::u16string_view(u"陳大文"), taiwan);
       }));

  // The C interface with a buffer large enough, as a caller that knows its
  // output's bound calls it: one conversion and one copy.
  yishu_options o;
  yishu_options_init(&o, sizeof o);
  std::string out(6 * std::max(hanzi.size(), codes.size()), '\0');
  size_t written;
  auto c_call = [&](int direction, int book, const std::string& text) {
    o.direction = direction;
    o.book = book;
    yishu_convert(&o, text.data(), text.size(), out.data(), out.size(), &written, nullptr);
  };
  line("c", Best(rounds, 1, [&] { c_call(YISHU_TO_CODES, YISHU_BOOK_MAINLAND, hanzi); }),
       Best(rounds, 1, [&] { c_call(YISHU_TO_CHARS, YISHU_BOOK_MAINLAND, codes); }),
       Best(rounds, 200000, [&] { c_call(YISHU_TO_CODES, YISHU_BOOK_TAIWAN, name); }));
}

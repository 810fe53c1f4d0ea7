// The engine's speed inside the browser, on the texts of the native benchmark
// (bench/convert_bench.cpp, the same generator and seed) in UTF-16, the form
// the page converts. `run` gives one line per case: its name and the input
// megabytes (2^20 bytes) per second.
#include <emscripten/bind.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "yishu/yishu.h"

namespace {

enum class Kind { Codes, DenseCodes, Hanzi, Dense, Ascii };

// As the native benchmark makes its CP936 text, written as UTF-16 here.
std::u16string MakeText(Kind kind, std::size_t size, yishu::Book which) {
  std::mt19937 rng(42);
  std::vector<yishu::CodeRow> book;  // the rows CP936 can hold, as there
  for (const yishu::CodeRow& r : yishu::CodeBook(which)) {
    if (r.lead != 0) book.push_back(r);
  }
  auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
  };
  auto ascii = [](std::u16string& s, const std::string& a) { s.append(a.begin(), a.end()); };
  std::u16string s;
  std::size_t bytes = 0;  // the CP936 size, which the native text is cut at
  while (bytes < size) {
    const std::size_t before = s.size();
    std::size_t wide = 0;
    if (kind == Kind::Codes || kind == Kind::DenseCodes) {
      ascii(s, std::to_string(10000 + book[pick(book.size())].code).substr(1) + ' ');
      if (kind != Kind::DenseCodes) {
        if (pick(40) == 0) ascii(s, "99119 ");
        if (pick(20) == 0) ascii(s, "\r\n");
      }
    } else if (kind == Kind::Hanzi || kind == Kind::Dense) {
      s += static_cast<char16_t>(book[pick(2000)].unicode);
      wide = 1;
      if (kind == Kind::Hanzi && pick(15) == 0) ascii(s, ", ");
    } else {
      static const char* const kWords[] = {"the ", "telegraph ",   "code ",    "book ",
                                           "of ",  "characters, ", "message ", "sent.\r\n"};
      ascii(s, kWords[pick(std::size(kWords))]);
    }
    bytes += s.size() - before + wide;
  }
  return s;
}

double MegabytesPerSecond(yishu::Direction direction, const std::u16string& text,
                          const yishu::Options& options, double seconds) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  double bytes = 0;
  double elapsed = 0;
  do {
    const std::u16string out = yishu::ConvertText(direction, text, options);
    if (out.empty()) std::abort();  // keeps the conversion from being left out
    bytes += static_cast<double>(text.size() * 2);
    elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  } while (elapsed < seconds);
  return bytes / (1 << 20) / elapsed;
}

std::string Run(double seconds) {
  struct Case {
    const char* name;
    yishu::Direction direction;
    Kind kind;
    yishu::Options options;
  };
  const yishu::Options taiwan{.book = yishu::Book::Taiwan};
  const yishu::Options as_written{.reading = yishu::CodeReading::AsWritten};
  const Case cases[] = {
      {"characters to codes, ASCII prose", yishu::Direction::CharToCode, Kind::Ascii, {}},
      {"characters to codes, Chinese characters alone",
       yishu::Direction::CharToCode,
       Kind::Dense,
       {}},
      {"characters to codes, Chinese text", yishu::Direction::CharToCode, Kind::Hanzi, {}},
      {"characters to codes, Chinese text, Taiwan", yishu::Direction::CharToCode, Kind::Hanzi,
       taiwan},
      {"codes to characters, ASCII prose", yishu::Direction::CodeToChar, Kind::Ascii, {}},
      {"codes to characters, Chinese text without codes",
       yishu::Direction::CodeToChar,
       Kind::Hanzi,
       {}},
      {"codes to characters, a telegram of codes", yishu::Direction::CodeToChar, Kind::Codes, {}},
      {"codes to characters, a telegram of codes, as written", yishu::Direction::CodeToChar,
       Kind::Codes, as_written},
      {"codes to characters, codes alone", yishu::Direction::CodeToChar, Kind::DenseCodes, {}},
  };
  std::string lines;
  for (const Case& c : cases) {
    const std::u16string text = MakeText(c.kind, 1 << 20, c.options.book);
    yishu::ConvertText(c.direction, u"0022 中", c.options);  // the tables are built on first use
    char figure[32];
    std::snprintf(figure, sizeof figure, "%.0f",
                  MegabytesPerSecond(c.direction, text, c.options, seconds));
    lines += std::string(c.name) + '\t' + figure + '\n';
  }
  return lines;
}

}  // namespace

EMSCRIPTEN_BINDINGS(yishu_engine_bench) { emscripten::function("run", &Run); }

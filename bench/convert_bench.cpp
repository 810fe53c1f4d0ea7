// Throughput of the single-pass engine against the literal reference, per
// mode, form and text size. Run: make bench (figures go into the README).
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "reference.h"
#include "yishu/yishu.h"

namespace {

using yishu::CodeRow;

enum class Kind { Codes, DenseCodes, Hanzi, Dense, Ascii };

// Text of about `size` bytes in CP936: a telegram of codes (with day codes and
// line breaks), codes alone (each with its space), Chinese text with some
// ASCII, Chinese characters alone (dense), or ASCII prose, from the rows of
// `which` that CP936 can hold.
std::string MakeCp936(Kind kind, std::size_t size, yishu::Book which) {
  std::mt19937 rng(42);
  std::vector<CodeRow> book;  // the rows CP936 can hold
  for (const CodeRow& r : yishu::CodeBook(which)) {
    if (r.lead != 0) book.push_back(r);
  }
  auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
  };
  std::string s;
  while (s.size() < size) {
    if (kind == Kind::Codes || kind == Kind::DenseCodes) {
      const int code = book[pick(book.size())].code;
      s += std::to_string(10000 + code).substr(1) + ' ';
      if (kind == Kind::DenseCodes) continue;
      if (pick(40) == 0) s += "99119 ";
      if (pick(20) == 0) s += "\r\n";
    } else if (kind == Kind::Hanzi || kind == Kind::Dense) {
      const CodeRow& r = book[pick(2000)];  // the commoner characters come first
      s += static_cast<char>(r.lead);
      s += static_cast<char>(r.trail);
      if (kind == Kind::Hanzi && pick(15) == 0) s += ", ";
    } else {
      static const char* const kWords[] = {"the ", "telegraph ",   "code ",    "book ",
                                           "of ",  "characters, ", "message ", "sent.\r\n"};
      s += kWords[pick(std::size(kWords))];
    }
  }
  return s;
}

// Code-book characters and ASCII only, so the code books are a complete map.
std::string ToUtf8(const std::string& cp936) {
  static const std::vector<char16_t> unicode_of = [] {
    std::vector<char16_t> table(65536);
    for (yishu::Book book : {yishu::Book::Mainland, yishu::Book::Taiwan, yishu::Book::Eccc}) {
      for (const CodeRow& r : yishu::CodeBook(book)) {
        if (r.lead != 0) table[r.lead << 8 | r.trail] = static_cast<char16_t>(r.unicode);
      }
    }
    return table;
  }();
  std::u16string u;
  for (std::size_t i = 0; i < cp936.size(); ++i) {
    const unsigned char b = cp936[i];
    if (b < 0x80) {
      u += b;
      continue;
    }
    u += unicode_of[b << 8 | static_cast<unsigned char>(cp936[++i])];
  }
  return yishu::reference::Utf8FromUtf16(u);
}

enum class Form { Cp936, Utf8, Utf16 };

template <bool kReference>
void Convert(benchmark::State& state, yishu::Direction mode, Kind kind, Form form,
             yishu::Options options) {
  const std::string cp936 = MakeCp936(kind, state.range(0), options.book);
  const std::string utf8 = form == Form::Cp936 ? std::string() : ToUtf8(cp936);
  const std::u16string utf16 =
      form == Form::Utf16 ? yishu::reference::Utf16FromUtf8(utf8) : std::u16string();
  std::size_t bytes = 0;
  for (auto _ : state) {
    if (form == Form::Cp936) {
      auto out = kReference ? yishu::reference::ConvertText(mode, cp936)
                            : yishu::ConvertText(mode, cp936, yishu::Encoding::Cp936, options);
      benchmark::DoNotOptimize(out);
      bytes += cp936.size();
    } else if (form == Form::Utf8) {
      auto out = kReference ? yishu::reference::ConvertTextUtf8(mode, utf8)
                            : yishu::ConvertText(mode, utf8, yishu::Encoding::Utf8, options);
      benchmark::DoNotOptimize(out);
      bytes += utf8.size();
    } else {
      auto out = kReference ? yishu::reference::ConvertTextUtf16(mode, utf16)
                            : yishu::ConvertText(mode, std::u16string_view(utf16), options);
      benchmark::DoNotOptimize(out);
      bytes += utf16.size() * 2;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}

void Register() {
  struct Mode {
    const char* name;
    yishu::Direction mode;
    Kind kind;
  };
  const Mode modes[] = {{"CodeToChar/codes", yishu::Direction::CodeToChar, Kind::Codes},
                        {"CodeToChar/dense", yishu::Direction::CodeToChar, Kind::DenseCodes},
                        {"CharToCode/hanzi", yishu::Direction::CharToCode, Kind::Hanzi},
                        {"CharToCode/dense", yishu::Direction::CharToCode, Kind::Dense},
                        {"CodeToChar/nothing(hanzi)", yishu::Direction::CodeToChar, Kind::Hanzi},
                        {"CodeToChar/nothing(ascii)", yishu::Direction::CodeToChar, Kind::Ascii},
                        {"CharToCode/nothing(ascii)", yishu::Direction::CharToCode, Kind::Ascii}};
  const std::pair<const char*, Form> forms[] = {
      {"cp936", Form::Cp936}, {"utf8", Form::Utf8}, {"utf16", Form::Utf16}};
  // Codes as written, on the same texts as the typed reading above.
  const yishu::Options as_written{.reading = yishu::CodeReading::AsWritten};
  for (const Mode& m : modes) {
    if (m.mode != yishu::Direction::CodeToChar) continue;
    for (const auto& [form_name, form] : forms) {
      const std::string name = std::string(m.name) + "/" + form_name;
      benchmark::RegisterBenchmark(("as-written/" + name).c_str(), Convert<false>, m.mode, m.kind,
                                   form, as_written)
          ->Arg(1 << 20)
          ->Unit(benchmark::kMicrosecond);
    }
  }
  for (const Mode& m : modes) {
    for (const auto& [form_name, form] : forms) {
      const std::string name = std::string(m.name) + "/" + form_name;
      benchmark::RegisterBenchmark(("engine/" + name).c_str(), Convert<false>, m.mode, m.kind, form,
                                   yishu::Options{})
          ->Arg(1 << 10)
          ->Arg(64 << 10)
          ->Arg(1 << 20)
          ->Unit(benchmark::kMicrosecond);
      // The Taiwan book, on a text of its own characters and codes.
      if (m.kind != Kind::Ascii) {
        benchmark::RegisterBenchmark(("engine/taiwan/" + name).c_str(), Convert<false>, m.mode,
                                     m.kind, form, yishu::Options{yishu::Book::Taiwan})
            ->Arg(1 << 20)
            ->Unit(benchmark::kMicrosecond);
        // The e-CCC book (both forms of a row convert to its code).
        benchmark::RegisterBenchmark(("engine/eccc/" + name).c_str(), Convert<false>, m.mode,
                                     m.kind, form, yishu::Options{yishu::Book::Eccc})
            ->Arg(1 << 20)
            ->Unit(benchmark::kMicrosecond);
      }
      // The reference takes seconds per megabyte; a single pass is enough.
      if (m.kind == Kind::Ascii || m.kind == Kind::Dense || m.kind == Kind::DenseCodes) continue;
      benchmark::RegisterBenchmark(("reference/" + name).c_str(), Convert<true>, m.mode, m.kind,
                                   form, yishu::Options{})
          ->Arg(1 << 10)
          ->Arg(64 << 10)
          ->Unit(benchmark::kMicrosecond);
      benchmark::RegisterBenchmark(("reference/" + name).c_str(), Convert<true>, m.mode, m.kind,
                                   form, yishu::Options{})
          ->Arg(1 << 20)
          ->Iterations(1)
          ->Unit(benchmark::kMillisecond);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  Register();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

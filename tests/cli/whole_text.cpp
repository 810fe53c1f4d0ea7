// The reference for telecode's tests: converts all of standard input in one
// piece with yishu::ConvertText and writes the result to standard output.
//
//   whole_text encode|decode|as-written utf-8|cp936|utf-16le|utf-16be
//
// as-written decodes codes as people write them.
//
// UTF-16 input is taken as code units of the given order, a byte-order mark
// included; an odd last byte is passed on after the converted text.
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

#include "yishu/yishu.h"

namespace {

std::u16string Units(std::string_view bytes, bool big_endian) {
  std::u16string units;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]),
               b = static_cast<unsigned char>(bytes[i + 1]);
    units += static_cast<char16_t>(big_endian ? (a << 8) | b : (b << 8) | a);
  }
  return units;
}

std::string Bytes(std::u16string_view units, bool big_endian) {
  std::string bytes;
  for (char16_t unit : units) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += big_endian ? high : low;
    bytes += big_endian ? low : high;
  }
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: whole_text encode|decode|as-written utf-8|cp936|utf-16le|utf-16be\n";
    return 2;
  }
  std::freopen(nullptr, "rb", stdin);
  std::string input;
  char chunk[1 << 16];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, stdin)) > 0;) input.append(chunk, n);
  const yishu::Direction mode = std::string_view(argv[1]) == "encode" ? yishu::Direction::CharToCode
                                                                   : yishu::Direction::CodeToChar;
  yishu::Options options;
  if (std::string_view(argv[1]) == "as-written") options.reading = yishu::CodeReading::AsWritten;
  const std::string_view encoding = argv[2];
  std::string output;
  if (encoding == "utf-8" || encoding == "cp936") {
    output = yishu::ConvertText(
        mode, input, encoding == "cp936" ? yishu::Encoding::Cp936 : yishu::Encoding::Utf8, options);
  } else {
    const bool big_endian = encoding == "utf-16be";
    output = Bytes(yishu::ConvertText(mode, Units(input, big_endian), options), big_endian);
    if (input.size() % 2) output += input.back();
  }
  std::freopen(nullptr, "wb", stdout);
  return std::fwrite(output.data(), 1, output.size(), stdout) == output.size() &&
                 std::fflush(stdout) == 0
             ? 0
             : 1;
}

// Converts its argument from codes to characters and back, through the
// installed header and library.
#include <yishu/yishu.h>

#include <iostream>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string text = yishu::ConvertText(yishu::Direction::CodeToChar, argv[1], yishu::Encoding::Utf8);
  yishu::Converter converter(yishu::Direction::CharToCode, yishu::Encoding::Utf8);
  std::string codes;
  converter.Feed(text, codes);
  converter.Finish(codes);
  std::cout << text << '|' << codes << '\n';
}

// Converts its argument from codes to characters and back, through the
// installed header and library: the whole-text call, the byte and the UTF-16
// streaming converters, and a report summed over texts.
#include <yishu/yishu.h>

#include <iostream>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string text =
      yishu::ConvertText(yishu::Direction::CodeToChar, argv[1], yishu::Encoding::Utf8);
  yishu::Converter converter(yishu::Direction::CharToCode, yishu::Encoding::Utf8);
  std::string codes;
  converter.Feed(text, codes);
  converter.Finish(codes);
  yishu::Converter<char16_t> units(yishu::Direction::CodeToChar);
  std::u16string characters;
  units.Feed(u"0022 2429", characters);
  units.Finish(characters);
  yishu::Report all;
  all.Merge(converter.report());
  all.Merge(units.report());
  std::cout << text << '|' << codes << '|' << characters.size() << ' ' << all.codes_without_space
            << '\n';
}

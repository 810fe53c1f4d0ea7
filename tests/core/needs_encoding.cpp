// The byte forms take their encoding: without it, UTF-8 would be read as
// CP936. Built by the tests with MISUSE 0 (which must compile, so that the
// others fail for their own reason), 1 and 2 (which must not).
#include "yishu/yishu.h"

int main() {
  using yishu::Direction;
#if MISUSE == 0
  yishu::Converter<char> converter(Direction::CharToCode, yishu::Encoding::Utf8);
  return static_cast<int>(
      yishu::ConvertText(Direction::CharToCode, std::string_view("x"), yishu::Encoding::Utf8)
          .size());
#elif MISUSE == 1
  return static_cast<int>(yishu::ConvertText(Direction::CharToCode, std::string_view("x")).size());
#else
  yishu::Converter<char> converter(Direction::CharToCode);
  return 0;
#endif
}

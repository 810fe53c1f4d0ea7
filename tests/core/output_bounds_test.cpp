// The engines write through word stores that may reach past what they
// wrote, into room that the output estimate (writer.h, MostOutput) leaves.
// This test is built with the engine's checks of every store against that
// estimate switched on, whatever the build type, and feeds every engine the
// texts that grow the most: each character of a book, day keys that become
// three characters, codes as typed and as written, in every form, whole, in
// every short prefix and in small pieces. A store past the estimate aborts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "yishu/internal/unicode.h"
#include "yishu/yishu.h"

namespace yishu {
namespace {

struct Texts {
  std::string cp936, utf8;
  std::u16string utf16;

  void Add(char32_t c, const CodeRow* row = nullptr) {
    char bytes[4];
    utf8.append(bytes, detail::EncodeUtf8(c, bytes));
    char16_t units[2];
    utf16.append(units, detail::EncodeUtf16(c, units));
    if (row == nullptr) {
      cp936 += static_cast<char>(c);  // ASCII
    } else if (row->lead != 0) {
      cp936 += static_cast<char>(row->lead);
      cp936 += static_cast<char>(row->trail);
    }
  }
  void Add(std::u32string_view ascii) {
    for (char32_t c : ascii) Add(c);
  }
};

// What grows most in each direction: characters with codes, back to back;
// lists of codes as typed and as written; and day keys.
Texts GrowingTexts(Book book, Direction direction) {
  Texts t;
  for (const CodeRow& row : CodeBook(book)) {
    if (direction == Direction::CharToCode) {
      t.Add(row.unicode, &row);
    } else {
      char digits[8];
      std::snprintf(digits, sizeof digits, "%04u ", static_cast<unsigned>(row.code));
      const std::u32string code(digits, digits + 5);
      t.Add(code);
      t.Add(code.substr(0, 4));
    }
  }
  if (direction == Direction::CodeToChar) {
    for (int i = 0; i < 64; ++i) t.Add(U"99319");
    for (int i = 0; i < 64; ++i) t.Add(U"99319 ");
  }
  return t;
}

template <class Unit>
void ConvertEveryWay(Direction direction, const Options& options, std::basic_string_view<Unit> text,
                     Encoding encoding) {
  const auto whole = [&](std::basic_string_view<Unit> t) {
    if constexpr (sizeof(Unit) == 1) {
      return ConvertText(direction, t, encoding, options);
    } else {
      return ConvertText(direction, t, options);
    }
  };
  const std::basic_string<Unit> expected = whole(text);
  for (std::size_t n = 0; n < 64 && n <= text.size(); ++n) whole(text.substr(0, n));
  for (std::size_t piece : {1, 2, 3, 5, 7}) {
    Converter<Unit> converter = [&] {
      if constexpr (sizeof(Unit) == 1) {
        return Converter<Unit>(direction, encoding, options);
      } else {
        return Converter<Unit>(direction, options);
      }
    }();
    std::basic_string<Unit> out;
    for (std::size_t at = 0; at < text.size(); at += piece) {
      converter.Feed(text.substr(at, piece), out);
    }
    converter.Finish(out);
    ASSERT_EQ(out, expected) << "pieces of " << piece;
  }
}

TEST(OutputBounds, EveryEngineStaysWithinItsEstimate) {
  for (Book book : {Book::Mainland, Book::Taiwan, Book::Eccc}) {
    for (Direction direction : {Direction::CharToCode, Direction::CodeToChar}) {
      const Texts t = GrowingTexts(book, direction);
      for (int variant = 0; variant < 2; ++variant) {
        const bool other = variant == 1;
        const Options options{.book = book,
                              .variants = other ? Variants::All : Variants::None,
                              .reading = other ? CodeReading::AsWritten : CodeReading::Typed,
                              .script = other ? Script::Simplified : Script::Traditional,
                              .standard_forms = other};
        SCOPED_TRACE(testing::Message() << "book " << static_cast<int>(book) << ", direction "
                                        << static_cast<int>(direction) << ", option " << variant);
        ConvertEveryWay<char>(direction, options, t.cp936, Encoding::Cp936);
        ConvertEveryWay<char>(direction, options, t.utf8, Encoding::Utf8);
        ConvertEveryWay<char16_t>(direction, options, t.utf16, Encoding::Utf8);
      }
    }
  }
}

}  // namespace
}  // namespace yishu

// Helpers that turn a test's text, written as UTF-16 literals, into each of the
// engine's forms.
#pragma once

#include <string>
#include <string_view>

#include "yishu/yishu.h"

namespace yishu::test {

// The CP936 bytes of a text made of ASCII, characters of either code book
// (those CP936 holds) and the few
// other characters the tests use. Fails the test on any other character.
std::string ToCp936(std::u16string_view text);

// The reverse of ToCp936, for well-formed CP936 made of the same characters.
std::u16string FromCp936(std::string_view bytes);

std::string ToUtf8(std::u16string_view text);

// A report in words, for comparing two and showing the difference.
std::string Describe(const Report& report);

}  // namespace yishu::test

// Helpers that turn a test's text, written as UTF-16 literals, into each of the
// engine's forms.
#pragma once

#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "yishu/yishu.h"

namespace yishu::test {

// The CP936 bytes of a text made of ASCII, characters of either code book
// (those CP936 holds) and the few
// other characters the tests use. Fails the test on any other character.
std::string ToCp936(std::u16string_view text);

// The reverse of ToCp936, for well-formed CP936 made of the same characters.
std::u16string FromCp936(std::string_view bytes);

std::string ToUtf8(std::u16string_view text);

// Feeds `text` to `converter` in the pieces that the ascending offsets `cuts`
// make, and finishes it; `most_held` gets the most it held back between pieces.
template <class Unit>
std::basic_string<Unit> Streamed(Converter<Unit>& converter,
                                 std::type_identity_t<std::basic_string_view<Unit>> text,
                                 const std::vector<std::size_t>& cuts,
                                 std::size_t* most_held = nullptr) {
  std::basic_string<Unit> out;
  std::size_t from = 0;
  for (std::size_t cut : cuts) {
    converter.Feed(text.substr(from, cut - from), out);
    if (most_held) *most_held = std::max(*most_held, converter.held());
    from = cut;
  }
  converter.Feed(text.substr(from), out);
  converter.Finish(out);
  return out;
}

// Ascending cuts into a text of `size` units: pieces of 1 to `most` units.
inline std::vector<std::size_t> RandomCuts(std::mt19937& rng, std::size_t size, std::size_t most) {
  std::vector<std::size_t> cuts;
  for (std::size_t at = 0;;) {
    at += std::uniform_int_distribution<std::size_t>(1, most)(rng);
    if (at >= size) return cuts;
    cuts.push_back(at);
  }
}

// A report in words, for comparing two and showing the difference.
std::string Describe(const Report& report);

}  // namespace yishu::test

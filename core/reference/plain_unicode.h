// Unicode as the reference reads and writes it: code of its own, written
// apart from the engine's (core/internal/yishu/internal/unicode.h) on purpose,
// as the oracle of the tests must not share a fault with what it checks.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace yishu::reference {

// Items of a decoded text that are no character: invalid bytes and unpaired
// surrogates, kept apart from every code point by this offset.
inline constexpr char32_t kNotACharacter = 0x110000;

std::u32string DecodeUtf8(std::string_view s);
std::string EncodeUtf8(std::u32string_view items);
std::u32string DecodeUtf16(std::u16string_view s);
std::u16string EncodeUtf16(std::u32string_view items);

// How many units an item of a decoded text took in each form.
std::size_t Utf8Units(char32_t item);
std::size_t Utf16Units(char32_t item);

}  // namespace yishu::reference

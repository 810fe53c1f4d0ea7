// The number that a code's four digits make: the one place where digits are
// read as a code, unit by unit or four at once from a word.
#pragma once

#include <cstdint>

namespace yishu::detail {

// Four ASCII digits at d, known to be digits.
template <class Unit>
constexpr int CodeOfDigits(const Unit* d) {
  return (d[0] - '0') * 1000 + (d[1] - '0') * 100 + (d[2] - '0') * 10 + (d[3] - '0');
}

// Four units of `Unit` read into the low lanes of a word (first unit lowest,
// nothing above them), known to be ASCII digits, with '0' taken from each
// lane: the number they make. Pairs of digits, then the pairs:
// (d0 * 10 + d1) * 100 + d2 * 10 + d3.
template <class Unit>
constexpr int NumberOfDigitLanes(std::uint64_t digits) {
  constexpr int kBits = 8 * sizeof(Unit);
  constexpr std::uint64_t kLane = (std::uint64_t{1} << kBits) - 1;
  const std::uint64_t pairs = (digits * 10 + (digits >> kBits)) & (kLane | kLane << (2 * kBits));
  return static_cast<int>((pairs & kLane) * 100 + (pairs >> (2 * kBits)));
}

// The same for any four units as read: the number, or -1 where any of them
// is no ASCII digit. Digits become 0..9, and only they become lanes below 10.
template <class Unit>
constexpr int CodeOfDigitLanes(std::uint64_t units) {
  constexpr std::uint64_t kOnes = sizeof(Unit) == 1 ? 0x01010101ull : 0x0001000100010001ull;
  constexpr std::uint64_t kAboveNine = kOnes * ((std::uint64_t{1} << (8 * sizeof(Unit))) - 0x10);
  const std::uint64_t x = units ^ (kOnes * '0');
  if (((x | (x + kOnes * 6)) & kAboveNine) != 0) return -1;
  return NumberOfDigitLanes<Unit>(x);
}

static_assert(CodeOfDigits("0022") == 22 && CodeOfDigitLanes<char>(0x39393939) == 9999 &&
              CodeOfDigitLanes<char>(0x3A303030) == -1 &&
              CodeOfDigitLanes<char16_t>(0x0039003200300031ull) == 1029);

}  // namespace yishu::detail

// Output for the engines: a string grown once by the most a conversion can
// write, filled through a pointer, and cut to size at the end. Appending
// piece by piece to a string costs a capacity check per piece, and the
// engines write many small pieces. Every write, and every word store that
// reaches past it, must stay within the size the conversion said it could
// reach (MostOutput): assertions check so, and the output-bounds test runs
// every engine with them on in any build.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "yishu/internal/simd.h"

namespace yishu::detail {

template <class Unit>
class Writer {
 public:
  // `most` is the largest number of units the conversion will write.
  Writer(std::basic_string<Unit>& out, std::size_t most) : out_(out), start_(out.size()) {
    out_.resize(start_ + most);
    at_ = out_.data() + start_;
    end_ = at_ + most;
  }
  ~Writer() { out_.resize(static_cast<std::size_t>(at_ - out_.data())); }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  void append(const Unit* units, std::size_t n) {
    assert(n <= static_cast<std::size_t>(end_ - at_) && "output estimate too small");
    // An empty piece may come with a null pointer, which memcpy must not get.
    if (n == 0) return;
    std::memcpy(at_, units, n * sizeof(Unit));
    at_ += n;
  }
  // Writes the first `n` units of `word` with one store of the whole word,
  // which may reach past them: every estimate leaves room for that.
  template <class Word>
  void append_word(const Word& word, std::size_t n) {
    assert(sizeof word <= static_cast<std::size_t>(end_ - at_) * sizeof(Unit) &&
           "output estimate too small");
    std::memcpy(at_, &word, sizeof word);
    at_ += n;
  }
  // For the tightest loops: the write position as a plain pointer, kept in a
  // local variable (stores of characters may alias a member, so the compiler
  // would reload it after each one), and handed back when done. `room` says
  // whether `size` more bytes fit from `at`, for assertions.
  Unit* position() const { return at_; }
  bool room(const Unit* at, std::size_t size) const {
    return size <= static_cast<std::size_t>(end_ - at) * sizeof(Unit);
  }
  void set_position(Unit* at) {
    assert(at <= end_ && "output estimate too small");
    at_ = at;
  }
  Writer& operator+=(Unit u) {
    assert(at_ < end_ && "output estimate too small");
    *at_++ = u;
    return *this;
  }

 private:
  std::basic_string<Unit>& out_;
  std::size_t start_;
  Unit* at_;
  Unit* end_;
};

// The most a conversion of n units can write. Characters to codes: a
// two-byte character becomes five bytes, a UTF-16 unit five units. Codes to
// characters: five digits become at most a day text of three characters,
// nine bytes in UTF-8. The 16 units on top leave room for a word store.
template <class Unit>
constexpr std::size_t MostOutput(bool to_codes, std::size_t n) {
  if (to_codes) return (sizeof(Unit) == 1 ? n * 5 / 2 : n * 5) + 16;
  return (sizeof(Unit) == 1 ? n * 9 / 5 : n) + 16;
}

// How many of p[0..n) are not ASCII.
inline std::size_t CountNonAscii(const char16_t* p, std::size_t n) {
  std::size_t ascii = 0, i = 0;
#if YISHU_SSE2
  // Eight counters of 16 bits, each raised by at most one per block of eight
  // units, emptied before they can overflow.
  const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
  while (i + 8 <= n) {
    __m128i counters = _mm_setzero_si128();
    for (int blocks = 0; blocks < 0xFFFF && i + 8 <= n; ++blocks, i += 8) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
      // An ASCII unit compares as -1, which subtracted adds one.
      counters =
          _mm_sub_epi16(counters, _mm_cmpeq_epi16(_mm_and_si128(v, high), _mm_setzero_si128()));
    }
    alignas(16) std::uint16_t lanes[8];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), counters);
    for (std::uint16_t lane : lanes) ascii += lane;
  }
#endif
  for (; i < n; ++i) ascii += p[i] < 0x80;
  return n - ascii;
}

// The same for UTF-16 characters to codes, from the text itself: only a unit
// that is not ASCII can become a code, four units longer. Growing the output
// by five times the input would cost more than this count where little
// converts (the growth is filled before it is written).
inline std::size_t MostCodesOutput(const char16_t* p, std::size_t n) {
  return n + 4 * CountNonAscii(p, n) + 16;
}

}  // namespace yishu::detail

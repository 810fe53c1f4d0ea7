#include "utf8_validator.h"

#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace telecode {

namespace {

// A shift-based automaton of well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF): the row of a byte holds the next state
// for every state, six bits each, and a state is the bit position of its
// field. One table load and one shift per byte, independent of the state
// until the shift, keeps Chinese text fast.
enum State : std::uint64_t {
  kAccept = 0,    // between sequences
  kError = 6,     // absorbing
  kNeed1 = 12,    // one continuation byte 80..BF to go
  kNeed2 = 18,    // two to go
  kAfterE0 = 24,  // A0..BF, then one more
  kAfterED = 30,  // 80..9F, then one more
  kAfterF0 = 36,  // 90..BF, then two more
  kAfterF1 = 42,  // 80..BF, then two more (F1..F3)
  kAfterF4 = 48,  // 80..8F, then two more
};
constexpr std::array<State, 9> kStates = {kAccept,  kError,   kNeed1,   kNeed2,  kAfterE0,
                                          kAfterED, kAfterF0, kAfterF1, kAfterF4};

constexpr State Next(State state, unsigned b) {
  const bool continuation = b >= 0x80 && b <= 0xBF;
  switch (state) {
    case kAccept:
      if (b < 0x80) return kAccept;
      if (b >= 0xC2 && b <= 0xDF) return kNeed1;
      if (b == 0xE0) return kAfterE0;
      if (b == 0xED) return kAfterED;
      if (b >= 0xE1 && b <= 0xEF) return kNeed2;
      if (b == 0xF0) return kAfterF0;
      if (b >= 0xF1 && b <= 0xF3) return kAfterF1;
      if (b == 0xF4) return kAfterF4;
      return kError;
    case kNeed1:
      return continuation ? kAccept : kError;
    case kNeed2:
      return continuation ? kNeed1 : kError;
    case kAfterE0:
      return b >= 0xA0 && b <= 0xBF ? kNeed1 : kError;
    case kAfterED:
      return b >= 0x80 && b <= 0x9F ? kNeed1 : kError;
    case kAfterF0:
      return b >= 0x90 && b <= 0xBF ? kNeed2 : kError;
    case kAfterF1:
      return continuation ? kNeed2 : kError;
    case kAfterF4:
      return b >= 0x80 && b <= 0x8F ? kNeed2 : kError;
    case kError:
      break;
  }
  return kError;
}

constexpr std::array<std::uint64_t, 256> MakeRows() {
  std::array<std::uint64_t, 256> rows{};
  for (unsigned b = 0; b < 256; ++b) {
    for (State state : kStates) rows[b] |= std::uint64_t{Next(state, b)} << state;
  }
  return rows;
}

constexpr std::array<std::uint64_t, 256> kRows = MakeRows();

std::uint64_t Step(std::uint64_t state, unsigned char byte) { return (kRows[byte] >> state) & 63; }

#if defined(__SSE2__)
// Checks 16 bytes at a time, from `i` (at least 3, so that the three bytes
// before a block can be looked at) up to the first block that holds an
// error; returns where it stopped. Bytes before `i` must be valid and no
// sequence may be open at `i`.
//
// A byte is a continuation byte exactly when one of the three before it is a
// lead byte whose sequence reaches it; on top of that come the bytes that are
// never valid and the few leads that narrow the range of their second byte.
std::size_t ValidBlocks(const unsigned char* bytes, std::size_t i, std::size_t size) {
  const auto load = [&](std::size_t at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
  };
  const auto at_least = [](__m128i x, unsigned char k) {
    return _mm_cmpeq_epi8(_mm_max_epu8(x, _mm_set1_epi8(static_cast<char>(k))), x);
  };
  const auto equal = [](__m128i x, unsigned char k) {
    return _mm_cmpeq_epi8(x, _mm_set1_epi8(static_cast<char>(k)));
  };
  for (; i + 16 <= size; i += 16) {
    const __m128i byte = load(i), prev1 = load(i - 1);
    // Nothing non-ASCII here and none just before: nothing can be open.
    if (_mm_movemask_epi8(_mm_or_si128(byte, prev1)) == 0) continue;
    const __m128i prev2 = load(i - 2), prev3 = load(i - 3);
    const __m128i continuation = equal(_mm_and_si128(byte, _mm_set1_epi8(char(0xC0))), 0x80);
    const __m128i expected = _mm_or_si128(
        _mm_or_si128(at_least(prev1, 0xC0), at_least(prev2, 0xE0)), at_least(prev3, 0xF0));
    __m128i error = _mm_xor_si128(continuation, expected);
    error = _mm_or_si128(error, equal(_mm_and_si128(byte, _mm_set1_epi8(char(0xFE))), 0xC0));
    error = _mm_or_si128(error, at_least(byte, 0xF5));
    const __m128i from_a0 = at_least(byte, 0xA0), from_90 = at_least(byte, 0x90);
    error = _mm_or_si128(error, _mm_andnot_si128(from_a0, equal(prev1, 0xE0)));  // overlong
    error = _mm_or_si128(error, _mm_and_si128(from_a0, equal(prev1, 0xED)));     // surrogate
    error = _mm_or_si128(error, _mm_andnot_si128(from_90, equal(prev1, 0xF0)));  // overlong
    error = _mm_or_si128(error, _mm_and_si128(from_90, equal(prev1, 0xF4)));     // above U+10FFFF
    if (_mm_movemask_epi8(error) != 0) break;
  }
  return i;
}
#else
std::size_t ValidBlocks(const unsigned char*, std::size_t i, std::size_t) { return i; }
#endif

}  // namespace

void Utf8Validator::Feed(std::string_view piece) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(piece.data());
  const std::size_t size = piece.size();
  std::uint64_t state = state_;
  std::size_t i = 0;
  while (i < size && !first_invalid_) {
    if (state == kAccept && i >= 3) {
      const std::size_t end = ValidBlocks(bytes, i, size);
      if (end > i) {
        // Go on from the start of the sequence that the last block may have
        // cut: from there on, the automaton starts between sequences.
        i = end;
        for (int n = 0; n < 3 && (bytes[i - 1] & 0xC0) == 0x80; ++n) --i;
        if ((bytes[i - 1] & 0xC0) == 0xC0) --i;
      }
    }
    // The error state is absorbing: looking for it once a block is enough.
    const std::size_t block_end = size - i < 64 ? size : i + 64;
    for (; i < block_end; ++i) state = Step(state, bytes[i]);
    state &= 63;
    if (state == kError) Locate(piece);
  }
  if (!first_invalid_ && state != kAccept) {
    // The unfinished sequence began at the last lead byte, in this piece
    // unless the piece holds only continuation bytes.
    for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
      if ((bytes[size - back] & 0xC0) == 0xC0) {
        sequence_start_ = offset_ + size - back;
        break;
      }
    }
  }
  state_ = state;
  offset_ += size;
}

void Utf8Validator::Locate(std::string_view piece) {
  std::uint64_t state = state_;
  std::uint64_t start = sequence_start_;
  for (std::size_t i = 0; i < piece.size(); ++i) {
    if (state == kAccept) start = offset_ + i;
    state = Step(state, static_cast<unsigned char>(piece[i])) & 63;
    if (state == kError) {
      first_invalid_ = start;
      return;
    }
  }
}

void Utf8Validator::Finish() {
  if (state_ != kAccept && !first_invalid_) first_invalid_ = sequence_start_;
  state_ = kAccept;
}

}  // namespace telecode

// The single-pass engine that turns codes into characters.
//
// Only runs of ASCII digits can change, so the scan jumps from digit to digit
// and copies everything between unchanged. In CP936 a digit right after a lead
// byte belongs to that byte's character and starts no run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "code_list.h"
#include "digit_run.h"
#include "lookup.h"
#include "text_form.h"
#include "writer.h"

namespace yishu::detail {

// Digit runs held back longer than this are converted in part (streaming).
inline constexpr std::size_t kMaxHeldRun = 8192;

// The longest run of digits that is read as a list of codes written without
// spaces (512 codes); longer runs are numbers or noise. Even in full-width
// digits (three bytes each in UTF-8) such a run is shorter than kMaxHeldRun.
inline constexpr std::size_t kLongestListOfCodes = 2048;

// Index of the first ASCII digit in p[from..n), or n.
inline std::size_t FindDigit(const char* p, std::size_t from, std::size_t n) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  std::size_t i = from;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t w;
    std::memcpy(&w, p + i, 8);
    // Bytes 0x30..0x39 become 0x00..0x09; look for any byte below 10.
    const std::uint64_t x = w ^ (kOnes * 0x30);
    if (((x - kOnes * 10) & ~x & (kOnes * 0x80)) != 0) break;
  }
  for (; i < n; ++i) {
    if (IsDigit(p[i])) return i;
  }
  return n;
}

inline std::size_t FindDigit(const char16_t* p, std::size_t from, std::size_t n) {
  std::size_t i = from;
#if defined(__SSE2__)
  // Signed comparisons: units from 0x8000 count as negative, below '0'.
  const __m128i below = _mm_set1_epi16('0' - 1), above = _mm_set1_epi16('9' + 1);
  for (; i + 8 <= n; i += 8) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const __m128i digit = _mm_and_si128(_mm_cmpgt_epi16(v, below), _mm_cmplt_epi16(v, above));
    if (_mm_movemask_epi8(digit) != 0) break;
  }
#endif
  for (; i < n; ++i) {
    if (IsDigit(p[i])) return i;
  }
  return n;
}

// In CP936, whether a character begins at q, given that one begins at `known`.
// Bytes in 0x81..0xFE pair up from the last byte outside that range (after
// which a character always begins), so the parity of their run decides.
inline bool BeginsCharacter(const char* p, std::size_t known, std::size_t q) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHigh = kOnes * 0x80;
  const auto has_zero = [](std::uint64_t v) { return ((v - kOnes) & ~v & kHigh) != 0; };
  std::size_t i = q;
  // Chinese text is all lead and trail bytes: step back eight at a time
  // while every byte is one of 0x81..0xFE.
  while (i >= known + 8) {
    std::uint64_t w;
    std::memcpy(&w, p + i - 8, 8);
    if ((w & kHigh) != kHigh || has_zero(w ^ kHigh) || has_zero(~w)) break;
    i -= 8;
  }
  while (i > known && IsLeadByte(static_cast<unsigned char>(p[i - 1]))) --i;
  return (q - i) % 2 == 0;
}

// Ends a pass over p[0..n): copies what is left after `copied` and returns
// how many units were consumed. Unless `final`, a CP936 lead byte at the end
// whose trail byte is still to come is left for the next pass.
template <Form F, class Unit>
inline std::size_t CopyRest(const Unit* p, std::size_t pos, std::size_t copied, std::size_t n,
                            bool final, Writer<Unit>& out) {
  std::size_t end = n;
  if constexpr (F == Form::Cp936) {
    if (!final && n > pos && IsLeadByte(static_cast<unsigned char>(p[n - 1])) &&
        BeginsCharacter(p, pos, n - 1)) {
      end = n - 1;
    }
  }
  out.append(p + copied, end - copied);
  return end;
}

template <Form F>
class CodeToCharEngine {
 public:
  using Unit = typename TextForm<F>::Unit;

  // `continues_run`: p begins with the rest of a run whose start an earlier
  // call converted (a run too long to hold); `cut_run` is set when this call
  // ends in the middle of a run in the same way.
  CodeToCharEngine(const Lookup& lookup, Report& report, bool continues_run = false,
                   bool* cut_run = nullptr)
      : lookup_(lookup), report_(report), continues_run_(continues_run), cut_run_(cut_run) {}

  // Converts p[0..n) and returns how many units it consumed. Unless `final`,
  // it stops before anything that more text could change (a digit run at the
  // end, a lead byte at the end); the caller feeds that again with more text.
  std::size_t Run(const Unit* p, std::size_t n, bool final, Writer<Unit>& out) {
    const Lookup& lookup = lookup_;
    std::size_t copied = 0, pos = 0;
    for (;;) {
      // A run of digits starts at q: text starts there, or a space or other
      // character stands before it.
      const std::size_t q = FindDigit(p, pos, n);
      if (q == n) break;
      if constexpr (F == Form::Cp936) {
        if (!BeginsCharacter(p, pos, q)) {
          pos = q + 1;
          continue;
        }
      }
      out.append(p + copied, q - copied);
      copied = q;
      // Codes one after another, as in "0022 2429 ", need no more search.
      if (const std::size_t listed =
              ConvertCodeList<F, CodeEnd::kSpace>(lookup, p, q, n, out, report_);
          listed != q) {
        copied = pos = listed;
        continue;
      }
      std::size_t e = q + 1;
      while (e < n && IsDigit(p[e])) ++e;
      if (e == n && !final) {
        if (e - q <= kMaxHeldRun) return q;
        if (cut_run_) *cut_run_ = true;
        return q + AppendRunStart<F>(p + q, e - q, lookup, scratch_, out);
      }
      const bool space = e < n && p[e] == ' ';
      const std::uint64_t unwritable = report_.unwritable;
      const bool took_space = AppendRun<F>(p + q, e - q, space, lookup, scratch_, out, report_);
      // A code left only because the form cannot hold its character had its space.
      const bool spaced = took_space || report_.unwritable != unwritable;
      // The rest of a run too long to be a list of codes is no list either.
      if (q != 0 || !continues_run_) {
        report_.codes_without_space += CountUnspaced(p + q, e - q, spaced, lookup);
      }
      copied = pos = e + (took_space ? 1 : 0);
    }
    return CopyRest<F>(p, pos, copied, n, final, out);
  }

 private:
  // A run of 4, 8, 12, ... digits that are all codes is a list of codes
  // written without their spaces: each code but one that took a following
  // space stayed as digits.
  static std::uint64_t CountUnspaced(const Unit* d, std::size_t n, bool took_space,
                                     const Lookup& lookup) {
    if (n % 4 != 0 || n > kLongestListOfCodes) return 0;
    for (std::size_t g = 0; g < n; g += 4) {
      if (lookup.row_of_code[CodeOfDigits(d + g)] == 0) return 0;
    }
    return n / 4 - (took_space ? 1 : 0);
  }

  const Lookup& lookup_;
  Report& report_;
  bool continues_run_;
  bool* cut_run_;
  RunScratch scratch_;
};

}  // namespace yishu::detail

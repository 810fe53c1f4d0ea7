// What a streamed text holds back between pieces, stated once. The engines
// enforce it (code_to_char.h, written_codes.h, digit_run.h) and the
// streaming converter relies on it (convert.cpp).
//
// An engine that is not given the end of the text stops before the first
// thing that more text could change, and returns how much it decided; the
// rest is held and fed again with the next piece. That rest is only ever:
//   * a character cut off by the end of the piece (a CP936 lead byte, up to
//     three bytes of a UTF-8 sequence, a high surrogate), or a run of digits
//     followed by such a character (codes as written, where the character may
//     turn out to be a full-width digit or the ideographic space);
//   * a run of digits at the end, which the next units may lengthen or end
//     with a space: at most kMaxHeldRun units as typed, at most
//     kLongestWrittenRun + 1 digits as written. As written, the run may keep
//     the character just before it (at most four units), when that is a mark
//     that makes four digits look like a number (number_marks.h).
// So held units that end with an ASCII digit and begin with one, or with one
// character of at most four units before one, are a run of digits (of either
// width, as written) and nothing else; more digits only lengthen it, which
// lets the converter append them without running an engine.
//
// Longer runs are converted in part:
//   * as typed, all but the last kRunTailKept digits go out (AppendRunStart),
//     moved to after any day key that the cut would split. The rest is then
//     converted as a run of its own, with the same result: a day key's fate
//     depends only on keys it overlaps, each overlap moves at most 4 digits
//     on and a run holds at most 31 keys that overlap in a chain, and the
//     end of the run changes at most its last 4 digits;
//   * as written, a run longer than kLongestWrittenRun stays as it is
//     whatever follows it, so all but kLongestWrittenRun + 1 digits go out
//     as a kept run; the Report merges the parts of one run into one entry,
//     as each part starts where the one before ended and two runs never touch.
#pragma once

#include <cstddef>

namespace yishu::detail {

inline constexpr std::size_t kMaxHeldRun = 8192;
inline constexpr std::size_t kRunTailKept = 256;
static_assert(kRunTailKept >= 31 * 4 + 5 + 4,
              "a chain of day keys and the final code fit the tail");

// The longest run of digits that is read as a list of codes written without
// spaces (512 codes); longer runs are numbers or noise.
inline constexpr std::size_t kLongestListOfCodes = 2048;
inline constexpr std::size_t kLongestWrittenRun = kLongestListOfCodes;
// Even in full-width digits, three bytes each in UTF-8, a held written run
// is shorter than what the converter holds at most.
static_assert((kLongestWrittenRun + 1) * 3 <= kMaxHeldRun);

}  // namespace yishu::detail

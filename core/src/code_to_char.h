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

#include "code_indexes.h"
#include "digit_run.h"
#include "hold_back.h"
#include "listed_codes.h"
#include "text_form.h"
#include "text_scan.h"
#include "writer.h"

namespace yishu::detail {

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

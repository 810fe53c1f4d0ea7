// What a run of digits becomes when codes are converted to characters.
//
// Inside one run of digits three things compete, in this order of priority:
//   1. a code up to 9899 formed by the run's last four digits and a following
//      space;
//   2. day keys (five digits, no space) anywhere in the rest of the run; a
//      lower key takes its digits first, and among equal keys the leftmost
//      wins; a key whose digits are already taken finds nothing;
//   3. a code from 9941 up, formed by the last four digits and the space, if
//      no day key took any of those digits.
// So 99010 followed by a space gives 9筘 (9010 comes first), and 99319941
// followed by a space gives 卅一日941 and the space.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "code_indexes.h"
#include "day_rules.h"
#include "hold_back.h"
#include "text_form.h"
#include "yishu/internal/four_digits.h"

namespace yishu::detail {

// The codes 9941 and up come after the day keys; all lower codes before them.
inline constexpr int kFirstCodeAfterDays = 9941;

struct DayTake {
  std::uint32_t pos;
  std::uint32_t day;
};

// Finds the day keys that are replaced in the digits d[0..n): appends them to
// `takes` in position order. `scratch` is reused storage.
template <class Unit>
void FindDayTakes(const Unit* d, std::size_t n, std::vector<DayTake>& takes,
                  std::vector<DayTake>& scratch) {
  takes.clear();
  if (n < 5) return;
  scratch.clear();
  for (std::size_t i = 0; i + 5 <= n; ++i) {
    if (d[i] != '9' || d[i + 1] != '9') continue;
    if (const int day = DayOfKey(d + i)) {
      scratch.push_back({static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(day)});
    }
  }
  if (scratch.size() <= 1) {
    takes = scratch;
    return;
  }
  // Keys overlap only when one ends in 9 or 99 and the next starts there, so a
  // key's fate depends on its neighbours: apply the keys in rule order.
  std::stable_sort(scratch.begin(), scratch.end(),
                   [](const DayTake& a, const DayTake& b) { return a.day < b.day; });
  std::vector<bool> taken(n, false);
  for (const DayTake& c : scratch) {
    bool free = true;
    for (std::size_t k = c.pos; k < c.pos + 5; ++k) free = free && !taken[k];
    if (!free) continue;
    for (std::size_t k = c.pos; k < c.pos + 5; ++k) taken[k] = true;
    takes.push_back(c);
  }
  std::sort(takes.begin(), takes.end(),
            [](const DayTake& a, const DayTake& b) { return a.pos < b.pos; });
}

// Writes digits d[from..to) with the day takes among them replaced.
template <Form F>
void AppendDigitsWithDays(const typename TextForm<F>::Unit* d, std::size_t from, std::size_t to,
                          const std::vector<DayTake>& takes,
                          Writer<typename TextForm<F>::Unit>& out) {
  for (const DayTake& t : takes) {
    if (t.pos < from) continue;
    if (t.pos >= to) break;
    out.append(d + from, t.pos - from);
    TextForm<F>::AppendDay(out, kDayTexts[t.day - 1]);
    from = t.pos + 5;
  }
  if (to > from) out.append(d + from, to - from);
}

struct RunScratch {
  std::vector<DayTake> takes, candidates;
};

// Notes a code left as digits because the text's form cannot hold its
// character.
inline void NoteUnwritable(Report& report, std::uint16_t code) {
  ++report.unwritable;
  auto& codes = report.unwritable_codes;
  if (codes.size() < Report::kListedChars &&
      std::find(codes.begin(), codes.end(), code) == codes.end()) {
    codes.push_back(code);
  }
}

// Converts the whole run d[0..n), which a space follows if `space`. Returns
// whether a code took that space.
template <Form F>
bool AppendRun(const typename TextForm<F>::Unit* d, std::size_t n, bool space, const Lookup& lookup,
               RunScratch& scratch, Writer<typename TextForm<F>::Unit>& out, Report& report) {
  const int code = space && n >= 4 ? CodeOfDigits(d + n - 4) : -1;
  const bool has_row = code >= 0 && lookup.row_of_code[code] != 0;
  if (!lookup.day_codes) {  // only the last four digits and the space can change
    if (has_row && CanWriteCode<F>(lookup, code)) {
      out.append(d, n - 4);
      AppendCodeChar<F>(lookup, code, out, report);
      return true;
    }
    if (has_row) NoteUnwritable(report, static_cast<std::uint16_t>(code));
    out.append(d, n);
    return false;
  }
  // Every row of a book with day codes can be written in every form.
  const bool code_first = has_row && code < kFirstCodeAfterDays;
  const std::size_t day_digits = code_first ? n - 4 : n;
  FindDayTakes(d, day_digits, scratch.takes, scratch.candidates);
  const bool code_last =
      has_row && !code_first && (scratch.takes.empty() || scratch.takes.back().pos + 5 <= n - 4);
  const bool converts = code_first || code_last;
  AppendDigitsWithDays<F>(d, 0, converts ? n - 4 : n, scratch.takes, out);
  if (converts) AppendCodeChar<F>(lookup, code, out, report);
  return converts;
}

// Converts the start of a run d[0..n) whose end is not known yet, n being
// greater than kRunTailKept, and returns how many digits were consumed; the
// rest is converted later as a run of its own (see hold_back.h).
template <Form F>
std::size_t AppendRunStart(const typename TextForm<F>::Unit* d, std::size_t n, const Lookup& lookup,
                           RunScratch& scratch, Writer<typename TextForm<F>::Unit>& out) {
  if (lookup.day_codes) {
    FindDayTakes(d, n, scratch.takes, scratch.candidates);
  } else {
    scratch.takes.clear();
  }
  std::size_t cut = n - kRunTailKept;
  for (const DayTake& t : scratch.takes) {
    if (t.pos < cut && t.pos + 5 > cut) cut = t.pos + 5;
  }
  AppendDigitsWithDays<F>(d, 0, cut, scratch.takes, out);
  return cut;
}

}  // namespace yishu::detail

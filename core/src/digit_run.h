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

#include "day_rules.h"
#include "lookup.h"
#include "text_form.h"

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

template <class Unit>
int CodeOfDigits(const Unit* d) {
  return (d[0] - '0') * 1000 + (d[1] - '0') * 100 + (d[2] - '0') * 10 + (d[3] - '0');
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
  if (!lookup.day_codes) {  // only the last four digits and the space can change
    const int row = space && n >= 4 ? lookup.row_of_code[CodeOfDigits(d + n - 4)] : 0;
    if (row != 0 && TextForm<F>::CanWrite(lookup.rows[row - 1])) {
      out.append(d, n - 4);
      TextForm<F>::AppendChar(out, lookup.rows[row - 1]);
      if (lookup.notes) [[unlikely]]
        NoteWritten(lookup, lookup.rows[row - 1].code, report);
      return true;
    }
    if (row != 0) NoteUnwritable(report, lookup.rows[row - 1].code);
    out.append(d, n);
    return false;
  }
  // Every row of a book with day codes can be written in every form.
  int row = 0;
  bool code_first = false;
  if (space && n >= 4) {
    const int code = CodeOfDigits(d + n - 4);
    row = lookup.row_of_code[code];
    code_first = row != 0 && code < kFirstCodeAfterDays;
  }
  const std::size_t day_digits = code_first ? n - 4 : n;
  FindDayTakes(d, day_digits, scratch.takes, scratch.candidates);
  const bool code_last =
      row != 0 && !code_first && (scratch.takes.empty() || scratch.takes.back().pos + 5 <= n - 4);
  const bool code = code_first || code_last;
  AppendDigitsWithDays<F>(d, 0, code ? n - 4 : n, scratch.takes, out);
  if (code) TextForm<F>::AppendChar(out, lookup.rows[row - 1]);
  return code;
}

// How many digits a run must keep when its start is converted before its end
// is known. A day key's fate depends on keys at most 31 overlaps (4 digits
// each) away, and the end of the run changes at most its last 4 digits.
inline constexpr std::size_t kRunTailKept = 256;

// Converts the start of a run d[0..n) whose end is not known yet, n being
// greater than kRunTailKept. Returns how many digits were consumed; the rest
// is converted later as a run of its own, which gives the same result: no key
// that was replaced reaches into it.
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

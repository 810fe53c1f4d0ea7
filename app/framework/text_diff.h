// The one replacement that turns a text into another: the common start and
// the common end are kept, the part between them is replaced. An edit box
// re-measures only the lines that a replacement touches, so writing a large
// text this way costs about what the changed lines cost.
#pragma once

#include <cstddef>
#include <string_view>

struct TextDiff {
  // Replace [start, beforeEnd) of the old text by [start, afterEnd) of the new.
  size_t start;
  size_t beforeEnd;
  size_t afterEnd;
};

namespace text_diff_detail {
constexpr bool IsHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool IsLowSurrogate(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
}  // namespace text_diff_detail

// Never cuts a surrogate pair: a selection boundary between its two units
// could be moved by the edit box, and the replacement would land elsewhere.
constexpr TextDiff DiffTexts(std::wstring_view before, std::wstring_view after) {
  using text_diff_detail::IsHighSurrogate;
  using text_diff_detail::IsLowSurrogate;
  const size_t shorter = before.size() < after.size() ? before.size() : after.size();
  size_t prefix = 0;
  while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
  if (prefix > 0 && IsHighSurrogate(before[prefix - 1])) --prefix;
  size_t suffix = 0;
  while (suffix < shorter - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  if (suffix > 0 && IsLowSurrogate(before[before.size() - suffix])) --suffix;
  return {prefix, before.size() - suffix, after.size() - suffix};
}

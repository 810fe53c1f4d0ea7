// The one replacement that turns a text into another: the common start and
// the common end are kept, the part between them is replaced. An edit box
// re-measures only the lines that a replacement touches, so writing a large
// text this way costs about what the changed lines cost.
#pragma once

#include <cstddef>
#include <cstring>
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

// Equal stretches are passed over a block at a time with memcmp: a large
// output changes little from one keystroke to the next, and comparing its
// 490,000 units one by one took about half a millisecond.
constexpr size_t kBlock = 256;

// How many of the first `count` units of `a` and `b` are equal.
inline size_t CommonStart(const wchar_t* a, const wchar_t* b, size_t count) {
  size_t equal = 0;
  while (count - equal >= kBlock &&
         std::memcmp(a + equal, b + equal, kBlock * sizeof(wchar_t)) == 0) {
    equal += kBlock;
  }
  while (equal < count && a[equal] == b[equal]) ++equal;
  return equal;
}

// How many of the last `count` units before `aEnd` and `bEnd` are equal.
inline size_t CommonEnd(const wchar_t* aEnd, const wchar_t* bEnd, size_t count) {
  size_t equal = 0;
  while (count - equal >= kBlock &&
         std::memcmp(aEnd - equal - kBlock, bEnd - equal - kBlock, kBlock * sizeof(wchar_t)) == 0) {
    equal += kBlock;
  }
  while (equal < count &&
         aEnd[-1 - static_cast<ptrdiff_t>(equal)] == bEnd[-1 - static_cast<ptrdiff_t>(equal)]) {
    ++equal;
  }
  return equal;
}
}  // namespace text_diff_detail

// Never cuts a surrogate pair: a selection boundary between its two units
// could be moved by the edit box, and the replacement would land elsewhere.
inline TextDiff DiffTexts(std::wstring_view before, std::wstring_view after) {
  using text_diff_detail::IsHighSurrogate;
  using text_diff_detail::IsLowSurrogate;
  const size_t shorter = before.size() < after.size() ? before.size() : after.size();
  size_t prefix = text_diff_detail::CommonStart(before.data(), after.data(), shorter);
  if (prefix > 0 && IsHighSurrogate(before[prefix - 1])) --prefix;
  size_t suffix = text_diff_detail::CommonEnd(before.data() + before.size(),
                                              after.data() + after.size(), shorter - prefix);
  if (suffix > 0 && IsLowSurrogate(before[before.size() - suffix])) --suffix;
  return {prefix, before.size() - suffix, after.size() - suffix};
}

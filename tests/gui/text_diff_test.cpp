// The replacement that the dialog makes in an edit box instead of setting its
// whole text: applied to the old text it must give the new text exactly, and
// it must be as small as the common start and end allow.
#include "framework/text_diff.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
  const char* name;
  std::wstring before, after;
  TextDiff expected;
};

std::wstring Apply(const std::wstring& before, const std::wstring& after, const TextDiff& diff) {
  return before.substr(0, diff.start) + after.substr(diff.start, diff.afterEnd - diff.start) +
         before.substr(diff.beforeEnd);
}

// The diff of a case applies exactly and is the expected one; `where` names
// the case in a failure.
void ExpectDiff(const Case& c, const std::string& where) {
  const TextDiff diff = DiffTexts(c.before, c.after);
  EXPECT_EQ(Apply(c.before, c.after, diff), c.after) << where;
  EXPECT_EQ(diff.start, c.expected.start) << where;
  EXPECT_EQ(diff.beforeEnd, c.expected.beforeEnd) << where;
  EXPECT_EQ(diff.afterEnd, c.expected.afterEnd) << where;
}

TEST(DiffTexts, SmallestReplacementThatGivesTheNewTextAndKeepsPairsWhole) {
  const Case cases[] = {
      {"identical", L"中文", L"中文", {2, 2, 2}},
      {"both empty", L"", L"", {0, 0, 0}},
      {"from nothing", L"", L"中文", {0, 0, 2}},
      {"to nothing", L"中文", L"", {0, 2, 0}},
      {"appended", L"中", L"中文", {1, 1, 2}},
      {"inserted at the start", L"文", L"中文", {0, 0, 1}},
      {"changed in the middle", L"中0022 文", L"中中文", {1, 6, 2}},
      {"a line break passes through", L"中\r\n2429", L"中\r\n文", {3, 7, 4}},
      // Repeats: the common start and end may not overlap.
      {"a repeat grows", L"aa", L"aaa", {2, 2, 3}},
      {"a repeat shrinks", L"abcabc", L"abc", {3, 6, 3}},
      {"one unit of a repeat deleted", L"aaaa", L"aaa", {3, 4, 3}},
      // U+1F600 and U+1F601 share their high surrogate; U+1F600 and U+1FA00
      // share their low one. The replacement must take the whole pair.
      {"same high surrogate", L"x\xD83D\xDE00y", L"x\xD83D\xDE01y", {1, 3, 3}},
      {"same low surrogate", L"x\xD83D\xDE00y", L"x\xD83E\xDE00y", {1, 3, 3}},
      {"a pair appended after a pair", L"\xD83D\xDE00", L"\xD83D\xDE00\xD83D\xDE01", {2, 2, 4}},
      {"a pair removed before a pair", L"\xD83D\xDE01\xD83D\xDE00", L"\xD83D\xDE00", {0, 2, 0}},
  };
  for (const Case& c : cases) ExpectDiff(c, c.name);
}

// Long texts are compared a block at a time: a change just before, on and
// just after a block's edge, at either end, must still be found exactly.
TEST(DiffTexts, FindsTheChangeAnywhereInALongText) {
  std::wstring text;
  for (int i = 0; i < 1000; ++i) text += static_cast<wchar_t>(L'a' + i % 23);
  for (size_t at : {size_t{0}, size_t{1}, size_t{255}, size_t{256}, size_t{257}, size_t{511},
                    size_t{512}, size_t{743}, size_t{744}, size_t{998}, size_t{999}}) {
    std::wstring changed = text;
    changed[at] = L'Z';
    std::wstring inserted = text;
    inserted.insert(at, 1, L'Z');
    std::wstring deleted = text;
    deleted.erase(at, 1);
    const Case cases[] = {
        {"changed", text, changed, {at, at + 1, at + 1}},
        {"inserted", text, inserted, {at, at, at + 1}},
        {"deleted", text, deleted, {at, at + 1, at}},
    };
    for (const Case& c : cases) ExpectDiff(c, std::string(c.name) + " at " + std::to_string(at));
  }
}

}  // namespace

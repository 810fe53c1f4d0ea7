// What the resource tests share: the program file they read, and
// comparisons that GoogleTest reports readably (EXPECT_PRED_FORMAT2(Same, ...)).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string_view>

#include "wide_text.h"

using wide_text::Utf8;

// yishu.exe's path, and the file loaded as a data file; set by main.
const wchar_t* ProgramPath();
HMODULE ProgramFile();

// A resource's bytes, or an empty view when it is missing; the neutral
// language looks up as the platform's loader does.
std::string_view ResourceBytes(HMODULE exe, const wchar_t* type, int id,
                               WORD language = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));

// Numbers compared as the unsigned values the resources store, shown in
// decimal and hexadecimal; texts shown as UTF-8.
testing::AssertionResult Same(const char* actual_expression, const char* expected_expression,
                              unsigned long long actual, unsigned long long expected);
testing::AssertionResult Same(const char* actual_expression, const char* expected_expression,
                              std::wstring_view actual, std::wstring_view expected);

// Checks on the main dialog's state, and the steps most cases begin with.
#pragma once

#include <string>

#include "app_under_test.h"
#include "harness.h"

extern const std::wstring kCodeToCharLabels[2];
extern const std::wstring kCharToCodeLabels[2];

void ExpectLabels(const AppUnderTest& app, const std::wstring& input, const std::wstring& output);
void ExpectMode(const AppUnderTest& app, int mode);
// Waits briefly for the focus to arrive at control `id`.
void ExpectFocus(const AppUnderTest& app, int id, const char* what = "focus");
void ExpectSelection(const AppUnderTest& app, long long start, long long end);

// Brings the program's dialog to the front, the focus in it; one check.
void BringToFront(const AppUnderTest& app);
void TabTo(const AppUnderTest& app, int id);
// Types into the focused box and waits until the input box shows `input`.
void TypeAndWait(const AppUnderTest& app, const std::wstring& text, const std::wstring& input);
// Clicks a mode's radio button and waits for its labels.
void SelectMode(const AppUnderTest& app, int mode);

// Steps that the GUI tests share. Each test starts its own copies of the
// program.
#pragma once

#include <functional>
#include <memory>
#include <source_location>
#include <string>
#include <vector>

#include "app_under_test.h"
#include "harness.h"

// Starts the program for a case; a failed start counts as a failed check.
std::unique_ptr<AppUnderTest> Launch(const std::wstring& arguments = L"",
                                     std::source_location where = std::source_location::current());
// Starts it and brings its dialog to the front, ready for keys.
std::unique_ptr<AppUnderTest> LaunchInFront(
    const std::wstring& arguments = L"",
    std::source_location where = std::source_location::current());

// Every way a person issues the cancel command in the main dialog.
struct CancelRoute {
  const char* name;
  void (*act)(const AppUnderTest&);
};
std::vector<CancelRoute> CancelRoutes();

// Puts `text` on the clipboard, as another program's copy would, and presses
// Ctrl+V; a clipboard that refuses it counts as a failed check.
void Paste(const std::wstring& text, std::source_location where = std::source_location::current());

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

// Every way a person issues the cancel command in the main dialog.
struct CancelRoute {
  const char* name;
  void (*act)(const AppUnderTest&);
};
std::vector<CancelRoute> CancelRoutes();

// Puts `text` on the clipboard, as another program's copy would.
bool SetClipboardText(const std::wstring& text);

// The groups of GUI checks. Each starts its own copies of the program.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app_under_test.h"
#include "harness.h"

struct Group {
  const char* name;
  void (*run)(Suite&);
};

std::vector<Group> MainDialogGroups();
std::vector<Group> AboutGroups();
std::vector<Group> UsabilityGroups();

// Starts the program for a case; a failed start counts as a failed check.
std::unique_ptr<AppUnderTest> Launch(Suite& suite, const std::wstring& arguments = L"");

// Every way a person issues the cancel command in the main dialog.
struct CancelRoute {
  const char* name;
  void (*act)(const AppUnderTest&);
};
std::vector<CancelRoute> CancelRoutes();

// Puts `text` on the clipboard, as another program's copy would.
bool SetClipboardText(const std::wstring& text);

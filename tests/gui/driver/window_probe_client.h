// Asks window_probe.dll, loaded into the program, about its main dialog.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app_under_test.h"

struct MenuItem {
  UINT id;
  UINT type;  // MFT_ flags
  std::wstring text;
};

struct WindowReport {
  std::vector<MenuItem> systemMenu;  // in order
  ULONGLONG bigIcon = 0, smallIcon = 0, dragIcon = 0;
  bool answered = false;
};

// The main dialog's system menu and icons; `answered` false (with the
// reason in `error`) if the probe could not be asked.
WindowReport ProbeWindow(const AppUnderTest& app, std::string& error);

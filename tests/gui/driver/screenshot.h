// Saves what the screen shows of a window as a 24-bit BMP, for people to look
// at (the test scripts convert it to PNG). The checks never look at pixels.
#pragma once

#include <windows.h>

#include <string>

bool SaveScreenshot(HWND window, const std::wstring& path);

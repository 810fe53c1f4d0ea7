// What the platform sees at a moment: which window is where, which is in
// front, where the focus and the pointer are. Failure messages print it, so
// that a failed check tells whether the program or the input went wrong.
#pragma once

#include <windows.h>

#include <string>

// "Button "退出" #1 of process 52, (450,400)-(530,424), disabled".
std::string DescribeWindow(HWND window);

// The foreground window, the focus, the pointer and the window under it.
std::string DescribeDesktop();

// The window that a click at screen point `point` reaches. Asked from
// another process, the platform's WindowFromPoint stops at a group box; a
// click passes through it (it is transparent to hit tests) to what it frames.
HWND ClickTargetAt(POINT point);

// True when `window` is the window that a click at screen point `point`
// reaches, and it and its top-level window take input.
bool TakesInputAt(HWND window, POINT point);

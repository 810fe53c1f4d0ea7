// Keyboard and mouse input as a person produces it, through SendInput: it
// goes to whatever window has the focus, exactly like real typing. Before
// acting, each step waits for the state it depends on (the window in front,
// the target under the pointer) and says what stood in the way if it never
// came.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string_view>

// Types text character by character (KEYEVENTF_UNICODE: Chinese, and
// characters outside the BMP as their two UTF-16 units). "\n" presses Enter.
void Type(std::wstring_view text);

// Presses and releases `key`, with the `modifiers` held down around it.
void Press(WORD key, std::initializer_list<WORD> modifiers = {});

// Clicks the left mouse button at the centre of `window`, or at screen point
// `point` inside it (a spot on its title bar, say). Clicks only once `window`
// is the enabled window the platform finds at that point; otherwise clicks
// nothing, prints what is there instead and returns false.
bool Click(HWND window);
bool ClickAt(HWND window, POINT point);

// Makes top-level `window` the foreground window and waits until the
// keyboard focus is inside it, so that keys typed next reach it; false (and
// printed why) if that doesn't happen.
bool Activate(HWND window);

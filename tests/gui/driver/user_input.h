// Keyboard and mouse input as a person produces it, through SendInput: it
// goes to whatever window has the focus, exactly like real typing.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string_view>

// Types text character by character (KEYEVENTF_UNICODE: Chinese, and
// characters outside the BMP as their two UTF-16 units). "\n" presses Enter.
void Type(std::wstring_view text);

// Presses and releases `key`, with the `modifiers` held down around it.
void Press(WORD key, std::initializer_list<WORD> modifiers = {});

// Clicks the left mouse button at the centre of `window`, or at screen point x, y.
void Click(HWND window);
void ClickAt(int x, int y);

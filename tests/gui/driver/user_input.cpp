#include "user_input.h"

#include <cstdio>
#include <string>
#include <vector>

#include "desktop.h"
#include "harness.h"

namespace {

INPUT Key(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

INPUT Unit(wchar_t unit, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wScan = unit;
  input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
  return input;
}

void Send(std::vector<INPUT>& inputs) {
  if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// A mouse event at `point`. Button events carry the position too: without
// it they land wherever the pointer last was, and under Wine that can be a
// stale position the X server reports after a window is raised.
INPUT Mouse(POINT point, DWORD button) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(point.x, 65535, width - 1);
  input.mi.dy = MulDiv(point.y, 65535, height - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | button;
  return input;
}

std::string At(POINT point) {
  char text[32];
  std::snprintf(text, sizeof text, "(%ld,%ld)", point.x, point.y);
  return text;
}

bool HasFocusInside(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return false;
  return info.hwndActive == window && (info.hwndFocus == window || IsChild(window, info.hwndFocus));
}

}  // namespace

void Type(std::wstring_view text) {
  std::vector<INPUT> inputs;
  for (wchar_t unit : text) {
    if (unit == L'\n') {
      inputs.push_back(Key(VK_RETURN, false));
      inputs.push_back(Key(VK_RETURN, true));
    } else {
      inputs.push_back(Unit(unit, false));
      inputs.push_back(Unit(unit, true));
    }
  }
  Send(inputs);
}

void Press(WORD key, std::initializer_list<WORD> modifiers) {
  std::vector<INPUT> inputs;
  for (WORD modifier : modifiers) inputs.push_back(Key(modifier, false));
  inputs.push_back(Key(key, false));
  inputs.push_back(Key(key, true));
  for (auto it = modifiers.end(); it != modifiers.begin();) inputs.push_back(Key(*--it, true));
  Send(inputs);
}

bool ClickAt(HWND window, POINT point) {
  // Right after a window is brought to the front, the stacking order can
  // still show another window at the point for a few milliseconds.
  if (!WaitFor([&] { return TakesInputAt(window, point); })) {
    Print("  input: no click on " + DescribeWindow(window) + " at " + At(point) +
          ": the window there is " + DescribeWindow(ClickTargetAt(point)) + "; " +
          DescribeDesktop());
    return false;
  }
  INPUT move = Mouse(point, 0);
  SendInput(1, &move, sizeof move);
  POINT cursor{};
  if (!WaitFor([&] { return GetCursorPos(&cursor) && cursor.x == point.x && cursor.y == point.y; },
               1000)) {
    Print("  input: the pointer went to " + At(cursor) + ", not " + At(point));
  }
  INPUT click[2] = {Mouse(point, MOUSEEVENTF_LEFTDOWN), Mouse(point, MOUSEEVENTF_LEFTUP)};
  SendInput(2, click, sizeof(INPUT));
  return true;
}

bool Click(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return ClickAt(window, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

bool Activate(HWND window) {
  SetForegroundWindow(window);
  if (WaitFor([&] { return GetForegroundWindow() == window && HasFocusInside(window); }, 2000)) {
    return true;
  }
  Print("  input: " + DescribeWindow(window) + " did not come to the front with the focus in it; " +
        DescribeDesktop());
  return false;
}

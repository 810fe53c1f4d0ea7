#include "desktop.h"

#include "harness.h"

namespace {

// A short text: the caption of a top-level window, or a control's text,
// asked with a short timeout (a hung program must not hang the report).
std::wstring ShortText(HWND window) {
  wchar_t text[64] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 200,
                      &copied);
  return std::wstring(text, copied < 64 ? copied : 63);
}

}  // namespace

std::string DescribeWindow(HWND window) {
  if (!window) return "no window";
  if (!IsWindow(window)) return "a window that no longer exists";
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  RECT rect{};
  GetWindowRect(window, &rect);
  std::string out = Utf8(className) + " " + Printable(ShortText(window));
  if (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) {
    out += " #" + std::to_string(GetDlgCtrlID(window));
  }
  out += " of process " + std::to_string(process) + ", (" + std::to_string(rect.left) + "," +
         std::to_string(rect.top) + ")-(" + std::to_string(rect.right) + "," +
         std::to_string(rect.bottom) + ")";
  if (!IsWindowVisible(window)) out += ", hidden";
  if (!IsWindowEnabled(window)) out += ", disabled";
  return out;
}

std::string DescribeDesktop() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  HWND foreground = GetForegroundWindow();
  HWND focus = nullptr;
  if (foreground && GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &info)) {
    focus = info.hwndFocus;
  }
  POINT cursor{};
  GetCursorPos(&cursor);
  return "foreground: " + DescribeWindow(foreground) + "; focus: " + DescribeWindow(focus) +
         "; pointer at (" + std::to_string(cursor.x) + "," + std::to_string(cursor.y) + ") over " +
         DescribeWindow(ClickTargetAt(cursor));
}

bool IsGroupBox(HWND window) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  return _wcsicmp(className, L"Button") == 0 &&
         (GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

HWND ClickTargetAt(POINT point) {
  HWND hit = WindowFromPoint(point);
  while (hit && IsGroupBox(hit)) {
    HWND below = GetWindow(hit, GW_HWNDNEXT);
    for (; below; below = GetWindow(below, GW_HWNDNEXT)) {
      RECT rect{};
      GetWindowRect(below, &rect);
      if (IsWindowVisible(below) && PtInRect(&rect, point)) break;
    }
    hit = below ? below : GetParent(hit);
  }
  return hit;
}

bool TakesInputAt(HWND window, POINT point) {
  return window && ClickTargetAt(point) == window && IsWindowVisible(window) &&
         IsWindowEnabled(window) && IsWindowEnabled(GetAncestor(window, GA_ROOT));
}

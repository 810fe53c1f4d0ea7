// window_probe.dll: answers questions about a window from inside the
// program that owns it, where another process gets nothing: GetSystemMenu
// on another process's window is NULL, and Wine does not carry WM_GETICON
// or WM_QUERYDRAGICON across processes. The driver hooks the program's
// thread with WindowProbeHook (WH_CALLWNDPROC) and sends the window the
// registered message kWindowProbeMessage; the hook, now running in the
// program, writes its answer as UTF-16 lines into the shared memory named
// WindowProbeMappingName(program's process id):
//   menu<TAB>id<TAB>type<TAB>text     one line per system-menu item, in order
//   icons<TAB>big<TAB>small<TAB>drag  the window's icon handles (WM_GETICON
//                                     ICON_BIG, ICON_SMALL; WM_QUERYDRAGICON)
#pragma once

#include <windows.h>

#include <string>

inline constexpr wchar_t kWindowProbeMessage[] = L"yishu.window-probe";
inline constexpr DWORD kWindowProbeBytes = 64 * 1024;

inline std::wstring WindowProbeMappingName(DWORD processId) {
  return L"Local\\yishu-window-probe-" + std::to_wstring(processId);
}

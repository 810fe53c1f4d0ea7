#include "window_probe.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "handler_timer.h"

namespace {

std::wstring DescribeSystemMenu(HWND window) {
  std::wstring lines;
  HMENU menu = GetSystemMenu(window, FALSE);
  if (!menu) return lines;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    item.dwTypeData = text;
    item.cch = 255;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item)) continue;
    lines += L"menu\t" + std::to_wstring(item.wID) + L"\t" + std::to_wstring(item.fType) + L"\t" +
             text + L"\n";
  }
  return lines;
}

std::wstring DescribeIcons(HWND window) {
  auto handle = [&](UINT message, WPARAM wParam) {
    return std::to_wstring(
        static_cast<unsigned long long>(SendMessageW(window, message, wParam, 0)));
  };
  return L"icons\t" + handle(WM_GETICON, ICON_BIG) + L"\t" + handle(WM_GETICON, ICON_SMALL) +
         L"\t" + handle(WM_QUERYDRAGICON, 0) + L"\n";
}

void Answer(HWND window) {
  const std::wstring lines = DescribeSystemMenu(window) + DescribeIcons(window);
  HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE,
                                    WindowProbeMappingName(GetCurrentProcessId()).c_str());
  if (!mapping) return;
  if (void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, kWindowProbeBytes)) {
    const size_t bytes = std::min<size_t>((lines.size() + 1) * sizeof(wchar_t), kWindowProbeBytes);
    std::memcpy(view, lines.c_str(), bytes);
    static_cast<wchar_t*>(view)[kWindowProbeBytes / sizeof(wchar_t) - 1] = L'\0';
    UnmapViewOfFile(view);
  }
  CloseHandle(mapping);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    WindowProbeHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    static const UINT probe = RegisterWindowMessageW(kWindowProbeMessage);
    if (message->message == probe) Answer(message->hwnd);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The handler timer (handler_timer.h).
namespace {

HandlerTimes* Times() {
  static HandlerTimes* times = [] {
    HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE,
                                      HandlerTimerMappingName(GetCurrentProcessId()).c_str());
    void* view =
        mapping ? MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(HandlerTimes)) : nullptr;
    // The view keeps the memory; the handle is no longer needed.
    if (mapping) CloseHandle(mapping);
    return static_cast<HandlerTimes*>(view);
  }();
  return times;
}

bool IsTimedNotification(UINT message, WPARAM wParam) {
  const HandlerTimes* times = Times();
  return message == WM_COMMAND && times && LOWORD(wParam) == times->controlId &&
         HIWORD(wParam) == times->notification;
}

int timedDepth = 0;
LARGE_INTEGER timedStart;

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    HandlerTimerHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (IsTimedNotification(message->message, message->wParam) && timedDepth++ == 0) {
      QueryPerformanceCounter(&timedStart);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK
    HandlerTimerReturnHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (IsTimedNotification(message->message, message->wParam) && timedDepth > 0 &&
        --timedDepth == 0) {
      LARGE_INTEGER end, frequency;
      QueryPerformanceCounter(&end);
      QueryPerformanceFrequency(&frequency);
      HandlerTimes* times = Times();
      const LONG index = times->count;
      if (index < static_cast<LONG>(std::size(times->milliseconds))) {
        times->milliseconds[index] = 1000.0 *
                                     static_cast<double>(end.QuadPart - timedStart.QuadPart) /
                                     static_cast<double>(frequency.QuadPart);
        times->count = index + 1;
      }
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

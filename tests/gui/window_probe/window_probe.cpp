#include "window_probe.h"

#include <algorithm>
#include <cstring>

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

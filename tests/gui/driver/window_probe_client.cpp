#include "window_probe_client.h"

#include <sstream>

#include "harness.h"
#include "window_probe.h"

namespace {

std::wstring DirectoryOfThisProgram() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring directory = path;
  return directory.substr(0, directory.find_last_of(L"\\/") + 1);
}

// Splits at the first `count - 1` tabs; the last field keeps any further
// tabs (menu texts have them: "&Close\tAlt+F4").
std::vector<std::wstring> SplitTabs(const std::wstring& line, size_t count) {
  std::vector<std::wstring> fields;
  size_t start = 0;
  for (;;) {
    const size_t tab = fields.size() + 1 < count ? line.find(L'\t', start) : std::wstring::npos;
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::wstring::npos) return fields;
    start = tab + 1;
  }
}

WindowReport Parse(const std::wstring& text) {
  WindowReport report;
  std::wistringstream in(text);
  std::wstring line;
  while (std::getline(in, line)) {
    const std::vector<std::wstring> fields = SplitTabs(line, 4);
    if (fields[0] == L"menu" && fields.size() == 4) {
      report.systemMenu.push_back({static_cast<UINT>(std::stoul(fields[1])),
                                   static_cast<UINT>(std::stoul(fields[2])), fields[3]});
    } else if (fields[0] == L"icons" && fields.size() == 4) {
      report.bigIcon = std::stoull(fields[1]);
      report.smallIcon = std::stoull(fields[2]);
      report.dragIcon = std::stoull(fields[3]);
      report.answered = true;
    }
  }
  return report;
}

}  // namespace

WindowReport ProbeWindow(const AppUnderTest& app, std::string& error) {
  WindowReport report;
  HMODULE probe = LoadLibraryW((DirectoryOfThisProgram() + L"window_probe.dll").c_str());
  // Through void*: a FARPROC is a placeholder for the function's real type.
  auto hookProc = probe ? reinterpret_cast<HOOKPROC>(
                              reinterpret_cast<void*>(GetProcAddress(probe, "WindowProbeHook")))
                        : nullptr;
  if (!hookProc) {
    error = "window_probe.dll not found beside the driver";
    if (probe) FreeLibrary(probe);
    return report;
  }
  DWORD processId = 0;
  GetWindowThreadProcessId(app.dialog(), &processId);
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      kWindowProbeBytes, WindowProbeMappingName(processId).c_str());
  void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, kWindowProbeBytes) : nullptr;
  HHOOK hook = view ? SetWindowsHookExW(WH_CALLWNDPROC, hookProc, probe, app.thread()) : nullptr;
  if (hook) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(app.dialog(), RegisterWindowMessageW(kWindowProbeMessage), 0, 0,
                        SMTO_ABORTIFHUNG, 5000, &ignored);
    UnhookWindowsHookEx(hook);
    report = Parse(static_cast<const wchar_t*>(view));
    if (!report.answered) error = "the probe gave no answer";
  } else {
    error = "cannot hook the program (error " + std::to_string(GetLastError()) + ")";
  }
  if (view) UnmapViewOfFile(view);
  if (mapping) CloseHandle(mapping);
  FreeLibrary(probe);
  return report;
}

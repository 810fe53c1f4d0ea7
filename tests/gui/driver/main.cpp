// yishu_gui_driver: drives yishu.exe from outside, as a person would, and
// checks what its windows show.
//
//   yishu_gui_driver PROGRAM.exe [--artifacts DIR] [GROUP...]
//   yishu_gui_driver PROGRAM.exe --bench [CHARACTERS]
//
// Runs the named groups (all if none are named); exits 0 when every check
// passed. --bench measures keystrokes on a large input instead.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <string>
#include <vector>

#include "groups.h"
#include "keystroke_bench.h"
#include "resource.h"
#include "user_input.h"

std::unique_ptr<AppUnderTest> Launch(Suite& suite, const std::wstring& arguments) {
  std::string error;
  auto app = AppUnderTest::Start(suite.program(), arguments, error);
  suite.Expect(app != nullptr, "the program starts", error);
  return app;
}

std::vector<CancelRoute> CancelRoutes() {
  return {
      {"Escape in the input box", [](const AppUnderTest&) { Press(VK_ESCAPE); }},
      {"Escape in the output box",
       [](const AppUnderTest& app) {
         app.TabTo(IDC_OUTPUT);
         Press(VK_ESCAPE);
       }},
      {"Escape on the Exit button",
       [](const AppUnderTest& app) {
         app.TabTo(IDOK);
         Press(VK_ESCAPE);
       }},
      {"clicking About", [](const AppUnderTest& app) { Click(app.Item(IDCANCEL)); }},
      {"Alt+F4", [](const AppUnderTest&) { Press(VK_F4, {VK_MENU}); }},
      {"the close box",
       [](const AppUnderTest& app) {
         POINT box{};
         if (app.FindCloseBox(box)) {
           ClickAt(app.dialog(), box);
         } else {
           Print("  input: no close box found on the title bar");
         }
       }},
      {"the system menu's Close (Alt+Space, C)",
       [](const AppUnderTest&) {
         Press(VK_SPACE, {VK_MENU});
         Press('C');
       }},
  };
}

bool SetClipboardText(const std::wstring& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool ok = false;
  if (memory) {
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!ok) GlobalFree(memory);
  }
  CloseClipboard();
  return ok;
}

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    Print("usage: yishu_gui_driver PROGRAM.exe [--artifacts DIR] [--bench] [GROUP...]");
    return 2;
  }
  std::wstring artifacts;
  bool bench = false;
  size_t benchCharacters = 100000;
  std::vector<std::string> wanted;
  for (int i = 2; i < argc; ++i) {
    std::wstring arg = argv[i];
    if (arg == L"--artifacts" && i + 1 < argc) {
      artifacts = argv[++i];
    } else if (arg == L"--bench") {
      bench = true;
      if (i + 1 < argc && iswdigit(argv[i + 1][0]))
        benchCharacters = std::wcstoul(argv[++i], nullptr, 10);
    } else {
      wanted.push_back(Utf8(arg));
    }
  }
  if (!artifacts.empty()) CreateDirectoryW(artifacts.c_str(), nullptr);  // may exist already
  Suite suite(argv[1], artifacts);
  if (bench) return RunKeystrokeBench(suite, benchCharacters);

  std::vector<Group> groups = MainDialogGroups();
  for (const Group& group : AboutGroups()) groups.push_back(group);
  for (const Group& group : UsabilityGroups()) groups.push_back(group);
  for (const std::string& name : wanted) {
    bool known = false;
    for (const Group& group : groups) known = known || name == group.name;
    if (!known) {
      Print("unknown group: " + name);
      return 2;
    }
  }

  const ULONGLONG started = GetTickCount64();
  for (const Group& group : groups) {
    bool run = wanted.empty();
    for (const std::string& name : wanted) run = run || name == group.name;
    if (!run) continue;
    const int checksBefore = suite.checks();
    const int failuresBefore = suite.failures();
    const ULONGLONG groupStarted = GetTickCount64();
    group.run(suite);
    const int failed = suite.failures() - failuresBefore;
    Print(std::string(failed ? "FAILED " : "ok     ") + group.name + ": " +
          std::to_string(suite.checks() - checksBefore) + " checks, " + std::to_string(failed) +
          " failed, " + std::to_string(GetTickCount64() - groupStarted) + " ms");
  }
  Print(std::to_string(suite.checks()) + " checks, " + std::to_string(suite.failures()) +
        " failed, " + std::to_string(GetTickCount64() - started) + " ms");
  return suite.failures() == 0 ? 0 : 1;
}

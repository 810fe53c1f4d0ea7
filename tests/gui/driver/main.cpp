// yishu_gui_driver: drives yishu.exe from outside, as a person would, and
// checks what its windows show. GoogleTest runs the tests.
//
//   yishu_gui_driver PROGRAM.exe [--artifacts DIR] [--gtest_filter=...]
//   yishu_gui_driver PROGRAM.exe --bench [CHARACTERS]
//
// Runs the tests (MainDialog.*, About.*); exits 0 when every check passed.
// --bench measures keystrokes on a large input instead.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <string>
#include <vector>

#include "common_steps.h"
#include "dialog_checks.h"
#include "keystroke_bench.h"
#include "resource.h"
#include "user_input.h"

std::unique_ptr<AppUnderTest> Launch(const std::wstring& arguments, std::source_location where) {
  std::string error;
  auto app = AppUnderTest::Start(Settings().program, arguments, error);
  Expect(app != nullptr, "the program starts", error, where);
  return app;
}

std::unique_ptr<AppUnderTest> LaunchInFront(const std::wstring& arguments,
                                            std::source_location where) {
  auto app = Launch(arguments, where);
  if (app) BringToFront(*app);
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

namespace {

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

}  // namespace

void Paste(const std::wstring& text, std::source_location where) {
  Expect(SetClipboardText(text), "clipboard set", {}, where);
  Press('V', {VK_CONTROL});
}

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);  // takes out the --gtest_ options
  if (argc < 2) {
    Print(
        "usage: yishu_gui_driver PROGRAM.exe [--artifacts DIR] [--bench [CHARACTERS]] "
        "[--gtest_filter=...]");
    return 2;
  }
  Settings().program = argv[1];
  bool bench = false;
  size_t benchCharacters = 100000;
  for (int i = 2; i < argc; ++i) {
    std::wstring arg = argv[i];
    if (arg == L"--artifacts" && i + 1 < argc) {
      Settings().artifacts = argv[++i];
    } else if (arg == L"--bench") {
      bench = true;
      if (i + 1 < argc && iswdigit(argv[i + 1][0]))
        benchCharacters = std::wcstoul(argv[++i], nullptr, 10);
    } else {
      Print("unknown argument: " + Utf8(arg));
      return 2;
    }
  }
  const std::wstring& artifacts = Settings().artifacts;
  if (!artifacts.empty()) CreateDirectoryW(artifacts.c_str(), nullptr);  // may exist already
  if (bench) return RunKeystrokeBench(benchCharacters);

  const int status = RUN_ALL_TESTS();
  Print(std::to_string(CheckCount()) + " checks, " + std::to_string(FailureCount()) + " failed");
  return status;
}

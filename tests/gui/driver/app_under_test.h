// One running copy of yishu.exe, started and watched from outside: its
// windows are found by process and thread, and its controls read with
// cross-process messages, as any other program would see them.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <utility>

class AppUnderTest {
 public:
  // Starts the program with `arguments` and waits until its dialog is fully
  // built; null (with the reason in `error`) if it isn't within a few seconds.
  static std::unique_ptr<AppUnderTest> Start(const std::wstring& program,
                                             const std::wstring& arguments, std::string& error);
  ~AppUnderTest();
  AppUnderTest(const AppUnderTest&) = delete;
  AppUnderTest& operator=(const AppUnderTest&) = delete;

  HWND dialog() const { return dialog_; }
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }
  DWORD thread() const { return threadId_; }

  std::wstring Text(int id) const { return TextOf(Item(id)); }
  bool Checked(int id) const;
  // The selection of an edit box as (start, end); (-1, -1) if unreadable.
  std::pair<long long, long long> Selection(int id) const;
  HWND Focus() const;
  // The dialog identifier of the focused control, or 0.
  int FocusId() const;

  // A visible dialog box of the program other than the main dialog, or null;
  // and how many there are.
  HWND FindOtherDialog() const;
  int CountOtherDialogs() const;

  bool Running() const;
  // Waits until the process has ended; its exit code in `exitCode`.
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr) const;

  // Makes the main dialog the foreground window with the focus in it, as a
  // click on it would; false (printed why) if it doesn't get there.
  bool Activate() const;

  // Moves the main dialog beside `other`'s window, so that the two don't
  // overlap; false if the screen has no room for that.
  bool MoveBeside(HWND other) const;

  // Presses Tab until control `id` has the focus; false if it never does.
  bool TabTo(int id) const;

  // The screen point of the main dialog's close box, found by asking the
  // window what lies under points along its title bar.
  bool FindCloseBox(POINT& point) const;

  static std::wstring TextOf(HWND window);

 private:
  AppUnderTest() = default;

  PROCESS_INFORMATION process_{};
  DWORD threadId_ = 0;
  HWND dialog_ = nullptr;
};

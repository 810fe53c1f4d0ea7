#include "app_under_test.h"

#include "harness.h"
#include "resource.h"
#include "user_input.h"

namespace {

constexpr DWORD kMessageTimeoutMs = 3000;

bool IsDialog(HWND window) {
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  return std::wstring(className) == L"#32770";
}

struct FindState {
  HWND except;
  HWND found;
  int count;
};

BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM param) {
  auto* state = reinterpret_cast<FindState*>(param);
  if (window != state->except && IsWindowVisible(window) && IsDialog(window)) {
    state->found = window;
    ++state->count;
  }
  return TRUE;
}

}  // namespace

std::unique_ptr<AppUnderTest> AppUnderTest::Start(const std::wstring& program,
                                                  const std::wstring& arguments,
                                                  std::string& error) {
  std::unique_ptr<AppUnderTest> app(new AppUnderTest);
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  // Under Wine, error 1359 (an internal error) means that the new process
  // died while the loader was still starting it and left exit code 0: a
  // failure of the platform under memory or CPU pressure, not of the
  // program, which never ran. Such a start is tried again, a few times.
  constexpr int kAttempts = 3;
  for (int attempt = 1;; ++attempt) {
    if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &app->process_)) {
      break;
    }
    const DWORD code = GetLastError();
    error = "cannot start " + Utf8(program) + " (error " + std::to_string(code) + ")";
    if (code != ERROR_INTERNAL_ERROR || attempt == kAttempts) return nullptr;
    Print("  note: " + error + ", attempt " + std::to_string(attempt) + " of " +
          std::to_string(kAttempts) + "; starting it again");
    error.clear();
  }
  app->threadId_ = app->process_.dwThreadId;
  WaitForInputIdle(app->process_.hProcess, 10000);
  // The caption can exist before the controls: wait for the last control.
  const bool built = WaitFor(
      [&] {
        FindState state{nullptr, nullptr, 0};
        EnumThreadWindows(app->threadId_, FindVisibleDialog, reinterpret_cast<LPARAM>(&state));
        if (state.found && GetDlgItem(state.found, IDC_OUTPUT_LABEL)) {
          app->dialog_ = state.found;
          return true;
        }
        return false;
      },
      10000);
  if (!built) {
    error = "the dialog did not appear";
    return nullptr;
  }
  return app;
}

AppUnderTest::~AppUnderTest() {
  if (Running()) {
    // A check failed midway: end the copy this driver started, by its handle.
    TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, 5000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

std::wstring AppUnderTest::TextOf(HWND window) {
  if (!window) return L"<no window>";
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                           &length)) {
    return L"<no answer>";
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied)) {
    return L"<no answer>";
  }
  text.resize(copied);
  return text;
}

bool AppUnderTest::Checked(int id) const {
  DWORD_PTR state = 0;
  SendMessageTimeoutW(Item(id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &state);
  return state == BST_CHECKED;
}

std::pair<long long, long long> AppUnderTest::Selection(int id) const {
  DWORD start = 0, end = 0;
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(Item(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                           reinterpret_cast<LPARAM>(&end), SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                           &result)) {
    return {-1, -1};
  }
  return {start, end};
}

HWND AppUnderTest::Focus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(threadId_, &info) ? info.hwndFocus : nullptr;
}

int AppUnderTest::FocusId() const {
  HWND focus = Focus();
  return focus ? GetDlgCtrlID(focus) : 0;
}

HWND AppUnderTest::FindOtherDialog() const {
  FindState state{dialog_, nullptr, 0};
  EnumThreadWindows(threadId_, FindVisibleDialog, reinterpret_cast<LPARAM>(&state));
  return state.found;
}

int AppUnderTest::CountOtherDialogs() const {
  FindState state{dialog_, nullptr, 0};
  EnumThreadWindows(threadId_, FindVisibleDialog, reinterpret_cast<LPARAM>(&state));
  return state.count;
}

bool AppUnderTest::Running() const {
  return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool AppUnderTest::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const {
  if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
  if (exitCode) GetExitCodeProcess(process_.hProcess, exitCode);
  return true;
}

bool AppUnderTest::Activate() const { return ::Activate(dialog_); }

bool AppUnderTest::MoveBeside(HWND other) const {
  RECT mine{}, theirs{};
  GetWindowRect(dialog_, &mine);
  GetWindowRect(other, &theirs);
  const int width = mine.right - mine.left;
  const int height = mine.bottom - mine.top;
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  constexpr int kGap = 8;
  POINT place{};
  if (theirs.right + kGap + width <= screenWidth) {
    place = {theirs.right + kGap, theirs.top};
  } else if (theirs.left - kGap - width >= 0) {
    place = {theirs.left - kGap - width, theirs.top};
  } else if (theirs.bottom + kGap + height <= screenHeight) {
    place = {theirs.left, theirs.bottom + kGap};
  } else if (theirs.top - kGap - height >= 0) {
    place = {theirs.left, theirs.top - kGap - height};
  } else {
    return false;
  }
  SetWindowPos(dialog_, nullptr, place.x, place.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return WaitFor([&] {
    RECT now{};
    GetWindowRect(dialog_, &now);
    return now.left == place.x && now.top == place.y;
  });
}

bool AppUnderTest::TabTo(int id) const {
  for (int i = 0; i < 8 && FocusId() != id; ++i) {
    const int before = FocusId();
    Press(VK_TAB);
    WaitFor([&] { return FocusId() != before; }, 2000);
  }
  return FocusId() == id;
}

bool AppUnderTest::FindCloseBox(POINT& point) const {
  RECT window{}, client{};
  GetWindowRect(dialog_, &window);
  GetClientRect(dialog_, &client);
  POINT clientTop{0, 0};
  ClientToScreen(dialog_, &clientTop);
  // Scan the title bar from the right, where the close box is.
  for (int y = window.top + 1; y < clientTop.y; y += 2) {
    for (int x = window.right - 2; x > window.left; x -= 2) {
      DWORD_PTR hit = 0;
      SendMessageTimeoutW(dialog_, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG,
                          kMessageTimeoutMs, &hit);
      if (hit == HTCLOSE) {
        point = {x, y};
        return true;
      }
      if (hit == HTCAPTION) break;  // past the buttons on this row
    }
  }
  return false;
}

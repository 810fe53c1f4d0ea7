// What a person meets in the first minutes beyond the conversion itself: the
// output's view following the line being typed, undoing Clear, a second copy
// that can be seen to open, and the focus after the window comes back from
// being minimized.
#include <cstdlib>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "common_steps.h"
#include "dialog_checks.h"
#include "resource.h"
#include "screenshot.h"
#include "user_input.h"

namespace {

LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 3000, &result);
  return static_cast<LRESULT>(result);
}

// Whether line `line` of an edit box lies wholly inside its client area.
bool LineInView(HWND edit, int line, std::string& detail) {
  const LRESULT start = Ask(edit, EM_LINEINDEX, line);
  const LRESULT next = Ask(edit, EM_LINEINDEX, line + 1);
  if (start < 0 || next < 0) {
    detail = "the box has no line " + std::to_string(line + 2);
    return false;
  }
  const int top = static_cast<short>(HIWORD(Ask(edit, EM_POSFROMCHAR, start)));
  const int bottom = static_cast<short>(HIWORD(Ask(edit, EM_POSFROMCHAR, next)));
  RECT client{};
  GetClientRect(edit, &client);
  detail = "line " + std::to_string(line + 1) + " at y " + std::to_string(top) + ".." +
           std::to_string(bottom) + ", client height " + std::to_string(client.bottom) +
           ", first visible line " + std::to_string(Ask(edit, EM_GETFIRSTVISIBLELINE) + 1);
  return top >= 0 && bottom > top && bottom <= client.bottom;
}

// Moves the input's caret to the end of line `line` (counted from 0) with
// the keyboard, one key at a time: each key waits until the caret has made
// its move, so that no key is sent while the box is still busy with the last.
void CaretToEndOfLine(const AppUnderTest& app, int line) {
  HWND input = app.Item(IDC_INPUT);
  auto caretLine = [&] { return Ask(input, EM_LINEFROMCHAR, static_cast<WPARAM>(-1)); };
  // Waits for `reached`; on failure the check says where the caret is instead.
  auto step = [&](const std::function<bool()>& reached, const std::string& what) {
    const bool ok = WaitFor(reached);
    const auto [start, end] = app.Selection(IDC_INPUT);
    return Expect(ok, what,
                  "selection " + std::to_string(start) + ".." + std::to_string(end) +
                      ", caret on line " + std::to_string(caretLine() + 1));
  };
  Press(VK_HOME, {VK_CONTROL});
  if (!step([&] { return app.Selection(IDC_INPUT).second == 0; }, "the caret reaches the start"))
    return;
  for (int i = 1; i <= line; ++i) {
    Press(VK_DOWN);
    if (!step([&] { return caretLine() == i; }, "the caret reaches line " + std::to_string(i + 1)))
      return;
  }
  Press(VK_END);
  const LRESULT first = Ask(input, EM_LINEINDEX, line);
  const LRESULT end = first + Ask(input, EM_LINELENGTH, first);
  step([&] { return app.Selection(IDC_INPUT).second == end; },
       "the caret reaches the end of line " + std::to_string(line + 1));
}

// Fifty lines, each a code and its number; the output's caret stays at the
// start, but its view shows the line the user is typing on.
TEST(Usability, OutputFollowsTheCaret) {
  Case("typing on line 40 of 50");
  auto app = LaunchInFront();
  if (!app) return;
  std::wstring input, output;
  for (int line = 1; line <= 50; ++line) {
    input += L"0022 " + std::to_wstring(line) + L"\r\n";
    output += L"中" + std::to_wstring(line) + L"\r\n";
  }
  Paste(input);
  ExpectEventually([&] { return app->Text(IDC_INPUT); }, input, "fifty lines pasted");
  CaretToEndOfLine(*app, 39);
  Type(L" 2429 ");
  const std::wstring line40 = L"0022 40 2429 ";
  std::wstring typed = input;
  typed.replace(typed.find(L"0022 40\r\n"), 7, line40);
  ExpectEventually([&] { return app->Text(IDC_INPUT); }, typed, "input");
  std::wstring converted = output;
  converted.replace(converted.find(L"中40\r\n"), 3, L"中40 文");
  ExpectEq(app->Text(IDC_OUTPUT), converted, "output");
  std::string detail;
  Expect(LineInView(app->Item(IDC_OUTPUT), 39, detail), "line 40 of the output in view", detail);
  const auto outputSelection = app->Selection(IDC_OUTPUT);
  Expect(outputSelection.first == 0 && outputSelection.second == 0,
         "the output's caret at the start");
  // The output's drawing is held back while it changes; it must come back.
  Expect(IsWindowVisible(app->Item(IDC_OUTPUT)), "the output box still shown");
  if (!Settings().artifacts.empty()) {
    // Paint what is waiting to be painted, so that the picture is what the
    // user sees.
    RedrawWindow(app->dialog(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Expect(SaveScreenshot(app->dialog(), Settings().artifacts + L"\\typing-on-line-40.bmp"),
           "screenshot saved");
  }

  Case("typing on line 40 again leaves the output's view where it is");
  const LRESULT topLine = Ask(app->Item(IDC_OUTPUT), EM_GETFIRSTVISIBLELINE);
  Press(VK_BACK);
  std::wstring shorter = typed;
  shorter.erase(shorter.find(line40) + line40.size() - 1, 1);
  ExpectEventually([&] { return app->Text(IDC_INPUT); }, shorter, "input");
  ExpectEq(Ask(app->Item(IDC_OUTPUT), EM_GETFIRSTVISIBLELINE), topLine,
           "the output's first visible line");

  Case("typing on line 2 brings the output's view back up");
  CaretToEndOfLine(*app, 1);
  Type(L"x");
  ExpectEventually([&] { return app->Text(IDC_INPUT).substr(0, 19); }, L"0022 1\r\n0022 2x\r\n00",
                   "input");
  Expect(LineInView(app->Item(IDC_OUTPUT), 1, detail), "line 2 of the output in view", detail);
  Expect(IsWindowVisible(app->Item(IDC_OUTPUT)), "the output box still shown");
}

// Clear is one step the input box can undo; the conversion follows the text
// that comes back.
TEST(Usability, UndoClear) {
  const struct {
    const char* name;
    int mode;
    std::wstring typed;
    std::wstring output;
    bool (*clear)(const AppUnderTest&);
  } cases[] = {
      {"clicking Clear, codes to characters", 0, L"0022 2429 \n7193 ", L"中文\r\n电",
       [](const AppUnderTest& app) { return Click(app.Item(IDC_CLEAR)); }},
      {"Enter on Clear, characters to codes", 1, L"中文", L"0022 2429 ",
       [](const AppUnderTest& app) {
         if (!app.TabTo(IDC_CLEAR)) return false;
         Press(VK_RETURN);
         return true;
       }},
  };
  for (const auto& c : cases) {
    Case(std::string("Ctrl+Z after ") + c.name);
    auto app = LaunchInFront();
    if (!app) continue;
    if (c.mode == 1) SelectMode(*app, 1);
    std::wstring input = c.typed;
    for (size_t at = 0; (at = input.find(L'\n', at)) != std::wstring::npos; at += 2)
      input.insert(at, 1, L'\r');
    TypeAndWait(*app, c.typed, input);
    Expect(c.clear(*app), "Clear pressed");
    ExpectEventually([&] { return app->Text(IDC_INPUT); }, L"", "input cleared");
    ExpectEq(app->Text(IDC_OUTPUT), L"", "output cleared");
    ExpectFocus(*app, IDC_INPUT);
    Press('Z', {VK_CONTROL});
    ExpectEventually([&] { return app->Text(IDC_INPUT); }, input, "input back");
    ExpectEq(app->Text(IDC_OUTPUT), c.output, "its conversion back");
    ExpectMode(*app, c.mode);
  }
}

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

std::string Describe(const RECT& rect) {
  return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " +
         std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top);
}

bool Inside(const RECT& rect, const RECT& area) {
  return rect.left >= area.left && rect.top >= area.top && rect.right <= area.right &&
         rect.bottom <= area.bottom;
}

// Each copy opens a step down and to the right of the one on top, as
// cascading windows do, and never leaves the screen.
TEST(Usability, CopiesCascade) {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);

  Case("a second and a third copy");
  auto first = Launch();
  if (!first) return;
  const RECT firstRect = WindowRect(first->dialog());
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  Expect(std::abs(firstRect.left + firstRect.right - screenWidth) <= 2, "the first copy is centred",
         Describe(firstRect));
  auto second = Launch();
  if (!second) return;
  const RECT secondRect = WindowRect(second->dialog());
  const long step = secondRect.left - firstRect.left;
  Expect(step > 0 && secondRect.top - firstRect.top == step,
         "the second copy opens a step down and right",
         Describe(firstRect) + " then " + Describe(secondRect));
  auto third = Launch();
  if (!third) return;
  const RECT thirdRect = WindowRect(third->dialog());
  Expect(thirdRect.left - secondRect.left == step && thirdRect.top - secondRect.top == step,
         "the third copy a step further", Describe(thirdRect));
  for (const RECT& rect : {firstRect, secondRect, thirdRect}) {
    Expect(Inside(rect, work), "on the screen", Describe(rect));
  }
  second.reset();
  third.reset();

  Case("a copy in the screen's bottom right corner");
  const int width = firstRect.right - firstRect.left;
  const int height = firstRect.bottom - firstRect.top;
  SetWindowPos(first->dialog(), nullptr, work.right - width, work.bottom - height, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Expect(WaitFor([&] { return WindowRect(first->dialog()).left == work.right - width; }),
         "moved to the corner");
  auto next = Launch();
  if (!next) return;
  const RECT nextRect = WindowRect(next->dialog());
  Expect(Inside(nextRect, work), "the new copy stays on the screen", Describe(nextRect));
  Expect(nextRect.left != work.right - width && nextRect.top != work.bottom - height,
         "not on top of the other copy", Describe(nextRect));
  next.reset();

  Case("a minimized copy is not on the screen: the next copy is centred");
  PostMessageW(first->dialog(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Expect(WaitFor([&] { return IsIconic(first->dialog()) != FALSE; }), "minimized");
  auto alone = Launch();
  if (!alone) return;
  const RECT aloneRect = WindowRect(alone->dialog());
  Expect(std::abs(aloneRect.left + aloneRect.right - screenWidth) <= 2, "centred",
         Describe(aloneRect));
}

// The About box opened while the window is minimized, then the window
// restored: the focus must be back in a control, so that typing goes
// somewhere.
TEST(Usability, FocusAfterRestore) {
  const struct {
    const char* name;
    WPARAM command;   // the system command that opens the About box
    int focusBefore;  // where the focus was before minimizing
    int focusAfter;
  } cases[] = {
      // The system menu's entry gives the focus back to where it was.
      {"the system menu's About entry", IDM_ABOUTBOX, IDC_OUTPUT, IDC_OUTPUT},
      // Closing the window is the cancel command: the focus goes to the input.
      {"Close", SC_CLOSE, IDC_OUTPUT, IDC_INPUT},
  };
  for (const auto& c : cases) {
    Case(std::string("About by ") + c.name + " while minimized, then restored");
    auto app = LaunchInFront();
    if (!app) continue;
    TypeAndWait(*app, L"0022 ", L"0022 ");
    TabTo(*app, c.focusBefore);
    PostMessageW(app->dialog(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Expect(WaitFor([&] { return IsIconic(app->dialog()) != FALSE; }), "minimized");
    PostMessageW(app->dialog(), WM_SYSCOMMAND, c.command, 0);
    HWND box = nullptr;
    Expect(WaitFor([&] { return (box = app->FindOtherDialog()) != nullptr; }),
           "the About box opens");
    if (!box) continue;
    Expect(Click(GetDlgItem(box, IDOK)), "the About box's OK clicked");
    Expect(WaitFor([&] { return !IsWindow(box); }), "the About box closes");
    PostMessageW(app->dialog(), WM_SYSCOMMAND, SC_RESTORE, 0);
    Expect(WaitFor([&] { return !IsIconic(app->dialog()); }), "restored");
    ExpectFocus(*app, c.focusAfter, "focus after restoring");
    if (c.focusAfter == IDC_INPUT) {
      Press(VK_END);
      TypeAndWait(*app, L"2429 ", L"0022 2429 ");
      ExpectEq(app->Text(IDC_OUTPUT), L"中文", "typing converts again");
    }
  }
}

}  // namespace

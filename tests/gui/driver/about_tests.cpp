// The About box, from every way of opening it; the system menu's entry and
// the system commands it answers; the minimized window's icon.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common_steps.h"
#include "dialog_checks.h"
#include "resource.h"
#include "screenshot.h"
#include "user_input.h"
#include "window_probe_client.h"

namespace {

const std::wstring kProductLine = L"译枢0.92 测试版";
const std::wstring kMenuEntry = L"关于 译枢0.92版(&A)...";

// Waits for the About box over the main dialog; null if it doesn't appear.
HWND ExpectAboutBox(const AppUnderTest& app) {
  HWND box = nullptr;
  WaitFor([&] { return (box = app.FindOtherDialog()) != nullptr; });
  if (!Expect(box != nullptr, "the About box opens")) return nullptr;
  ExpectEq(AppUnderTest::TextOf(GetDlgItem(box, IDOK)), L"确定", "its OK button");
  Expect(!IsWindowEnabled(app.dialog()), "the main dialog waits while it is open");
  return box;
}

void ExpectAboutBoxClosed(const AppUnderTest& app, HWND box) {
  Expect(WaitFor([&] { return !IsWindow(box); }), "the About box closes");
  Expect(WaitFor([&] { return IsWindowEnabled(app.dialog()) != FALSE; }),
         "the main dialog takes input again");
  Expect(app.Running(), "the program stays open");
}

const struct {
  const char* name;
  void (*act)(HWND box);
} kAboutClosings[] = {
    {"its OK button", [](HWND box) { Click(GetDlgItem(box, IDOK)); }},
    {"Enter", [](HWND) { Press(VK_RETURN); }},
    {"Escape", [](HWND) { Press(VK_ESCAPE); }},
};

// Every cancel command opens the About box; closing it leaves the dialog as
// it was, with the focus in the input box and its text selected.
TEST(About, FromEveryRoute) {
  const auto routes = CancelRoutes();
  for (size_t i = 0; i < routes.size(); ++i) {
    const auto& closing = kAboutClosings[i % std::size(kAboutClosings)];
    Case(std::string("About by ") + routes[i].name + ", closed by " + closing.name);
    auto app = LaunchInFront();
    if (!app) continue;
    SelectMode(*app, 1);
    TypeAndWait(*app, L"中文", L"中文");
    routes[i].act(*app);
    HWND box = ExpectAboutBox(*app);
    if (!box) continue;
    closing.act(box);
    ExpectAboutBoxClosed(*app, box);
    ExpectFocus(*app, IDC_INPUT);
    ExpectSelection(*app, 0, 2);
    ExpectEq(app->Text(IDC_INPUT), L"中文", "input unchanged");
    ExpectEq(app->Text(IDC_OUTPUT), L"0022 2429 ", "output unchanged");
    ExpectMode(*app, 1);
    ExpectLabels(*app, kCharToCodeLabels[0], kCharToCodeLabels[1]);
  }
}

TEST(About, BoxContents) {
  Case("the About box's contents");
  auto app = LaunchInFront();
  if (!app) return;
  Click(app->Item(IDCANCEL));
  HWND box = ExpectAboutBox(*app);
  if (!box) return;
  ExpectEq(AppUnderTest::TextOf(box), L"", "no caption");
  const LONG_PTR style = GetWindowLongPtrW(box, GWL_STYLE);
  Expect((style & WS_CAPTION) != WS_CAPTION && !(style & WS_SYSMENU),
         "no title bar and no close box");

  // The static controls, top to bottom: icon, product line, rights line,
  // the two-line maker block.
  struct Child {
    HWND window;
    RECT rect;
  };
  std::vector<Child> statics;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    if (_wcsicmp(className, L"Static") != 0) continue;
    RECT rect{};
    GetWindowRect(child, &rect);
    statics.push_back({child, rect});
  }
  std::sort(statics.begin(), statics.end(),
            [](const Child& a, const Child& b) { return a.rect.top < b.rect.top; });
  if (ExpectEq(static_cast<long long>(statics.size()), 4, "static controls")) {
    DWORD_PTR icon = 0;
    SendMessageTimeoutW(statics[0].window, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 3000, &icon);
    Expect(icon != 0, "the icon shows");
    ExpectEq(AppUnderTest::TextOf(statics[1].window), kProductLine, "product line");
    const std::wstring rights = AppUnderTest::TextOf(statics[2].window);
    Expect(!rights.empty() && rights.find(L'\n') == std::wstring::npos, "a one-line rights line",
           Printable(rights));
    const std::wstring maker = AppUnderTest::TextOf(statics[3].window);
    Expect(std::count(maker.begin(), maker.end(), L'\n') == 1, "a two-line maker block",
           Printable(maker));
    // Everything is centred in the box.
    RECT boxRect{};
    GetWindowRect(box, &boxRect);
    const long boxCentre = (boxRect.left + boxRect.right) / 2;
    for (const Child& child : statics) {
      const long centre = (child.rect.left + child.rect.right) / 2;
      Expect(std::abs(centre - boxCentre) <= 4, "centred horizontally",
             Printable(AppUnderTest::TextOf(child.window)));
    }
  }
  RECT mainRect{};
  GetWindowRect(app->dialog(), &mainRect);
  const long mainCentreX = (mainRect.left + mainRect.right) / 2;
  const long mainCentreY = (mainRect.top + mainRect.bottom) / 2;
  RECT aboutRect{};
  GetWindowRect(box, &aboutRect);
  Expect(std::abs((aboutRect.left + aboutRect.right) / 2 - mainCentreX) <= 1 &&
             std::abs((aboutRect.top + aboutRect.bottom) / 2 - mainCentreY) <= 1,
         "centred over the main dialog");
  Expect(WaitFor([&] { return app->Focus() == GetDlgItem(box, IDOK); }), "the focus is on OK");
  if (!Settings().artifacts.empty()) {
    Expect(SaveScreenshot(box, Settings().artifacts + L"\\about-box.bmp"), "screenshot saved");
  }

  Case("Escape in the About box closes it, opening nothing else");
  Press(VK_ESCAPE);
  ExpectAboutBoxClosed(*app, box);
  ExpectEq(app->CountOtherDialogs(), 0, "no other box");
}

TEST(About, SystemMenuEntry) {
  Case("the system menu ends with a separator and the About entry");
  auto app = Launch();
  if (!app) return;
  std::string error;
  const std::vector<MenuItem> items = ProbeWindow(*app, error).systemMenu;
  if (Expect(items.size() >= 3, "the system menu was read", error)) {
    const MenuItem& separator = items[items.size() - 2];
    const MenuItem& entry = items.back();
    Expect((separator.type & MFT_SEPARATOR) != 0, "a separator before the last item");
    ExpectEq(entry.text, kMenuEntry, "the last item");
    ExpectEq(entry.id, IDM_ABOUTBOX, "its command");
    bool closeBefore = false;
    for (size_t i = 0; i + 2 < items.size(); ++i)
      closeBefore = closeBefore || items[i].id == SC_CLOSE;
    Expect(closeBefore, "after the platform's own items");
  }

  Case("choosing the entry with the keyboard; the focus goes back where it was");
  BringToFront(*app);
  TypeAndWait(*app, L"0022 ", L"0022 ");
  TabTo(*app, IDC_OUTPUT);
  // Under Wine the platform's own "&About Wine" also answers to A, so the
  // entry is chosen by its place: the last item.
  Press(VK_SPACE, {VK_MENU});
  Press(VK_UP);
  Press(VK_RETURN);
  HWND box = ExpectAboutBox(*app);
  if (!box) return;
  Press(VK_RETURN);
  ExpectAboutBoxClosed(*app, box);
  ExpectFocus(*app, IDC_OUTPUT);
  ExpectEq(app->Text(IDC_INPUT), L"0022 ", "input unchanged");
  ExpectEq(app->Text(IDC_OUTPUT), L"中", "output unchanged");
}

// The four low bits of a system command are the platform's: 0x0010 to
// 0x001F all open the box, and the focus returns to the control that had it.
TEST(About, SystemCommands) {
  auto app = LaunchInFront();
  if (!app) return;
  const int focusTargets[] = {IDC_INPUT, IDC_OUTPUT, IDC_CLEAR, IDCANCEL};
  for (UINT command = 0x0010; command <= 0x001F; ++command) {
    char name[64];
    std::snprintf(name, sizeof name, "system command 0x%04X", command);
    Case(name);
    const int target = focusTargets[command % std::size(focusTargets)];
    TabTo(*app, target);
    PostMessageW(app->dialog(), WM_SYSCOMMAND, command, 0);
    HWND box = ExpectAboutBox(*app);
    if (!box) continue;
    Press(VK_ESCAPE);
    ExpectAboutBoxClosed(*app, box);
    ExpectFocus(*app, target, "the focus is back");
  }

  // Commands just outside the range do nothing. Each is followed by 0x0010:
  // exactly one box may open, and it must be the second command's.
  for (UINT command : {0x000Fu, 0x0020u}) {
    char name[64];
    std::snprintf(name, sizeof name, "system command 0x%04X opens nothing", command);
    Case(name);
    PostMessageW(app->dialog(), WM_SYSCOMMAND, command, 0);
    PostMessageW(app->dialog(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    HWND box = ExpectAboutBox(*app);
    if (!box) continue;
    WaitFor([&] { return app->CountOtherDialogs() > 1; }, 300);
    ExpectEq(app->CountOtherDialogs(), 1, "About boxes open");
    while (HWND open = app->FindOtherDialog()) {
      Activate(open);
      Press(VK_ESCAPE);
      if (!WaitFor([&] { return !IsWindow(open); })) break;
    }
  }
}

TEST(About, MinimizedIcon) {
  Case("the window's icons");
  auto app = LaunchInFront();
  if (!app) return;
  std::string error;
  WindowReport report = ProbeWindow(*app, error);
  Expect(report.answered, "the program was asked", error);
  Expect(report.bigIcon != 0, "a big icon is set");
  Expect(report.smallIcon == report.bigIcon, "the small icon is the same icon");

  Case("minimized");
  TypeAndWait(*app, L"0022 ", L"0022 ");
  PostMessageW(app->dialog(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Expect(WaitFor([&] { return IsIconic(app->dialog()) != FALSE; }), "the window is minimized");
  report = ProbeWindow(*app, error);
  Expect(report.answered && report.dragIcon == report.bigIcon && report.dragIcon != 0,
         "dragging it shows the window's icon", error);
  if (!Settings().artifacts.empty()) {
    SaveScreenshot(app->dialog(), Settings().artifacts + L"\\minimized.bmp");
  }
  PostMessageW(app->dialog(), WM_SYSCOMMAND, SC_RESTORE, 0);
  Expect(WaitFor([&] { return !IsIconic(app->dialog()); }), "restored");
  ExpectEq(app->Text(IDC_INPUT), L"0022 ", "input unchanged");
  ExpectEq(app->Text(IDC_OUTPUT), L"中", "output unchanged");
  Expect(app->Running(), "still running");
}

}  // namespace

// The conversion dialog, driven as a person uses it: typing, clicking the
// radio buttons and buttons, the keyboard's dialog navigation.
#include <cstdlib>
#include <functional>

#include <gtest/gtest.h>

#include "common_steps.h"
#include "dialog_checks.h"
#include "resource.h"
#include "screenshot.h"
#include "user_input.h"

namespace {

TEST(MainDialog, StartUp) {
  const struct {
    const char* name;
    std::wstring arguments;
  } cases[] = {
      {"start without arguments", L""},
      {"arguments are ignored", L"0022 2429 /mode=1 --help \"C:\\codes.txt\""},
  };
  for (const auto& c : cases) {
    Case(c.name);
    auto app = Launch(c.arguments);
    if (!app) continue;
    ExpectEq(AppUnderTest::TextOf(app->dialog()), L"译枢0.92测试版", "caption");
    ExpectEq(app->Text(IDC_INPUT), L"", "input");
    ExpectEq(app->Text(IDC_OUTPUT), L"", "output");
    ExpectMode(*app, 0);
    ExpectLabels(*app, L"输入", L"输出");
    ExpectFocus(*app, IDC_INPUT);
    RECT rect{};
    GetWindowRect(app->dialog(), &rect);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    Expect(std::abs(rect.left + rect.right - screenWidth) <= 2, "centred on the screen",
           "left " + std::to_string(rect.left) + ", right " + std::to_string(rect.right));
    const struct {
      int id;
      const wchar_t* caption;
    } captions[] = {{IDOK, L"退出"},
                    {IDCANCEL, L"关于"},
                    {IDC_CLEAR, L"清除"},
                    {IDC_CODE_TO_CHAR, L"电报码->汉字"},
                    {IDC_CHAR_TO_CODE, L"汉字->电报码"}};
    for (const auto& caption : captions) {
      ExpectEq(app->Text(caption.id), caption.caption, "caption of a control");
    }
    BringToFront(*app);
    TypeAndWait(*app, L"0022 ", L"0022 ");
    ExpectEq(app->Text(IDC_OUTPUT), L"中", "converts");
  }
}

TEST(MainDialog, TwoCopies) {
  Case("two copies run side by side");
  auto first = Launch();
  auto second = Launch();
  if (!first || !second) return;
  Expect(first->dialog() != second->dialog(), "two dialogs");
  // Side by side, a click meant for one copy cannot land on the other, in
  // whatever order the platform stacks them at the moment of the click.
  Expect(second->MoveBeside(first->dialog()), "the second copy moved beside the first");
  BringToFront(*first);
  TypeAndWait(*first, L"0022 ", L"0022 ");
  BringToFront(*second);
  TypeAndWait(*second, L"2429 ", L"2429 ");
  ExpectEq(first->Text(IDC_OUTPUT), L"中", "first output");
  ExpectEq(second->Text(IDC_OUTPUT), L"文", "second output");
  Expect(Click(second->Item(IDOK)), "the second copy's Exit clicked");
  Expect(second->WaitForExit(5000), "Exit ends the second copy");
  Expect(first->Running(), "the first copy keeps running");
  ExpectEq(first->Text(IDC_INPUT), L"0022 ", "first input");
}

// Every change of the input converts all of it; the caret stays where the
// user put it, since the unchanged input is never written back.
TEST(MainDialog, LiveConversion) {
  Case("live conversion");
  auto app = LaunchInFront();
  if (!app) return;
  const struct {
    const char* name;
    std::function<void()> act;
    std::wstring input;
    std::wstring output;
    long long caret;
  } steps[] = {
      {"four digits stay digits", [] { Type(L"0022"); }, L"0022", L"0022", 4},
      {"the space converts them", [] { Type(L" "); }, L"0022 ", L"中", 5},
      {"a second code", [] { Type(L"2429 "); }, L"0022 2429 ", L"中文", 10},
      {"deleting the space", [] { Press(VK_BACK); }, L"0022 2429", L"中2429", 9},
      {"Enter inserts a line break that passes through", [] { Type(L"\n7193 "); },
       L"0022 2429\r\n7193 ", L"中2429\r\n电", 16},
      {"typing at the start keeps the caret there",
       [] {
         Press(VK_HOME, {VK_CONTROL});
         Type(L"0001 ");
       },
       L"0001 0022 2429\r\n7193 ", L"一中2429\r\n电", 5},
      {"typing in the middle",
       [] {
         Press(VK_RIGHT);
         Press(VK_RIGHT);
         Type(L"x");
       },
       L"0001 00x22 2429\r\n7193 ", L"一00x22 2429\r\n电", 8},
      {"deleting everything empties the output",
       [] {
         Press(VK_END, {VK_CONTROL});
         Press(VK_HOME, {VK_CONTROL, VK_SHIFT});
         Press(VK_DELETE);
       },
       L"", L"", 0},
  };
  for (const auto& step : steps) {
    Case(std::string("live conversion: ") + step.name);
    step.act();
    ExpectEventually([&] { return app->Text(IDC_INPUT); }, step.input, "input");
    ExpectEq(app->Text(IDC_OUTPUT), step.output, "output");
    ExpectSelection(*app, step.caret, step.caret);
  }
}

// The radio buttons set the mode and the labels and select the input; they
// convert nothing.
TEST(MainDialog, Modes) {
  Case("switching to characters-to-codes");
  auto app = LaunchInFront();
  if (!app) return;
  TypeAndWait(*app, L"0022 ", L"0022 ");
  SelectMode(*app, 1);
  ExpectMode(*app, 1);
  ExpectEq(app->Text(IDC_INPUT), L"0022 ", "input unchanged");
  ExpectEq(app->Text(IDC_OUTPUT), L"中", "output unchanged");
  ExpectFocus(*app, IDC_INPUT);
  ExpectSelection(*app, 0, 5);

  Case("typing replaces the selected input and converts under the new mode");
  TypeAndWait(*app, L"中文", L"中文");
  ExpectEq(app->Text(IDC_OUTPUT), L"0022 2429 ", "output");

  Case("switching back to codes-to-characters");
  SelectMode(*app, 0);
  ExpectMode(*app, 0);
  ExpectEq(app->Text(IDC_OUTPUT), L"0022 2429 ", "output unchanged");
  ExpectSelection(*app, 0, 2);
  TypeAndWait(*app, L"7193 1032 ", L"7193 1032 ");
  ExpectEq(app->Text(IDC_OUTPUT), L"电报", "output");

  Case("clicking the radio that is already selected");
  auto fresh = LaunchInFront();
  if (!fresh) return;
  TypeAndWait(*fresh, L"0022 2429", L"0022 2429");
  SelectMode(*fresh, 0);
  ExpectMode(*fresh, 0);
  ExpectEq(fresh->Text(IDC_OUTPUT), L"中2429", "output unchanged");
  ExpectSelection(*fresh, 0, 9);
  ExpectFocus(*fresh, IDC_INPUT);
}

TEST(MainDialog, OutputBox) {
  Case("text typed into the output box");
  auto app = LaunchInFront();
  if (!app) return;
  TypeAndWait(*app, L"0022 ", L"0022 ");
  TabTo(*app, IDC_OUTPUT);
  Press(VK_END);
  Type(L"备注\n第二行");
  ExpectEventually([&] { return app->Text(IDC_OUTPUT); }, L"中备注\r\n第二行",
                   "typed into the output, Enter included");
  ExpectEq(app->Text(IDC_INPUT), L"0022 ", "input unchanged");

  Case("the output box's text survives a mode switch");
  SelectMode(*app, 1);
  ExpectEq(app->Text(IDC_OUTPUT), L"中备注\r\n第二行", "output");

  Case("the next change of the input replaces it");
  TypeAndWait(*app, L"文", L"文");
  ExpectEq(app->Text(IDC_OUTPUT), L"2429 ", "output");
}

// Characters the GBK code page lacks (Hangul, emoji, CJK Extension B, some
// Latin) must survive typing, pasting and conversion unchanged.
TEST(MainDialog, TextFidelity) {
  const struct {
    const char* name;
    int mode;
    bool paste;
    std::wstring text;
    std::wstring output;
  } cases[] = {
      {"typed, codes to characters", 0, false, L"한글 😀 𠀀 0022 ẞő", L"한글 😀 𠀀 中ẞő"},
      {"typed, characters to codes", 1, false, L"中😀文𠀀한ő", L"0022 😀2429 𠀀한ő"},
      {"pasted, codes to characters", 0, true, L"0022 \U0001F600\r\n2429 ẞ\U0002A6A5",
       L"中\U0001F600\r\n文ẞ\U0002A6A5"},
      {"pasted, characters to codes", 1, true, L"ẞ 中\U0001F600\r\n\U00020000文",
       L"ẞ 0022 \U0001F600\r\n\U000200002429 "},
  };
  for (const auto& c : cases) {
    Case(std::string("outside the code page, ") + c.name);
    auto app = LaunchInFront();
    if (!app) continue;
    if (c.mode == 1) SelectMode(*app, 1);
    if (c.paste) {
      Paste(c.text);
    } else {
      Type(c.text);
    }
    ExpectEventually([&] { return app->Text(IDC_INPUT); }, c.text, "input kept exactly");
    ExpectEq(app->Text(IDC_OUTPUT), c.output, "output");
  }
}

// `lines` lines, each `piece` `times` over and a line break.
std::wstring Lines(int lines, const std::wstring& piece, int times) {
  std::wstring line;
  for (int i = 0; i < times; ++i) line += piece;
  line += L"\r\n";
  std::wstring text;
  for (int i = 0; i < lines; ++i) text += line;
  return text;
}

// More lines than the boxes show: nothing may be cut off.
TEST(MainDialog, ManyLines) {
  Case("a paste longer than the input box");
  auto app = LaunchInFront();
  if (!app) return;
  const std::wstring input = Lines(12, L"0022 2429 ", 1), output = Lines(12, L"中文", 1);
  Paste(input);
  ExpectEventually([&] { return app->Text(IDC_INPUT); }, input, "all lines pasted");
  ExpectEq(app->Text(IDC_OUTPUT), output, "all lines converted");

  Case("Enter below the last visible line");
  TypeAndWait(*app, L"\n\n7193 ", input + L"\r\n\r\n7193 ");
  ExpectEq(app->Text(IDC_OUTPUT), output + L"\r\n\r\n电", "output");

  Case("Enter below the last visible line of the output box");
  TabTo(*app, IDC_OUTPUT);
  Press(VK_END, {VK_CONTROL});
  Type(L"\n\n末");
  ExpectEventually([&] { return app->Text(IDC_OUTPUT); }, output + L"\r\n\r\n电\r\n\r\n末",
                   "output");
}

// Thousands of characters: each keystroke converts the whole input, and the
// caret never jumps.
TEST(MainDialog, LargeInput) {
  Case("a large input");
  auto app = LaunchInFront();
  if (!app) return;
  SelectMode(*app, 1);
  const std::wstring input = Lines(100, L"中文电报码", 10);
  const std::wstring output = Lines(100, L"0022 2429 7193 1032 4316 ", 10);
  Paste(input);
  ExpectEventually([&] { return app->Text(IDC_INPUT); }, input, "input", 10000);
  ExpectEq(app->Text(IDC_OUTPUT), output, "output");
  const long long end = static_cast<long long>(input.size());
  ExpectSelection(*app, end, end);

  Case("a keystroke at the start of a large input");
  BringToFront(*app);
  Press(VK_HOME, {VK_CONTROL});
  TypeAndWait(*app, L"译", L"译" + input);
  ExpectEq(app->Text(IDC_OUTPUT), L"6230 " + output, "output");
  ExpectSelection(*app, 1, 1);

  // The platform's default limit is about 30,000 characters.
  Case("a paste beyond the platform's default length limit");
  auto big = LaunchInFront();
  if (!big) return;
  const std::wstring codes = Lines(500, L"0022 2429 ", 16), characters = Lines(500, L"中文", 16);
  Paste(codes);
  ExpectEventually([&] { return big->Text(IDC_INPUT); }, codes, "input", 10000);
  ExpectEq(big->Text(IDC_OUTPUT), characters, "output");
}

TEST(MainDialog, Clear) {
  Case("Clear empties both boxes and keeps the mode");
  auto app = LaunchInFront();
  if (!app) return;
  SelectMode(*app, 1);
  TypeAndWait(*app, L"中文", L"中文");
  Click(app->Item(IDC_CLEAR));
  ExpectEventually([&] { return app->Text(IDC_INPUT); }, L"", "input");
  ExpectEq(app->Text(IDC_OUTPUT), L"", "output");
  ExpectMode(*app, 1);
  ExpectLabels(*app, kCharToCodeLabels[0], kCharToCodeLabels[1]);
  ExpectFocus(*app, IDC_INPUT);

  Case("typing after Clear");
  TypeAndWait(*app, L"码", L"码");
  ExpectEq(app->Text(IDC_OUTPUT), L"4316 ", "output");

  Case("Clear with empty boxes only moves the focus");
  auto fresh = LaunchInFront();
  if (!fresh) return;
  Press(VK_TAB);
  ExpectFocus(*fresh, IDOK, "focus on Exit");
  Click(fresh->Item(IDC_CLEAR));
  ExpectFocus(*fresh, IDC_INPUT);
  ExpectEq(fresh->Text(IDC_INPUT), L"", "input");
  ExpectEq(fresh->Text(IDC_OUTPUT), L"", "output");
  ExpectLabels(*fresh, L"输入", L"输出");
  ExpectMode(*fresh, 0);

  Case("Enter on a focused Clear button");
  TypeAndWait(*fresh, L"0022 ", L"0022 ");
  TabTo(*fresh, IDC_CLEAR);
  Press(VK_RETURN);
  ExpectEventually([&] { return fresh->Text(IDC_INPUT); }, L"", "input");
  ExpectEq(fresh->Text(IDC_OUTPUT), L"", "output");
  ExpectFocus(*fresh, IDC_INPUT);
}

// The checked radio button is a tab stop too: checking a radio button gives
// it WS_TABSTOP (the platform's button control does that), so Tab visits the
// selected mode between About and the output box.
TEST(MainDialog, TabOrder) {
  const struct {
    const char* name;
    int mode;
    int radio;
  } cases[] = {{"codes to characters", 0, IDC_CODE_TO_CHAR},
               {"characters to codes", 1, IDC_CHAR_TO_CODE}};
  for (const auto& c : cases) {
    Case(std::string("Tab order, ") + c.name);
    auto app = LaunchInFront();
    if (!app) continue;
    if (c.mode == 1) SelectMode(*app, 1);
    for (int id : {IDOK, IDCANCEL, c.radio, IDC_OUTPUT, IDC_CLEAR, IDC_INPUT}) {
      Press(VK_TAB);
      ExpectFocus(*app, id, "focus after Tab");
    }
    Case(std::string("Shift+Tab order, ") + c.name);
    for (int id : {IDC_CLEAR, IDC_OUTPUT, c.radio, IDCANCEL, IDOK, IDC_INPUT}) {
      Press(VK_TAB, {VK_SHIFT});
      ExpectFocus(*app, id, "focus after Shift+Tab");
    }
  }
}

// The ways that end the program; each leaves no window behind.
TEST(MainDialog, Exit) {
  const struct {
    const char* name;
    void (*act)(const AppUnderTest&);
  } routes[] = {
      {"clicking Exit", [](const AppUnderTest& app) { Click(app.Item(IDOK)); }},
      {"Enter on the focused Exit button",
       [](const AppUnderTest&) {
         Press(VK_TAB);
         Press(VK_RETURN);
       }},
      {"Enter on the focused radio button (the default button's command)",
       [](const AppUnderTest& app) {
         for (int i = 0; i < 3; ++i) Press(VK_TAB);
         WaitFor([&] { return app.FocusId() == IDC_CODE_TO_CHAR; }, 2000);
         Press(VK_RETURN);
       }},
  };
  for (const auto& route : routes) {
    Case(std::string("exit by ") + route.name);
    auto app = LaunchInFront();
    if (!app) continue;
    TypeAndWait(*app, L"0022 ", L"0022 ");
    route.act(*app);
    DWORD exitCode = 1;
    Expect(app->WaitForExit(5000, &exitCode), "the program ends");
    ExpectEq(exitCode, 0, "exit code");
    Expect(!IsWindow(app->dialog()), "no window stays behind");
  }
}

TEST(MainDialog, Screenshot) {
  if (Settings().artifacts.empty()) GTEST_SKIP() << "no --artifacts directory given";
  Case("screenshot after a conversion");
  auto app = LaunchInFront();
  if (!app) return;
  SelectMode(*app, 1);
  TypeAndWait(*app, L"中文电报码\n译枢", L"中文电报码\r\n译枢");
  ExpectEq(app->Text(IDC_OUTPUT), L"0022 2429 7193 1032 4316 \r\n6230 2873 ", "output");
  Expect(SaveScreenshot(app->dialog(), Settings().artifacts + L"\\main-dialog.bmp"),
         "screenshot saved");
}

}  // namespace

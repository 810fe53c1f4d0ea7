// The conversion dialog, driven as a person uses it: typing, clicking the
// radio buttons and buttons, the keyboard's dialog navigation.
#include <cstdlib>
#include <functional>

#include "dialog_checks.h"
#include "groups.h"
#include "resource.h"
#include "screenshot.h"
#include "user_input.h"

namespace {

void StartUp(Suite& suite) {
  const struct {
    const char* name;
    std::wstring arguments;
  } cases[] = {
      {"start without arguments", L""},
      {"arguments are ignored", L"0022 2429 /mode=1 --help \"C:\\codes.txt\""},
  };
  for (const auto& c : cases) {
    suite.Case(c.name);
    auto app = Launch(suite, c.arguments);
    if (!app) continue;
    suite.ExpectEq(AppUnderTest::TextOf(app->dialog()), L"译枢0.92测试版", "caption");
    suite.ExpectEq(app->Text(IDC_INPUT), L"", "input");
    suite.ExpectEq(app->Text(IDC_OUTPUT), L"", "output");
    ExpectMode(suite, *app, 0);
    ExpectLabels(suite, *app, L"输入", L"输出");
    ExpectFocus(suite, *app, IDC_INPUT);
    RECT rect{};
    GetWindowRect(app->dialog(), &rect);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    suite.Expect(std::abs(rect.left + rect.right - screenWidth) <= 2, "centred on the screen",
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
      suite.ExpectEq(app->Text(caption.id), caption.caption, "caption of a control");
    }
    BringToFront(suite, *app);
    TypeAndWait(suite, *app, L"0022 ", L"0022 ");
    suite.ExpectEq(app->Text(IDC_OUTPUT), L"中", "converts");
  }
}

void TwoCopies(Suite& suite) {
  suite.Case("two copies run side by side");
  auto first = Launch(suite);
  auto second = Launch(suite);
  if (!first || !second) return;
  suite.Expect(first->dialog() != second->dialog(), "two dialogs");
  // Side by side, a click meant for one copy cannot land on the other, in
  // whatever order the platform stacks them at the moment of the click.
  suite.Expect(second->MoveBeside(first->dialog()), "the second copy moved beside the first");
  BringToFront(suite, *first);
  TypeAndWait(suite, *first, L"0022 ", L"0022 ");
  BringToFront(suite, *second);
  TypeAndWait(suite, *second, L"2429 ", L"2429 ");
  suite.ExpectEq(first->Text(IDC_OUTPUT), L"中", "first output");
  suite.ExpectEq(second->Text(IDC_OUTPUT), L"文", "second output");
  suite.Expect(Click(second->Item(IDOK)), "the second copy's Exit clicked");
  suite.Expect(second->WaitForExit(5000), "Exit ends the second copy");
  suite.Expect(first->Running(), "the first copy keeps running");
  suite.ExpectEq(first->Text(IDC_INPUT), L"0022 ", "first input");
}

// Every change of the input converts all of it; the caret stays where the
// user put it, since the unchanged input is never written back.
void LiveConversion(Suite& suite) {
  suite.Case("live conversion");
  auto app = Launch(suite);
  if (!app) return;
  BringToFront(suite, *app);
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
    suite.Case(std::string("live conversion: ") + step.name);
    step.act();
    suite.ExpectEventually([&] { return app->Text(IDC_INPUT); }, step.input, "input");
    suite.ExpectEq(app->Text(IDC_OUTPUT), step.output, "output");
    ExpectSelection(suite, *app, step.caret, step.caret);
  }
}

// The radio buttons set the mode and the labels and select the input; they
// convert nothing.
void Modes(Suite& suite) {
  suite.Case("switching to characters-to-codes");
  auto app = Launch(suite);
  if (!app) return;
  BringToFront(suite, *app);
  TypeAndWait(suite, *app, L"0022 ", L"0022 ");
  SelectMode(suite, *app, 1);
  ExpectMode(suite, *app, 1);
  suite.ExpectEq(app->Text(IDC_INPUT), L"0022 ", "input unchanged");
  suite.ExpectEq(app->Text(IDC_OUTPUT), L"中", "output unchanged");
  ExpectFocus(suite, *app, IDC_INPUT);
  ExpectSelection(suite, *app, 0, 5);

  suite.Case("typing replaces the selected input and converts under the new mode");
  TypeAndWait(suite, *app, L"中文", L"中文");
  suite.ExpectEq(app->Text(IDC_OUTPUT), L"0022 2429 ", "output");

  suite.Case("switching back to codes-to-characters");
  SelectMode(suite, *app, 0);
  ExpectMode(suite, *app, 0);
  suite.ExpectEq(app->Text(IDC_OUTPUT), L"0022 2429 ", "output unchanged");
  ExpectSelection(suite, *app, 0, 2);
  TypeAndWait(suite, *app, L"7193 1032 ", L"7193 1032 ");
  suite.ExpectEq(app->Text(IDC_OUTPUT), L"电报", "output");

  suite.Case("clicking the radio that is already selected");
  auto fresh = Launch(suite);
  if (!fresh) return;
  BringToFront(suite, *fresh);
  TypeAndWait(suite, *fresh, L"0022 2429", L"0022 2429");
  SelectMode(suite, *fresh, 0);
  ExpectMode(suite, *fresh, 0);
  suite.ExpectEq(fresh->Text(IDC_OUTPUT), L"中2429", "output unchanged");
  ExpectSelection(suite, *fresh, 0, 9);
  ExpectFocus(suite, *fresh, IDC_INPUT);
}

void OutputBox(Suite& suite) {
  suite.Case("text typed into the output box");
  auto app = Launch(suite);
  if (!app) return;
  BringToFront(suite, *app);
  TypeAndWait(suite, *app, L"0022 ", L"0022 ");
  TabTo(suite, *app, IDC_OUTPUT);
  Press(VK_END);
  Type(L"备注\n第二行");
  suite.ExpectEventually([&] { return app->Text(IDC_OUTPUT); }, L"中备注\r\n第二行",
                         "typed into the output, Enter included");
  suite.ExpectEq(app->Text(IDC_INPUT), L"0022 ", "input unchanged");

  suite.Case("the output box's text survives a mode switch");
  SelectMode(suite, *app, 1);
  suite.ExpectEq(app->Text(IDC_OUTPUT), L"中备注\r\n第二行", "output");

  suite.Case("the next change of the input replaces it");
  TypeAndWait(suite, *app, L"文", L"文");
  suite.ExpectEq(app->Text(IDC_OUTPUT), L"2429 ", "output");
}

// Characters the GBK code page lacks (Hangul, emoji, CJK Extension B, some
// Latin) must survive typing, pasting and conversion unchanged.
void TextFidelity(Suite& suite) {
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
    suite.Case(std::string("outside the code page, ") + c.name);
    auto app = Launch(suite);
    if (!app) continue;
    BringToFront(suite, *app);
    if (c.mode == 1) SelectMode(suite, *app, 1);
    if (c.paste) {
      suite.Expect(SetClipboardText(c.text), "clipboard set");
      Press('V', {VK_CONTROL});
    } else {
      Type(c.text);
    }
    suite.ExpectEventually([&] { return app->Text(IDC_INPUT); }, c.text, "input kept exactly");
    suite.ExpectEq(app->Text(IDC_OUTPUT), c.output, "output");
  }
}

// More lines than the boxes show: nothing may be cut off.
void ManyLines(Suite& suite) {
  suite.Case("a paste longer than the input box");
  auto app = Launch(suite);
  if (!app) return;
  BringToFront(suite, *app);
  std::wstring input, output;
  for (int line = 0; line < 12; ++line) {
    input += L"0022 2429 \r\n";
    output += L"中文\r\n";
  }
  suite.Expect(SetClipboardText(input), "clipboard set");
  Press('V', {VK_CONTROL});
  suite.ExpectEventually([&] { return app->Text(IDC_INPUT); }, input, "all lines pasted");
  suite.ExpectEq(app->Text(IDC_OUTPUT), output, "all lines converted");

  suite.Case("Enter below the last visible line");
  TypeAndWait(suite, *app, L"\n\n7193 ", input + L"\r\n\r\n7193 ");
  suite.ExpectEq(app->Text(IDC_OUTPUT), output + L"\r\n\r\n电", "output");

  suite.Case("Enter below the last visible line of the output box");
  TabTo(suite, *app, IDC_OUTPUT);
  Press(VK_END, {VK_CONTROL});
  Type(L"\n\n末");
  suite.ExpectEventually([&] { return app->Text(IDC_OUTPUT); }, output + L"\r\n\r\n电\r\n\r\n末",
                         "output");
}

// Thousands of characters: each keystroke converts the whole input, and the
// caret never jumps.
void LargeInput(Suite& suite) {
  suite.Case("a large input");
  auto app = Launch(suite);
  if (!app) return;
  BringToFront(suite, *app);
  SelectMode(suite, *app, 1);
  std::wstring input, output;
  for (int line = 0; line < 100; ++line) {
    for (int i = 0; i < 10; ++i) {
      input += L"中文电报码";
      output += L"0022 2429 7193 1032 4316 ";
    }
    input += L"\r\n";
    output += L"\r\n";
  }
  suite.Expect(SetClipboardText(input), "clipboard set");
  Press('V', {VK_CONTROL});
  suite.ExpectEventually([&] { return app->Text(IDC_INPUT); }, input, "input", 10000);
  suite.ExpectEq(app->Text(IDC_OUTPUT), output, "output");
  const long long end = static_cast<long long>(input.size());
  ExpectSelection(suite, *app, end, end);

  suite.Case("a keystroke at the start of a large input");
  BringToFront(suite, *app);
  Press(VK_HOME, {VK_CONTROL});
  TypeAndWait(suite, *app, L"译", L"译" + input);
  suite.ExpectEq(app->Text(IDC_OUTPUT), L"6230 " + output, "output");
  ExpectSelection(suite, *app, 1, 1);

  // The platform's default limit is about 30,000 characters.
  suite.Case("a paste beyond the platform's default length limit");
  auto big = Launch(suite);
  if (!big) return;
  BringToFront(suite, *big);
  std::wstring codes, characters;
  for (int line = 0; line < 500; ++line) {
    for (int i = 0; i < 16; ++i) {
      codes += L"0022 2429 ";
      characters += L"中文";
    }
    codes += L"\r\n";
    characters += L"\r\n";
  }
  suite.Expect(SetClipboardText(codes), "clipboard set");
  Press('V', {VK_CONTROL});
  suite.ExpectEventually([&] { return big->Text(IDC_INPUT); }, codes, "input", 10000);
  suite.ExpectEq(big->Text(IDC_OUTPUT), characters, "output");
}

void Clear(Suite& suite) {
  suite.Case("Clear empties both boxes and keeps the mode");
  auto app = Launch(suite);
  if (!app) return;
  BringToFront(suite, *app);
  SelectMode(suite, *app, 1);
  TypeAndWait(suite, *app, L"中文", L"中文");
  Click(app->Item(IDC_CLEAR));
  suite.ExpectEventually([&] { return app->Text(IDC_INPUT); }, L"", "input");
  suite.ExpectEq(app->Text(IDC_OUTPUT), L"", "output");
  ExpectMode(suite, *app, 1);
  ExpectLabels(suite, *app, kCharToCodeLabels[0], kCharToCodeLabels[1]);
  ExpectFocus(suite, *app, IDC_INPUT);

  suite.Case("typing after Clear");
  TypeAndWait(suite, *app, L"码", L"码");
  suite.ExpectEq(app->Text(IDC_OUTPUT), L"4316 ", "output");

  suite.Case("Clear with empty boxes only moves the focus");
  auto fresh = Launch(suite);
  if (!fresh) return;
  BringToFront(suite, *fresh);
  Press(VK_TAB);
  ExpectFocus(suite, *fresh, IDOK, "focus on Exit");
  Click(fresh->Item(IDC_CLEAR));
  ExpectFocus(suite, *fresh, IDC_INPUT);
  suite.ExpectEq(fresh->Text(IDC_INPUT), L"", "input");
  suite.ExpectEq(fresh->Text(IDC_OUTPUT), L"", "output");
  ExpectLabels(suite, *fresh, L"输入", L"输出");
  ExpectMode(suite, *fresh, 0);

  suite.Case("Enter on a focused Clear button");
  TypeAndWait(suite, *fresh, L"0022 ", L"0022 ");
  TabTo(suite, *fresh, IDC_CLEAR);
  Press(VK_RETURN);
  suite.ExpectEventually([&] { return fresh->Text(IDC_INPUT); }, L"", "input");
  suite.ExpectEq(fresh->Text(IDC_OUTPUT), L"", "output");
  ExpectFocus(suite, *fresh, IDC_INPUT);
}

// The checked radio button is a tab stop too: checking a radio button gives
// it WS_TABSTOP (the platform's button control does that), so Tab visits the
// selected mode between About and the output box.
void TabOrder(Suite& suite) {
  const struct {
    const char* name;
    int mode;
    int radio;
  } cases[] = {{"codes to characters", 0, IDC_CODE_TO_CHAR},
               {"characters to codes", 1, IDC_CHAR_TO_CODE}};
  for (const auto& c : cases) {
    suite.Case(std::string("Tab order, ") + c.name);
    auto app = Launch(suite);
    if (!app) continue;
    BringToFront(suite, *app);
    if (c.mode == 1) SelectMode(suite, *app, 1);
    for (int id : {IDOK, IDCANCEL, c.radio, IDC_OUTPUT, IDC_CLEAR, IDC_INPUT}) {
      Press(VK_TAB);
      ExpectFocus(suite, *app, id, "focus after Tab");
    }
    suite.Case(std::string("Shift+Tab order, ") + c.name);
    for (int id : {IDC_CLEAR, IDC_OUTPUT, c.radio, IDCANCEL, IDOK, IDC_INPUT}) {
      Press(VK_TAB, {VK_SHIFT});
      ExpectFocus(suite, *app, id, "focus after Shift+Tab");
    }
  }
}

// The ways that end the program; each leaves no window behind.
void Exit(Suite& suite) {
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
    suite.Case(std::string("exit by ") + route.name);
    auto app = Launch(suite);
    if (!app) continue;
    BringToFront(suite, *app);
    TypeAndWait(suite, *app, L"0022 ", L"0022 ");
    route.act(*app);
    DWORD exitCode = 1;
    suite.Expect(app->WaitForExit(5000, &exitCode), "the program ends");
    suite.ExpectEq(exitCode, 0, "exit code");
    suite.Expect(!IsWindow(app->dialog()), "no window stays behind");
  }
}

void Screenshot(Suite& suite) {
  if (suite.artifacts().empty()) return;
  suite.Case("screenshot after a conversion");
  auto app = Launch(suite);
  if (!app) return;
  BringToFront(suite, *app);
  SelectMode(suite, *app, 1);
  TypeAndWait(suite, *app, L"中文电报码\n译枢", L"中文电报码\r\n译枢");
  suite.ExpectEq(app->Text(IDC_OUTPUT), L"0022 2429 7193 1032 4316 \r\n6230 2873 ", "output");
  suite.Expect(SaveScreenshot(app->dialog(), suite.artifacts() + L"\\main-dialog.bmp"),
               "screenshot saved");
}

}  // namespace

std::vector<Group> MainDialogGroups() {
  return {
      {"start-up", StartUp},
      {"two-copies", TwoCopies},
      {"live-conversion", LiveConversion},
      {"modes", Modes},
      {"output-box", OutputBox},
      {"text-fidelity", TextFidelity},
      {"many-lines", ManyLines},
      {"large-input", LargeInput},
      {"clear", Clear},
      {"tab-order", TabOrder},
      {"exit", Exit},
      {"screenshot", Screenshot},
  };
}

#include "keystroke_bench.h"

#include <yishu/yishu.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "common_steps.h"
#include "dialog_checks.h"
#include "framework/text_diff.h"
#include "handler_timer.h"
#include "resource.h"
#include "user_input.h"

namespace {

// Times one notification's handling inside the program, with the hooks of
// window_probe.dll (handler_timer.h). Inactive if the hooks cannot be set.
class HandlerTimer {
 public:
  HandlerTimer(const AppUnderTest& app, WORD controlId, WORD notification) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dll = path;
    dll = dll.substr(0, dll.find_last_of(L"\\/") + 1) + L"window_probe.dll";
    probe_ = LoadLibraryW(dll.c_str());
    DWORD processId = 0;
    GetWindowThreadProcessId(app.dialog(), &processId);
    mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                  sizeof(HandlerTimes), HandlerTimerMappingName(processId).c_str());
    times_ = mapping_ ? static_cast<HandlerTimes*>(
                            MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, sizeof(HandlerTimes)))
                      : nullptr;
    if (!probe_ || !times_) return;
    times_->controlId = controlId;
    times_->notification = notification;
    times_->count = 0;
    before_ = SetWindowsHookExW(WH_CALLWNDPROC, Hook("HandlerTimerHook"), probe_, app.thread());
    after_ =
        SetWindowsHookExW(WH_CALLWNDPROCRET, Hook("HandlerTimerReturnHook"), probe_, app.thread());
  }
  ~HandlerTimer() {
    if (after_) UnhookWindowsHookEx(after_);
    if (before_) UnhookWindowsHookEx(before_);
    if (times_) UnmapViewOfFile(times_);
    if (mapping_) CloseHandle(mapping_);
    if (probe_) FreeLibrary(probe_);
  }
  HandlerTimer(const HandlerTimer&) = delete;
  HandlerTimer& operator=(const HandlerTimer&) = delete;

  bool active() const { return before_ && after_; }

  // The durations recorded since the last call. Call it only once the
  // program has answered a message: then no handler is running.
  std::vector<double> Take() {
    if (!times_) return {};
    std::vector<double> taken(times_->milliseconds, times_->milliseconds + times_->count);
    times_->count = 0;
    return taken;
  }

 private:
  HOOKPROC Hook(const char* name) const {
    // Through void*: a FARPROC is a placeholder for the function's real type.
    return reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe_, name)));
  }

  HMODULE probe_ = nullptr;
  HANDLE mapping_ = nullptr;
  HandlerTimes* times_ = nullptr;
  HHOOK before_ = nullptr;
  HHOOK after_ = nullptr;
};

// Median and maximum; -1 for none.
std::pair<double, double> MedianAndMax(std::vector<double> times) {
  if (times.empty()) return {-1, -1};
  std::sort(times.begin(), times.end());
  return {times[times.size() / 2], times.back()};
}

DWORD_PTR TextLength(HWND window) {
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 10000, &length);
  return length;
}

double Milliseconds(LONGLONG ticks) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

struct Scenario {
  const char* name;
  int mode;
  std::wstring line;  // repeated to fill the input box, each line ending in CR LF
  wchar_t key;        // typed at the end, one keystroke per measurement
  int keystrokes;     // how many are measured
};

// The time from sending one keystroke until the output box has changed,
// median and maximum. Polls without sleeping: each poll
// is a message the program answers only once it is idle again.
std::pair<double, double> TimeKeystrokes(HWND outputBox, int keystrokes,
                                         const std::function<void()>& keystroke) {
  std::vector<double> times;
  for (int i = 0; i < keystrokes; ++i) {
    const DWORD_PTR before = TextLength(outputBox);
    LARGE_INTEGER start, now;
    QueryPerformanceCounter(&start);
    keystroke();
    bool changed = false;
    do {
      changed = TextLength(outputBox) != before;
      QueryPerformanceCounter(&now);
    } while (!changed && Milliseconds(now.QuadPart - start.QuadPart) < 10000);
    if (!Expect(changed, "the output follows the keystroke")) return {-1, -1};
    times.push_back(Milliseconds(now.QuadPart - start.QuadPart));
  }
  std::sort(times.begin(), times.end());
  return {times[times.size() / 2], times.back()};
}

// An edit box of the driver's own with the program's styles and font.
class BareEdit {
 public:
  explicit BareEdit(const std::wstring& text) {
    frame_ = CreateWindowExW(0, L"#32770", L"baseline", WS_POPUP | WS_VISIBLE | WS_CAPTION, 0, 400,
                             400, 200, nullptr, nullptr, nullptr, nullptr);
    edit_ = CreateWindowExW(0, L"Edit", L"",
                            WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE |
                                ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN,
                            4, 4, 360, 100, frame_, nullptr, nullptr, nullptr);
    font_ = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                        L"宋体");
    SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    SendMessageW(edit_, EM_SETLIMITTEXT, 0, 0);
    SetWindowTextW(edit_, text.c_str());
  }
  ~BareEdit() {
    DestroyWindow(frame_);
    DeleteObject(font_);
  }
  BareEdit(const BareEdit&) = delete;
  BareEdit& operator=(const BareEdit&) = delete;
  HWND edit() const { return edit_; }

 private:
  HWND frame_;
  HWND edit_;
  HFONT font_;
};

// The same keystroke in a bare edit box with the same text: what the
// platform's edit control alone costs, with no conversion behind it. The
// median.
double BareEditKeystroke(const std::wstring& text, wchar_t key, int keystrokes) {
  BareEdit box(text);
  HWND edit = box.edit();
  SetFocus(edit);
  const LRESULT end = GetWindowTextLengthW(edit);
  SendMessageW(edit, EM_SETSEL, end, end);
  std::vector<double> times;
  for (int i = 0; i < keystrokes; ++i) {
    LARGE_INTEGER start, stop;
    QueryPerformanceCounter(&start);
    SendMessageW(edit, WM_CHAR, key, 1);
    UpdateWindow(edit);
    QueryPerformanceCounter(&stop);
    times.push_back(Milliseconds(stop.QuadPart - start.QuadPart));
  }
  return MedianAndMax(times).first;
}

// The output box's part of a keystroke, in a bare edit box: the text before
// the keystroke's conversion is changed into the text after it, as the
// program does it (the changed part replaced, then the caret to the start),
// and back again untimed. The median.
double BareEditOutputUpdate(const std::wstring& before, const std::wstring& after, int keystrokes) {
  BareEdit box(before);
  HWND edit = box.edit();
  const auto replace = [&](const std::wstring& from, const std::wstring& to) {
    const TextDiff diff = DiffTexts(from, to);
    const std::wstring middle = to.substr(diff.start, diff.afterEnd - diff.start);
    SendMessageW(edit, EM_SETSEL, diff.start, diff.beforeEnd);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(middle.c_str()));
    SendMessageW(edit, EM_SETSEL, 0, 0);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
  };
  std::vector<double> times;
  for (int i = 0; i < keystrokes; ++i) {
    LARGE_INTEGER start, stop;
    QueryPerformanceCounter(&start);
    replace(before, after);
    QueryPerformanceCounter(&stop);
    times.push_back(Milliseconds(stop.QuadPart - start.QuadPart));
    replace(after, before);
  }
  return MedianAndMax(times).first;
}

void Measure(const Scenario& scenario, size_t characters) {
  auto app = LaunchInFront();
  if (!app) return;
  if (scenario.mode == 1) {
    Click(app->Item(IDC_CHAR_TO_CODE));
    WaitFor([&] { return app->Checked(IDC_CHAR_TO_CODE) && app->FocusId() == IDC_INPUT; });
  }
  std::wstring input;
  while (input.size() < characters) input += scenario.line;
  input.resize(characters);
  HWND inputBox = app->Item(IDC_INPUT);
  HWND outputBox = app->Item(IDC_OUTPUT);

  // Filling the box is set-up, not measured: one replacement, one conversion.
  LARGE_INTEGER fillStart, fillEnd;
  QueryPerformanceCounter(&fillStart);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(inputBox, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(input.c_str()),
                      SMTO_ABORTIFHUNG, 120000, &ignored);
  if (!Expect(TextLength(inputBox) == characters && TextLength(outputBox) > 0,
              "the input box was filled")) {
    return;
  }
  QueryPerformanceCounter(&fillEnd);
  const DWORD_PTR outputLength = TextLength(outputBox);

  // A real keystroke (SendInput), which includes the platform's input
  // delivery, and the character posted straight to the box, which doesn't.
  // Meanwhile the program's own time for each, from the input box's change
  // notification until its handler returns: the conversion and the output's
  // update.
  HandlerTimer timer(*app, IDC_INPUT, EN_UPDATE);
  Expect(timer.active(), "the handler timer is set");
  const auto typed =
      TimeKeystrokes(outputBox, scenario.keystrokes, [&] { Type(std::wstring(1, scenario.key)); });
  const std::vector<double> typedInside = timer.Take();
  const auto posted = TimeKeystrokes(outputBox, scenario.keystrokes,
                                     [&] { PostMessageW(inputBox, WM_CHAR, scenario.key, 1); });
  std::vector<double> inside = timer.Take();
  inside.insert(inside.end(), typedInside.begin(), typedInside.end());
  const auto handler = MedianAndMax(inside);
  app.reset();
  const double bare = BareEditKeystroke(input, scenario.key, scenario.keystrokes);
  // The conversion alone, on the same text, here in the driver.
  const std::u16string units(input.begin(), input.end());
  const yishu::Direction direction =
      scenario.mode == 1 ? yishu::Direction::CharToCode : yishu::Direction::CodeToChar;
  std::vector<double> conversions;
  for (int i = 0; i < scenario.keystrokes; ++i) {
    LARGE_INTEGER start, stop;
    QueryPerformanceCounter(&start);
    const std::u16string converted = yishu::ConvertText(direction, units);
    QueryPerformanceCounter(&stop);
    if (converted.empty()) return;
    conversions.push_back(Milliseconds(stop.QuadPart - start.QuadPart));
  }
  const double conversion = MedianAndMax(conversions).first;
  std::u16string typedUnits = units;
  typedUnits += static_cast<char16_t>(scenario.key);
  const std::u16string outputBefore = yishu::ConvertText(direction, units);
  const std::u16string outputAfter = yishu::ConvertText(direction, typedUnits);
  const double outputUpdate = BareEditOutputUpdate(
      std::wstring(outputBefore.begin(), outputBefore.end()),
      std::wstring(outputAfter.begin(), outputAfter.end()), scenario.keystrokes);
  char line[800];
  std::snprintf(line, sizeof line,
                "%s: input %zu units, output %zu units, filling %.0f ms, %d keystrokes\n"
                "  keystroke to output (SendInput):      median %7.1f ms, max %7.1f ms\n"
                "  keystroke to output (posted WM_CHAR): median %7.1f ms, max %7.1f ms\n"
                "  inside the program (conversion and output update, %zu keystrokes): "
                "median %.2f ms, max %.2f ms\n"
                "  the conversion alone (the core, in the driver): median %.2f ms\n"
                "  the same keystroke in a bare edit box with this text: median %.1f ms\n"
                "  the output's update alone, in a bare edit box: median %.1f ms",
                scenario.name, characters, static_cast<size_t>(outputLength),
                Milliseconds(fillEnd.QuadPart - fillStart.QuadPart), scenario.keystrokes,
                typed.first, typed.second, posted.first, posted.second, inside.size(),
                handler.first, handler.second, conversion, bare, outputUpdate);
  Print(line);
}

}  // namespace

int RunKeystrokeBench(size_t characters) {
  Case("keystroke bench");
  std::wstring codes, hanzi;
  for (int i = 0; i < 16; ++i) {
    codes += L"0022 2429 7193 1032 4316 ";
    hanzi += L"中文电报码";
  }
  const Scenario scenarios[] = {
      {"codes to characters, lines of 80 codes", 0, codes + L"\r\n", L'1', 20},
      {"characters to codes, lines of 80 characters", 1, hanzi + L"\r\n", L'中', 20},
      // The edit control itself re-measures a whole line on every keystroke.
      {"codes to characters, all on one line", 0, codes, L'1', 3},
  };
  for (const Scenario& scenario : scenarios) Measure(scenario, characters);
  return FailureCount() == 0 ? 0 : 1;
}

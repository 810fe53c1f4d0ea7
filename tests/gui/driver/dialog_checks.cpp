#include "dialog_checks.h"

#include "resource.h"
#include "user_input.h"

const std::wstring kCodeToCharLabels[2] = {L"输入四位数字后要加空格:", L"对应的汉字:"};
const std::wstring kCharToCodeLabels[2] = {L"在这里输入汉字:", L"对应的电报码:"};

void ExpectLabels(const AppUnderTest& app, const std::wstring& input, const std::wstring& output) {
  ExpectEventually([&] { return app.Text(IDC_INPUT_LABEL); }, input, "input label");
  ExpectEq(app.Text(IDC_OUTPUT_LABEL), output, "output label");
}

void ExpectMode(const AppUnderTest& app, int mode) {
  Expect(
      app.Checked(IDC_CODE_TO_CHAR) == (mode == 0) && app.Checked(IDC_CHAR_TO_CODE) == (mode == 1),
      "radio buttons", "want mode " + std::to_string(mode));
}

void ExpectFocus(const AppUnderTest& app, int id, const char* what) {
  long long focus = 0;
  WaitFor([&] { return (focus = app.FocusId()) == id; }, 2000);
  ExpectEq(focus, id, what);
}

void ExpectSelection(const AppUnderTest& app, long long start, long long end) {
  auto [actualStart, actualEnd] = app.Selection(IDC_INPUT);
  Expect(actualStart == start && actualEnd == end, "input selection",
         "got " + std::to_string(actualStart) + ".." + std::to_string(actualEnd) + ", want " +
             std::to_string(start) + ".." + std::to_string(end));
}

void BringToFront(const AppUnderTest& app) {
  Expect(app.Activate(), "the dialog is in front, the focus in it");
}

void TabTo(const AppUnderTest& app, int id) {
  Expect(app.TabTo(id), "Tab reaches the control", "control " + std::to_string(id));
}

void TypeAndWait(const AppUnderTest& app, const std::wstring& text, const std::wstring& input) {
  Type(text);
  ExpectEventually([&] { return app.Text(IDC_INPUT); }, input, "input after typing");
}

void SelectMode(const AppUnderTest& app, int mode) {
  Click(app.Item(mode == 1 ? IDC_CHAR_TO_CODE : IDC_CODE_TO_CHAR));
  const auto& labels = mode == 1 ? kCharToCodeLabels : kCodeToCharLabels;
  ExpectLabels(app, labels[0], labels[1]);
}

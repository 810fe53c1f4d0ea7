#include "dialog_checks.h"

#include "resource.h"
#include "user_input.h"

const std::wstring kCodeToCharLabels[2] = {L"输入四位数字后要加空格:", L"对应的汉字:"};
const std::wstring kCharToCodeLabels[2] = {L"在这里输入汉字:", L"对应的电报码:"};

void ExpectLabels(Suite& suite, const AppUnderTest& app, const std::wstring& input,
                  const std::wstring& output) {
  suite.ExpectEventually([&] { return app.Text(IDC_INPUT_LABEL); }, input, "input label");
  suite.ExpectEq(app.Text(IDC_OUTPUT_LABEL), output, "output label");
}

void ExpectMode(Suite& suite, const AppUnderTest& app, int mode) {
  suite.Expect(
      app.Checked(IDC_CODE_TO_CHAR) == (mode == 0) && app.Checked(IDC_CHAR_TO_CODE) == (mode == 1),
      "radio buttons", "want mode " + std::to_string(mode));
}

void ExpectFocus(Suite& suite, const AppUnderTest& app, int id, const char* what) {
  long long focus = 0;
  WaitFor([&] { return (focus = app.FocusId()) == id; }, 2000);
  suite.ExpectEq(focus, id, what);
}

void ExpectSelection(Suite& suite, const AppUnderTest& app, long long start, long long end) {
  auto [actualStart, actualEnd] = app.Selection(IDC_INPUT);
  suite.Expect(actualStart == start && actualEnd == end, "input selection",
               "got " + std::to_string(actualStart) + ".." + std::to_string(actualEnd) + ", want " +
                   std::to_string(start) + ".." + std::to_string(end));
}

void BringToFront(Suite& suite, const AppUnderTest& app) {
  suite.Expect(app.Activate(), "the dialog is in front, the focus in it");
}

void TabTo(Suite& suite, const AppUnderTest& app, int id) {
  suite.Expect(app.TabTo(id), "Tab reaches the control", "control " + std::to_string(id));
}

void TypeAndWait(Suite& suite, const AppUnderTest& app, const std::wstring& text,
                 const std::wstring& input) {
  Type(text);
  suite.ExpectEventually([&] { return app.Text(IDC_INPUT); }, input, "input after typing");
}

void SelectMode(Suite& suite, const AppUnderTest& app, int mode) {
  Click(app.Item(mode == 1 ? IDC_CHAR_TO_CODE : IDC_CODE_TO_CHAR));
  const auto& labels = mode == 1 ? kCharToCodeLabels : kCodeToCharLabels;
  ExpectLabels(suite, app, labels[0], labels[1]);
}

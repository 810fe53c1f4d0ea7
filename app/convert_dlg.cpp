#include "convert_dlg.h"

#include <yishu/yishu.h>

#include <string_view>
#include <vector>

#include "about_dlg.h"
#include "cascade_position.h"
#include "framework/redraw_pause.h"
#include "framework/win_app.h"
#include "framework/wstring_u16string.h"
#include "icon_position.h"
#include "line_in_view.h"
#include "resource.h"

namespace {

// Labels before the first click on a radio button.
constexpr wchar_t kStartInputLabel[] = L"输入";
constexpr wchar_t kStartOutputLabel[] = L"输出";

// The radio buttons' indexes in the group (m_nMode).
constexpr int kCodeToCharRadio = 0;
constexpr int kCharToCodeRadio = 1;

// The one place where the radio buttons' value becomes a direction: the
// second button converts characters to codes; the first, or none checked
// (-1), converts codes to characters.
yishu::Direction DirectionOfRadio(int checked) {
  return checked == kCharToCodeRadio ? yishu::Direction::CharToCode : yishu::Direction::CodeToChar;
}

}  // namespace

CConvertDlg::CConvertDlg(HWND parent)
    : CDialog(IDD_CONVERT_DIALOG, parent),
      m_strInputLabel(kStartInputLabel),
      m_strOutputLabel(kStartOutputLabel),
      m_hIcon(LoadIconW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME))) {}

void CConvertDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_INPUT, m_strInput);
  DDX_Text(pDX, IDC_OUTPUT, m_strOutput);
  DDX_Radio(pDX, IDC_CODE_TO_CHAR, m_nMode);
  DDX_Text(pDX, IDC_INPUT_LABEL, m_strInputLabel);
  DDX_Text(pDX, IDC_OUTPUT_LABEL, m_strOutputLabel);
}

BOOL CConvertDlg::OnInitDialog() {
  CDialog::OnInitDialog();

  // The platform's default limit (about 30,000 characters) would make the
  // boxes refuse a longer paste outright; 0 lifts it to the maximum.
  SendMessageW(GetDlgItem(IDC_INPUT), EM_SETLIMITTEXT, 0, 0);
  SendMessageW(GetDlgItem(IDC_OUTPUT), EM_SETLIMITTEXT, 0, 0);

  AddAboutToSystemMenu();

  SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

  PlaceBesideOtherCopies();
  FocusInput();
  return TRUE;
}

namespace {

struct OtherCopies {
  HWND self;
  std::wstring caption;
  std::vector<HWND> windows;  // the one on top first
};

// Another process's main dialog of this program, on the screen.
BOOL CALLBACK CollectOtherCopy(HWND window, LPARAM param) {
  auto* copies = reinterpret_cast<OtherCopies*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (window == copies->self || process == GetCurrentProcessId() || !IsWindowVisible(window) ||
      IsIconic(window)) {
    return TRUE;
  }
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (std::wstring_view(className) == L"#32770" && GetWindowTextString(window) == copies->caption)
    copies->windows.push_back(window);
  return TRUE;
}

}  // namespace

// A single copy opens centred. When other copies are on the screen, the new
// one opens a step down and to the right of the copy on top, so that the
// user sees that it opened; its caption is the same as theirs.
void CConvertDlg::PlaceBesideOtherCopies() {
  CenterWindow();
  OtherCopies copies{m_hWnd, GetWindowTextString(m_hWnd), {}};
  EnumWindows(CollectOtherCopy, reinterpret_cast<LPARAM>(&copies));  // top to bottom
  if (copies.windows.empty()) return;
  std::vector<ScreenPoint> taken;
  for (HWND copy : copies.windows) {
    RECT rect{};
    GetWindowRect(copy, &rect);
    taken.push_back({rect.left, rect.top});
  }
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(copies.windows.front(), MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  RECT rect{};
  GetWindowRect(m_hWnd, &rect);
  // A step of one title bar keeps the caption of the copy beneath readable.
  const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFIXEDFRAME);
  const ScreenPoint at =
      CascadedPosition(taken.front(), taken, rect.right - rect.left, rect.bottom - rect.top,
                       {work.left, work.top, work.right, work.bottom}, step);
  SetWindowPos(m_hWnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The message map: the one place that routes messages to handlers.
bool CConvertDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_SYSCOMMAND:
      return OnSysCommand(static_cast<UINT>(wParam), lParam);
    case WM_PAINT:
      return OnPaint();
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<LRESULT>(OnQueryDragIcon());
      return true;
    case WM_COMMAND:
      break;
    default:
      return false;
  }
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  if (code == BN_CLICKED) {
    switch (id) {
      case IDC_CODE_TO_CHAR:
        OnCodeToChar();
        return true;
      case IDC_CHAR_TO_CODE:
        OnCharToCode();
        return true;
      case IDCANCEL:
        OnAbout();
        return true;
      case IDC_CLEAR:
        OnClear();
        return true;
    }
  }
  if (code == EN_UPDATE && id == IDC_INPUT) {
    OnUpdateInput();
    return true;
  }
  return false;
}

// Reads only what the conversion needs, the input and the mode, and writes
// only the output: nothing else can have changed with the input's text.
// Writing the output scrolls it several times (to the change, to the start,
// back to the line being typed); it is drawn once, at the end.
void CConvertDlg::OnUpdateInput() {
  HWND output = GetDlgItem(IDC_OUTPUT);
  const int outputTopLine = static_cast<int>(SendMessageW(output, EM_GETFIRSTVISIBLELINE, 0, 0));
  CDataExchange read(m_hWnd, true);
  DDX_Text(&read, IDC_INPUT, m_strInput);
  DDX_Radio(&read, IDC_CODE_TO_CHAR, m_nMode);
  m_strOutput = ToWide(yishu::ConvertText(DirectionOfRadio(m_nMode), ToU16(m_strInput)));
  CRedrawPause drawOnce(output);
  CDataExchange write(m_hWnd, false);
  DDX_Text(&write, IDC_OUTPUT, m_strOutput);
  ShowInputLineInOutput(outputTopLine);
}

// Writing the output puts its caret at the start and its view at the top.
// Line breaks pass through the conversion, so the line the user is typing on
// in the input is the same line of the output: scroll the output's view, from
// where it was, just enough to show that line. The caret stays at the start.
void CConvertDlg::ShowInputLineInOutput(int outputTopLine) {
  HWND output = GetDlgItem(IDC_OUTPUT);
  const int lines = static_cast<int>(SendMessageW(output, EM_GETLINECOUNT, 0, 0));
  int line = static_cast<int>(SendMessageW(GetDlgItem(IDC_INPUT), EM_LINEFROMCHAR, -1, 0));
  if (line >= lines) line = lines - 1;
  if (line < 0) return;
  const int top = FirstVisibleLineFor(line, outputTopLine, VisibleLines(output));
  const int current = static_cast<int>(SendMessageW(output, EM_GETFIRSTVISIBLELINE, 0, 0));
  if (top == current) return;
  // The caller repaints the whole box afterwards: under Wine a long scroll
  // can leave the strip below the last whole line unpainted.
  SendMessageW(output, EM_LINESCROLL, 0, top - current);
}

// How many whole lines an edit box shows: the height of its formatting
// rectangle over the distance between its first two lines (1 if it has only
// one line, which never needs scrolling).
int CConvertDlg::VisibleLines(HWND edit) {
  const LRESULT second = SendMessageW(edit, EM_LINEINDEX, 1, 0);
  if (second < 0) return 1;
  const int top = static_cast<short>(HIWORD(SendMessageW(edit, EM_POSFROMCHAR, 0, 0)));
  const int next = static_cast<short>(HIWORD(SendMessageW(edit, EM_POSFROMCHAR, second, 0)));
  RECT rect{};
  SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
  return next > top ? (rect.bottom - rect.top) / (next - top) : 1;
}

void CConvertDlg::OnCodeToChar() {
  SetMode(kCodeToCharRadio, L"输入四位数字后要加空格:", L"对应的汉字:");
}

void CConvertDlg::OnCharToCode() {
  SetMode(kCharToCodeRadio, L"在这里输入汉字:", L"对应的电报码:");
}

// The clicked radio button has checked itself; only the labels change. A
// mode switch converts nothing: the next change of the input does. The
// input's whole text is selected, so that typing replaces it.
void CConvertDlg::SetMode(int radioIndex, const wchar_t* inputLabel, const wchar_t* outputLabel) {
  m_nMode = radioIndex;
  m_strInputLabel = inputLabel;
  m_strOutputLabel = outputLabel;
  CDataExchange write(m_hWnd, false);
  DDX_Text(&write, IDC_INPUT_LABEL, m_strInputLabel);
  DDX_Text(&write, IDC_OUTPUT_LABEL, m_strOutputLabel);
  FocusInput();
}

// The cancel command: the About button, Escape, and every way of closing the
// window. The program stays open; only Exit ends it.
void CConvertDlg::OnAbout() {
  RunAboutBox();
  FocusInput();
}

void CConvertDlg::RunAboutBox() {
  CAboutDlg dlgAbout;
  dlgAbout.DoModal();
}

// Appended after the platform's own items, behind a separator; nothing at
// all if the entry's text is missing.
void CConvertDlg::AddAboutToSystemMenu() {
  HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE);
  if (!systemMenu) return;
  wchar_t text[128] = {};
  if (LoadStringW(AfxGetInstanceHandle(), IDS_ABOUTBOX, text, 128) <= 0) return;
  AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, text);
}

// The platform keeps the four low bits of a system command for itself, so
// 0x0010 to 0x001F all mean the About entry. Afterwards the platform gives
// the focus back to the control that had it.
bool CConvertDlg::OnSysCommand(UINT nID, LPARAM) {
  if ((nID & 0xFFF0) != IDM_ABOUTBOX) return false;
  RunAboutBox();
  return true;
}

// Minimized, the window draws its icon centred; otherwise it paints as any
// dialog.
bool CConvertDlg::OnPaint() {
  if (!IsIconic(m_hWnd)) return false;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(m_hWnd, &paint);
  SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(m_hWnd, &client);
  const IconPosition at =
      CenteredIconPosition(client.right - client.left, client.bottom - client.top,
                           GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
  DrawIcon(dc, at.x, at.y, m_hIcon);
  EndPaint(m_hWnd, &paint);
  return true;
}

// The cursor while the user drags the minimized window.
HCURSOR CConvertDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

// The input is emptied as a person would empty it, so that Ctrl+Z brings the
// text back, and with it, through the change that raises, its conversion.
// An empty input is left alone: that would only throw away what the box
// could still undo.
void CConvertDlg::OnClear() {
  HWND input = GetDlgItem(IDC_INPUT);
  if (GetWindowTextLengthW(input) > 0) {
    SendMessageW(input, EM_SETSEL, 0, -1);
    SendMessageW(input, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
  }
  m_strInput.clear();
  m_strOutput.clear();
  UpdateData(FALSE);
  FocusInput();
}

void CConvertDlg::FocusInput() { GotoDlgCtrl(GetDlgItem(IDC_INPUT)); }

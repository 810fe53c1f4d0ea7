#include "convert_dlg.h"

#include <yishu/yishu.h>

#include "about_dlg.h"
#include "framework/wide_text.h"
#include "framework/win_app.h"
#include "icon_position.h"
#include "resource.h"

namespace {

// The one place where the radio buttons' value becomes a direction: the
// second button converts characters to codes; the first, or none checked
// (-1), converts codes to characters.
yishu::Direction DirectionOfRadio(int checked) {
  return checked == 1 ? yishu::Direction::CharToCode : yishu::Direction::CodeToChar;
}

// Labels before the first click on a radio button.
constexpr wchar_t kStartInputLabel[] = L"输入";
constexpr wchar_t kStartOutputLabel[] = L"输出";

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

  FocusInput();
  return TRUE;
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

void CConvertDlg::OnUpdateInput() {
  UpdateData(TRUE);
  m_strOutput = ToWide(yishu::ConvertText(DirectionOfRadio(m_nMode), ToU16(m_strInput)));
  UpdateData(FALSE);
}

void CConvertDlg::OnCodeToChar() {
  SetMode(0, L"输入四位数字后要加空格:", L"对应的汉字:");
}

void CConvertDlg::OnCharToCode() {
  SetMode(1, L"在这里输入汉字:", L"对应的电报码:");
}

// A mode switch converts nothing: the next change of the input does. The
// input's whole text is selected, so that typing replaces it.
void CConvertDlg::SetMode(int radio, const wchar_t* inputLabel, const wchar_t* outputLabel) {
  UpdateData(TRUE);
  m_nMode = radio;
  m_strInputLabel = inputLabel;
  m_strOutputLabel = outputLabel;
  UpdateData(FALSE);
  FocusInput();
}

// The cancel command: the About button, Escape, and every way of closing the
// window. The program stays open; only Exit ends it.
void CConvertDlg::OnAbout() {
  CAboutDlg dlgAbout;
  dlgAbout.DoModal();
  FocusInput();
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
  CAboutDlg dlgAbout;
  dlgAbout.DoModal();
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

void CConvertDlg::OnClear() {
  m_strInput.clear();
  m_strOutput.clear();
  UpdateData(FALSE);
  FocusInput();
}

void CConvertDlg::FocusInput() { GotoDlgCtrl(GetDlgItem(IDC_INPUT)); }

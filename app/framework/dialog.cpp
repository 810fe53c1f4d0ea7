#include "framework/dialog.h"

#include "framework/win_app.h"

CDialog::CDialog(UINT templateId, HWND parent) : m_nTemplateId(templateId), m_hParent(parent) {}

INT_PTR CDialog::DoModal() {
  HWND owner = m_hParent;
  if (!owner) {
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd && app->m_pMainWnd != this) owner = app->m_pMainWnd->GetSafeHwnd();
  }
  return DialogBoxParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(m_nTemplateId), owner,
                         &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(m_hWnd, saveAndValidate != FALSE);
  DoDataExchange(&dx);
  return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  UpdateData(TRUE);
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

bool CDialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

// Centred over the owner, or on the monitor's work area if there is none,
// and kept on that work area.
void CDialog::CenterWindow() {
  RECT rect{};
  GetWindowRect(m_hWnd, &rect);
  HWND owner = GetWindow(m_hWnd, GW_OWNER);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(owner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  RECT area = work;
  if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &area);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  int x = area.left + (area.right - area.left - width) / 2;
  int y = area.top + (area.bottom - area.top - height) / 2;
  if (x + width > work.right) x = work.right - width;
  if (y + height > work.bottom) y = work.bottom - height;
  if (x < work.left) x = work.left;
  if (y < work.top) y = work.top;
  SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDialog::EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }

void CDialog::GotoDlgCtrl(HWND control) {
  SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
  if (IsIconic(m_hWnd)) m_hWndFocusToRestore = control;
}

namespace {

// Posted to itself when the dialog has been restored: the restore has ended
// by the time it arrives.
constexpr UINT kRestoreFocusMessage = WM_APP + 0x2F0;

}  // namespace

// Under Wine, a minimized dialog that was activated (as it is when a box
// opened over it closes) has no focused control after it is restored, and
// typing goes nowhere. The dialog therefore remembers where the focus was, or
// was sent, while it is minimized, and gives it back once it is restored if
// the platform has not. On Windows the dialog manager restores it on
// activation; where it has, this finds the focus in place.
void CDialog::KeepFocusAcrossMinimizing(UINT message, WPARAM wParam) {
  const auto rememberFocus = [this] {
    HWND focus = GetFocus();
    if (focus && IsChild(m_hWnd, focus)) m_hWndFocusToRestore = focus;
  };
  switch (message) {
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_MINIMIZE) rememberFocus();
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) rememberFocus();
      break;
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED) {
        rememberFocus();
        m_bMinimized = true;
      } else if (m_bMinimized) {
        m_bMinimized = false;
        PostMessageW(m_hWnd, kRestoreFocusMessage, 0, 0);
      }
      break;
    case kRestoreFocusMessage: {
      HWND focus = GetFocus();
      HWND wanted = m_hWndFocusToRestore;
      if (GetActiveWindow() == m_hWnd && !(focus && IsChild(m_hWnd, focus)) && wanted &&
          IsChild(m_hWnd, wanted) && IsWindowEnabled(wanted) && IsWindowVisible(wanted)) {
        SetFocus(wanted);
      }
      break;
    }
  }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* dialog = reinterpret_cast<CDialog*>(lParam);
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    dialog->m_hWnd = window;
  }
  auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!dialog) return FALSE;  // messages before WM_INITDIALOG: the platform's defaults
  INT_PTR answer = FALSE;
  try {
    answer = dialog->Dispatch(message, wParam, lParam);
  } catch (...) {
    // Nothing may unwind through the platform's frames. The handler's work is
    // abandoned; the controls still hold everything the user typed.
    MessageBeep(MB_ICONERROR);
    answer = FALSE;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, DWLP_USER, 0);
    dialog->m_hWnd = nullptr;
  }
  return answer;
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    // As the class framework does: a dialog that did not place itself while
    // initialising is centred (the templates say 0, 0).
    RECT before{}, after{};
    GetWindowRect(m_hWnd, &before);
    const BOOL result = OnInitDialog();
    GetWindowRect(m_hWnd, &after);
    if (EqualRect(&before, &after)) CenterWindow();
    return result;
  }

  KeepFocusAcrossMinimizing(message, wParam);

  LRESULT result = 0;
  if (OnMessage(message, wParam, lParam, result)) {
    switch (message) {
      // These answer through the dialog procedure's own return value.
      case WM_CHARTOITEM:
      case WM_COMPAREITEM:
      case WM_CTLCOLORBTN:
      case WM_CTLCOLORDLG:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORLISTBOX:
      case WM_CTLCOLORSCROLLBAR:
      case WM_CTLCOLORSTATIC:
      case WM_QUERYDRAGICON:
      case WM_VKEYTOITEM:
        return static_cast<INT_PTR>(result);
      default:
        SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
  }

  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    switch (LOWORD(wParam)) {
      case IDOK:
        OnOK();
        return TRUE;
      case IDCANCEL:
        OnCancel();
        return TRUE;
    }
  }
  return FALSE;
}

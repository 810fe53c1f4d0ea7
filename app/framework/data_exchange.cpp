#include "framework/data_exchange.h"

#include "framework/text_diff.h"

std::wstring GetWindowTextString(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)), L'\0');
  if (!text.empty()) {
    // The length may have been an overestimate; trust what was copied.
    int copied = GetWindowTextW(window, text.data(), static_cast<int>(text.size()) + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  }
  return text;
}

namespace {

bool IsEditControl(HWND control) {
  return (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0;
}

// Replaces only the part of an edit box's text that differs from `text`
// (see text_diff.h). Afterwards the caret is at the start and the view at the
// top, as if the whole text had been set. False if the box did not take the
// text (it may refuse what would exceed its limit).
bool ReplaceChangedPart(HWND control, const std::wstring& current, const std::wstring& text) {
  const TextDiff diff = DiffTexts(current, text);
  const std::wstring middle = text.substr(diff.start, diff.afterEnd - diff.start);
  SendMessageW(control, EM_SETSEL, diff.start, diff.beforeEnd);
  SendMessageW(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(middle.c_str()));
  if (static_cast<size_t>(GetWindowTextLengthW(control)) != text.size()) return false;
  SendMessageW(control, EM_SETSEL, 0, 0);
  SendMessageW(control, EM_SCROLLCARET, 0, 0);
  return true;
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int id, std::wstring& value) {
  HWND control = GetDlgItem(pDX->m_hDialog, id);
  if (!control) return;
  if (pDX->m_bSaveAndValidate) {
    value = GetWindowTextString(control);
    return;
  }
  const std::wstring current = GetWindowTextString(control);
  if (current == value) return;
  // The write may raise a change notification whose handler reassigns the
  // member; hand the control a copy that cannot move underneath it.
  const std::wstring text = value;
  if (IsEditControl(control) && ReplaceChangedPart(control, current, text)) return;
  SetWindowTextW(control, text.c_str());
}

namespace {

bool IsRadioButton(HWND control) {
  return (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}

}  // namespace

void DDX_Radio(CDataExchange* pDX, int id, int& value) {
  HWND control = GetDlgItem(pDX->m_hDialog, id);
  if (!control) return;
  if (pDX->m_bSaveAndValidate) value = -1;
  // The group runs from `id` up to the next control that starts a group.
  int index = 0;
  do {
    if (IsRadioButton(control)) {
      if (pDX->m_bSaveAndValidate) {
        if (SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
      } else {
        SendMessageW(control, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      ++index;
    }
    control = GetWindow(control, GW_HWNDNEXT);
  } while (control && !(GetWindowLongPtrW(control, GWL_STYLE) & WS_GROUP));
}

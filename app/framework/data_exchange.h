// Dialog data exchange: copies members into controls or controls into members.
#pragma once

#include <windows.h>

#include <string>

class CDataExchange {
 public:
  CDataExchange(HWND dialog, bool saveAndValidate)
      : m_hDialog(dialog), m_bSaveAndValidate(saveAndValidate) {}

  HWND m_hDialog;
  bool m_bSaveAndValidate;  // true: controls -> members; false: members -> controls
};

// The text of control `id`. Writing leaves a control whose text already equals
// `value` untouched, so its caret, selection and scroll position stay put and
// it raises no change notification.
void DDX_Text(CDataExchange* pDX, int id, std::wstring& value);

// The index of the checked radio button in the group that starts at control
// `id` (-1 if none is checked); writing checks the button at that index.
void DDX_Radio(CDataExchange* pDX, int id, int& value);

// The whole text of a window.
std::wstring GetWindowTextString(HWND window);

// A modal dialog built from a resource template: the small stand-in for the
// class framework's CDialog. The object lives on its owner's stack; while the
// window exists it holds a pointer back to the object, and every message for
// the window passes through one place, Dispatch.
#pragma once

#include <windows.h>

#include "framework/data_exchange.h"

class CDialog {
 public:
  // `parent` null: the application's main window owns the dialog, if there is one.
  explicit CDialog(UINT templateId, HWND parent = nullptr);
  virtual ~CDialog() = default;
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  // Runs the dialog until it ends; returns the value given to EndDialog, or
  // -1 if the window could not be created.
  INT_PTR DoModal();

  HWND GetSafeHwnd() const { return m_hWnd; }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }

  // true: controls -> members; false: members -> controls.
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

 protected:
  virtual void DoDataExchange(CDataExchange* pDX);

  // Writes the members into the controls; the result is the one
  // WM_INITDIALOG returns (TRUE: the platform focuses the first tab stop).
  virtual BOOL OnInitDialog();

  // Exit: reads the controls, then ends the dialog with IDOK.
  virtual void OnOK();
  // Ends the dialog with IDCANCEL.
  virtual void OnCancel();

  // The derived dialog's message map. Returns true when the message was
  // handled, with `result` as its answer; false passes it on to the
  // framework and then to the platform's default processing.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  void EndDialog(INT_PTR result);

  // Centres the dialog over its owner, or on the screen if it has none.
  // A dialog that does not place itself while initialising is centred.
  void CenterWindow();

  // Moves the focus to `control` through the dialog manager, which also
  // selects an edit box's whole text and keeps the default button right.
  void GotoDlgCtrl(HWND control);

  HWND m_hWnd = nullptr;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void KeepFocusAcrossMinimizing(UINT message, WPARAM wParam);

  UINT m_nTemplateId;
  HWND m_hParent;
  HWND m_hWndFocusToRestore = nullptr;
  bool m_bMinimized = false;
};

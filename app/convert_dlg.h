// The conversion dialog: the input box is converted as a whole on every
// change, in the mode the radio buttons choose, and the result shown in the
// output box.
#pragma once

#include <windows.h>

#include <string>

#include "framework/dialog.h"

class CConvertDlg : public CDialog {
 public:
  explicit CConvertDlg(HWND parent = nullptr);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  // Framework-shaped handlers: false passes the message on to the platform's
  // default processing.
  bool OnSysCommand(UINT nID, LPARAM lParam);
  bool OnPaint();
  HCURSOR OnQueryDragIcon();

  void OnCodeToChar();
  void OnCharToCode();
  void OnUpdateInput();
  void OnAbout();
  void OnClear();

 private:
  void SetMode(int radioIndex, const wchar_t* inputLabel, const wchar_t* outputLabel);
  void AddAboutToSystemMenu();
  void RunAboutBox();
  void PlaceBesideOtherCopies();
  void ShowInputLineInOutput(int outputTopLine);
  static int VisibleLines(HWND edit);
  void FocusInput();

  std::wstring m_strInput;
  std::wstring m_strOutput;
  int m_nMode = 0;  // index of the checked radio button; -1 (none) converts as 0
  std::wstring m_strInputLabel;
  std::wstring m_strOutputLabel;
  HICON m_hIcon;
};

// The application object: the small stand-in for the class framework's
// CWinApp. The program defines exactly one, as a global; the entry point
// (win_main.cpp) runs its InitInstance, and the program ends when that
// returns.
#pragma once

#include <windows.h>

class CDialog;

class CWinApp {
 public:
  CWinApp();
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // Runs the program; FALSE, as the class framework has it, for a program
  // that needs no message loop after its dialog has ended.
  virtual BOOL InitInstance() { return FALSE; }

  CDialog* m_pMainWnd = nullptr;
  HINSTANCE m_hInstance = nullptr;
};

// The one application object, and the module that holds the resources.
CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();

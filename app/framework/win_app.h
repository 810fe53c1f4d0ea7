// The application object: the small stand-in for the class framework's
// CWinApp. The program defines exactly one, as a global; the entry point
// (win_main.cpp) runs its InitInstance and, if that returns TRUE, a message
// loop until WM_QUIT.
#pragma once

#include <windows.h>

class CDialog;

class CWinApp {
 public:
  CWinApp();
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // Returns TRUE to run the message loop, FALSE to end the program.
  virtual BOOL InitInstance() { return FALSE; }

  int Run();

  CDialog* m_pMainWnd = nullptr;
  HINSTANCE m_hInstance = nullptr;
};

// The one application object, and the module that holds the resources.
CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();

#include "convert_app.h"

#include "convert_dlg.h"

// The one application object.
CConvertApp theApp;

BOOL CConvertApp::InitInstance() {
  CConvertDlg dlg;
  m_pMainWnd = &dlg;
  dlg.DoModal();
  m_pMainWnd = nullptr;
  // The dialog has ended: end the program instead of running a message loop.
  return FALSE;
}

#include "framework/win_app.h"

namespace {
CWinApp* theApp = nullptr;
}  // namespace

CWinApp::CWinApp() { theApp = this; }

CWinApp::~CWinApp() {
  if (theApp == this) theApp = nullptr;
}

CWinApp* AfxGetApp() { return theApp; }

HINSTANCE AfxGetInstanceHandle() {
  return theApp && theApp->m_hInstance ? theApp->m_hInstance : GetModuleHandleW(nullptr);
}

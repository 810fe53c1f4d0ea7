// The program's entry point. The command line and the show command are not
// used: the program takes no arguments.
#include <windows.h>

#include "framework/win_app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  CWinApp* app = AfxGetApp();
  if (!app) return 1;
  app->m_hInstance = instance;
  // The program has no message loop of its own: InitInstance runs the main
  // dialog, whose modal loop is the only one, and returns when it has ended.
  app->InitInstance();
  return 0;
}

#include "about_dlg.h"

#include "resource.h"

// Every text of the box comes from its template; nothing is exchanged.
CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

// The About box: the program's name and version, its icon and its makers.
#pragma once

#include "framework/dialog.h"

class CAboutDlg : public CDialog {
 public:
  CAboutDlg();
};

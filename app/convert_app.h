// The application object: runs the conversion dialog and ends when it closes.
#pragma once

#include "framework/win_app.h"

class CConvertApp : public CWinApp {
 public:
  BOOL InitInstance() override;
};

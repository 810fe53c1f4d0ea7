// The handler timer in window_probe.dll: how long the program spends inside
// one notification, measured in the program itself. The driver creates the
// shared memory named HandlerTimerMappingName(program's process id), sets the
// notification to time (the control identifier and notification code of a
// WM_COMMAND), and hooks the program's thread with HandlerTimerHook
// (WH_CALLWNDPROC) and HandlerTimerReturnHook (WH_CALLWNDPROCRET). Every
// outermost call of the dialog procedure for that notification adds one
// duration. The hooks run for every message sent inside the handler too, so
// the durations include their small cost.
#pragma once

#include <windows.h>

#include <string>

struct HandlerTimes {
  WORD controlId;       // set by the driver
  WORD notification;    // set by the driver
  volatile LONG count;  // durations recorded
  double milliseconds[4096];
};

inline std::wstring HandlerTimerMappingName(DWORD processId) {
  return L"Local\\yishu-handler-timer-" + std::to_wstring(processId);
}

// Resource and control identifiers of the Windows program, shared by the
// resource script and the code.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_CONVERT_DIALOG 102
#define IDR_MAINFRAME 128
#define IDI_ABOUT 129

#define IDM_ABOUTBOX 0x0010

#define IDC_INPUT 1000
#define IDC_CODE_TO_CHAR 1001
#define IDC_CHAR_TO_CODE 1002
#define IDC_OUTPUT 1003
#define IDC_CLEAR 1004
#define IDC_INPUT_LABEL 1009
#define IDC_OUTPUT_LABEL 1010

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

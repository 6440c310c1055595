// Control identifiers of the two windows. The end-to-end driver finds the
// controls by these numbers, so they are part of the program's surface.
#pragma once

// frmSetup
#define IDC_CMDOK           1      // IDOK: the default button
#define IDC_CMDSTORNO       2      // IDCANCEL: the cancel button
#define IDC_CMDPROCHAZET    1001
#define IDC_SLOZKA          1002
#define IDC_LABNADPIS       1003
#define IDC_LABSETUP        1004
#define IDC_OBRAZEKSETUP    1005
#define IDC_LINE2           1006
#define IDC_LINE1           1007

// frmPrubeh
#define IDC_PRUBEH_STORNO   2      // IDCANCEL
#define IDC_LABEL1          1101
#define IDC_IMAGE1          1102
#define IDC_UKAZATEL        1103
#define IDC_METR            1104
#define IDC_TEXT            1105

// Sent to the bar (IDC_UKAZATEL): wParam is its filled width in pixels,
// lParam the share of the run done in percent (0 to 100), which the bar
// tells screen readers.
#define UM_SIRKAUKAZATELE   0x0401   // WM_USER + 1

// Sent to the status line (IDC_TEXT) and the bar: draw what changed since
// they last drew. No parameters.
#define UM_VYKRESLI         0x0402   // WM_USER + 2

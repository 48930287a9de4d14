// Control identifiers of the rig's own test dialog, shared with the scenarios that
// drive it.
#pragma once

#define IDD_TESTDLG 100
#define IDC_TESTDLG_EDIT 1001
#define IDC_TESTDLG_CHECK 1002
#define IDC_TESTDLG_RADIO_A 1003
#define IDC_TESTDLG_RADIO_B 1004
#define IDC_TESTDLG_LABEL 1005

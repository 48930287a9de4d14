// Resource ids of the framework tests.
#pragma once

#define IDR_TEST_FRAME 128
#define IDR_MISSING 999
#define IDD_EXCHANGE 200
#define IDS_LONG 300
#define IDC_TEXT 1000
#define IDC_CHECK 1002
#define IDC_RANGE_FIRST 1020

// Ids of the CDialog tests' resource script (DialogTest.rc).
#pragma once

#define IDD_FORM 300
#define IDD_BARE 301
#define IDD_MISSING 399

#define IDC_FAST 1001
#define IDC_SLOW 1002
#define IDC_OFF 1003
#define IDC_LEVEL 1004
#define IDC_LOG 1005
#define IDC_COUNT 1006
#define IDC_APPLY 1007

#define IDS_GREETING 10
#define IDS_WIDE 11

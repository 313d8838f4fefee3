#pragma once
// Resource ids of the window-layer tests' dialog.
#define IDD_UI_TEST_DIALOG 100
#define IDC_UI_TEST_NAME 1001
#define IDC_UI_TEST_LABEL 1002
#define IDC_UI_TEST_CHECK 1003

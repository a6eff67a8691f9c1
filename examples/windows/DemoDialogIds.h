/* The identifiers of the demo dialog's template (DemoDialog.rc) and program (DemoDialog.c). */
#ifndef KW_DEMO_DIALOG_IDS_H
#define KW_DEMO_DIALOG_IDS_H

#define IDD_DEMO 100
#define IDC_PHONE 101
#define IDC_CODE 102
#define IDC_YEAR 103
#define IDC_NUMBER 104
#define IDC_AMOUNT 105
#define IDC_DATE 106
#define IDC_CHECK 107
#define IDC_NAME 108

#endif

/* The identifiers of the dialog template the dialog host shows (DialogHost.rc). */
#ifndef KW_DIALOG_IDS_H
#define KW_DIALOG_IDS_H

#define IDD_FORM 100
#define IDC_PHONE 101
#define IDC_CODE 102
#define IDC_AMOUNT 103
#define IDC_PLAIN 104

#endif

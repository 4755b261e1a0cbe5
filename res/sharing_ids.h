#pragma once
// Identifiers of printing, the information file, import, export and
// network mode (15000-15999).

#define IDD_OUTPUT_MACROS 15001
#define IDD_EXPORT_MACROS 15002
#define IDD_IMPORT_MACROS 15003
#define IDD_NETWORK 15004

// Output Macros To File: the six check boxes in dialog order.
#define IDC_OUT_HOTKEY 15011
#define IDC_OUT_NAME 15012
#define IDC_OUT_WINDOW 15013
#define IDC_OUT_TEXT 15014
#define IDC_OUT_SCHEDULE 15015
#define IDC_OUT_ICON 15016

// Export Macros
#define IDC_EXPORT_LIST 15021
#define IDC_EXPORT_ALL 15022
#define IDC_EXPORT_CLEAR 15023
#define IDC_EXPORT_SAVE 15024

// Import Macros
#define IDC_IMPORT_LIST 15031
#define IDC_IMPORT_OPEN 15032
#define IDC_IMPORT_ALL 15033
#define IDC_IMPORT_CLEAR 15034
#define IDC_IMPORT_FILE 15035

// Network Considerations
#define IDC_NETWORK_OPTION 15041
#define IDC_AUTO_SYNC 15042
#define IDC_MINUTES 15043
#define IDC_MINUTES_LABEL1 15044
#define IDC_MINUTES_LABEL2 15045

#pragma once
// Resources of the main window's own dialogs, the speed bar and the
// keyboard table (identifiers 10000 to 10999).

#define IDR_MAIN_ACCEL 10000
#define IDB_SPEEDBAR 10001
#define IDC_SPEEDBAR 10010

// TCopyOrMove
#define IDD_COPY_OR_MOVE 10100
#define IDC_CM_LABEL 10101
#define IDC_CM_HOTKEY_RADIO 10102
#define IDC_CM_SNAPWORD_RADIO 10103
#define IDC_CM_TIMED_RADIO 10104
#define IDC_CM_HOTKEY_FIELD 10105
#define IDC_CM_HOTKEY_LIST 10106
#define IDC_CM_SNAPWORD_LABEL 10107
#define IDC_CM_SNAPWORD_FIELD 10108

// TSystemKeys
#define IDD_SYSTEM_KEYS 10200
#define IDC_SK_LABEL_1 10201  // to 10204
#define IDC_SK_FIELD_1 10211  // to 10214
#define IDC_SK_MENU_GROUP 10220
#define IDC_SK_MENU_1 10221  // to 10223

// TQuickInfo
#define IDD_QUICK_INFO 10300
#define IDC_QI_MODIFIED 10301
#define IDC_QI_ICON 10302
#define IDC_QI_ACTIVATION_LABEL 10303
#define IDC_QI_ACTIVATION 10304
#define IDC_QI_NICKNAME 10306
#define IDC_QI_SCOPE 10308
#define IDC_QI_ACTIVE 10310
#define IDC_QI_TEXT_LABEL 10311
#define IDC_QI_TEXT 10312

// TSortOrder
#define IDD_SORT_ORDER 10400
#define IDC_SO_LIST_1 10401  // to 10403: primary, activation, scope
#define IDC_SO_UP_1 10411    // to 10413
#define IDC_SO_DOWN_1 10421  // to 10423

// TAppearance
#define IDD_APPEARANCE 10500
#define IDC_AP_GRID_FONT 10501
#define IDC_AP_TITLE_FONT 10502
#define IDC_AP_COL_1 10511  // to 10513
#define IDC_AP_SPEED 10521
#define IDC_AP_LETTERED 10522

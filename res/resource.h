#pragma once
// Resource and command identifiers shared by the resource script and the program.

#define IDI_MAIN 1
#define IDI_MENU 2
#define IDR_MAINMENU 100

// File menu
#define IDM_NEW_FILE 1001
#define IDM_OPEN_FILE 1002
#define IDM_PRINT_LIST 1003
#define IDM_PRINTER_SETUP 1004
#define IDM_PRINTER_FONT 1005
#define IDM_OUTPUT_INFO 1006
#define IDM_IMPORT 1007
#define IDM_EXPORT 1008
#define IDM_HIDE 1009
#define IDM_TERMINATE 1010
#define IDM_RECENT_SEPARATOR 1019
#define IDM_RECENT_1 1021  // to IDM_RECENT_1 + 4

// Macro menu
#define IDM_ADD_MACRO 1101
#define IDM_SCRIPTING_EDITOR 1102
#define IDM_MODIFY_DIRECTLY 1103
#define IDM_RECAPTURE 1104
#define IDM_COPY_MACRO 1105
#define IDM_RENAME_MACRO 1106
#define IDM_REMOVE_MACRO 1107
#define IDM_ACTIVATE_MACRO 1108
#define IDM_QUICK_INFO 1109
// Enter on the list: no menu item, so never greyed with the Scripting Editor.
#define IDM_OPEN_SELECTED 1110

// Options menu
#define IDM_APPEARANCE 1201
#define IDM_SORT 1202
#define IDM_SNAPWORDS 1203
#define IDM_CAPTURE 1204
#define IDM_REMAP 1205
#define IDM_NETWORK 1206
#define IDM_TIMER_INTERVAL 1207
#define IDM_ALARM 1208
#define IDM_SCREEN_SAVER_DISABLE 1209
#define IDM_SHOW_DATE 1210
#define IDM_SYSTEM_TRAY 1211
#define IDM_SYSTEM_HOT_KEYS 1212

// Tools menu
#define IDM_RESTORE_KEYBOARD 1301
#define IDM_RESTORE_MOUSE 1302

// Help menu
#define IDM_HELP_CONTENTS 1401

#define IDC_MACRO_LIST 2001

// Playback dialogs
#define IDD_PAUSE_MACRO 3001
#define IDD_REPEAT_PROMPT 3002
#define IDD_ON_TOP_MESSAGE 3003
#define IDC_PAUSE_HEADING 3101
#define IDC_MACRO_TITLE_LABEL 3102
#define IDC_MESSAGE_LABEL 3103
#define IDC_RESUME_BUTTON 3104
#define IDC_ABORT_BUTTON 3105
// TheMessage: the label of the repeat prompt and of the on-top message.
#define IDC_THE_MESSAGE 3111
#define IDC_NUM_REPS 3112

// Capture, Snapwords and key remapping (13000-13999).
#include "capture_ids.h"
// Timed macros and popup-menu macros (14000-14999).
#include "schedule_ids.h"
// Macro editors and command dialogs (11000-12999).
#include "editor_ids.h"
// The main window's dialogs, speed bar and keys (10000-10999).
#include "mainwin_ids.h"
// Printing, the information file, import, export and network mode (15000-15999).
#include "sharing_ids.h"

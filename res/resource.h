// Resource numbers shared by the resource script and the Windows shell.
#pragma once

#define IDD_MAIN 102
#define IDD_REMIND 140
#define IDC_PASSWORD 1055
#define IDC_REMIND_TEXT 1019

#define IDI_APP 128
#define IDI_TRAY_START 132
#define IDI_EYE_OFF 133
#define IDI_EYE_ON 135
#define IDI_EYE_ON_NOHOST 137
#define IDI_EYE_OFF_NOHOST 138
#define IDI_MAIL 147

#define IDS_VERSION 32791
#define IDS_UPDATE_FILE_B 32793
#define IDS_UPDATE_FILE_A 32794
#define IDS_NO_UPDATE_YET 32795
#define IDS_IS_LATEST 32796
#define IDS_HOMEPAGE_B 32797
#define IDS_HOMEPAGE_A 32798
#define IDS_EMAIL 32799

// The tray menus and their commands (also sent by the keyboard and the tray clicks).
#define IDR_TRAY_MENU 136
#define IDR_MAIL_MENU 148

#define ID_REST_NOW 32771
#define ID_BACK_TO_WORK 32772
#define ID_APP_ABOUT 32774
#define ID_APP_EXIT 32775
#define ID_RELOAD_SETTINGS 32779
#define ID_README 32780
#define ID_EYE_CARE 32782
#define ID_SCREEN_SAVER 32783
#define ID_SHUTDOWN 32784
#define ID_LOGOFF 32785
#define ID_REBOOT 32786
#define ID_CHECK_HOST 32787
#define ID_CHECK_HOMEPAGE 32788
#define ID_TASK_LIST 32792
#define ID_CHECK_MAIL 32794
#define ID_MAIL_NOTICE_OK 32795
#define ID_SETTINGS 32796
#define ID_LOCK_SCREEN 32798
#define ID_CHECK_UPDATE 32799
#define ID_CHOOSE_PICTURE 32800
#define ID_FORCE_SHUTDOWN 32801
#define ID_HELP_INDEX 57670  // the help command of the framework the program was first written with

// Ctrl+Shift hotkeys, two ids a key (upper and lower case letter).
#define IDH_REST_A 1001
#define IDH_REST_B 1002
#define IDH_TRAY_A 1003
#define IDH_TRAY_B 1004
#define IDH_LOCK_A 1005
#define IDH_LOCK_B 1006

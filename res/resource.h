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

// Resource numbers of the task list, the task editor and the password prompt.
#pragma once

#define IDD_TASK_LIST 141
#define IDD_TASK_EDIT 142
#define IDD_PASSWORD 152
#define IDR_TASK_EDIT_MENU 156
#define IDR_TASK_LIST_MENU 157

// Task list
#define IDC_TASK_ENABLE 1008
#define IDC_TASK_PROMPT_SECONDS 1010
#define IDC_TASK_LIST 1029
#define IDC_TASK_ADD 1031
#define IDC_TASK_DELETE 1032
#define IDC_TASK_MODIFY 1033
#define IDC_TASK_PROMPT_SPIN 1065

// Task editor
#define IDC_EDIT_NOTE 1004
#define IDC_EDIT_TASK 1009
#define IDC_EDIT_TASK_MENU 1034
#define IDC_EDIT_DATE 1067
#define IDC_EDIT_DAILY 1068
#define IDC_EDIT_TIME 1069

// Password prompt
#define IDC_PASSWORD_INPUT 1057

// Menu 156: the editor's task choices
#define ID_TASK_SHUTDOWN 32802
#define ID_TASK_REBOOT 32803
#define ID_TASK_LOGOFF 32804
#define ID_TASK_SHUTDOWNEX 32805
#define ID_TASK_SCREENSAVER 32806
#define ID_TASK_LOCK 32807
#define ID_TASK_UNLOCK 32808
#define ID_TASK_BROWSE 32809
#define ID_TASK_COMMANDS_CAPTION 32811

// Menu 157: the list's context menu
#define ID_LIST_ADD 32812
#define ID_LIST_MODIFY 32813
#define ID_LIST_DELETE 32814

// Resource numbers of the About dialog.
#pragma once

#define IDD_ABOUT 100
#define IDB_ABOUT 136

#define IDC_ABOUT_PICTURE 1011
#define IDC_LINK_EMAIL 1013
#define IDC_LINK_HOMEPAGE1 1040
#define IDC_LINK_HOMEPAGE2 1041
#define IDC_VISIT_HOMEPAGE 1054
#define IDC_CUR_VERSION 1058
#define IDC_NEW_VERSION 1061

#pragma once

#define IDI_APPLICATION_ICON 107
#define IDI_APPLICATION_ICON_SMALL 108
#define IDD_MAIN 129

#define IDC_SOURCE_PATH 1000
#define IDC_BROWSE 1001
#define IDC_SPLIT_SIZE 1002
#define IDC_START_SPLIT 1003
#define IDC_CANCEL_SPLIT 1004
// Made at run time, not in the template.
#define IDC_SPLIT_PROGRESS 1005
#define IDC_MAKE_SPARE 1006

#define IDC_STATIC -1

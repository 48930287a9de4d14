// Identifiers of setup.exe's resources, shared by the program, its resource script and
// the translated resource library (which must use the very same numbers).
#pragma once

#include "framework/afxres.h"

// Menu, toolbar, icon and document string of the main frame
#define IDR_MAINFRAME 128

// Dialog templates
#define IDD_ABOUTBOX 100
#define IDD_BROWSER_SELECT 133
#define IDD_DESTINATION 139
#define IDD_COPYING 143
#define IDD_DESTINATION_CLIENT 146
#define IDD_LICENSE 147

// About box
#define IDC_ABOUT_SLIDER 1043

// Browser selection: eleven radio rows, the path of another browser and its Browse button
#define IDC_BROWSER_RADIO_FIRST 1028
#define IDC_BROWSER_RADIO_LAST 1038
#define IDC_BROWSE 1039
#define IDC_BROWSER_PATH 1040

// Destination
#define IDC_DEST_PATH 1012
#define IDC_SOLARIS 1019
#define IDC_SUNOS 1020
#define IDC_AIX 1021
#define IDC_HPUX 1022
#define IDC_MACINTOSH 1023
#define IDC_IRIX 1025
#define IDC_SETUP_ICON_ONLY 1026
#define IDC_ALPHAOSF 1041

// Licence agreement
#define IDC_LICENSE_TEXT 1042

// Messages and labels
#define IDS_COULD_NOT_COPY 61211
#define IDS_NO_SPACE 61214
#define IDS_NETSCAPE3_LABEL 61215
#define IDS_IE_LABEL 61217
#define IDS_INVALID_DIRECTORY 61221
#define IDS_LICENSE_AGREEMENT 61224
#define IDS_REINSTALL_QUESTION 61226

// Identifiers that belong to the framework rather than to one program: standard
// commands, control-bar windows, status-bar indicators and framework strings. Resource
// scripts include this file too, so it holds nothing but #defines.
#pragma once

// Commands
#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393

// Child windows of a frame
#define AFX_IDW_TOOLBAR 59392
#define AFX_IDW_STATUS_BAR 59393
#define AFX_IDW_PANE_FIRST 59648

// Status-bar indicators; 0 is the stretching message pane.
#define ID_SEPARATOR 0
#define ID_INDICATOR_CAPS 59137
#define ID_INDICATOR_NUM 59138
#define ID_INDICATOR_SCRL 59139

// Framework strings
#define AFX_IDS_APP_TITLE 57344
#define AFX_IDS_IDLEMESSAGE 57345

// Custom resource type of toolbar button layouts.
#define RT_TOOLBAR_ID 241

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

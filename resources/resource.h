#pragma once
// Identifiers shared by the resource script, the program and its tests.

#define IDI_TRAY 1
#define IDR_ABOUT_PICTURE 1  // RCDATA: the about window's JPEG

// Tray menu commands, posted to the main window as WM_COMMAND.
#define IDM_ENTIRE_SCREEN 101
#define IDM_ACTIVE_WINDOW 102
#define IDM_PREFERENCES 103
#define IDM_AUTO_START 104
#define IDM_HELP 106
#define IDM_ABOUT 107
#define IDM_EXIT 109

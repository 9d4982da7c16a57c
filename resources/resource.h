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

// Controls of the Preferences window, each named after its control. Fixed
// texts that nothing changes (the modifier column heads, the "+" signs) have
// no identifier of their own.
#define IDC_pcMain 1000
#define IDC_btOK 1001
#define IDC_btCancel 1002
#define IDC_btApply 1003
#define IDC_tsGeneral 1004
#define IDC_tsPrinting 1005
#define IDC_tsWatermark 1006
#define IDC_tsTimer 1007
// General
#define IDC_lbLanguage 1010
#define IDC_cbLanguage 1011
#define IDC_sbRefreshLanguages 1012
#define IDC_gbShortcuts 1013
#define IDC_lbShortcutKey 1014
#define IDC_lbEntireScreen 1015
#define IDC_cbxSCEntireScreenCtrl 1016
#define IDC_cbxSCEntireScreenAlt 1017
#define IDC_cbxSCEntireScreenShift 1018
#define IDC_cbxSCEntireScreenWin 1019
#define IDC_cbSCEntireScreenKey 1020
#define IDC_lbActiveWindow 1021
#define IDC_cbxSCActiveWindowCtrl 1022
#define IDC_cbxSCActiveWindowAlt 1023
#define IDC_cbxSCActiveWindowShift 1024
#define IDC_cbxSCActiveWindowWin 1025
#define IDC_cbSCActiveWindowKey 1026
#define IDC_lbDefaultTrayAction 1027
#define IDC_cbDefaultAction 1028
#define IDC_lbHome 1029
// Printing
#define IDC_lbPrinters 1040
#define IDC_cbPrinters 1041
#define IDC_Button1 1042
#define IDC_cbxFitToPage 1043
#define IDC_lbPagePosition 1044
#define IDC_cbPagePosition 1045
// Watermark
#define IDC_cbxMakeWater 1060
#define IDC_lbWaterLoc 1061
#define IDC_cbWaterLoc 1062
#define IDC_lbWaterText 1063
#define IDC_edWaterText 1064
#define IDC_lbWaterFont 1065
#define IDC_btFont 1066
#define IDC_btColor 1067
#define IDC_shColor 1068
#define IDC_gbWaterTransp 1069
#define IDC_trbWaterTransp 1070
#define IDC_lbSolid 1071
#define IDC_lbInvisible 1072
// Timer
#define IDC_cbxDelayedCapture 1080
#define IDC_lbDelay 1081
#define IDC_edDelay 1082
#define IDC_cbxSeveralShots 1083
#define IDC_lbNumOfShots 1084
#define IDC_edNumOfShots 1085
#define IDC_lbInterval 1086
#define IDC_edInterval 1087

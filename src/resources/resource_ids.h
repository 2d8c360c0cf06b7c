/* Resource and control ids shared by the resource script and the code.
   Plain #defines only: the resource compiler reads this file too. */
#ifndef TOLLIVAR_RESOURCE_IDS_H
#define TOLLIVAR_RESOURCE_IDS_H

/* Dialogs */
#define IDD_MAIN_WINDOW 1001
#define IDD_ALERT 1100
#define IDD_SPLASH 1110
#define IDD_HELP 1112
#define IDD_QUARANTINE 1142
#define IDD_TRAY_NOTICE 1149

/* Bitmaps */
#define IDB_BANNER 3
#define IDB_ALERT_BANNER 10
#define IDB_SPLASH 12
#define IDB_TRAY_PICTURE 16

/* Icons */
#define IDI_APP_ICON 4
#define IDI_SHIELD_ICON 5
#define IDI_SCAN_ICON 6
#define IDI_HEAL_ICON 7
#define IDI_SETTINGS_ICON 8
#define IDI_THREAT_ICON 9
#define IDI_HELP_FILE_ICON 13
#define IDI_HELP_WEB_ICON 14
#define IDI_HELP_MAIL_ICON 15

/* Main window controls (block 1000) */
#define IDC_BANNER 1005
#define IDC_HOME_BUTTON 1003
#define IDC_SHIELD_BUTTON 1008
#define IDC_SCAN_BUTTON 1009
#define IDC_HEAL_BUTTON 1012
#define IDC_SETTINGS_BUTTON 1013
#define IDC_QUARANTINE_BUTTON 1109
#define IDC_UPDATE_BUTTON 1018
#define IDC_HELP_BUTTON 1015
#define IDC_STATUS_BAR 1007

/* Tray menu (block 100) */
#define IDM_SHOW_MAIN_WINDOW 101
#define IDM_HIDE_MAIN_WINDOW 102
#define IDM_THREAT_SHIELD 103
#define IDM_THREAT_SCAN 104
#define IDM_HEAL_SYSTEM 105
#define IDM_SETTINGS 106
#define IDM_QUARANTINE 107
#define IDM_UPDATE 108
#define IDM_HELP 109
#define IDM_ABOUT 111
#define IDM_SHUTDOWN 112

/* Version resource */
#define TOLLIVAR_VERSION_MAJOR 1
#define TOLLIVAR_VERSION_MINOR 0
#define TOLLIVAR_VERSION_PATCH 0
#define TOLLIVAR_VERSION_TEXT "1.0.0"

#endif

// Resource and control ids, shared by the resource script and the program.
#pragma once

// Resources.
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_TALLYVANE_DIALOG 102
#define IDR_MAINFRAME 128
#define IDB_BOOK 131
#define IDD_OPTIONS 132
#define IDS_HELP_TEXT 200

// Commands.
#define IDM_ABOUTBOX 0x0010
#define ID_HELP 0xE146
#define ID_DEFAULT_HELP 0xE147

// Counter window.
#define IDC_START_DATE 1001
#define IDC_YEARS_LABEL 1004
#define IDC_MONTHS_LABEL 1005
#define IDC_DAYS_LABEL 1006
#define IDC_SECONDS_LABEL 1007
#define IDC_DAYS 1008
#define IDC_MINUTES_LABEL 1009
#define IDC_MINUTES 1010
#define IDC_SECONDS 1011
#define IDC_HOURS_LABEL 1012
#define IDC_HOURS 1013
#define IDC_YEARS 1014
#define IDC_MONTHS 1015
#define IDC_TOTAL_DAYS_LABEL 1016
#define IDC_TOTAL_SECONDS_LABEL 1017
#define IDC_TOTAL_DAYS 1018
#define IDC_TOTAL_SECONDS 1019

// Options dialog.
#define IDC_DATE_PICKER 1016
#define IDC_SHOW_TOTAL_DAYS 1017
#define IDC_SHOW_TOTAL_HOURS 1018
#define IDC_SHOW_TOTAL_MINUTES 1019
#define IDC_SHOW_LEAP_DAYS 1021
#define IDC_DATE_FORMAT 1022
#define IDC_QUIT_MEANS_QUIT 1023

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

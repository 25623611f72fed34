// Identifiers of every resource, control and command of the program.
#pragma once

#define IDD_INFO 100
#define IDS_ABOUTBOX 101
#define IDD_RECHNER 102
#define IDR_MAINFRAME 128
#define IDR_ANIMATION 130

#define IDM_ABOUTBOX 16
#define IDM_VORDERGRUND 40001

#define IDC_ZEIT1 1000
#define IDC_ZEIT2 1001
#define IDC_DIFFERENZ 1002
#define IDC_ERGEBNIS 1003
#define IDC_HOLEN1 1004
#define IDC_HOLEN2 1005
#define IDC_ABLEGEN 1006
#define IDC_STATUS 1008
#define IDC_KOMMENTAR 1009
#define IDC_VERSION 1011
#define IDC_ANIMATION 1012
#define IDC_COPYRIGHT 1022
#define IDC_FEEDBACK 1023
#define IDC_INFOICON 1004 // the info box's icon; same number as IDC_HOLEN1 in the other dialog

// The address for feedback shown in the info box.
#define ORVAND_FEEDBACK "orvand@example.com"

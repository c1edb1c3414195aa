// Resource ids of KeyRally. The GUI tests include this header too.
#pragma once
#include "AfxRes.h"

#define IDD_ABOUTBOX 100     // about box
#define IDR_MAINFRAME 128    // menu, accelerators and document string of the template
#define IDR_GAMEMENU 132     // the view's pop-up menu
#define IDI_KEYRALLY 133     // program icon
#define IDD_WORDLIST 136     // word list editor
#define IDD_RECORDS 137      // the records window

// about box (100)
#define IDC_ABOUT_NAME 1100
#define IDC_ABOUT_COPYRIGHT 1101

// commands
#define ID_GAME_JUDGE 32771  // Enter: judge the typed word
#define ID_GAME_START 32772
#define ID_WORD_FONT 32773
#define ID_WORD_LIST 32776
#define ID_GAME_RESUME 32778
#define ID_GAME_STOP 32779
#define ID_GAME_RECORDS 32780  // the records window

// game view and word list editor (136)
#define IDC_WORD_EDIT 1000        // the view's typing box
#define IDC_WORDLIST_LIST 1000    // editor: the words
#define IDC_WORDLIST_ENTRY 1001   // editor: the word to add or delete
#define IDC_WORDLIST_DELETE 1003
#define IDC_WORDLIST_ADD 1008

// records window (137)
#define IDC_RECORDS_NAME 1200         // the word list shown
#define IDC_RECORDS_BEST 1201         // its best total and when
#define IDC_RECORDS_LAST 1202         // its last game's rates
#define IDC_RECORDS_CHART_LABEL 1203
#define IDC_RECORDS_CHART 1204        // the chart of its last games
#define IDC_RECORDS_LISTS_LABEL 1205
#define IDC_RECORDS_LISTS 1206        // every word list played, with its best

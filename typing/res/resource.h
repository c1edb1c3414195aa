// Resource ids of KeyRally. The GUI tests include this header too.
#pragma once
#include "AfxRes.h"

#define IDD_ABOUTBOX 100     // about box
#define IDR_MAINFRAME 128    // menu, accelerators and document string of the template
#define IDR_GAMEMENU 132     // the view's pop-up menu
#define IDI_KEYRALLY 133     // program icon
#define IDD_WORDLIST 136     // word list editor

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

// game view and word list editor (136)
#define IDC_WORD_EDIT 1000        // the view's typing box
#define IDC_WORDLIST_LIST 1000    // editor: the words
#define IDC_WORDLIST_ENTRY 1001   // editor: the word to add or delete
#define IDC_WORDLIST_DELETE 1003
#define IDC_WORDLIST_ADD 1008

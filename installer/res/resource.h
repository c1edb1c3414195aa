// Resource ids of Hanbell. The GUI tests include this header too.
#pragma once

#define IDR_MAINFRAME 128          // program icon
#define IDB_WIZARD 129             // bitmap
#define IDB_WIZARD_SIDE 131        // bitmap shown at 1001 in the wizard

#define IDD_SETUPWIZARD_DIALOG 102 // main wizard
#define IDD_UNINSTALL 132          // uninstall dialog
#define IDD_OPENFILE 133           // open-after-install file dialog
#define IDD_ALTITUDE 134           // advanced options
#define IDD_LOADING 138            // "Now Loading..." window
#define IDD_BACKDROP 141           // blue title backdrop

// wizard (102)
#define IDC_BANNER 1000
#define IDC_SIDE_BITMAP 1001
#define IDC_STARTUP 1003
#define IDC_PROGRAM 1004
#define IDC_DESKTOP 1005
#define IDC_COMMENTARY 1008
#define IDC_USERNAME 1009
#define IDC_ORGANIZATION 1010
#define IDC_BROWSE 1011
#define IDC_INSTALL_PROGRESS 1013
#define IDC_TITLE 1017
#define IDC_TITLE_LABEL 1018
#define IDC_ORGANIZATION_LABEL 1019
#define IDC_USERNAME_LABEL 1020
#define IDC_TREE_HINT 1023
#define IDC_REFRESH 1034
#define IDC_FILECOUNT 1035
#define IDC_DELAY 1037
#define IDC_DELAY_LABEL 1038
#define IDC_COMPANY_LABEL 1039
#define IDC_COMPANY 1040
#define IDC_FILETREE 1041
#define IDC_INSTALLDIR_FRAME 1042
#define IDC_INSTALLDIR_LABEL 1043
#define IDC_FILECOUNT_LABEL 1044
#define IDC_REBOOT 1045
#define IDC_ALTITUDE 1046
#define IDC_VERSION 1047
#define IDC_INSTALLDIR 1068
#define IDC_BLUEBACK 1069

// loading window (138) and backdrop (141)
#define IDC_LOADING_PROGRESS 1071
#define IDC_BACKDROP_TITLE 1072

// advanced options (134) and open-after-install file dialog (133)
#define IDC_AI_TREE 1027
#define IDC_AI_HEADING 1036
#define IDC_AI_EXPLANATION 1046
#define IDC_ALT_SETDIR 1050
#define IDC_ALT_EXECUTE 1051
#define IDC_ALT_READMETEXT 1052
#define IDC_ALT_SETREADME 1053
#define IDC_ALT_SHORTCUT 1054
#define IDC_ALT_CLEARSHORTCUT 1055
#define IDC_ALT_GROUP 1056
#define IDC_ALT_CLEARGROUP 1057
#define IDC_ALT_CLEARALL 1058
#define IDC_ALT_NAMELIST 1059
#define IDC_ALT_CLEARGROUPTREE 1060
#define IDC_ALT_CLEARNAMES 1061
#define IDC_ALT_GROUPTREE 1062
#define IDC_ALT_SYSTEMTREE 1063
#define IDC_ALT_CLEARSYSTEMTREE 1064
#define IDC_ALT_REFRESHNAMES 1065
#define IDC_ALT_NAMEEDIT 1067
#define IDC_ALT_INSTALLDIR 1070

// uninstall dialog (132): title and company lines, the six step indicators
#define IDC_UNINSTALL_FILES 1016
#define IDC_UNINSTALL_FOLDER 1018
#define IDC_UNINSTALL_REGISTRY 1019
#define IDC_UNINSTALL_STARTUP 1020
#define IDC_UNINSTALL_GROUP 1021
#define IDC_UNINSTALL_DESKTOP 1022
#define IDC_UNINSTALL_TITLE 1036
#define IDC_UNINSTALL_COMPANY 1039

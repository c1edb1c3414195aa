#include "UninstallDlg.h"

#include "resource.h"

BEGIN_MESSAGE_MAP(CUninstallDlg, CDialog)
END_MESSAGE_MAP()

CUninstallDlg::CUninstallDlg(CWnd* pParent) : CDialog(IDD_UNINSTALL, pParent) {}

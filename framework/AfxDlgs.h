// Common dialogs beyond the file dialogs of the document commands: the font dialog.
#pragma once
// clang-format off
#include "AfxWin.h"  // windows.h first: commdlg.h needs it
#include <commdlg.h>
// clang-format on

class CFontDialog {
 public:
  // Starts from *plfInitial when given; dwFlags are ChooseFont's CF_ flags.
  explicit CFontDialog(const LOGFONTA* plfInitial = nullptr, DWORD dwFlags = CF_EFFECTS | CF_SCREENFONTS,
                       HDC hdcPrinter = nullptr, CWnd* pParentWnd = nullptr);
  CFontDialog(const CFontDialog&) = delete;
  CFontDialog& operator=(const CFontDialog&) = delete;

  // IDOK or IDCANCEL; owned by the parent, else by the main window's last popup.
  INT_PTR DoModal();
  void GetCurrentFont(LOGFONTA* lf) const { *lf = m_lf; }
  COLORREF GetColor() const { return m_cf.rgbColors; }

  CHOOSEFONTA m_cf;
  LOGFONTA m_lf;

 private:
  CWnd* m_pParentWnd;
};

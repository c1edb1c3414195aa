#pragma once
#include "AfxCtrl.h"
#include "LoadingWindow.h"

// "Now Loading..." window with a progress bar, shown while trees are filled.
class CLoadingDlg : public CDialog, public ILoadingWindow {
 public:
  CLoadingDlg() : CDialog(138) {}
  // Bar range 0..limit (16 bits), position 0, the given step.
  void BeginProgress(unsigned int nLimit, int nStep) override;
  // One step; past the limit the bar starts over from 0.
  void AdvanceProgress() override;
  void Show() override;
  void Hide() override;

  CProgressCtrl m_progress;

 private:
  int m_nStep = 1;  // the step of the last BeginProgress

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  DECLARE_MESSAGE_MAP()
};

// The loading window, authoring mode only: a process-wide value the start-up sets.
extern CLoadingDlg* g_pLoadingDlg;

// The loading window as the wizard sees it: the start-up makes it (for the authoring
// form only) and provides it; the wizard shows and hides it around long steps, and the
// file tree's fill moves its bar.
#pragma once

class ILoadingWindow {
 public:
  // Bar range 0..limit (16 bits), position 0, the given step.
  virtual void BeginProgress(unsigned int nLimit, int nStep) = 0;
  // One step; past the limit the bar starts over from 0.
  virtual void AdvanceProgress() = 0;
  virtual void Show() = 0;
  virtual void Hide() = 0;

 protected:
  ~ILoadingWindow() = default;
};

// The process's loading window, nullptr when there is none. The start-up provides it
// with the window itself, so that the wizard calls up to it without naming it.
ILoadingWindow* GetLoadingWindow();

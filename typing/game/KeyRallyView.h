// The game view. For now it only fills the frame; the game comes later.
#pragma once
#include "AfxDoc.h"
#include "KeyRallyDoc.h"

class CKeyRallyView : public CView {
 protected:
  CKeyRallyView() = default;
  DECLARE_DYNCREATE(CKeyRallyView)

 public:
  CKeyRallyDoc* GetDocument() const { return static_cast<CKeyRallyDoc*>(m_pDocument); }
  void OnDraw(CDC* pDC) override;
};

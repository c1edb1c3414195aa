#include "KeyRallyView.h"

IMPLEMENT_DYNCREATE(CKeyRallyView, CView)

void CKeyRallyView::OnDraw(CDC*) {}

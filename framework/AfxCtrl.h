// Control wrappers and GDI objects. Thin: each call is the control's own message.
#pragma once
#include "AfxWin.h"

class CStatic : public CWnd {};

class CButton : public CWnd {
 public:
  int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
  void SetCheck(int nCheck) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck)); }
};

class CEdit : public CWnd {
 public:
  void SetLimitText(UINT nMax) { SendMessage(EM_LIMITTEXT, nMax); }
  void SetSel(int nStart, int nEnd) { SendMessage(EM_SETSEL, nStart, nEnd); }
  int GetLineCount() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
  // One display line (soft line breaks count), without its break.
  CString GetLine(int nIndex) const;
  void SetReadOnly(BOOL b = TRUE) { SendMessage(EM_SETREADONLY, b); }
};

class CProgressCtrl : public CWnd {
 public:
  void SetRange(short nLower, short nUpper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper)); }
  int SetPos(int nPos) { return static_cast<int>(SendMessage(PBM_SETPOS, nPos)); }
  int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
  int SetStep(int nStep) { return static_cast<int>(SendMessage(PBM_SETSTEP, nStep)); }
  int StepIt() { return static_cast<int>(SendMessage(PBM_STEPIT)); }
};

class CListBox : public CWnd {
 public:
  int AddString(const char* s) { return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s))); }
  int InsertString(int i, const char* s) { return static_cast<int>(SendMessage(LB_INSERTSTRING, i, reinterpret_cast<LPARAM>(s))); }
  int DeleteString(int i) { return static_cast<int>(SendMessage(LB_DELETESTRING, i)); }
  void ResetContent() { SendMessage(LB_RESETCONTENT); }
  int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
  int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
  int SetCurSel(int i) { return static_cast<int>(SendMessage(LB_SETCURSEL, i)); }
  CString GetText(int i) const;
};

class CTreeCtrl : public CWnd {
 public:
  HTREEITEM InsertItem(const char* text, int nImage, int nSelImage, HTREEITEM hParent = TVI_ROOT,
                       HTREEITEM hAfter = TVI_LAST);
  HTREEITEM InsertItem(const TVINSERTSTRUCTA* p) {
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(p)));
  }
  BOOL DeleteItem(HTREEITEM h) { return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(h))); }
  BOOL DeleteAllItems() { return DeleteItem(TVI_ROOT); }
  HTREEITEM GetNextItem(HTREEITEM h, UINT code) const {
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(h)));
  }
  HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
  HTREEITEM GetChildItem(HTREEITEM h) const { return GetNextItem(h, TVGN_CHILD); }
  HTREEITEM GetNextSiblingItem(HTREEITEM h) const { return GetNextItem(h, TVGN_NEXT); }
  HTREEITEM GetParentItem(HTREEITEM h) const { return GetNextItem(h, TVGN_PARENT); }
  HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
  BOOL SelectItem(HTREEITEM h) { return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(h))); }
  BOOL Expand(HTREEITEM h, UINT code) { return static_cast<BOOL>(SendMessage(TVM_EXPAND, code, reinterpret_cast<LPARAM>(h))); }
  BOOL EnsureVisible(HTREEITEM h) { return static_cast<BOOL>(SendMessage(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(h))); }
  CString GetItemText(HTREEITEM h) const;
  BOOL SetItemText(HTREEITEM h, const char* text);
  DWORD_PTR GetItemData(HTREEITEM h) const;
  BOOL SetItemData(HTREEITEM h, DWORD_PTR data);
  UINT GetItemState(HTREEITEM h, UINT mask) const {
    return static_cast<UINT>(SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(h), mask));
  }
  BOOL SetItemState(HTREEITEM h, UINT state, UINT mask);
  // Check boxes (TVS_CHECKBOXES): state image 2 is ticked.
  BOOL GetCheck(HTREEITEM h) const { return ((GetItemState(h, TVIS_STATEIMAGEMASK) >> 12) - 1) == 1; }
  BOOL SetCheck(HTREEITEM h, BOOL bCheck = TRUE) { return SetItemState(h, INDEXTOSTATEIMAGEMASK(bCheck ? 2 : 1), TVIS_STATEIMAGEMASK); }
  HIMAGELIST SetImageList(HIMAGELIST h, int type) {
    return reinterpret_cast<HIMAGELIST>(SendMessage(TVM_SETIMAGELIST, type, reinterpret_cast<LPARAM>(h)));
  }
  UINT GetCount() const { return static_cast<UINT>(SendMessage(TVM_GETCOUNT)); }
};

class CFont {
 public:
  CFont() = default;
  ~CFont() { DeleteObject(); }
  CFont(const CFont&) = delete;
  CFont& operator=(const CFont&) = delete;
  BOOL CreateFontIndirect(const LOGFONTA* lf) {
    DeleteObject();
    m_hObject = ::CreateFontIndirectA(lf);
    return m_hObject != nullptr;
  }
  BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic, BYTE bUnderline,
                  BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality,
                  BYTE nPitchAndFamily, const char* face) {
    DeleteObject();
    m_hObject = ::CreateFontA(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline, cStrikeOut,
                              nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily, face);
    return m_hObject != nullptr;
  }
  // A font whose height is given in tenths of a point, converted to logical units
  // through the vertical resolution of hDC (the screen's when null).
  BOOL CreatePointFontIndirect(const LOGFONTA* lf, HDC hDC = nullptr);
  BOOL CreatePointFont(int nPointSize, const char* face, HDC hDC = nullptr);
  BOOL GetLogFont(LOGFONTA* lf) const {
    return m_hObject && ::GetObjectA(m_hObject, sizeof *lf, lf) == static_cast<int>(sizeof *lf);
  }
  void DeleteObject() {
    if (m_hObject) ::DeleteObject(m_hObject);
    m_hObject = nullptr;
  }
  operator HFONT() const { return m_hObject; }
  HFONT m_hObject = nullptr;
};

class CBrush {
 public:
  CBrush() = default;
  explicit CBrush(COLORREF c) { m_hObject = ::CreateSolidBrush(c); }
  ~CBrush() { DeleteObject(); }
  CBrush(const CBrush&) = delete;
  CBrush& operator=(const CBrush&) = delete;
  BOOL CreateSolidBrush(COLORREF c) {
    DeleteObject();
    m_hObject = ::CreateSolidBrush(c);
    return m_hObject != nullptr;
  }
  void DeleteObject() {
    if (m_hObject) ::DeleteObject(m_hObject);
    m_hObject = nullptr;
  }
  operator HBRUSH() const { return m_hObject; }
  HBRUSH m_hObject = nullptr;
};

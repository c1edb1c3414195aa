#include <cstdlib>
#include <cstring>
#include <vector>

#include "AfxCtrl.h"

CString CEdit::GetLine(int nIndex) const {
  int len = static_cast<int>(SendMessage(EM_LINELENGTH, SendMessage(EM_LINEINDEX, nIndex)));
  if (len <= 0) return CString();
  // The length may count characters where the line has more bytes, and EM_GETLINE
  // writes no terminating zero: room for double-byte characters, zero-filled.
  size_t size = 2 * static_cast<size_t>(len) + 2;
  if (size > 0xFFFF) size = 0xFFFF;  // the size travels in a WORD
  std::vector<char> buf(size + 1, '\0');
  *reinterpret_cast<WORD*>(buf.data()) = static_cast<WORD>(size);  // EM_GETLINE takes the size in the first word
  int n = static_cast<int>(SendMessage(EM_GETLINE, nIndex, reinterpret_cast<LPARAM>(buf.data())));
  if (n <= 0) return CString();
  return CString(buf.data(), strnlen(buf.data(), size));
}

CString CListBox::GetText(int i) const {
  int len = static_cast<int>(SendMessage(LB_GETTEXTLEN, i));
  if (len <= 0) return CString();
  std::vector<char> buf(static_cast<size_t>(len) + 1);
  int n = static_cast<int>(SendMessage(LB_GETTEXT, i, reinterpret_cast<LPARAM>(buf.data())));
  return CString(buf.data(), n > 0 ? static_cast<size_t>(n) : 0);
}

HTREEITEM CTreeCtrl::InsertItem(const char* text, int nImage, int nSelImage, HTREEITEM hParent, HTREEITEM hAfter) {
  TVINSERTSTRUCTA is = {};
  is.hParent = hParent;
  is.hInsertAfter = hAfter;
  is.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  is.item.pszText = const_cast<char*>(text);
  is.item.iImage = nImage;
  is.item.iSelectedImage = nSelImage;
  return InsertItem(&is);
}

CString CTreeCtrl::GetItemText(HTREEITEM h) const {
  char buf[1024] = "";
  TVITEMA it = {};
  it.mask = TVIF_TEXT;
  it.hItem = h;
  it.pszText = buf;
  it.cchTextMax = sizeof buf;
  SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
  return CString(buf);
}

BOOL CTreeCtrl::SetItemText(HTREEITEM h, const char* text) {
  TVITEMA it = {};
  it.mask = TVIF_TEXT;
  it.hItem = h;
  it.pszText = const_cast<char*>(text);
  return static_cast<BOOL>(SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it)));
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM h) const {
  TVITEMA it = {};
  it.mask = TVIF_PARAM;
  it.hItem = h;
  SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
  return static_cast<DWORD_PTR>(it.lParam);
}

BOOL CTreeCtrl::SetItemData(HTREEITEM h, DWORD_PTR data) {
  TVITEMA it = {};
  it.mask = TVIF_PARAM;
  it.hItem = h;
  it.lParam = static_cast<LPARAM>(data);
  return static_cast<BOOL>(SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it)));
}

BOOL CTreeCtrl::SetItemState(HTREEITEM h, UINT state, UINT mask) {
  TVITEMA it = {};
  it.mask = TVIF_STATE;
  it.hItem = h;
  it.state = state;
  it.stateMask = mask;
  return static_cast<BOOL>(SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it)));
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTA* lf, HDC hDC) {
  HDC dc = hDC ? hDC : ::GetDC(nullptr);
  LOGFONTA l = *lf;
  POINT pt = {0, ::MulDiv(::GetDeviceCaps(dc, LOGPIXELSY), lf->lfHeight, 720)};
  POINT org = {0, 0};
  ::DPtoLP(dc, &pt, 1);
  ::DPtoLP(dc, &org, 1);
  l.lfHeight = -std::abs(static_cast<int>(pt.y - org.y));
  if (!hDC) ::ReleaseDC(nullptr, dc);
  return CreateFontIndirect(&l);
}

BOOL CFont::CreatePointFont(int nPointSize, const char* face, HDC hDC) {
  LOGFONTA lf = {};
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfHeight = nPointSize;
  lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
  return CreatePointFontIndirect(&lf, hDC);
}

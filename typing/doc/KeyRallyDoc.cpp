#include "KeyRallyDoc.h"

IMPLEMENT_DYNCREATE(CKeyRallyDoc, CDocument)

BOOL CKeyRallyDoc::OnNewDocument() { return CDocument::OnNewDocument(); }

void CKeyRallyDoc::DeleteContents() { m_words.RemoveAll(); }

void CKeyRallyDoc::Serialize(CArchive& ar) {
  if (ar.IsStoring())
    wds::Store(ar, m_words);
  else
    wds::Load(ar, m_words);
}

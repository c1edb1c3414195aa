// The typing program's document: the word list, read and written as ".wds" files.
#pragma once
#include "AfxDoc.h"
#include "WordList.h"

class CKeyRallyDoc : public CDocument {
 protected:
  CKeyRallyDoc() = default;
  DECLARE_DYNCREATE(CKeyRallyDoc)

 public:
  // The list as the view and the editor see it; none of these marks the document
  // modified.
  int GetWordCount() const { return m_words.GetCount(); }
  CString GetWord(int nIndex) const { return m_words.GetAt(nIndex); }
  void AddWord(const CString& word) { m_words.Add(word); }
  BOOL RemoveWord(int nIndex) { return m_words.RemoveAt(nIndex); }
  const CWordList& Words() const { return m_words; }

  BOOL OnNewDocument() override;
  void DeleteContents() override;
  void Serialize(CArchive& ar) override;

 private:
  CWordList m_words;
};

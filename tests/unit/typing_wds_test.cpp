// The ".wds" word file: a 4-byte count, then each word in archived-string form.
#include <gtest/gtest.h>

#include <climits>

#include "WordList.h"
#include "typing_memstream.h"

namespace {

std::string Save(const CWordList& list, size_t bufSize = 64 * 1024) {
  MemStream s;
  {
    CArchive ar(&s, CArchive::store, bufSize);
    wds::Store(ar, list);
    EXPECT_TRUE(ar.Close());
  }
  return s.m_data;
}

// Loads like the framework does: a fresh archive over the bytes, into an emptied list.
bool Load(const std::string& bytes, CWordList& list, size_t chunk = 1 << 20, size_t bufSize = 64 * 1024) {
  MemStream s(bytes, chunk);
  CArchive ar(&s, CArchive::load, bufSize);
  wds::Load(ar, list);
  return ar.IsOK();
}

CWordList ListOf(std::initializer_list<std::string> words) {
  CWordList l;
  for (const auto& w : words) l.Add(w);
  return l;
}

std::vector<std::string> Words(const CWordList& l) {
  std::vector<std::string> v;
  for (int i = 0; i < l.GetCount(); ++i) v.push_back(l.GetAt(i));
  return v;
}

}  // namespace

TEST(WdsFormat, CatAndInuIsThirteenBytes) {
  CWordList l = ListOf({"cat", "いぬ"});
  std::string expect = Bytes({2, 0, 0, 0, 3, 'c', 'a', 't', 4, 0x82, 0xA2, 0x82, 0xCA});
  EXPECT_EQ(Save(l), expect);
  CWordList back;
  ASSERT_TRUE(Load(expect, back));
  EXPECT_EQ(Words(back), (std::vector<std::string>{"cat", "いぬ"}));
}

TEST(WdsFormat, EmptyListIsFourZeroBytes) {
  EXPECT_EQ(Save(CWordList()), Bytes({0, 0, 0, 0}));
  CWordList back = ListOf({"left over"});
  ASSERT_TRUE(Load(Bytes({0, 0, 0, 0}), back));
  EXPECT_EQ(back.GetCount(), 0);
}

TEST(WdsFormat, LengthPrefixesAtTheirBoundaries) {
  struct Case {
    size_t len;
    std::string prefix;
  } cases[] = {
      {0, Bytes({0})},
      {254, Bytes({0xFE})},
      {255, Bytes({0xFF, 0xFF, 0x00})},
      {256, Bytes({0xFF, 0x00, 0x01})},
      {65533, Bytes({0xFF, 0xFD, 0xFF})},
      {65534, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
      {65535, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00})},
      {300000, Bytes({0xFF, 0xFF, 0xFF, 0xE0, 0x93, 0x04, 0x00})},
  };
  for (const Case& c : cases) {
    std::string word(c.len, 'x');
    if (c.len >= 2) word[c.len - 2] = '\x82', word[c.len - 1] = '\xA0';  // ends in a double-byte character
    std::string file = Save(ListOf({word}));
    EXPECT_EQ(file, Bytes({1, 0, 0, 0}) + c.prefix + word) << "length " << c.len;
    // read back through a small buffer fed in odd pieces
    CWordList back;
    ASSERT_TRUE(Load(file, back, 7, 64)) << "length " << c.len;
    ASSERT_EQ(back.GetCount(), 1);
    EXPECT_EQ(back.GetAt(0), word) << "length " << c.len;
  }
}

TEST(WdsFormat, DuplicatesEmptyWordsAndOrderRoundTrip) {
  CWordList l = ListOf({"apple", "", "Apple", "apple", "りんご", "", std::string(70000, 'z'), "end"});
  std::string file = Save(l);
  CWordList back;
  ASSERT_TRUE(Load(file, back, 5, 128));
  EXPECT_EQ(Words(back), Words(l));
  EXPECT_EQ(Save(back), file);
  EXPECT_EQ(back.GetAt(1), "");
}

TEST(WdsFormat, ZeroAndNegativeCounts) {
  CWordList back = ListOf({"x"});
  // zero words, whatever follows
  EXPECT_TRUE(Load(Bytes({0, 0, 0, 0, 3, 'a', 'b', 'c'}), back));
  EXPECT_EQ(back.GetCount(), 0);
  // a negative count cannot describe a list: the load fails and the list stays empty
  for (std::string neg : {Bytes({0xFF, 0xFF, 0xFF, 0xFF}), Bytes({0, 0, 0, 0x80, 1, 'a'})}) {
    back = ListOf({"x"});
    EXPECT_FALSE(Load(neg, back));
    EXPECT_EQ(back.GetCount(), 0);
  }
}

TEST(WdsFormat, TruncatedAndShortFilesFailAndLeaveNothing) {
  std::string good = Save(ListOf({"one", "two", std::string(300, 'w')}));
  // every proper prefix of a good file is a failed load (an empty file included)
  for (size_t n = 0; n < good.size(); ++n) {
    CWordList back;
    EXPECT_FALSE(Load(good.substr(0, n), back, 3, 64)) << n << " bytes";
    EXPECT_EQ(back.GetCount(), 0) << n << " bytes";
  }
  CWordList back;
  EXPECT_TRUE(Load(good, back, 3, 64));
  EXPECT_EQ(back.GetCount(), 3);
}

TEST(WdsFormat, CountFarBeyondTheDataFailsWithoutReservingForIt) {
  // INT_MAX words announced, two present: a reader that trusted the count would
  // try to reserve gigabytes before reading a word
  CWordList back;
  EXPECT_FALSE(Load(Bytes({0xFF, 0xFF, 0xFF, 0x7F, 1, 'a', 1, 'b'}), back));
  EXPECT_EQ(back.GetCount(), 0);
  // a 4-gigabyte word announced in a 12-byte file
  EXPECT_FALSE(Load(Bytes({1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF, 'a'}), back));
  EXPECT_EQ(back.GetCount(), 0);
}

TEST(WdsFormat, AFileTooLargeToHoldFailsInsteadOfThrowing) {
  // a stream that claims more bytes than a string can hold (a huge file in a 32-bit
  // process): the load fails like a damaged file, the program goes on
  MemStream s(Bytes({1, 0, 0, 0, 0, 'x'}));
  s.m_sizeHint = std::string().max_size();
  CArchive ar(&s, CArchive::load);
  CWordList l = ListOf({"old"});
  EXPECT_NO_THROW(wds::Load(ar, l));
  EXPECT_FALSE(ar.IsOK());
  EXPECT_EQ(l.GetCount(), 0);
  // a plausible claim is only a hint: the words are read as they come
  MemStream t(Bytes({1, 0, 0, 0, 2, 'h', 'i'}));
  t.m_sizeHint = 3;
  CArchive br(&t, CArchive::load, 64);
  ASSERT_TRUE((wds::Load(br, l), br.IsOK()));
  EXPECT_EQ(Words(l), std::vector<std::string>{"hi"});
}

TEST(WdsFormat, BytesAfterTheLastWordAreIgnored) {
  CWordList back;
  ASSERT_TRUE(Load(Bytes({1, 0, 0, 0, 2, 'h', 'i', 9, 9, 9}), back));
  EXPECT_EQ(Words(back), (std::vector<std::string>{"hi"}));
  EXPECT_EQ(Save(back), Bytes({1, 0, 0, 0, 2, 'h', 'i'}));
}

TEST(WdsFormat, LongerPrefixThanNeededIsReadAndSavedInTheStandardForm) {
  // "abc" announced as FF 03 00 (legal to read, never written)
  CWordList back;
  ASSERT_TRUE(Load(Bytes({2, 0, 0, 0, 0xFF, 3, 0, 'a', 'b', 'c', 1, 'd'}), back));
  EXPECT_EQ(Words(back), (std::vector<std::string>{"abc", "d"}));
  EXPECT_EQ(Save(back), Bytes({2, 0, 0, 0, 3, 'a', 'b', 'c', 1, 'd'}));
}

namespace {
// Stands in for the system's conversion: ASCII only.
bool AsciiOnly(const uint16_t* p, size_t n, std::string& out) {
  out.clear();
  for (size_t i = 0; i < n; ++i) {
    if (p[i] > 0x7F) return false;
    out += static_cast<char>(p[i]);
  }
  return true;
}
}  // namespace

TEST(WdsFormat, WideWordsAreConvertedOrRejected) {
  // "ok" narrow, then "Hi" as FF FE FF, 2 characters, UTF-16LE
  std::string file = Bytes({2, 0, 0, 0, 2, 'o', 'k', 0xFF, 0xFE, 0xFF, 2, 'H', 0, 'i', 0});
  {
    MemStream s(file, 3);
    CArchive ar(&s, CArchive::load, 64);
    ar.m_pfnWideToMultiByte = AsciiOnly;
    CWordList l;
    wds::Load(ar, l);
    ASSERT_TRUE(ar.IsOK());
    EXPECT_EQ(Words(l), (std::vector<std::string>{"ok", "Hi"}));
    EXPECT_EQ(Save(l), Bytes({2, 0, 0, 0, 2, 'o', 'k', 2, 'H', 'i'}));
  }
  {  // no converter: the file cannot be read
    CWordList l;
    EXPECT_FALSE(Load(file, l));
    EXPECT_EQ(l.GetCount(), 0);
  }
  {  // a character the conversion refuses
    MemStream s(Bytes({1, 0, 0, 0, 0xFF, 0xFE, 0xFF, 1, 0x42, 0x30}));
    CArchive ar(&s, CArchive::load);
    ar.m_pfnWideToMultiByte = AsciiOnly;
    CWordList l;
    wds::Load(ar, l);
    EXPECT_FALSE(ar.IsOK());
    EXPECT_EQ(l.GetCount(), 0);
  }
  {  // wide text cut short
    MemStream s(Bytes({1, 0, 0, 0, 0xFF, 0xFE, 0xFF, 3, 'a', 0, 'b'}));
    CArchive ar(&s, CArchive::load);
    ar.m_pfnWideToMultiByte = AsciiOnly;
    CWordList l;
    wds::Load(ar, l);
    EXPECT_FALSE(ar.IsOK());
  }
}

TEST(WordList, AddRemoveAndIndexing) {
  CWordList l = ListOf({"a", "bb", std::string(400, 'c'), "d"});
  EXPECT_EQ(l.GetCount(), 4);
  EXPECT_TRUE(l.RemoveAt(2));  // the long one: later records move down
  EXPECT_EQ(Words(l), (std::vector<std::string>{"a", "bb", "d"}));
  EXPECT_FALSE(l.RemoveAt(3));
  EXPECT_FALSE(l.RemoveAt(-1));
  EXPECT_EQ(l.GetAt(3), "");
  EXPECT_EQ(l.GetAt(-1), "");
  EXPECT_TRUE(l.RemoveAt(0));
  l.Add("e");
  EXPECT_EQ(Words(l), (std::vector<std::string>{"bb", "d", "e"}));
  EXPECT_EQ(Save(l), Bytes({3, 0, 0, 0, 2, 'b', 'b', 1, 'd', 1, 'e'}));
  l.RemoveAll();
  EXPECT_EQ(l.GetCount(), 0);
  EXPECT_EQ(Save(l), Bytes({0, 0, 0, 0}));
}

TEST(WdsFormat, FailedWriteIsReported) {
  MemStream s;
  s.m_failWrites = true;
  CArchive ar(&s, CArchive::store, 64);
  wds::Store(ar, ListOf({"a", "b"}));
  EXPECT_FALSE(ar.Close());
}

TEST(WordList, RemovalsAndAdditionsAcrossManyWordsMatchAPlainArray) {
  // a list long enough to span many of the blocks the list indexes by, with words of
  // all three prefix sizes, checked against std::vector after every change
  CWordList l;
  std::vector<std::string> model;
  for (int i = 0; i < 300; ++i) {
    std::string w = i % 50 == 7   ? std::string(300 + static_cast<size_t>(i), 'L')
                    : i % 97 == 3 ? std::string(70000, 'H')
                                  : "w" + std::to_string(i);
    l.Add(w);
    model.push_back(w);
  }
  unsigned x = 12345;
  for (int step = 0; step < 400; ++step) {
    x = x * 1103515245u + 12345u;
    if (step % 3 == 2) {
      std::string w = "n" + std::to_string(step);
      l.Add(w);
      model.push_back(w);
    } else if (!model.empty()) {
      // the first and last words of a block, then anywhere
      int last = static_cast<int>(model.size()) - 1;
      int i = step % 4 == 0 ? 0 : step % 4 == 1 ? last : static_cast<int>((x >> 8) % model.size());
      ASSERT_TRUE(l.RemoveAt(i));
      model.erase(model.begin() + i);
    }
    ASSERT_EQ(l.GetCount(), static_cast<int>(model.size())) << step;
    for (int k : {0, 31, 32, 33, 63, 64, static_cast<int>(model.size()) - 1}) {
      if (k >= 0 && k < l.GetCount()) {
        ASSERT_EQ(l.GetAt(k), model[static_cast<size_t>(k)]) << "step " << step << " word " << k;
      }
    }
  }
  EXPECT_EQ(Words(l), model);
  std::string file = Save(l);
  CWordList back;
  ASSERT_TRUE(Load(file, back));
  EXPECT_EQ(Words(back), model);
  while (back.GetCount() > 0) ASSERT_TRUE(back.RemoveAt(back.GetCount() / 2));
  EXPECT_EQ(Save(back), Bytes({0, 0, 0, 0}));
  back.Add("again");
  EXPECT_EQ(Words(back), std::vector<std::string>{"again"});
}

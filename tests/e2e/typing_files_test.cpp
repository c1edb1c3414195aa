// KeyRally's word files through its windows: the command line, File Open, Save As,
// bad files and the recent-file list in the menu and the registry.
#include "typing_fixture.h"

namespace {

const std::vector<std::string> kTen = {"cat",   "いぬ",  "",     "cat", "ﾈｺ", std::string(300, 'w'),
                                       "Apple", "apple", "表示", "end"};
const std::vector<std::string> kFive = {"one", "二", "", "three", "one"};

const char kLoadFailure[] = " を読み込めませんでした。\nﾌｧｲﾙの形式が違うか、ﾌｧｲﾙが壊れています。";
const char kOpenFailure[] = " を開けませんでした。";

}  // namespace

TEST_F(KeyRallyTest, SaveAsWritesTheFormatAndOpeningFiveAfterTenLeavesFive) {
  std::string ten = krtest::WdsBytes(kTen), five = krtest::WdsBytes(kFive);
  ASSERT_EQ(ten.substr(0, 4), std::string("\x0A\0\0\0", 4));
  Put("ten.wds", ten);
  Put("five.wds", five);
  uitest::Process p;
  HWND frame = Start(p, "ten.wds");
  ASSERT_TRUE(frame);
  // the save dialog offers word files and adds their extension to a bare name
  krtest::Command(frame, ID_FILE_SAVE_AS);
  HWND dlg = uitest::WaitWindow(p.Pid(), krtest::kSaveCaption, "#32770");
  ASSERT_TRUE(dlg);
  EXPECT_EQ(uitest::GetText(dlg, 1136), "単語ファイル(*.wds)");  // the file type box
  ASSERT_TRUE(krtest::ChooseFile(p.Pid(), krtest::kSaveCaption, m_dir + "saved ten"));
  EXPECT_TRUE(krtest::WaitTitle(frame, "saved ten.wds - KeyRally")) << uitest::GetText(frame);
  EXPECT_EQ(Bytes("saved ten.wds"), ten);
  // so does the open dialog
  krtest::PressKeys(frame, {VK_CONTROL, 'O'});
  dlg = uitest::WaitWindow(p.Pid(), krtest::kOpenCaption, "#32770");
  ASSERT_TRUE(dlg);
  EXPECT_EQ(uitest::GetText(dlg, 1136), "単語ファイル(*.wds)");
  ASSERT_TRUE(krtest::ChooseFile(p.Pid(), krtest::kOpenCaption, m_dir + "five.wds"));
  EXPECT_TRUE(krtest::WaitTitle(frame, "five.wds - KeyRally")) << uitest::GetText(frame);
  EXPECT_EQ(SaveAs(p, frame, "saved five.wds"), five) << "exactly the five words of the second file";
  // and what was saved reads back the same
  ASSERT_TRUE(OpenWithKeys(p, frame, "saved ten.wds"));
  EXPECT_TRUE(krtest::WaitTitle(frame, "saved ten.wds - KeyRally")) << uitest::GetText(frame);
  EXPECT_EQ(SaveAs(p, frame, "again.wds"), ten);
  // Ctrl+S on a named list writes it in place
  ASSERT_TRUE(uitest::WriteFile(m_dir + "again.wds", "scribbled"));
  krtest::PressKeys(frame, {VK_CONTROL, 'S'});
  EXPECT_TRUE(uitest::WaitFor([&] { return Bytes("again.wds") == ten; }, 10000));
  Close(p, frame);
}

TEST_F(KeyRallyTest, BadFilesShowTheLoadFailureAndLeaveAnEmptyList) {
  std::string good = krtest::WdsBytes(kFive);
  Put("good.wds", good);
  const std::pair<const char*, std::string> bad[] = {
      {"empty.wds", std::string()},
      {"cut.wds", good.substr(0, good.size() - 2)},
      {"negative.wds", std::string("\xFF\xFF\xFF\xFF\x01x", 6)},
      {"huge.wds", std::string("\xFF\xFF\xFF\x7F\x01x\x01y", 8)},
      {"longword.wds", std::string("\x01\0\0\0\xFF\xFF\xFF\xF0\xFF\xFF\x0Fxyz", 14)},
  };
  uitest::Process p;
  HWND frame = Start(p, "good.wds");
  ASSERT_TRUE(frame);
  int n = 0;
  for (const auto& b : bad) {
    SCOPED_TRACE(b.first);
    Put(b.first, b.second);
    if (n++ > 0) {  // a full list again before each bad file
      ASSERT_TRUE(OpenWithKeys(p, frame, "good.wds"));
      ASSERT_TRUE(krtest::WaitTitle(frame, "good.wds - KeyRally")) << uitest::GetText(frame);
    }
    ASSERT_TRUE(OpenWithKeys(p, frame, b.first));
    uitest::MessageBoxInfo box = uitest::WaitMessageBox(p.Pid());
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.caption, "打鍵丸");
    EXPECT_EQ(box.text, m_dir + b.first + kLoadFailure);
    EXPECT_EQ(box.icon, uitest::Icon::Warning);
    uitest::Answer(box, IDOK);
    ASSERT_TRUE(uitest::WaitGone(box.hwnd));
    EXPECT_TRUE(krtest::WaitTitle(frame, krtest::kUntitledTitle)) << uitest::GetText(frame);
    EXPECT_EQ(SaveAs(p, frame, std::string("after ") + b.first), std::string(4, '\0'));
  }
  Close(p, frame);
}

TEST_F(KeyRallyTest, FileOnTheCommandLineThatFailsEndsTheProgram) {
  Put("cut.wds", krtest::WdsBytes(kFive).substr(0, 9));
  struct {
    const char* args;
    std::string text;
  } cases[] = {
      {"cut.wds", m_dir + "cut.wds" + kLoadFailure},
      {"\"not there.wds\"", m_dir + "not there.wds" + kOpenFailure},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    uitest::Process p;
    ASSERT_TRUE(p.Start(krtest::ProgramPath(), c.args, m_dir));
    uitest::MessageBoxInfo box = uitest::WaitMessageBox(p.Pid());
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.caption, "打鍵丸");
    EXPECT_EQ(box.text.substr(0, c.text.size()), c.text);
    uitest::Answer(box, IDOK);
    EXPECT_TRUE(p.WaitExit(15000));
    EXPECT_EQ(krtest::FindFrame(p.Pid()), nullptr);
  }
}

TEST_F(KeyRallyTest, RecentFilesKeepFourInTheMenuAndTheRegistry) {
  const char* names[] = {"a.wds", "b.wds", "c.wds", "d.wds", "e.wds"};
  for (const char* n : names) Put(n, krtest::WdsBytes({n}));
  // the recent-file entries of the File menu as it opens
  auto recent = [](HWND frame) {
    std::vector<std::string> v;
    for (const auto& item : krtest::PopupItems(krtest::ReadMenu(frame), 0))
      if (item.id >= ID_FILE_MRU_FILE1 && item.id <= ID_FILE_MRU_LAST) v.push_back(item.text);
    return v;
  };
  {
    uitest::Process p;
    HWND frame = Start(p);
    ASSERT_TRUE(frame);
    for (const char* n : names) {
      ASSERT_TRUE(OpenWithKeys(p, frame, n)) << n;
      ASSERT_TRUE(krtest::WaitTitle(frame, std::string(n) + " - KeyRally")) << uitest::GetText(frame);
    }
    krtest::Menu file = krtest::PopupItems(krtest::ReadMenu(frame), 0);
    // files in the program's current folder show by name, between the separators
    EXPECT_EQ(krtest::Texts(file),
              (std::vector<std::string>{"開く(&O)...\tCtrl+O", "上書き保存(&S)\tCtrl+S", "名前を付けて保存(&A)...", "",
                                        "&1 e.wds", "&2 d.wds", "&3 c.wds", "&4 b.wds", "", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"}));
    ASSERT_EQ(file.size(), 10u);
    EXPECT_EQ(file[4].id, static_cast<UINT>(ID_FILE_MRU_FILE1));
    EXPECT_EQ(file[7].id, static_cast<UINT>(ID_FILE_MRU_FILE4));
    EXPECT_FALSE(file[4].state & MF_GRAYED);
    Close(p, frame);
  }
  EXPECT_EQ(krtest::RegString(krtest::kRecentKey, "File1"), m_dir + "e.wds");
  EXPECT_EQ(krtest::RegString(krtest::kRecentKey, "File2"), m_dir + "d.wds");
  EXPECT_EQ(krtest::RegString(krtest::kRecentKey, "File3"), m_dir + "c.wds");
  EXPECT_EQ(krtest::RegString(krtest::kRecentKey, "File4"), m_dir + "b.wds");
  EXPECT_FALSE(krtest::RegHasValue(krtest::kRecentKey, "File5"));
  {
    // the next start shows the list; an entry opens its file and moves to the top,
    // an entry whose file is gone reports it and leaves the list
    ::DeleteFileA((m_dir + "b.wds").c_str());
    uitest::Process p;
    HWND frame = Start(p);
    ASSERT_TRUE(frame);
    EXPECT_EQ(recent(frame), (std::vector<std::string>{"&1 e.wds", "&2 d.wds", "&3 c.wds", "&4 b.wds"}));
    krtest::Command(frame, ID_FILE_MRU_FILE1 + 2);
    EXPECT_TRUE(krtest::WaitTitle(frame, "c.wds - KeyRally")) << uitest::GetText(frame);
    EXPECT_EQ(SaveAs(p, frame, "c copy.wds"), krtest::WdsBytes({"c.wds"}));
    krtest::Command(frame, ID_FILE_MRU_FILE1 + 3);  // after the save as: c copy, c, e, d
    EXPECT_TRUE(krtest::WaitTitle(frame, "d.wds - KeyRally")) << uitest::GetText(frame);
    EXPECT_EQ(recent(frame), (std::vector<std::string>{"&1 d.wds", "&2 c copy.wds", "&3 c.wds", "&4 e.wds"}));
    ::DeleteFileA((m_dir + "e.wds").c_str());
    krtest::Command(frame, ID_FILE_MRU_FILE1 + 3);
    uitest::MessageBoxInfo box = uitest::WaitMessageBox(p.Pid());
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.text.substr(0, m_dir.size() + 5 + strlen(kOpenFailure)), m_dir + "e.wds" + kOpenFailure);
    uitest::Answer(box, IDOK);
    ASSERT_TRUE(uitest::WaitGone(box.hwnd));
    EXPECT_EQ(recent(frame), (std::vector<std::string>{"&1 d.wds", "&2 c copy.wds", "&3 c.wds"}));
    EXPECT_EQ(uitest::GetText(frame), "d.wds - KeyRally") << "a file that did not open leaves the list as it was";
    // ended by the File menu's exit, which writes the list too
    krtest::Command(frame, ID_APP_EXIT);
    EXPECT_TRUE(p.WaitExit(15000)) << "exit did not end the program";
  }
  EXPECT_EQ(krtest::RegString(krtest::kRecentKey, "File1"), m_dir + "d.wds");
  EXPECT_EQ(krtest::RegString(krtest::kRecentKey, "File3"), m_dir + "c.wds");
  EXPECT_FALSE(krtest::RegHasValue(krtest::kRecentKey, "File4"));
}

// A test of KeyRally: a folder of its own for word files, the program's settings
// key and records folder kept aside, and the program started and closed as a user
// would.
#pragma once
#include <gtest/gtest.h>

#include "typing_helpers.h"

class KeyRallyTest : public ::testing::Test {
 protected:
  ~KeyRallyTest() override { uitest::RemoveTree(m_dir); }

  std::string Put(const std::string& name, const std::string& bytes) {
    EXPECT_TRUE(uitest::WriteFile(m_dir + name, bytes));
    return m_dir + name;
  }
  std::string Bytes(const std::string& name) {
    std::string b;
    EXPECT_TRUE(uitest::ReadFile(m_dir + name, b)) << name;
    return b;
  }
  // Starts the program in the test's folder; returns its frame (nullptr if none came).
  HWND Start(uitest::Process& p, const std::string& args = std::string()) {
    EXPECT_TRUE(p.Start(krtest::ProgramPath(), args, m_dir));
    HWND frame = krtest::WaitFrame(p.Pid());
    EXPECT_NE(frame, nullptr) << "no main window";
    return frame;
  }
  // Closes the main window; an unmodified list must close without a question.
  void Close(uitest::Process& p, HWND frame) {
    ::PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(p.WaitExit(15000)) << "the program did not end on close (a question left open?)";
  }
  // Save As through the file dialog; returns the bytes written.
  std::string SaveAs(uitest::Process& p, HWND frame, const std::string& name) {
    krtest::Command(frame, ID_FILE_SAVE_AS);
    EXPECT_TRUE(krtest::ChooseFile(p.Pid(), krtest::kSaveCaption, m_dir + name)) << "save dialog";
    EXPECT_TRUE(krtest::WaitTitle(frame, name + " - KeyRally")) << uitest::GetText(frame);
    return Bytes(name);
  }
  // File Open through Ctrl+O and the file dialog.
  bool OpenWithKeys(uitest::Process& p, HWND frame, const std::string& name) {
    // Ctrl+O again when no dialog came: a key can still be lost while the activation
    // settles after a box; a second Ctrl+O with the dialog up goes to the dialog.
    for (int attempt = 0; attempt < 3; ++attempt) {
      krtest::PressKeys(frame, {VK_CONTROL, 'O'});
      if (uitest::WaitWindow(p.Pid(), krtest::kOpenCaption, "#32770", 5000)) break;
    }
    return krtest::ChooseFile(p.Pid(), krtest::kOpenCaption, m_dir + name);
  }

  krtest::SettingsGuard m_settings;
  krtest::RecordsGuard m_records;
  std::string m_dir = uitest::TempDir("kr_e2e");
};

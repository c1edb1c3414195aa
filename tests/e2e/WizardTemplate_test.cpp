// Dialog 102 as the program carries it: caption, size, font and styles of the dialog,
// then every control in order with its id, class, text, place, size and the style bits
// that make it what it is. Read from the program's resources, so a control moved,
// renamed, restyled or dropped in the resource script shows here.
#include <cctype>
#include <vector>

#include "WizardHelpers.h"

using namespace hbtest;

namespace {

// A DIALOGEX template read into plain values (texts in code page 932).
struct TemplateItem {
  int id;
  std::string cls, text;
  int x, y, cx, cy;
  DWORD style, exStyle;
};
struct DialogTemplate {
  DWORD style = 0, exStyle = 0;
  int cx = 0, cy = 0;
  std::string caption, face;
  int points = 0;
  std::vector<TemplateItem> items;
};

class TemplateReader {
 public:
  explicit TemplateReader(const BYTE* p) : m_p(p) {}
  WORD Word() {
    WORD w = static_cast<WORD>(m_p[0] | (m_p[1] << 8));
    m_p += 2;
    return w;
  }
  DWORD Dword() {
    DWORD lo = Word();
    return lo | (static_cast<DWORD>(Word()) << 16);
  }
  short Short() { return static_cast<short>(Word()); }
  // A zero-ended UTF-16 text, or an ordinal written as "#n".
  std::string SzOrOrd() {
    if (m_p[0] == 0xFF && m_p[1] == 0xFF) {
      m_p += 2;
      return "#" + std::to_string(Word());
    }
    std::wstring w;
    for (WORD c; (c = Word()) != 0;) w += static_cast<wchar_t>(c);
    char buf[1024] = "";
    int n = ::WideCharToMultiByte(932, 0, w.c_str(), static_cast<int>(w.size()), buf, sizeof buf, nullptr, nullptr);
    return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
  }
  void Skip(size_t n) { m_p += n; }
  void AlignDword(const BYTE* base) {
    while ((m_p - base) % 4) ++m_p;
  }
  const BYTE* Here() const { return m_p; }

 private:
  const BYTE* m_p;
};

// Class names are case-insensitive, and the resource compiler may store them in upper
// case or as the predefined ordinals: compared in upper case.
std::string ClassName(const std::string& cls) {
  if (cls == "#128") return "BUTTON";
  if (cls == "#129") return "EDIT";
  if (cls == "#130") return "STATIC";
  std::string upper = cls;
  for (char& c : upper) c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
  return upper;
}

bool ReadTemplate(HMODULE module, int id, DialogTemplate& out) {
  HRSRC res = ::FindResourceA(module, MAKEINTRESOURCEA(id), reinterpret_cast<LPCSTR>(RT_DIALOG));
  const BYTE* base = res ? static_cast<const BYTE*>(::LockResource(::LoadResource(module, res))) : nullptr;
  if (!base) return false;
  TemplateReader r(base);
  if (r.Word() != 1 || r.Word() != 0xFFFF) return false;  // DIALOGEX only
  r.Dword();                                              // help id
  out.exStyle = r.Dword();
  out.style = r.Dword();
  int count = r.Word();
  r.Short();
  r.Short();
  out.cx = r.Short();
  out.cy = r.Short();
  r.SzOrOrd();  // menu
  r.SzOrOrd();  // class
  out.caption = r.SzOrOrd();
  if (out.style & DS_SETFONT) {
    out.points = r.Word();
    r.Word();   // weight
    r.Skip(2);  // italic, character set
    out.face = r.SzOrOrd();
  }
  for (int i = 0; i < count; ++i) {
    r.AlignDword(base);
    TemplateItem it;
    r.Dword();  // help id
    it.exStyle = r.Dword();
    it.style = r.Dword();
    it.x = r.Short();
    it.y = r.Short();
    it.cx = r.Short();
    it.cy = r.Short();
    it.id = static_cast<int>(r.Dword());
    it.cls = ClassName(r.SzOrOrd());
    it.text = r.SzOrOrd();
    r.Skip(r.Word());  // creation data
    out.items.push_back(it);
  }
  return true;
}

// One row of the wizard's control table: the bits of `mask` must be exactly `bits`.
struct Expected {
  int id;
  const char* cls;
  const char* text;
  int x, y, cx, cy;
  DWORD mask, bits;
};

constexpr DWORD kStaticType = SS_TYPEMASK;
constexpr DWORD kButtonType = BS_TYPEMASK;
constexpr DWORD kEditAlign = ES_LEFT | ES_CENTER | ES_RIGHT;
constexpr DWORD kCheck = BS_TYPEMASK;  // automatic or not, a check box
constexpr DWORD kEditBits = kEditAlign | ES_READONLY | ES_NUMBER | ES_MULTILINE;

}  // namespace

TEST(WizardTemplate, DialogAndEveryControlAsTheFormsNeedThem) {
  HMODULE exe = ::LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(exe);
  DialogTemplate t;
  bool read = ReadTemplate(exe, IDD_SETUPWIZARD_DIALOG, t);

  // the side picture: 136 x 226 pixels in 256 colours
  HRSRC bmp = ::FindResourceA(exe, MAKEINTRESOURCEA(IDB_WIZARD_SIDE), reinterpret_cast<LPCSTR>(RT_BITMAP));
  const BITMAPINFOHEADER* bi =
      bmp ? static_cast<const BITMAPINFOHEADER*>(::LockResource(::LoadResource(exe, bmp))) : nullptr;
  ASSERT_TRUE(bi) << "bitmap 131";
  EXPECT_EQ(bi->biWidth, 136);
  EXPECT_EQ(bi->biHeight, 226);
  EXPECT_EQ(bi->biBitCount, 8);
  ::FreeLibrary(exe);
  ASSERT_TRUE(read) << "dialog 102 is no DIALOGEX";

  EXPECT_EQ(t.caption, "Hanbell Ver4.00/System Install Wizard.");
  EXPECT_EQ(t.cx, 271);
  EXPECT_EQ(t.cy, 223);
  EXPECT_EQ(t.points, 9);
  EXPECT_EQ(t.face, "ＭＳ Ｐゴシック");
  const DWORD dlgBits = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  EXPECT_EQ(t.style & (dlgBits | WS_CHILD | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), dlgBits);
  EXPECT_NE(t.exStyle & WS_EX_APPWINDOW, 0u) << "shown in the task bar";

  const DWORD tree = TVS_HASBUTTONS | TVS_HASLINES | TVS_SHOWSELALWAYS | TVS_LINESATROOT;
  const DWORD desc = kEditBits | ES_WANTRETURN | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL;
  const Expected want[] = {
      {1000, "Static", "HbApplication/SetupTitle.", 0, 0, 270, 28, kStaticType, SS_CENTER},
      {1018, "Static", "ﾀｲﾄﾙ登録（日本語もOk）：", 10, 11, 79, 10, kStaticType, SS_RIGHT},
      {1017, "Edit", "", 92, 9, 115, 12, kEditBits, ES_CENTER},
      {1047, "Edit", "", 216, 9, 32, 12, kEditBits, ES_CENTER},
      {-1, "Static", "", 4, 30, 262, 1, kStaticType, SS_BLACKFRAME},
      {1001, "Static", "#131", 3, 41, 78, 151, kStaticType, SS_BITMAP},
      // wraps at the box's width: no horizontal scrolling of any kind
      {1008, "Edit", "", 84, 36, 183, 62, desc, ES_MULTILINE | ES_READONLY | ES_WANTRETURN | WS_VSCROLL},
      {1023, "Static", "右のﾂﾘｰﾘｽﾄから　ｱﾌﾟﾘｹｰｼｮﾝの実行ﾌｧｲﾙを選択して下さい。", 84, 102, 50, 31, kStaticType, SS_LEFT},
      {1020, "Static", "ユーザ名：", 102, 103, 32, 8, kStaticType, SS_RIGHT},
      {1009, "Edit", "", 136, 101, 105, 12, kEditBits, ES_CENTER | ES_READONLY},
      {1041, "SysTreeView32", "", 136, 100, 116, 48, tree, TVS_HASBUTTONS | TVS_HASLINES | TVS_SHOWSELALWAYS},
      {1019, "Static", "会 社 名：", 101, 116, 33, 8, kStaticType, SS_RIGHT},
      {1010, "Edit", "", 136, 113, 105, 12, kEditBits, ES_CENTER},
      {1042, "Static", "", 84, 128, 182, 19, kStaticType, SS_GRAYFRAME},
      {1043, "Static", "登録先：", 88, 134, 24, 8, kStaticType, SS_LEFT},
      {1068, "Edit", "", 113, 132, 129, 12, kEditBits, ES_LEFT},
      {1035, "Edit", "", 110, 136, 25, 12, kEditBits, ES_RIGHT | ES_NUMBER | ES_READONLY},
      {1044, "Static", "ﾌｧｲﾙ数：", 82, 138, 28, 8, kStaticType, SS_RIGHT},
      {1034, "Button", "初期化", 254, 107, 13, 31, kButtonType | BS_MULTILINE, BS_PUSHBUTTON | BS_MULTILINE},
      {1011, "Button", "参照", 242, 131, 21, 14, kButtonType, BS_PUSHBUTTON},
      {-1, "Button", "登録時のｵﾌﾟｼｮﾝ設定", 106, 149, 142, 46, kButtonType, BS_GROUPBOX},
      {1003, "Button", "ｽﾀｰﾄｱｯﾌﾟｸﾞﾙｰﾌﾟに登録する(自動起動)", 113, 161, 130, 10, kCheck, BS_AUTOCHECKBOX},
      {1004, "Button", "ﾌﾟﾛｸﾞﾗﾑｸﾞﾙｰﾌﾟに追加する", 113, 171, 92, 10, kCheck, BS_AUTOCHECKBOX},
      {1005, "Button", "ﾃﾞｽｸﾄｯﾌﾟにｼｮｰﾄｶｯﾄｱｲｺﾝを追加する", 113, 181, 122, 10, kCheck, BS_AUTOCHECKBOX},
      {1046, "Button", "高度な設定", 254, 151, 13, 46, kButtonType | BS_MULTILINE, BS_PUSHBUTTON | BS_MULTILINE},
      {-1, "Static", "", 2, 199, 266, 1, kStaticType, SS_ETCHEDHORZ},
      {1040, "Edit", "", 1, 206, 55, 12, kEditBits, ES_CENTER},
      {1039, "Static", "TOVANE Soft", 3, 207, 51, 9, kStaticType | WS_DISABLED, SS_CENTER | WS_DISABLED},
      {1013, "msctls_progress32", "", 56, 208, 153, 7, 0, 0},
      {1038, "Static", "遅延時間(msec):", 64, 208, 52, 8, kStaticType, SS_LEFT},
      {1037, "Edit", "", 115, 206, 18, 12, kEditBits, ES_RIGHT | ES_NUMBER},
      {1045, "Button", "再起動ｵﾌﾟｼｮﾝ", 143, 201, 55, 10, kCheck, BS_AUTOCHECKBOX},
      {1069, "Button", "背景表示ｵﾌﾟｼｮﾝ", 143, 211, 65, 10, kCheck, BS_AUTOCHECKBOX},
      {IDOK, "Button", "登録", 213, 203, 23, 17, kButtonType, BS_DEFPUSHBUTTON},
      {IDCANCEL, "Button", "中止", 239, 203, 23, 17, kButtonType, BS_PUSHBUTTON},
  };
  ASSERT_EQ(t.items.size(), std::size(want));
  for (size_t i = 0; i < t.items.size(); ++i) {
    const TemplateItem& got = t.items[i];
    const Expected& w = want[i];
    SCOPED_TRACE("control " + std::to_string(i) + " (" + std::to_string(w.id) + ")");
    EXPECT_EQ(static_cast<short>(got.id), w.id);
    EXPECT_EQ(got.cls, ClassName(w.cls));
    EXPECT_EQ(got.text, w.text);
    EXPECT_EQ((std::vector<int>{got.x, got.y, got.cx, got.cy}), (std::vector<int>{w.x, w.y, w.cx, w.cy}));
    EXPECT_EQ(got.style & w.mask, w.bits) << std::hex << got.style;
    EXPECT_NE(got.style & WS_CHILD, 0u);
    EXPECT_NE(got.style & WS_VISIBLE, 0u) << "each form hides what it does not show";
  }
}

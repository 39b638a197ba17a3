// The tray icon's callback and the tray menu: what the shell's messages to Kuvella's main
// window do (WM_USER, lParam the mouse message), and the menu's entries chosen by keyboard.
#include <vector>

#include "TestSupport.h"

namespace e2e {
namespace {

class TrayIcon : public KuvellaTest {
 protected:
  std::string Tip() const { return NewIconTip(iconsBefore_).value_or("<no icon>"); }
  bool TipBecomes(const char* tip) const {
    return WaitUntil([&] { return Tip() == tip; });
  }

  // A window 5 px from the left edge, somewhere new each time.
  RECT NextNearEdge() {
    ++serial_;
    return MakeRect(5, 500 + 10 * serial_, 405, 700 + 10 * serial_);
  }
  static RECT Snapped(const RECT& r) { return MakeRect(0, r.top, r.right - r.left, r.bottom); }

  int serial_ = 0;
};

TEST_F(TrayIcon, LeftButtonReleaseSwitchesBetweenActiveAndPaused) {
  TestWindow probe(MakeRect(300, 300, 700, 600));
  Kuvella& k = Start();
  ASSERT_TRUE(TipBecomes(kTipActive)) << Tip();

  k.TraySend(WM_LBUTTONUP);
  EXPECT_TRUE(TipBecomes(kTipPaused)) << Tip();
  const RECT nearEdge = NextNearEdge();
  EXPECT_TRUE(StaysPut(probe, nearEdge)) << "snapped while paused";

  k.TraySend(WM_LBUTTONUP);
  EXPECT_TRUE(TipBecomes(kTipActive)) << Tip();
  // The window that came to rest during the pause is evaluated after the resume.
  EXPECT_TRUE(WaitForRect(probe.hwnd(), Snapped(nearEdge)));

  // A double click: two releases with a double-click message between them.
  for (LPARAM m : {WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) k.TraySend(m);
  EXPECT_TRUE(TipBecomes(kTipActive)) << Tip();
  const RECT again = NextNearEdge();
  EXPECT_TRUE(SnapsTo(probe, again, Snapped(again)));
}

TEST_F(TrayIcon, OtherMouseMessagesDoNothingAndTheIconIdIsNotLookedAt) {
  static const LPARAM kIgnored[] = {WM_MOUSEMOVE,     WM_LBUTTONDOWN, WM_LBUTTONDBLCLK,
                                    WM_RBUTTONDOWN,   WM_RBUTTONDBLCLK, WM_MBUTTONDOWN,
                                    WM_MBUTTONUP,     WM_MBUTTONDBLCLK, 0};
  static const WPARAM kIds[] = {0, 1, 2, 0xFFFF};
  TestWindow probe(MakeRect(300, 300, 700, 600));
  Kuvella& k = Start();
  // Each message on its own: the tip is switched before a toggle's handling returns.
  auto sendIgnored = [&](const char* tip) {
    for (WPARAM id : kIds) {
      for (LPARAM m : kIgnored) {
        k.TraySend(m, id);
        EXPECT_EQ(tip, Tip()) << "lParam 0x" << std::hex << m << ", icon id " << id;
      }
    }
  };

  ASSERT_TRUE(TipBecomes(kTipActive)) << Tip();
  sendIgnored(kTipActive);
  RECT r = NextNearEdge();
  EXPECT_TRUE(SnapsTo(probe, r, Snapped(r))) << "no longer active";

  k.TraySend(WM_LBUTTONUP, 7);  // any icon id toggles
  EXPECT_TRUE(TipBecomes(kTipPaused)) << Tip();
  sendIgnored(kTipPaused);
  r = NextNearEdge();
  EXPECT_TRUE(StaysPut(probe, r)) << "no longer paused";

  k.TraySend(WM_LBUTTONUP, 0);
  EXPECT_TRUE(TipBecomes(kTipActive)) << Tip();
  EXPECT_TRUE(WaitForRect(probe.hwnd(), Snapped(r)));
}

class TrayMenu : public KuvellaTest {};

struct ExitKeys {
  const char* name;
  std::vector<WPARAM> keys;  // key-downs posted to the open menu
};

void PrintTo(const ExitKeys& c, std::ostream* os) { *os << c.name; }

class TrayMenuExit : public KuvellaTest, public ::testing::WithParamInterface<ExitKeys> {};

TEST_P(TrayMenuExit, RightButtonReleaseOpensTheMenuAndExitEnds) {
  Kuvella& k = Start();
  const int icons = static_cast<int>(iconsBefore_.size()) + 1;
  ASSERT_TRUE(WaitUntil([&] { return TrayIconCount() == icons; }));

  k.TrayPost(WM_RBUTTONUP, 0xBEEF);  // any icon id
  HWND menu = k.FindMenu();
  ASSERT_NE(nullptr, menu) << "no popup menu";
  for (WPARAM key : GetParam().keys) PostMessageA(menu, WM_KEYDOWN, key, 0);
  ASSERT_TRUE(k.WaitExit()) << "the exit entry did not end the program";
  EXPECT_EQ(0u, k.ExitCode());
  EXPECT_TRUE(WaitUntil([&] { return TrayIconCount() == icons - 1; })) << "icon left behind";
  EXPECT_EQ("8", Ini("MagneticLevel").value_or("<missing>"));
  EXPECT_EQ(DefaultSound(), Ini("SoundFile").value_or("<missing>"));
  EXPECT_EQ("1", Ini("SoundEnable").value_or("<missing>"));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, TrayMenuExit,
    ::testing::Values(
        // Up from no selection reaches the last entry, 終了(&X).
        ExitKeys{"UpThenReturn", {VK_UP, VK_RETURN}},
        ExitKeys{"ItsAccessKey", {'X'}}),
    [](const ::testing::TestParamInfo<ExitKeys>& row) { return std::string(row.param.name); });

TEST_F(TrayMenu, EscapeClosesTheMenuAndNothingElseHappens) {
  Kuvella& k = Start();
  k.TrayPost(WM_RBUTTONUP);
  HWND menu = k.FindMenu();
  ASSERT_NE(nullptr, menu);
  PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }));
  SendTo(k.Main(), WM_NULL);
  EXPECT_TRUE(k.Running());
  EXPECT_FALSE(k.SettingsShown());
  EXPECT_FALSE(FileExists(IniPath()));
}

TEST_F(TrayMenu, SettingsEntryShowsTheWindowAndKeepsEditsWhenChosenAgain) {
  Kuvella& k = Start();
  k.ShowSettings();
  EXPECT_TRUE(IsWindowVisible(k.Main()));
  EXPECT_TRUE(IsWindowVisible(k.App())) << "no taskbar button while the settings show";

  // Edits not applied yet.
  const std::string sound = "D:\\elsewhere\\ding.wav";
  SendTo(k.Control(idEdtSound), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(sound.c_str()));
  SendTo(k.Control(idChkSound), BM_SETCHECK, BST_UNCHECKED);
  k.ChooseMenuEntry(1);  // 設定(&S) again, while the window shows
  SendTo(k.Main(), WM_NULL);
  EXPECT_TRUE(k.SettingsShown());
  EXPECT_EQ(sound, TextOf(k.Control(idEdtSound))) << "the controls were refilled";
  EXPECT_EQ(BST_UNCHECKED, SendTo(k.Control(idChkSound), BM_GETCHECK));

  SendTo(k.Control(idBtnCancel), BM_CLICK);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(k.Main()) && !IsWindowVisible(k.App()); }));
  // Hidden and shown again: refilled from the settings.
  k.ShowSettings();
  EXPECT_EQ(DefaultSound(), TextOf(k.Control(idEdtSound)));
  EXPECT_EQ(BST_CHECKED, SendTo(k.Control(idChkSound), BM_GETCHECK));
}

}  // namespace
}  // namespace e2e

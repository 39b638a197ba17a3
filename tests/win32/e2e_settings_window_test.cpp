// The settings window, driven through its real controls from outside: what it shows, what
// OK, Cancel and Update apply, the level box's conversion error, and its keys.
#include "TestSupport.h"

namespace e2e {
namespace {

class SettingsWindow : public KuvellaTest {
 protected:
  static void Click(HWND h) { SendTo(h, BM_CLICK); }
  static bool Checked(HWND h) { return SendTo(h, BM_GETCHECK) == BST_CHECKED; }
  static bool Hidden(const Kuvella& k) {
    return WaitUntil([&] { return !IsWindowVisible(k.Main()) && !IsWindowVisible(k.App()); });
  }
  // A click into a box: the edit control takes the focus on the button press.
  static void ClickInto(HWND edit) {
    SendTo(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendTo(edit, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  }
  std::string Tip() const { return NewIconTip(iconsBefore_).value_or("<no icon>"); }
};

TEST_F(SettingsWindow, ShowsTheSettingsAndTheUpdateButtonFollowsUnappliedChanges) {
  Kuvella& k = StartAndShow();
  // First showing, default settings.
  EXPECT_EQ("8", TextOf(k.Control(idEdtLeft)));
  EXPECT_TRUE(Checked(k.Control(idChkEnable)));
  EXPECT_TRUE(Checked(k.Control(idChkSound)));
  EXPECT_EQ(DefaultSound(), TextOf(k.Control(idEdtSound)));
  EXPECT_TRUE(IsWindowEnabled(k.Control(idBtnUpdate))) << "first showing";

  Click(k.Control(idBtnOK));
  EXPECT_TRUE(Hidden(k)) << "OK did not hide the window and its taskbar button";

  k.ShowSettings();
  EXPECT_FALSE(IsWindowEnabled(k.Control(idBtnUpdate))) << "showing again after OK";

  // Only the sound box changed, then Cancel: refilled, and Update ends enabled.
  SetText(k.Control(idEdtSound), "C:\\other.wav");
  EXPECT_TRUE(IsWindowEnabled(k.Control(idBtnUpdate)));
  Click(k.Control(idBtnCancel));
  EXPECT_TRUE(Hidden(k)) << "Cancel";
  k.ShowSettings();
  EXPECT_EQ(DefaultSound(), TextOf(k.Control(idEdtSound)));
  EXPECT_TRUE(IsWindowEnabled(k.Control(idBtnUpdate))) << "after Cancel with a changed sound box";

  // Only the sound check box changed, then Cancel: the same.
  Click(k.Control(idBtnUpdate));
  EXPECT_FALSE(IsWindowEnabled(k.Control(idBtnUpdate)));
  Click(k.Control(idChkSound));
  EXPECT_FALSE(Checked(k.Control(idChkSound)));
  Click(k.Control(idBtnCancel));
  EXPECT_TRUE(Hidden(k));
  k.ShowSettings();
  EXPECT_TRUE(Checked(k.Control(idChkSound)));
  EXPECT_TRUE(IsWindowEnabled(k.Control(idBtnUpdate))) << "after Cancel with a changed check box";

  // Only the active check box changed, then Cancel: refilled, and Update ends disabled (the
  // refill's own change is undone).
  Click(k.Control(idBtnUpdate));
  Click(k.Control(idChkEnable));
  EXPECT_TRUE(IsWindowEnabled(k.Control(idBtnUpdate)));
  Click(k.Control(idBtnCancel));
  EXPECT_TRUE(Hidden(k));
  k.ShowSettings();
  EXPECT_TRUE(Checked(k.Control(idChkEnable)));
  EXPECT_FALSE(IsWindowEnabled(k.Control(idBtnUpdate))) << "after Cancel with a changed active box";

  CloseAndWait(k);
  // Cancel applied nothing.
  EXPECT_EQ(DefaultSound(), Ini("SoundFile").value_or("<missing>"));
  EXPECT_EQ("1", Ini("SoundEnable").value_or("<missing>"));
}

TEST_F(SettingsWindow, LevelAppliedWithOkTakesEffectAndIsWrittenAtClose) {
  TestWindow probe(MakeRect(300, 650, 700, 950));
  Kuvella& k = StartAndShow();
  SetText(k.Control(idEdtLeft), "20");
  const std::string sound = Folder() + "\\none.wav";
  SetText(k.Control(idEdtSound), sound);
  Click(k.Control(idChkSound));
  Click(k.Control(idBtnOK));
  ASSERT_TRUE(Hidden(k));

  EXPECT_TRUE(SnapsTo(probe, MakeRect(18, 600, 418, 900), MakeRect(0, 600, 400, 900)));
  EXPECT_TRUE(SnapsTo(probe, MakeRect(860, 610, 1260, 910), MakeRect(881, 610, 1281, 910)));
  EXPECT_TRUE(StaysPut(probe, MakeRect(21, 620, 421, 920)));

  CloseAndWait(k);
  EXPECT_EQ("20", Ini("MagneticLevel").value_or("<missing>"));
  EXPECT_EQ(sound, Ini("SoundFile").value_or("<missing>"));
  EXPECT_EQ("0", Ini("SoundEnable").value_or("<missing>"));
}

TEST_F(SettingsWindow, ClearingTheActiveBoxAndUpdatingPausesSnapping) {
  TestWindow probe(MakeRect(300, 650, 700, 950));
  Kuvella& k = StartAndShow();
  Click(k.Control(idChkEnable));
  EXPECT_FALSE(Checked(k.Control(idChkEnable)));
  EXPECT_TRUE(IsWindowEnabled(k.Control(idBtnUpdate)));
  Click(k.Control(idBtnUpdate));
  EXPECT_TRUE(k.SettingsShown()) << "Update hid the window";
  EXPECT_FALSE(IsWindowEnabled(k.Control(idBtnUpdate)));
  EXPECT_TRUE(WaitUntil([&] { return Tip() == kTipPaused; })) << Tip();
  EXPECT_TRUE(StaysPut(probe, MakeRect(5, 600, 405, 900))) << "snapped while paused";

  // Ticked again and OK: active, and the window resting near the edge is moved.
  Click(k.Control(idChkEnable));
  Click(k.Control(idBtnOK));
  EXPECT_TRUE(Hidden(k));
  EXPECT_TRUE(WaitUntil([&] { return Tip() == kTipActive; })) << Tip();
  EXPECT_TRUE(SnapsTo(probe, MakeRect(6, 610, 406, 910), MakeRect(0, 610, 400, 910)));
}

TEST_F(SettingsWindow, TextThatIsNoWholeNumberRaisesTheErrorBoxAndKeepsTheLevel) {
  TestWindow probe(MakeRect(300, 650, 700, 950));
  Kuvella& k = StartAndShow();
  HWND level = k.Control(idEdtLeft);
  ClickInto(level);
  ASSERT_EQ(level, k.FocusWindow()) << "the level box did not take the focus";
  SetText(level, "abc");
  PostMessageA(level, WM_KEYDOWN, VK_TAB, 0);  // the focus leaves the box

  HWND box = k.FindErrorBox();
  ASSERT_NE(nullptr, box) << "no error box";
  EXPECT_EQ("'abc' は整数ではありません.", MessageBoxText(box));
  CloseMessageBox(box);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }));
  EXPECT_EQ("abc", TextOf(level)) << "the bad text stays";

  // Update keeps the level it had; snapping goes on with it.
  Click(k.Control(idBtnUpdate));
  // A toggle posted now is handled after anything the click posted: no second error box.
  k.TrayPost(WM_LBUTTONUP);
  ASSERT_TRUE(WaitUntil([&] { return Tip() == kTipPaused; }));
  EXPECT_EQ(nullptr, FindTopLevel(k.pid(), "#32770", "Kuvella", true)) << "the error again";
  k.TraySend(WM_LBUTTONUP);
  EXPECT_TRUE(SnapsTo(probe, MakeRect(7, 600, 407, 900), MakeRect(0, 600, 400, 900)));
  CloseAndWait(k);
  EXPECT_EQ("8", Ini("MagneticLevel").value_or("<missing>"));
}

TEST_F(SettingsWindow, EnterAndEscapeOnTheWindowItself) {
  Kuvella& k = StartAndShow();
  HWND main = k.Main();

  // In a control, Escape runs nothing. The toggle posted after it proves it was handled.
  ClickInto(k.Control(idEdtSound));
  PostMessageA(k.Control(idEdtSound), WM_KEYDOWN, VK_ESCAPE, 0);
  k.TrayPost(WM_LBUTTONUP);
  ASSERT_TRUE(WaitUntil([&] { return Tip() == kTipPaused || !k.Running(); }));
  ASSERT_TRUE(k.Running()) << "Escape in the sound box ended the program";
  EXPECT_TRUE(k.SettingsShown());
  k.TraySend(WM_LBUTTONUP);

  // Update pressed: it disables itself and the window itself takes the focus.
  Click(k.Control(idChkSound));
  Click(k.Control(idBtnUpdate));
  ASSERT_EQ(main, k.FocusWindow()) << "the focus did not pass to the window";
  PostMessageA(main, WM_KEYDOWN, VK_RETURN, 0);  // OK: applies again and hides
  EXPECT_TRUE(Hidden(k)) << "Enter on the window did not hide it";
  EXPECT_TRUE(k.Running());

  k.ShowSettings();
  EXPECT_FALSE(Checked(k.Control(idChkSound))) << "the applied value";
  SetText(k.Control(idEdtLeft), "30");
  Click(k.Control(idBtnUpdate));
  ASSERT_EQ(main, k.FocusWindow());
  PostMessageA(main, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(k.WaitExit()) << "Escape on the window did not end the program";
  EXPECT_EQ(0u, k.ExitCode());
  EXPECT_EQ("30", Ini("MagneticLevel").value_or("<missing>"));
  EXPECT_EQ("0", Ini("SoundEnable").value_or("<missing>"));
}

}  // namespace
}  // namespace e2e

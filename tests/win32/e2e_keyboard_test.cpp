// The settings window from the keyboard: Tab order, accelerators, Enter and Escape, where the
// focus goes, the spin control, the level box's conversion on exit, and the browse dialog.
// Keys are posted to the focused control so that they pass through Kuvella's own message
// loop, as typed keys do. Shift+Tab is real input: only real input sets the Shift state.
#include "TestSupport.h"

#include <commctrl.h>

#include <cstring>
#include <utility>
#include <vector>

namespace e2e {
namespace {

// The file dialog's file-name box: the combo box of the explorer-style dialog, or the edit
// box of the old style.
constexpr int kDlgFileCombo = 0x47C;  // cmb13
constexpr int kDlgFileEdit = 0x480;   // edt1
constexpr char kWaveTitle[] = "WAVファイル";

class Keyboard : public KuvellaTest {
 protected:

  // ---- What the window shows --------------------------------------------------------------

  static bool Checked(HWND h) { return SendTo(h, BM_GETCHECK) == BST_CHECKED; }
  static bool Enabled(HWND h) { return IsWindowEnabled(h) != 0; }
  static bool Hidden(const Kuvella& k) {
    return WaitUntil([&] { return !IsWindowVisible(k.Main()) && !IsWindowVisible(k.App()); });
  }
  // A click into a box: the edit control takes the focus on the button press.
  static void ClickInto(HWND edit) {
    SendTo(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendTo(edit, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  }

  static std::string NameOf(const Kuvella& k, HWND h) {
    if (!h) return "nothing";
    if (h == k.Main()) return "the window itself";
    static const std::pair<int, const char*> kNames[] = {
        {idEdtLeft, "edtLeft"},     {idUpdMagneticLevel, "updMagneticLevel"},
        {idBtnOK, "btnOK"},         {idBtnCancel, "btnCancel"},
        {idBtnUpdate, "btnUpdate"}, {idChkEnable, "chkEnable"},
        {idMemo1, "Memo1"},         {idChkSound, "chkSound"},
        {idEdtSound, "edtSound"},   {idButton1, "Button1"},
    };
    for (const auto& [id, name] : kNames) {
      if (k.Control(id) == h) return name;
    }
    return "another window (class " + ClassOf(h) + ")";
  }

  // Waits until the keyboard focus of Kuvella's thread is on `want`.
  static ::testing::AssertionResult FocusBecomes(const Kuvella& k, HWND want) {
    if (WaitUntil([&] { return k.FocusWindow() == want; })) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the focus is on " << NameOf(k, k.FocusWindow())
                                         << ", expected " << NameOf(k, want);
  }

  // ---- Keys ---------------------------------------------------------------------------------

  static LPARAM KeyData(WPARAM vk, bool up) {
    const auto scan = static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(vk), MAPVK_VK_TO_VSC));
    return 1 | (scan << 16) | (up ? static_cast<LPARAM>(0xC0000000u) : 0);
  }
  // A key pressed and released, as the keyboard delivers it to the focused control; the
  // characters come from Kuvella's TranslateMessage.
  static void PostKey(HWND h, WPARAM vk) {
    PostMessageA(h, WM_KEYDOWN, vk, KeyData(vk, false));
    PostMessageA(h, WM_KEYUP, vk, KeyData(vk, true));
  }
  // Alt with a letter: the character, with the Alt bit set.
  static void PostAlt(HWND h, char letter) {
    const auto vk = static_cast<WPARAM>(letter >= 'a' && letter <= 'z' ? letter - 'a' + 'A' : letter);
    PostMessageA(h, WM_SYSCHAR, static_cast<WPARAM>(letter), KeyData(vk, false) | 0x20000000);
  }
  static void PostChars(HWND h, const std::string& text) {
    for (const char c : text) {
      PostMessageA(h, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1);
    }
  }
  // Posts to whatever has the focus now.
  static void Press(const Kuvella& k, WPARAM vk) {
    HWND focus = k.FocusWindow();
    ASSERT_NE(nullptr, focus) << "no control has the focus";
    PostKey(focus, vk);
  }

  // Shift+Tab as real input, to the foreground window.
  static void RealShiftTab() {
    const std::pair<WORD, DWORD> keys[] = {
        {static_cast<WORD>(VK_SHIFT), 0u}, {static_cast<WORD>(VK_TAB), 0u},
        {static_cast<WORD>(VK_TAB), static_cast<DWORD>(KEYEVENTF_KEYUP)},
        {static_cast<WORD>(VK_SHIFT), static_cast<DWORD>(KEYEVENTF_KEYUP)}};
    INPUT input[4] = {};
    for (std::size_t i = 0; i < 4; ++i) {
      input[i].type = INPUT_KEYBOARD;
      input[i].ki.wVk = keys[i].first;
      input[i].ki.wScan = static_cast<WORD>(MapVirtualKeyA(keys[i].first, MAPVK_VK_TO_VSC));
      input[i].ki.dwFlags = keys[i].second;
    }
    SendInput(4, input, sizeof(INPUT));
  }

  // Waits until Kuvella has handled everything posted to it so far, and the characters that
  // its TranslateMessage made from those keys (posted behind them): a marker goes behind,
  // twice. The marker is the memo's text limit, which nothing else looks at.
  static ::testing::AssertionResult Settled(const Kuvella& k) {
    static WPARAM mark = 40000;
    HWND memo = k.Control(idMemo1);
    for (int round = 0; round < 2; ++round) {
      const WPARAM want = ++mark;
      PostMessageA(memo, EM_SETLIMITTEXT, want, 0);
      if (!WaitUntil([&] { return static_cast<WPARAM>(SendTo(memo, EM_GETLIMITTEXT)) == want; })) {
        return ::testing::AssertionFailure() << "Kuvella did not take its posted messages";
      }
    }
    return ::testing::AssertionSuccess();
  }

  // The whole text of an edit box is selected.
  static bool AllSelected(HWND edit) {
    const auto sel = static_cast<DWORD>(SendTo(edit, EM_GETSEL));
    return LOWORD(sel) == 0 && HIWORD(sel) == TextOf(edit).size();
  }

  // ---- The browse dialog --------------------------------------------------------------------

  HWND FindWaveDialog(const Kuvella& k) const {
    HWND dlg = nullptr;
    WaitUntil([&] { return (dlg = FindTopLevel(k.pid(), "#32770", kWaveTitle, true)) != nullptr; });
    return dlg;
  }
  static HWND FileNameBox(HWND dlg) {
    HWND box = GetDlgItem(dlg, kDlgFileCombo);
    return box ? box : GetDlgItem(dlg, kDlgFileEdit);
  }
  static bool DialogGone(HWND dlg) {
    return WaitUntil([&] { return !IsWindow(dlg) || !IsWindowVisible(dlg); });
  }
  static void DialogButton(HWND dlg, int id) {
    PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
  }
};

// ---- Tab order ----------------------------------------------------------------------------------

TEST_F(Keyboard, TabVisitsTheControlsInOrderAndSkipsTheDisabledUpdateButton) {
  Kuvella& k = StartAndShow();
  HWND level = k.Control(idEdtLeft);
  const std::string memoText = TextOf(k.Control(idMemo1));
  ASSERT_TRUE(FocusBecomes(k, level)) << "the first showing starts in the level box";
  ASSERT_TRUE(Enabled(k.Control(idBtnUpdate))) << "first showing";

  const std::vector<int> withUpdate = {idBtnOK, idBtnCancel, idBtnUpdate, idChkEnable, idMemo1,
                                       idChkSound, idEdtSound, idButton1, idEdtLeft};
  for (const int id : withUpdate) {
    Press(k, VK_TAB);
    ASSERT_TRUE(FocusBecomes(k, k.Control(id))) << "Tab";
    if (id == idEdtLeft || id == idEdtSound) {
      EXPECT_TRUE(AllSelected(k.Control(id))) << NameOf(k, k.Control(id)) << " entered by Tab";
    }
  }
  EXPECT_EQ(memoText, TextOf(k.Control(idMemo1))) << "Tab in the memo typed into it";

  // Backwards, with real Shift held.
  SetForegroundWindow(k.Main());
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == k.Main(); }))
      << "the settings window is not in the foreground";
  const std::vector<int> backwards = {idButton1, idEdtSound, idChkSound, idMemo1, idChkEnable,
                                      idBtnUpdate, idBtnCancel, idBtnOK, idEdtLeft};
  for (const int id : backwards) {
    RealShiftTab();
    ASSERT_TRUE(FocusBecomes(k, k.Control(id))) << "Shift+Tab";
  }

  // Update applied: disabled, so Tab passes it by; from the window itself Tab goes to the
  // first tab stop.
  SendTo(k.Control(idBtnUpdate), BM_CLICK);
  ASSERT_FALSE(Enabled(k.Control(idBtnUpdate)));
  ASSERT_TRUE(FocusBecomes(k, k.Main()));
  const std::vector<int> withoutUpdate = {idEdtLeft, idBtnOK, idBtnCancel, idChkEnable, idMemo1,
                                          idChkSound, idEdtSound, idButton1, idEdtLeft};
  for (const int id : withoutUpdate) {
    Press(k, VK_TAB);
    ASSERT_TRUE(FocusBecomes(k, k.Control(id))) << "Tab with Update disabled";
  }
  EXPECT_TRUE(k.SettingsShown());
}

// ---- Accelerators -------------------------------------------------------------------------------

TEST_F(Keyboard, AltLettersClickButtonsWithoutLeavingTheLevelBox) {
  Kuvella& k = StartAndShow();
  HWND level = k.Control(idEdtLeft);
  HWND update = k.Control(idBtnUpdate);
  ASSERT_TRUE(FocusBecomes(k, level));

  // Alt+C: Cancel. The level was never applied, and showing again sets the position it
  // already has, which leaves the typed 20 in the box.
  SetText(level, "20");
  PostAlt(level, 'c');
  ASSERT_TRUE(Hidden(k)) << "Alt+C";
  k.ShowSettings();
  EXPECT_EQ("20", TextOf(level)) << "showing again with the level unchanged";
  ASSERT_TRUE(FocusBecomes(k, level)) << "the focus returns to the control that last had it";

  // Alt+O: OK takes the 20 that is shown.
  PostAlt(level, 'o');
  ASSERT_TRUE(Hidden(k)) << "Alt+O";
  k.ShowSettings();
  EXPECT_EQ("20", TextOf(level));
  EXPECT_FALSE(Enabled(update)) << "nothing left unapplied";

  // Alt+U in the box: the box is re-read, Update disables itself, the focus stays.
  SetText(level, "30");
  ASSERT_TRUE(Enabled(update));
  PostAlt(level, 'u');
  ASSERT_TRUE(WaitUntil([&] { return !Enabled(update); })) << "Alt+U did not apply";
  EXPECT_TRUE(FocusBecomes(k, level)) << "Alt+U moved the focus";
  EXPECT_TRUE(k.SettingsShown());

  // Alt+E: a check box's accelerator moves the focus to it and toggles it.
  HWND enable = k.Control(idChkEnable);
  PostAlt(level, 'e');
  ASSERT_TRUE(FocusBecomes(k, enable)) << "Alt+E";
  EXPECT_FALSE(Checked(enable));
  EXPECT_TRUE(Enabled(update)) << "the toggle enables Update";
  PostAlt(enable, 'e');
  ASSERT_TRUE(WaitUntil([&] { return Checked(enable); })) << "Alt+E again";
  EXPECT_TRUE(FocusBecomes(k, enable));

  CloseAndWait(k);
  EXPECT_EQ("30", Ini("MagneticLevel").value_or("<missing>"));
}

// Update through its accelerator reads the box without leaving it: text the control cannot
// take leaves the level as it was, with no error box.
TEST_F(Keyboard, AltUWithAnUnreadableLevelBoxKeepsTheLevel) {
  for (const char* text : {"", "abc", "150", "-2"}) {
    DeleteFileA(IniPath().c_str());
    Kuvella& k = StartAndShow();
    HWND level = k.Control(idEdtLeft);
    ASSERT_TRUE(FocusBecomes(k, level));
    SetText(level, text);
    PostAlt(level, 'u');
    ASSERT_TRUE(WaitUntil([&] { return !Enabled(k.Control(idBtnUpdate)); })) << "Alt+U";
    ASSERT_TRUE(Settled(k));
    EXPECT_EQ(nullptr, FindTopLevel(k.pid(), "#32770", "Kuvella", true)) << "error box for '" << text << "'";
    CloseAndWait(k);
    EXPECT_EQ("8", Ini("MagneticLevel").value_or("<missing>")) << "the box held '" << text << "'";
  }
}

TEST_F(Keyboard, ALetterAloneClicksItsButtonUnlessTheFocusTakesTyping) {
  Kuvella& k = StartAndShow();
  HWND ok = k.Control(idBtnOK);
  HWND update = k.Control(idBtnUpdate);
  ASSERT_TRUE(FocusBecomes(k, k.Control(idEdtLeft)));
  Press(k, VK_TAB);
  ASSERT_TRUE(FocusBecomes(k, ok));

  // On a button: 'u' clicks Update (the focus stays on OK), 'c' clicks Cancel.
  ASSERT_TRUE(Enabled(update));
  PostChars(ok, "u");
  ASSERT_TRUE(WaitUntil([&] { return !Enabled(update); })) << "'u' on a button";
  EXPECT_TRUE(FocusBecomes(k, ok));
  PostChars(ok, "c");
  ASSERT_TRUE(Hidden(k)) << "'c' on a button";
  k.ShowSettings();
  EXPECT_TRUE(FocusBecomes(k, ok)) << "the focus returns to the control that last had it";

  // In the two boxes the same letters are text.
  for (const int id : {idEdtLeft, idEdtSound}) {
    HWND box = k.Control(id);
    ClickInto(box);
    ASSERT_TRUE(FocusBecomes(k, box));
    const std::string before = TextOf(box);
    SendTo(box, EM_SETSEL, before.size(), before.size());  // the caret at the end
    PostChars(box, "cuob");
    EXPECT_TRUE(WaitUntil([&] { return TextOf(box) == before + "cuob"; }))
        << NameOf(k, box) << " shows '" << TextOf(box) << "'";
    ASSERT_TRUE(Settled(k));
    EXPECT_TRUE(k.SettingsShown()) << "a letter typed into " << NameOf(k, box) << " hid the window";
    EXPECT_EQ(nullptr, FindTopLevel(k.pid(), "#32770", kWaveTitle, true)) << "browse opened";
    EXPECT_TRUE(Enabled(update)) << "the typed text enables Update";
    SetText(box, before);  // leave no bad level for the next exit
  }
}

// ---- Enter, Escape and the focus ----------------------------------------------------------------

TEST_F(Keyboard, SpaceOnUpdatePassesTheFocusToTheWindowAndEscapeThenEnds) {
  Kuvella& k = StartAndShow();
  ASSERT_TRUE(FocusBecomes(k, k.Control(idEdtLeft)));
  SetText(k.Control(idEdtLeft), "40");
  for (const int id : {idBtnOK, idBtnCancel, idBtnUpdate}) {
    Press(k, VK_TAB);
    ASSERT_TRUE(FocusBecomes(k, k.Control(id)));
  }
  Press(k, VK_SPACE);
  ASSERT_TRUE(FocusBecomes(k, k.Main())) << "Update pressed with Space";
  EXPECT_FALSE(Enabled(k.Control(idBtnUpdate)));

  PostKey(k.Main(), VK_ESCAPE);
  ASSERT_TRUE(k.WaitExit()) << "Escape on the window did not end the program";
  EXPECT_EQ(0u, k.ExitCode());
  EXPECT_EQ("40", Ini("MagneticLevel").value_or("<missing>")) << "the settings file at the end";
}

TEST_F(Keyboard, EnterClicksTheFocusedButtonAndRunsNothingInTheBoxes) {
  Kuvella& k = StartAndShow();
  HWND update = k.Control(idBtnUpdate);
  ASSERT_TRUE(FocusBecomes(k, k.Control(idEdtLeft)));
  for (const int id : {idBtnOK, idBtnCancel, idBtnUpdate}) {
    Press(k, VK_TAB);
    ASSERT_TRUE(FocusBecomes(k, k.Control(id)));
  }
  // Enter on Update: it applies, disables itself and the window itself takes the focus.
  Press(k, VK_RETURN);
  ASSERT_TRUE(FocusBecomes(k, k.Main())) << "Enter on Update";
  EXPECT_FALSE(Enabled(update));
  EXPECT_TRUE(k.SettingsShown());

  // Enter on the window: OK, which applies again (a change made without any handler) and hides.
  SendTo(k.Control(idChkSound), BM_SETCHECK, BST_UNCHECKED);
  PostKey(k.Main(), VK_RETURN);
  ASSERT_TRUE(Hidden(k)) << "Enter on the window";
  ASSERT_TRUE(k.Running());

  // The control that had the focus last, Update, is disabled now: the level box gets it.
  k.ShowSettings();
  EXPECT_FALSE(Checked(k.Control(idChkSound))) << "Enter on the window did not apply";
  ASSERT_TRUE(FocusBecomes(k, k.Control(idEdtLeft)));

  // Enter on Cancel hides; the focus comes back to Cancel.
  Press(k, VK_TAB);
  Press(k, VK_TAB);
  ASSERT_TRUE(FocusBecomes(k, k.Control(idBtnCancel)));
  Press(k, VK_RETURN);
  ASSERT_TRUE(Hidden(k)) << "Enter on Cancel";
  k.ShowSettings();
  EXPECT_TRUE(FocusBecomes(k, k.Control(idBtnCancel)));

  // In the boxes, Enter and Escape run nothing and type nothing.
  for (const int id : {idEdtLeft, idEdtSound}) {
    HWND box = k.Control(id);
    ClickInto(box);
    ASSERT_TRUE(FocusBecomes(k, box));
    const std::string before = TextOf(box);
    const bool updateBefore = Enabled(update);
    for (const WPARAM key : {static_cast<WPARAM>(VK_RETURN), static_cast<WPARAM>(VK_ESCAPE)}) {
      PostKey(box, key);
      ASSERT_TRUE(Settled(k));
      const char* name = key == VK_RETURN ? "Enter" : "Escape";
      ASSERT_TRUE(k.Running()) << name << " in " << NameOf(k, box) << " ended the program";
      EXPECT_TRUE(k.SettingsShown()) << name << " in " << NameOf(k, box) << " hid the window";
      EXPECT_TRUE(FocusBecomes(k, box)) << name;
      EXPECT_EQ(before, TextOf(box)) << name << " in " << NameOf(k, box);
      EXPECT_EQ(updateBefore, Enabled(update)) << name << " in " << NameOf(k, box);
    }
  }

  // In the memo, Enter starts a new line.
  HWND memo = k.Control(idMemo1);
  ClickInto(memo);
  ASSERT_TRUE(FocusBecomes(k, memo));
  const std::size_t memoLength = TextOf(memo).size();
  PostKey(memo, VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(memo).size() == memoLength + 2; }))
      << "Enter in the memo";
  EXPECT_TRUE(k.SettingsShown());

  CloseAndWait(k);
  EXPECT_EQ("0", Ini("SoundEnable").value_or("<missing>"));
}

// ---- The spin control ---------------------------------------------------------------------------

TEST_F(Keyboard, ArrowKeysAndSpinButtonsStepByTwoWithinZeroToHundred) {
  Kuvella& k = StartAndShow();
  HWND level = k.Control(idEdtLeft);
  HWND spin = k.Control(idUpdMagneticLevel);
  ASSERT_TRUE(FocusBecomes(k, level));
  ASSERT_EQ("8", TextOf(level));

  // Each arrow first re-reads the box, so a typed value is the start of the step.
  struct Step {
    const char* typed;  // nullptr: the box as it is
    WPARAM key;
    const char* shows;
  };
  const Step arrows[] = {
      {nullptr, VK_UP, "10"}, {nullptr, VK_DOWN, "8"}, {"97", VK_UP, "99"},
      {nullptr, VK_UP, "100"}, {nullptr, VK_UP, "100"}, {"1", VK_DOWN, "0"},
      {nullptr, VK_DOWN, "0"}, {nullptr, VK_UP, "2"},
  };
  for (const Step& s : arrows) {
    if (s.typed) SetText(level, s.typed);
    PostKey(level, s.key);
    ASSERT_TRUE(Settled(k));
    EXPECT_EQ(s.shows, TextOf(level)) << (s.key == VK_UP ? "Up" : "Down") << " from "
                                      << (s.typed ? s.typed : "the value before");
  }

  // The spin buttons: a press and release on the upper or lower half.
  RECT r{};
  GetClientRect(spin, &r);
  const int x = r.right / 2;
  const std::pair<int, const char*> clicks[] = {
      {r.bottom / 4, "4"}, {r.bottom / 4, "6"}, {r.bottom * 3 / 4, "4"}};
  for (const auto& [y, shows] : clicks) {
    // Posted together, so the release comes before the control's repeat timer.
    PostMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(spin, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    ASSERT_TRUE(Settled(k));
    EXPECT_EQ(shows, TextOf(level)) << "spin button at y = " << y;
  }

  // The window's copy followed the steps: showing again with the level 8 still applied puts
  // 8 back rather than leaving the 4. Cancel by its accelerator, so that the box is not
  // left (leaving it would set the copy by itself).
  PostAlt(level, 'c');
  ASSERT_TRUE(Hidden(k));
  k.ShowSettings();
  EXPECT_EQ("8", TextOf(level)) << "the window's copy did not follow the spin steps";

  PostKey(level, VK_UP);
  ASSERT_TRUE(WaitUntil([&] { return TextOf(level) == "10"; }));
  SendTo(k.Control(idBtnOK), BM_CLICK);
  ASSERT_TRUE(Hidden(k));
  CloseAndWait(k);
  EXPECT_EQ("10", Ini("MagneticLevel").value_or("<missing>"));
}

// ---- Leaving the level box ----------------------------------------------------------------------

TEST_F(Keyboard, LeavingTheLevelBoxConvertsItsText) {
  Kuvella& k = StartAndShow();
  HWND level = k.Control(idEdtLeft);
  ASSERT_TRUE(FocusBecomes(k, level));

  const std::pair<const char*, const char*> converted[] = {{"150", "100"}, {"$1E", "30"}};
  for (const auto& [typed, shows] : converted) {
    ClickInto(level);
    ASSERT_TRUE(FocusBecomes(k, level));
    SendTo(level, EM_SETSEL, 0, -1);
    PostChars(level, typed);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(level) == typed; }));
    Press(k, VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(level) == shows; }))
        << "typed " << typed << ", shows " << TextOf(level);
    EXPECT_TRUE(FocusBecomes(k, k.Control(idBtnOK)));
  }

  // A trailing blank: the error box, every time the box is left, and the text stays.
  for (int exit = 1; exit <= 2; ++exit) {
    ClickInto(level);
    ASSERT_TRUE(FocusBecomes(k, level));
    if (exit == 1) {
      SendTo(level, EM_SETSEL, 0, -1);
      PostChars(level, "8 ");
      ASSERT_TRUE(WaitUntil([&] { return TextOf(level) == "8 "; }));
    }
    Press(k, VK_TAB);
    HWND box = k.FindErrorBox();
    ASSERT_NE(nullptr, box) << "no error box at exit " << exit;
    EXPECT_EQ("'8 ' は整数ではありません.", MessageBoxText(box));
    CloseMessageBox(box);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }));
    EXPECT_EQ("8 ", TextOf(level)) << "the bad text stays";
  }

  // The level stays the 30 from before: OK reads the box, which it cannot take.
  SendTo(k.Control(idBtnOK), BM_CLICK);
  ASSERT_TRUE(Hidden(k));
  CloseAndWait(k);
  EXPECT_EQ("30", Ini("MagneticLevel").value_or("<missing>"));
}

// ---- Browse -------------------------------------------------------------------------------------

TEST_F(Keyboard, BrowseCancelsOrPutsThePickedFileInTheSoundBox) {
  const std::string wave = Folder() + "\\my sound.wav";
  ASSERT_TRUE(CopyFileA(DefaultSound().c_str(), wave.c_str(), FALSE));
  Kuvella& k = StartAndShow();
  HWND sound = k.Control(idEdtSound);
  HWND update = k.Control(idBtnUpdate);
  SendTo(update, BM_CLICK);  // applied: a change is seen as Update turning on
  ASSERT_FALSE(Enabled(update));
  const std::string before = TextOf(sound);

  // Opened and cancelled: nothing changes.
  PostMessageA(k.Control(idButton1), BM_CLICK, 0, 0);
  HWND dlg = FindWaveDialog(k);
  ASSERT_NE(nullptr, dlg) << "no file dialog titled WAVファイル";
  EXPECT_EQ(k.App(), GetWindow(dlg, GW_OWNER)) << "owned by " << ClassOf(GetWindow(dlg, GW_OWNER));
  EXPECT_FALSE(Enabled(k.Main())) << "the settings window stays usable under the dialog";
  ASSERT_NE(nullptr, FileNameBox(dlg)) << "the dialog has no file-name box";
  EXPECT_EQ("", TextOf(FileNameBox(dlg))) << "the first browse starts from no file";
  DialogButton(dlg, IDCANCEL);
  ASSERT_TRUE(DialogGone(dlg));
  ASSERT_TRUE(WaitUntil([&] { return Enabled(k.Main()); }));
  ASSERT_TRUE(Settled(k));
  EXPECT_EQ(before, TextOf(sound));
  EXPECT_FALSE(Enabled(update)) << "cancelled browse";

  // Opened with Alt+B, a full path typed and confirmed: the sound box gets it.
  PostAlt(k.FocusWindow() ? k.FocusWindow() : k.Main(), 'b');
  dlg = FindWaveDialog(k);
  ASSERT_NE(nullptr, dlg) << "Alt+B opened no file dialog";
  ASSERT_NE(nullptr, FileNameBox(dlg));
  SetText(FileNameBox(dlg), wave);
  DialogButton(dlg, IDOK);
  ASSERT_TRUE(DialogGone(dlg)) << "the dialog did not take " << wave;
  EXPECT_TRUE(WaitUntil([&] { return TextOf(sound) == wave; })) << "the sound box shows '"
                                                                 << TextOf(sound) << "'";
  EXPECT_TRUE(Enabled(update)) << "picked file";
  SendTo(update, BM_CLICK);

  // The next browse starts at the picked file, not at the sound box's text.
  SetText(sound, Folder() + "\\other.wav");
  PostMessageA(k.Control(idButton1), BM_CLICK, 0, 0);
  dlg = FindWaveDialog(k);
  ASSERT_NE(nullptr, dlg);
  const std::string offered = TextOf(FileNameBox(dlg));
  EXPECT_TRUE(offered == wave || offered == "my sound.wav") << "the dialog offers '" << offered << "'";
  // Confirmed as offered, it is that file in that folder.
  DialogButton(dlg, IDOK);
  ASSERT_TRUE(DialogGone(dlg));
  EXPECT_TRUE(WaitUntil([&] { return TextOf(sound) == wave; })) << "the sound box shows '"
                                                                 << TextOf(sound) << "'";

  CloseAndWait(k);
  EXPECT_EQ(wave, Ini("SoundFile").value_or("<missing>"));
}

}  // namespace
}  // namespace e2e

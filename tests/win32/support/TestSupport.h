#pragma once
// Helpers for the end-to-end tests: they drive a real kuvella.exe, started from a folder of
// its own, through the desktop the way a user and Windows would, and watch what it does to
// windows, the tray and its settings file.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// RECT lives in the global namespace, so its comparison and printing live there too.
bool operator==(const RECT& a, const RECT& b);
void PrintTo(const RECT& r, std::ostream* os);

namespace e2e {

// Milliseconds. (<chrono> does not compile with -fexec-charset=CP932.)
struct Millis {
  constexpr explicit Millis(unsigned v) : value(v) {}
  constexpr unsigned count() const { return value; }
  unsigned value;
};
// Generous: Wine on a loaded machine can be slow, and a bound is only there to end a hang.
inline constexpr Millis kDeadline{10000};
// How long "nothing happens" is watched: five ticks of the slow adjuster.
inline constexpr Millis kQuiet{1500};

// Kuvella's control ids (res/Layout.h) and its window classes.
enum : int {
  idEdtLeft = 104, idUpdMagneticLevel = 105, idBtnOK = 106, idBtnCancel = 107, idBtnUpdate = 108,
  idChkEnable = 109, idMemo1 = 110, idChkSound = 111, idEdtSound = 112, idButton1 = 113,
};
inline constexpr char kMainClass[] = "TfrmMain";
inline constexpr char kAppClass[] = "TApplication";
inline constexpr char kTipActive[] = "Kuvella";
inline constexpr char kTipPaused[] = "Kuvella(休憩中)";

// ---- Waiting ---------------------------------------------------------------------------------

// Handles every message waiting for this thread: our test windows must answer the messages
// that Kuvella's MoveWindow sends them, or Kuvella would block.
void PumpMessages();
// Pumps messages until done() is true or the deadline passes; returns done()'s last answer.
bool WaitUntil(const std::function<bool()>& done, Millis deadline = kDeadline);
// Pumps messages for the whole period (to vary when something happens, never to wait for it).
void PumpFor(Millis period);
// Pumps messages for the whole period; false as soon as stillTrue() turns false.
bool HoldsFor(const std::function<bool()>& stillTrue, Millis period = kQuiet);

// ---- Files -----------------------------------------------------------------------------------

std::string WindowsPath(const std::string& path);  // a Linux path from the environment → Z:\...
std::string DistDir();                             // where kuvella.exe and its files were built
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
void RemoveTree(const std::string& path);
// The value of section/key in an INI file, or nullopt when the key is missing.
std::optional<std::string> IniValue(const std::string& iniPath, const std::string& key,
                                    const std::string& section = "Setting");

// ---- Windows of our own ----------------------------------------------------------------------

RECT MakeRect(int left, int top, int right, int bottom);
RECT RectOf(HWND h);
std::string ClassOf(HWND h);
DWORD ProcessOf(HWND h);

// A plain visible top-level window of the test process, destroyed with the object. (An
// overlapped window is at least 116 x 27 under Wine; a WS_POPUP one can be smaller.)
class TestWindow {
 public:
  explicit TestWindow(const RECT& r, const char* title = "e2e probe",
                      DWORD style = WS_OVERLAPPEDWINDOW);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  RECT Rect() const { return RectOf(hwnd_); }
  // Puts the window at r on top and makes it the foreground window, then lets it rest there.
  void Place(const RECT& r);
  void Activate();
  void Destroy();

 private:
  HWND hwnd_ = nullptr;
};

// Waits until the window's rectangle is r.
bool WaitForRect(HWND h, const RECT& r, Millis deadline = kDeadline);
// True when the window keeps rectangle r for the whole period.
bool StaysAt(HWND h, const RECT& r, Millis period = kQuiet);

// ---- Kuvella's windows -----------------------------------------------------------------------

std::vector<HWND> TopLevelWindowsOf(DWORD pid);
HWND FindTopLevel(DWORD pid, const char* cls, const char* caption = nullptr, bool visibleOnly = false);
// WM_GETTEXT through the message system: it works for controls of another process.
std::string TextOf(HWND h);
LRESULT SendTo(HWND h, UINT msg, WPARAM wp = 0, LPARAM lp = 0);
inline void SetText(HWND h, const std::string& text) {
  SendTo(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
std::string MessageBoxText(HWND box);  // the Static (id 0xFFFF) of a standard message box
void CloseMessageBox(HWND box);        // its OK button

class Kuvella {
 public:
  // Starts exe (its folder is the working directory) and waits until its message loop runs.
  static std::unique_ptr<Kuvella> Start(const std::string& exe);
  ~Kuvella();
  Kuvella(const Kuvella&) = delete;
  Kuvella& operator=(const Kuvella&) = delete;

  DWORD pid() const { return pid_; }
  DWORD tid() const { return tid_; }
  HWND Main() const { return main_; }
  HWND App() const { return app_; }
  HWND Control(int id) const { return GetDlgItem(main_, id); }

  // The tray icon's callback, as the shell delivers it (WM_USER to the main window).
  void TrayPost(LPARAM mouseMessage, WPARAM iconId = 1) const;
  // The same, waiting until it has been handled.
  void TraySend(LPARAM mouseMessage, WPARAM iconId = 1) const;

  bool Running() const;
  bool WaitExit(Millis deadline = kDeadline) const;
  DWORD ExitCode() const;
  HWND FindMenu(Millis deadline = kDeadline) const;      // the open popup menu, "#32768"
  HWND FindErrorBox(Millis deadline = kDeadline) const;  // a "Kuvella" message box
  HWND FocusWindow() const;                              // its thread's keyboard focus
  bool SettingsShown() const { return IsWindowVisible(main_) != 0; }

  // Opens the tray menu and picks an entry with the keyboard: Down n times (n > 0), or Up
  // -n times, then Return.
  void ChooseMenuEntry(int steps) const;
  void ShowSettings() const;  // the menu's first entry; waits until the window shows

  // WM_CLOSE, then a wait; closes an error box on the way; terminates as a last resort.
  void End();

 private:
  Kuvella() = default;
  PROCESS_INFORMATION pi_{};
  DWORD pid_ = 0;
  DWORD tid_ = 0;
  HWND main_ = nullptr;
  HWND app_ = nullptr;
};

// ---- Tray ------------------------------------------------------------------------------------

struct TrayEntry {
  HWND window;      // the icon's child window in Wine's tray
  std::string tip;  // in the ANSI code page; empty when it cannot be read
};
std::vector<TrayEntry> TrayIcons();
int TrayIconCount();
// Tip of the icon that appeared since `before` (the icons at some earlier moment).
std::optional<std::string> NewIconTip(const std::vector<TrayEntry>& before);

// ---- Fixture ---------------------------------------------------------------------------------

// Every test gets a fresh folder with kuvella.exe (and readme.txt, snap.wav) in it; whatever
// it starts is ended at teardown and the folder is removed.
class KuvellaTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The folder's last name component, before SetUp makes it (may hold CP932 text).
  virtual std::string FolderName() const;
  virtual bool CopyReadme() const { return true; }
  virtual bool CopySound() const { return true; }

  const std::string& Folder() const { return folder_; }
  std::string Exe() const { return folder_ + "\\kuvella.exe"; }
  std::string IniPath() const { return folder_ + "\\kuvella.ini"; }
  std::string DefaultSound() const { return folder_ + "\\snap.wav"; }
  void WriteIni(const std::string& text) const { WriteFileBytes(IniPath(), text); }
  std::optional<std::string> Ini(const std::string& key, const std::string& section = "Setting") const {
    return IniValue(IniPath(), key, section);
  }

  // Starts a copy; the icons present before it are kept for NewIconTip.
  Kuvella& Start() { return Start(Exe()); }
  Kuvella& Start(const std::string& exe);
  // Starts a copy and opens its settings window from the tray menu.
  Kuvella& StartAndShow() {
    Kuvella& k = Start();
    k.ShowSettings();
    return k;
  }
  // WM_CLOSE to its main window, then a clean end (exit code 0) within the deadline.
  void CloseAndWait(Kuvella& k);

  // Places the probe at `from` and waits for it to reach `to`.
  ::testing::AssertionResult SnapsTo(TestWindow& probe, const RECT& from, const RECT& to);
  // Places the probe at `at` and checks it is not moved.
  ::testing::AssertionResult StaysPut(TestWindow& probe, const RECT& at);
  // A table row: StaysPut when `to` equals `from`, SnapsTo otherwise.
  ::testing::AssertionResult RestsAt(TestWindow& probe, const RECT& from, const RECT& to) {
    return from == to ? StaysPut(probe, from) : SnapsTo(probe, from, to);
  }

  std::vector<TrayEntry> iconsBefore_;

 private:
  std::string folder_;
  std::vector<std::unique_ptr<Kuvella>> started_;
};

// The same in a folder whose name is Japanese: the second byte of "表" (0x95 0x5C) is a backslash.
class KuvellaJapaneseFolderTest : public KuvellaTest {
 protected:
  std::string FolderName() const override { return "表示フォルダ-" + KuvellaTest::FolderName(); }
};

}  // namespace e2e

// The main window in this process with a recording tray: the tray calls over a run, the
// active/paused switch and its timers, the tray menu's read-me rule, the settings window's
// level control, the timer component and the standard error box.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Application.h"
#include "Errors.h"
#include "Layout.h"
#include "Texts.h"
#include "Timer.h"
#include "untMain.h"

namespace kuvella {
namespace {

using namespace untMain;

// ---- Helpers --------------------------------------------------------------------------------

struct TrayCall {
  DWORD message;
  TNotifyIconData record;
};

class RecordingTray final : public TrayPort {
 public:
  BOOL Notify(DWORD message, TNotifyIconData& record) override {
    calls.push_back({message, record});
    return TRUE;
  }
  std::vector<TrayCall> calls;
};

std::string ExePath() {
  char buffer[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return std::string(buffer, n);
}
// The test runs from an ASCII path, so the last "\" is the directory's end.
std::string ExeDir() {
  const std::string p = ExePath();
  return p.substr(0, p.find_last_of("\\:") + 1);
}
std::string IniPath() {
  const std::string p = ExePath();
  const std::size_t dot = p.find_last_of('.');
  return p.substr(0, dot) + ".ini";
}
std::string ReadmePath() { return ExeDir() + "readme.txt"; }

bool PathExists(const std::string& p) { return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

void RemoveReadme() {
  const std::string p = ReadmePath();
  const DWORD a = GetFileAttributesA(p.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return;
  if (a & FILE_ATTRIBUTE_DIRECTORY) RemoveDirectoryA(p.c_str());
  else DeleteFileA(p.c_str());
}

void WriteTextFile(const std::string& path, const std::string& content) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  ::WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(h);
}

const char* MessageName(DWORD m) {
  switch (m) {
    case NIM_ADD: return "ADD";
    case NIM_MODIFY: return "MODIFY";
    case NIM_DELETE: return "DELETE";
    default: return "?";
  }
}

bool SameRecord(const TNotifyIconData& a, const TNotifyIconData& b) {
  return a.cbSize == b.cbSize && a.hWnd == b.hWnd && a.uID == b.uID && a.uFlags == b.uFlags &&
         a.uCallbackMessage == b.uCallbackMessage && a.hIcon == b.hIcon &&
         std::memcmp(a.szTip, b.szTip, sizeof a.szTip) == 0;
}

enum class Look { Active, Paused };
struct ExpectedCall {
  DWORD message;
  Look look;
};

// The calls as (message, look): each record must be exactly one of the module's two records.
void ExpectCalls(const std::vector<TrayCall>& calls, const std::vector<ExpectedCall>& expected) {
  ASSERT_EQ(calls.size(), expected.size());
  for (std::size_t i = 0; i < calls.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(calls[i].message, expected[i].message) << MessageName(calls[i].message);
    const TNotifyIconData& want =
        expected[i].look == Look::Active ? TrayIconActive : TrayIconPaused;
    EXPECT_TRUE(SameRecord(calls[i].record, want))
        << "tip sent: " << calls[i].record.szTip;
  }
}

// Waits for one WM_TIMER of the given id to the owner; other ticks are taken and dropped.
bool WaitForTick(HWND owner, UINT_PTR id, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  MSG msg;
  while (GetTickCount() - start < timeoutMs) {
    while (PeekMessageA(&msg, owner, WM_TIMER, WM_TIMER, PM_REMOVE)) {
      if (msg.wParam == id) return true;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_TIMER);
  }
  return false;
}

constexpr char kTestClass[] = "KuvellaShellTestWindow";

LRESULT CALLBACK TestWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(h, msg, wp, lp);
}

UniqueWindow MakeWindow(const char* title, int x, int y, int w, int h, bool visible) {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = TestWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kTestClass;
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  return UniqueWindow(CreateWindowExA(WS_EX_TOOLWINDOW, kTestClass, title,
                                      WS_POPUP | (visible ? WS_VISIBLE : 0), x, y, w, h, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), nullptr));
}

bool Listed(HWND h) {
  if (!WindowList) return false;
  for (const auto& e : WindowList->entries()) {
    if (e.Object == FromHwnd(h)) return true;
  }
  return false;
}

// ---- The popup menu, watched from inside its own modal loop ---------------------------------

struct MenuWatch {
  TfrmMain* form = nullptr;
  bool opened = false;
  RECT rect{};
  UINT aboutState = 0;
  std::vector<std::string> captions;
  int ticks = 0;
};
MenuWatch g_watch;

struct FindClassOnThread {
  const char* cls;
  HWND found;
};

BOOL CALLBACK FindVisibleOfClass(HWND h, LPARAM param) {
  auto* find = reinterpret_cast<FindClassOnThread*>(param);
  char cls[64] = {};
  GetClassNameA(h, cls, sizeof cls);
  if (std::strcmp(cls, find->cls) == 0 && IsWindowVisible(h)) {
    find->found = h;
    return FALSE;
  }
  return TRUE;
}

HWND VisibleWindowOfClass(DWORD thread, const char* cls) {
  FindClassOnThread find{cls, nullptr};
  EnumThreadWindows(thread, FindVisibleOfClass, reinterpret_cast<LPARAM>(&find));
  return find.found;
}

// A thread timer's callback: the menu loop dispatches it while the menu is on screen.
void CALLBACK WatchMenu(HWND, UINT, UINT_PTR, DWORD) {
  ++g_watch.ticks;
  HWND popup = VisibleWindowOfClass(GetCurrentThreadId(), "#32768");
  if (popup && !g_watch.opened) {
    g_watch.opened = true;
    GetWindowRect(popup, &g_watch.rect);
    HMENU menu = g_watch.form->PopupMenu1().Handle();
    g_watch.aboutState = GetMenuState(menu, g_watch.form->About1().Command(), MF_BYCOMMAND);
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      char text[256] = {};
      GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
      g_watch.captions.push_back(text);
    }
  }
  EndMenu();
  // Should ending the menu from inside be ignored, Escape closes it all the same.
  if (popup && g_watch.ticks > 20) PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
}

MenuWatch RightReleaseOnIcon(TfrmMain& form) {
  g_watch = MenuWatch{};
  g_watch.form = &form;
  const UINT_PTR timer = SetTimer(nullptr, 0, 30, WatchMenu);
  form.WMTrayNotify(WM_RBUTTONUP);
  KillTimer(nullptr, timer);
  return g_watch;
}

// ---- The error box, read and closed by a helper thread --------------------------------------

struct BoxSeen {
  bool found = false;
  std::string caption;
  std::string text;
  int buttons = 0;
};

struct BoxChildren {
  std::string text;
  int buttons = 0;
};

BOOL CALLBACK ReadBoxChild(HWND h, LPARAM param) {
  auto* seen = reinterpret_cast<BoxChildren*>(param);
  char cls[64] = {};
  GetClassNameA(h, cls, sizeof cls);
  if (_stricmp(cls, "Static") == 0 && GetDlgCtrlID(h) == 0xFFFF) {
    char text[512] = {};
    GetWindowTextA(h, text, sizeof text);
    seen->text = text;
  } else if (_stricmp(cls, "Button") == 0 && IsWindowVisible(h)) {
    ++seen->buttons;
  }
  return TRUE;
}

// Runs show on this thread; a helper finds the box of this thread, reads it and presses OK.
BoxSeen CloseErrorBoxOf(const std::function<void()>& show) {
  const DWORD thread = GetCurrentThreadId();
  std::atomic<bool> done{false};
  BoxSeen seen;
  std::thread helper([&] {
    const DWORD start = GetTickCount();
    while (!done.load()) {
      if (HWND box = VisibleWindowOfClass(thread, "#32770")) {
        char caption[256] = {};
        GetWindowTextA(box, caption, sizeof caption);
        BoxChildren children;
        EnumChildWindows(box, ReadBoxChild, reinterpret_cast<LPARAM>(&children));
        seen.found = true;
        seen.caption = caption;
        seen.text = children.text;
        seen.buttons = children.buttons;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return;
      }
      if (GetTickCount() - start > 15000) {
        // The box never came and the test thread is still held: nothing else will free it.
        std::fprintf(stderr, "error box test: still blocked after 15 s\n");
        std::fflush(stderr);
        ExitProcess(3);
      }
      Sleep(10);
    }
  });
  show();
  done.store(true);
  helper.join();
  return seen;
}

// ---- The fixture ------------------------------------------------------------------------------

class MainWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // What the program's entry does before it creates any window.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
  }

  void SetUp() override {
    DeleteFileA(IniPath().c_str());
    ResetModuleState();
    app_ = std::make_unique<TApplication>(GetModuleHandleA(nullptr));
    app_->SetTitle(texts::kAppTitle);
    form_ = std::make_unique<TfrmMain>(*app_, tray_);
  }

  void TearDown() override {
    form_.reset();
    app_.reset();
    ResetModuleState();
    DeleteFileA(IniPath().c_str());
  }

  TfrmMain& form() { return *form_; }
  std::string EditText(int id) {
    char buffer[512] = {};
    GetWindowTextA(form().Control(id), buffer, sizeof buffer);
    return buffer;
  }
  bool Checked(int id) {
    return SendMessageA(form().Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  bool UpdateEnabled() { return IsWindowEnabled(form().Control(layout::idBtnUpdate)) != 0; }
  bool TimersEnabled(bool value) {
    return form().tmrWindowAdjuster().Enabled() == value &&
           form().tmrWindowSearcher().Enabled() == value;
  }

  RecordingTray tray_;
  std::unique_ptr<TApplication> app_;
  std::unique_ptr<TfrmMain> form_;
};

// ---- Start-up -------------------------------------------------------------------------------

TEST_F(MainWindowTest, CreationLeavesTheDefaultRunningState) {
  EXPECT_EQ(frmMain, &form());
  EXPECT_EQ(MagneticLevel, 8);
  EXPECT_EQ(SoundFile, ExeDir() + "snap.wav");
  EXPECT_TRUE(SoundEnable);
  EXPECT_TRUE(SnapActive);
  ASSERT_NE(WindowList, nullptr);
  EXPECT_FALSE(form().Visible());
  EXPECT_TRUE(TimersEnabled(true));
  EXPECT_EQ(form().tmrWindowAdjuster().Interval(), 300u);
  EXPECT_EQ(form().tmrWindowSearcher().Interval(), 5000u);
  // Nothing is written until the window closes.
  EXPECT_FALSE(PathExists(IniPath()));

  form_.reset();
  EXPECT_EQ(WindowList, nullptr) << "destroying the main window frees the list";
  EXPECT_EQ(frmMain, nullptr);
}

TEST_F(MainWindowTest, TrayRecordsHoldTheTwoLooksOfOneIcon) {
  struct Case {
    const char* what;
    const TNotifyIconData& record;
    HICON icon;
    const char* tip;
  };
  const Case cases[] = {
      {"active", TrayIconActive, app_->Icon(), "Kuvella"},
      {"paused", TrayIconPaused, form().PausedIcon(), "Kuvella(休憩中)"},
  };
  ASSERT_NE(app_->Icon(), nullptr);
  ASSERT_NE(form().PausedIcon(), nullptr);
  EXPECT_NE(app_->Icon(), form().PausedIcon());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.record.cbSize, sizeof(TNotifyIconData));
    EXPECT_EQ(c.record.hWnd, form().Handle());
    EXPECT_EQ(c.record.uID, 1u);
    EXPECT_EQ(c.record.uFlags, 7u);
    EXPECT_EQ(c.record.uCallbackMessage, 0x400u);
    EXPECT_EQ(c.record.hIcon, c.icon);
    EXPECT_STREQ(c.record.szTip, c.tip);
    // The bytes after the tip's NUL stay zero.
    for (std::size_t i = std::strlen(c.tip); i < sizeof c.record.szTip; ++i) {
      EXPECT_EQ(c.record.szTip[i], '\0') << i;
    }
  }
#ifndef _WIN64
  EXPECT_EQ(sizeof(TNotifyIconData), 88u);
#endif
}

// ---- Tray calls over a run ------------------------------------------------------------------

TEST_F(MainWindowTest, TrayCallsOverARun) {
  ExpectCalls(tray_.calls, {{NIM_ADD, Look::Active}, {NIM_MODIFY, Look::Active}});
  tray_.calls.clear();

  form().SetSnapActive(false);
  form().SetSnapActive(false);  // the same state is sent again
  form().SetSnapActive(true);
  form().SetSnapActive(true);
  ExpectCalls(tray_.calls, {{NIM_MODIFY, Look::Paused},
                            {NIM_MODIFY, Look::Paused},
                            {NIM_MODIFY, Look::Active},
                            {NIM_MODIFY, Look::Active}});
}

TEST_F(MainWindowTest, ClosingDeletesBothLooksWhateverTheState) {
  for (bool active : {true, false}) {
    SCOPED_TRACE(active ? "active" : "paused");
    TearDown();
    tray_.calls.clear();
    SetUp();
    form().SetSnapActive(active);
    tray_.calls.clear();
    form().FormClose();
    ExpectCalls(tray_.calls, {{NIM_DELETE, Look::Active}, {NIM_DELETE, Look::Paused}});
    EXPECT_TRUE(PathExists(IniPath())) << "the settings are written after the icon is gone";
  }
}

TEST_F(MainWindowTest, TaskbarCreatedAddsTheIconInTheCurrentLook) {
  const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  ASSERT_NE(taskbarCreated, 0u);
  struct Case {
    bool active;
    Look look;
  };
  for (const Case c : {Case{true, Look::Active}, Case{false, Look::Paused}, Case{true, Look::Active}}) {
    SCOPED_TRACE(c.active ? "active" : "paused");
    form().SetSnapActive(c.active);
    tray_.calls.clear();
    SendMessageA(form().Handle(), taskbarCreated, 0, 0);
    ExpectCalls(tray_.calls, {{NIM_ADD, c.look}});
    EXPECT_EQ(SnapActive, c.active) << "re-adding the icon changes no state";
  }
}

// ---- The tray callback ----------------------------------------------------------------------

TEST_F(MainWindowTest, OnlyTheLeftReleaseToggles) {
  struct Case {
    LPARAM lParam;
    const char* what;
    bool toggles;
  };
  const Case cases[] = {
      {WM_LBUTTONUP, "left release", true},     {WM_LBUTTONDOWN, "left press", false},
      {WM_LBUTTONDBLCLK, "left double", false}, {WM_RBUTTONDOWN, "right press", false},
      {WM_RBUTTONDBLCLK, "right double", false}, {WM_MOUSEMOVE, "move", false},
      {WM_MBUTTONDOWN, "middle press", false},  {WM_MBUTTONUP, "middle release", false},
      {0, "zero", false},
  };
  for (bool start : {true, false}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (start ? " while active" : " while paused"));
      form().SetSnapActive(start);
      tray_.calls.clear();
      form().WMTrayNotify(c.lParam);
      const bool now = c.toggles ? !start : start;
      EXPECT_EQ(SnapActive, now);
      EXPECT_TRUE(TimersEnabled(now));
      if (c.toggles) {
        ExpectCalls(tray_.calls, {{NIM_MODIFY, now ? Look::Active : Look::Paused}});
      } else {
        EXPECT_TRUE(tray_.calls.empty());
      }
    }
  }
}

TEST_F(MainWindowTest, DoubleClickEndsWhereItBegan) {
  for (bool start : {true, false}) {
    SCOPED_TRACE(start ? "from active" : "from paused");
    form().SetSnapActive(start);
    tray_.calls.clear();
    for (LPARAM m : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
      form().WMTrayNotify(m);
    }
    EXPECT_EQ(SnapActive, start);
    EXPECT_TRUE(TimersEnabled(start));
    const Look first = start ? Look::Paused : Look::Active;
    const Look second = start ? Look::Active : Look::Paused;
    ExpectCalls(tray_.calls, {{NIM_MODIFY, first}, {NIM_MODIFY, second}});
  }
}

TEST_F(MainWindowTest, UserMessageTogglesWhateverItsWParam) {
  const WPARAM wParams[] = {0, 1, 2, 0xFFFF, static_cast<WPARAM>(-1)};
  for (WPARAM w : wParams) {
    SCOPED_TRACE(w);
    const bool before = SnapActive;
    SendMessageA(form().Handle(), WM_USER, w, WM_LBUTTONUP);
    EXPECT_EQ(SnapActive, !before);
    SendMessageA(form().Handle(), WM_USER, w, WM_MOUSEMOVE);
    EXPECT_EQ(SnapActive, !before);
  }
}

TEST_F(MainWindowTest, RightReleaseOpensTheMenuAtTheCursorAndDoesNotToggle) {
  ASSERT_TRUE(SetCursorPos(320, 240));
  POINT cursor{};
  GetCursorPos(&cursor);
  ASSERT_EQ(cursor.x, 320);
  ASSERT_EQ(cursor.y, 240);
  tray_.calls.clear();
  const MenuWatch seen = RightReleaseOnIcon(form());
  ASSERT_TRUE(seen.opened) << "no menu window came up";
  EXPECT_EQ(seen.rect.left, 320);
  EXPECT_EQ(seen.rect.top, 240);
  EXPECT_TRUE(SnapActive);
  EXPECT_TRUE(tray_.calls.empty());
  const std::vector<std::string> captions = {texts::kMenuSettings, texts::kMenuAbout, "",
                                             texts::kMenuExit};
  EXPECT_EQ(seen.captions, captions);
  HMENU menu = form().PopupMenu1().Handle();
  EXPECT_NE(GetMenuState(menu, 2, MF_BYPOSITION) & MF_SEPARATOR, 0u);

  // Every opening rebuilds the menu: the entries are not doubled.
  const MenuWatch again = RightReleaseOnIcon(form());
  EXPECT_TRUE(again.opened);
  EXPECT_EQ(again.captions, captions);
  EXPECT_EQ(GetMenuItemCount(form().PopupMenu1().Handle()), 4);
}

// ---- Pause and resume: timers, list, interval -----------------------------------------------

TEST_F(MainWindowTest, PauseStopsBothTimersAndResumeStartsThem) {
  const HWND h = form().Handle();
  form().SetSnapActive(false);
  EXPECT_TRUE(TimersEnabled(false));
  // No platform timer is left running while paused.
  EXPECT_FALSE(KillTimer(h, kAdjusterTimerId));
  EXPECT_FALSE(KillTimer(h, kSearcherTimerId));

  form().SetSnapActive(true);
  EXPECT_TRUE(TimersEnabled(true));
  EXPECT_EQ(form().tmrWindowAdjuster().Interval(), 300u);
  EXPECT_EQ(form().tmrWindowSearcher().Interval(), 5000u);
  EXPECT_TRUE(WaitForTick(h, kAdjusterTimerId, 5000)) << "the adjuster does not tick after resuming";
  // Last: this stops the searcher behind the component's back.
  EXPECT_TRUE(KillTimer(h, kSearcherTimerId));
}

TEST_F(MainWindowTest, ResumingRefreshesTheListAtOnceAndPausingKeepsIt) {
  auto before = MakeWindow("Kuvella listed before pause", 50, 600, 200, 100, true);
  form().tmrWindowSearcherTimer();
  ASSERT_TRUE(Listed(before.get()));

  form().SetSnapActive(false);
  auto during = MakeWindow("Kuvella opened while paused", 300, 600, 200, 100, true);
  before.reset();
  EXPECT_FALSE(Listed(during.get())) << "a paused program does not refresh";
  EXPECT_EQ(WindowList->Count() > 0, true);

  form().WMTrayNotify(WM_LBUTTONUP);
  EXPECT_TRUE(SnapActive);
  EXPECT_TRUE(Listed(during.get())) << "resuming refreshes before the click is done with";
}

TEST_F(MainWindowTest, FirstSnapSpeedsTheAdjusterUpAndPausingKeepsIt) {
  // A window at rest 5 and 7 pixels from the screen's left and top edges.
  auto w = MakeWindow("Kuvella snapped", 5, 7, 240, 160, true);
  ASSERT_NE(w.get(), nullptr);
  SetForegroundWindow(w.get());
  ASSERT_EQ(GetForegroundWindow(), w.get());
  form().tmrWindowAdjusterTimer();  // remembers the corner
  form().tmrWindowAdjusterTimer();  // at rest: evaluates and snaps
  RECT r{};
  GetWindowRect(w.get(), &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right - r.left, 240);
  EXPECT_EQ(r.bottom - r.top, 160);
  EXPECT_EQ(form().tmrWindowAdjuster().Interval(), 1u);

  struct Step {
    LPARAM click;
    bool active;
  };
  for (const Step s : {Step{WM_LBUTTONUP, false}, Step{WM_LBUTTONUP, true}}) {
    form().WMTrayNotify(s.click);
    EXPECT_EQ(SnapActive, s.active);
    EXPECT_TRUE(TimersEnabled(s.active));
    EXPECT_EQ(form().tmrWindowAdjuster().Interval(), 1u);
  }
  EXPECT_EQ(form().tmrWindowSearcher().Interval(), 5000u);
}

TEST_F(MainWindowTest, SetIntervalSurvivesPauseAndResume) {
  form().tmrWindowAdjuster().SetInterval(1);
  form().SetSnapActive(false);
  EXPECT_EQ(form().tmrWindowAdjuster().Interval(), 1u);
  form().SetSnapActive(true);
  EXPECT_EQ(form().tmrWindowAdjuster().Interval(), 1u);
  EXPECT_TRUE(form().tmrWindowAdjuster().Enabled());
  EXPECT_TRUE(WaitForTick(form().Handle(), kAdjusterTimerId, 5000));
}

// ---- The tray menu's read-me entry ------------------------------------------------------------

TEST_F(MainWindowTest, AboutEntryFollowsTheReadmeFile) {
  const std::string readme = ReadmePath();
  if (PathExists(readme)) GTEST_SKIP() << readme << " exists already; not touching it";
  enum class Kind { Missing, Directory, File };
  struct Case {
    const char* what;
    Kind kind;
    bool enabled;
  };
  // Each step changes the state, both ways.
  const Case cases[] = {
      {"missing", Kind::Missing, false},    {"a file", Kind::File, true},
      {"a directory", Kind::Directory, false}, {"a file again", Kind::File, true},
      {"missing again", Kind::Missing, false},
  };
  // Created while missing: the construction's change handler saw no file.
  EXPECT_FALSE(form().About1().Enabled());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RemoveReadme();
    if (c.kind == Kind::File) WriteTextFile(readme, "Kuvella\r\n");
    if (c.kind == Kind::Directory) {
      ASSERT_TRUE(CreateDirectoryA(readme.c_str(), nullptr));
    }

    // In place, on the menu built at the last opening (none before the first).
    form().PopupMenu1Change();
    EXPECT_EQ(form().About1().Enabled(), c.enabled);
    if (HMENU menu = form().PopupMenu1().Handle()) {
      const UINT state = GetMenuState(menu, form().About1().Command(), MF_BYCOMMAND);
      EXPECT_EQ((state & MF_GRAYED) != 0, !c.enabled);
    }

    // And as the opening menu shows it.
    const MenuWatch seen = RightReleaseOnIcon(form());
    ASSERT_TRUE(seen.opened);
    EXPECT_EQ((seen.aboutState & MF_GRAYED) != 0, !c.enabled);
    EXPECT_EQ(form().About1().Enabled(), c.enabled);
  }
  RemoveReadme();
}

// ---- The settings window's level control and apply ------------------------------------------

TEST_F(MainWindowTest, ShowFillsTheLevelBoxAndUpdateStoresWhatItShows) {
  struct Case {
    std::int32_t level;
    const char* shown;
    std::int32_t stored;
  };
  const Case cases[] = {
      {250, "100", 100},   {-5, "0", 0},      {65544, "8", 8}, {8, "8", 8},
      {100, "100", 100},   {65536 + 250, "100", 100}, {-65536 + 30, "30", 30}, {0, "0", 0},
  };
  bool first = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.level);
    MagneticLevel = c.level;
    form().FormShow();
    EXPECT_EQ(EditText(layout::idEdtLeft), c.shown);
    EXPECT_TRUE(Checked(layout::idChkEnable));
    EXPECT_TRUE(Checked(layout::idChkSound));
    EXPECT_EQ(EditText(layout::idEdtSound), SoundFile);
    // The sound box starts empty, so only the first showing leaves Update enabled.
    EXPECT_EQ(UpdateEnabled(), first);
    first = false;

    tray_.calls.clear();
    form().btnUpdateClick();
    EXPECT_EQ(MagneticLevel, c.stored);
    EXPECT_FALSE(UpdateEnabled());
    ExpectCalls(tray_.calls, {{NIM_MODIFY, Look::Active}});
  }
}

TEST_F(MainWindowTest, UpdateAppliesTheCheckBoxesEveryTime) {
  struct Case {
    bool enable;
    bool sound;
    Look look;
  };
  form().FormShow();
  for (const Case c : {Case{true, true, Look::Active}, Case{false, false, Look::Paused},
                       Case{false, true, Look::Paused}, Case{true, false, Look::Active}}) {
    SCOPED_TRACE(std::string(c.enable ? "enable" : "disable") + (c.sound ? ", sound" : ", quiet"));
    SendMessageA(form().Control(layout::idChkEnable), BM_SETCHECK, c.enable ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageA(form().Control(layout::idChkSound), BM_SETCHECK, c.sound ? BST_CHECKED : BST_UNCHECKED, 0);
    tray_.calls.clear();
    form().btnUpdateClick();
    EXPECT_EQ(SnapActive, c.enable);
    EXPECT_EQ(SoundEnable, c.sound);
    EXPECT_TRUE(TimersEnabled(c.enable));
    ExpectCalls(tray_.calls, {{NIM_MODIFY, c.look}});
  }
  // The sound box is taken as it is, the empty text included.
  SetWindowTextA(form().Control(layout::idEdtSound), "");
  form().btnUpdateClick();
  EXPECT_EQ(SoundFile, "");
}

// ---- The timer component --------------------------------------------------------------------

class TimerTest : public ::testing::Test {
 protected:
  void SetUp() override { owner_ = MakeWindow("Kuvella timer owner", 0, 0, 10, 10, false); }
  UniqueWindow owner_;
};

TEST_F(TimerTest, TicksArriveAtTheOwnerWithTheId) {
  TTimer timer(owner_.get(), 7, 10, true);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_TRUE(WaitForTick(owner_.get(), 7, 5000));
  timer.SetEnabled(false);
  EXPECT_FALSE(KillTimer(owner_.get(), 7)) << "disabling stops the platform timer";
  {
    TTimer gone(owner_.get(), 8, 10, true);
  }
  EXPECT_FALSE(KillTimer(owner_.get(), 8)) << "destroying the component stops its timer";
  TTimer zero(owner_.get(), 9, 0, true);
  EXPECT_FALSE(KillTimer(owner_.get(), 9)) << "an interval of 0 runs no timer";
}

TEST_F(TimerTest, SameValueDoesNothingAndARefusedTimerRaises) {
  TTimer timer(owner_.get(), 7, 50, true);
  const HWND gone = owner_.get();
  owner_.reset();
  const UINT_PTR probe = SetTimer(gone, 99, 10, nullptr);
  if (probe != 0) {
    KillTimer(gone, 99);
    GTEST_SKIP() << "Wine gives a timer to a destroyed window; the refusal cannot be provoked";
  }
  // Values it has already: no platform call, so nothing can fail.
  EXPECT_NO_THROW(timer.SetEnabled(true));
  EXPECT_NO_THROW(timer.SetInterval(50));
  EXPECT_EQ(timer.Interval(), 50u);

  struct Case {
    const char* what;
    std::function<void()> change;
  };
  const Case cases[] = {
      {"a new interval", [&] { timer.SetInterval(60); }},
      {"enabling a stopped timer",
       [&] {
         timer.SetEnabled(false);
         timer.SetEnabled(true);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      c.change();
      ADD_FAILURE() << "no error";
    } catch (const EOutOfResources& e) {
      EXPECT_STREQ(e.what(), "タイマーを取得できません");
      EXPECT_STREQ(e.what(),
                   "\x83\x5E\x83\x43\x83\x7D\x81\x5B\x82\xF0\x8E\xE6\x93\xBE\x82\xC5\x82\xAB"
                   "\x82\xDC\x82\xB9\x82\xF1");
    }
  }
}

// ---- The standard error box -----------------------------------------------------------------

TEST_F(MainWindowTest, AnEscapingErrorIsShownInTheErrorBox) {
  struct Case {
    const char* what;
    std::function<void()> raise;
    std::string text;
  };
  const Case cases[] = {
      {"plain", [] { throw std::runtime_error("boom"); }, "boom."},
      {"ends in a full stop", [] { throw std::runtime_error("done."); }, "done."},
      {"ends in a blank", [] { throw std::runtime_error("blank "); }, "blank "},
      {"ends in a dash", [] { throw std::runtime_error("dash-"); }, "dash-"},
      {"ends in a slash", [] { throw std::runtime_error("slash/"); }, "slash/."},
      {"timer refused", [] { throw EOutOfResources(texts::kErrTimer); },
       std::string(texts::kErrTimer) + "."},
      {"level box not a number",
       [this] {
         SetWindowTextA(form().Control(layout::idEdtLeft), "12a");
         form().edtLeftExit();
       },
       "'12a' は整数ではありません."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    bool returned = false;
    const BoxSeen seen = CloseErrorBoxOf([&] {
      app_->Guard(c.raise);
      returned = true;
    });
    EXPECT_TRUE(returned);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.caption, "Kuvella");
    EXPECT_EQ(seen.text, c.text);
    EXPECT_EQ(seen.buttons, 1);
  }
  EXPECT_EQ(EditText(layout::idEdtLeft), "12a") << "the bad text stays in the box";
}

}  // namespace
}  // namespace kuvella

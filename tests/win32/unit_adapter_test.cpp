// Win32Desktop, the engine's port on user32, against real windows made by this test, and the
// code page 932 texts as the ANSI window calls carry them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "Handles.h"
#include "Texts.h"
#include "Win32Desktop.h"
#include "WinList.h"

namespace kuvella {
namespace {

constexpr char kClass[] = "KuvellaAdapterTestWindow";

LRESULT CALLBACK TestWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(h, msg, wp, lp);
}

void RegisterTestClass() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = TestWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClass;
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
}

struct Placement {
  int x, y, width, height;
};

// A top-level popup (or a child of parent) of this process; destroyed with the object.
UniqueWindow MakeWindow(const std::string& title, Placement at, bool visible,
                        HWND parent = nullptr, HMENU menu = nullptr,
                        DWORD style = WS_POPUP) {
  RegisterTestClass();
  if (parent) style = WS_CHILD;
  if (visible) style |= WS_VISIBLE;
  HWND h = CreateWindowExA(parent ? 0 : WS_EX_TOOLWINDOW, kClass, title.c_str(), style, at.x, at.y,
                           at.width, at.height, parent, menu, GetModuleHandleA(nullptr), nullptr);
  EXPECT_NE(h, nullptr) << "CreateWindowExA failed: " << GetLastError();
  return UniqueWindow(h);
}

Hwnd H(const UniqueWindow& w) { return FromHwnd(w.get()); }

RECT WindowRectOf(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}

// Puts the windows at the top of the Z order, the first one topmost.
void StackOnTop(const std::vector<HWND>& topDown) {
  for (auto it = topDown.rbegin(); it != topDown.rend(); ++it) {
    SetWindowPos(*it, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

// Our windows among the list's entries, in the list's order.
std::vector<Hwnd> OursInListOrder(const TStringList& list, const std::vector<Hwnd>& ours) {
  std::vector<Hwnd> found;
  for (const auto& e : list.entries()) {
    if (std::find(ours.begin(), ours.end(), e.Object) != ours.end()) found.push_back(e.Object);
  }
  return found;
}

int IndexOf(const TStringList& list, std::uintptr_t object) {
  for (int i = 0; i < list.Count(); ++i) {
    if (list.Objects(i) == object) return i;
  }
  return -1;
}

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

void RequireCodePage932() {
  ASSERT_EQ(GetACP(), 932u) << "the CP932 cases need a Japanese Wine session (tools/wine-session)";
}

// ---- The window walk --------------------------------------------------------------------------

TEST(Win32DesktopWalk, RefreshListsVisibleWindowsWithAnAreaTopmostFirst) {
  Win32Desktop desktop;
  // Skipped windows sit between listed ones: the walk goes on past every skip.
  auto a = MakeWindow("Kuvella order A", {40, 40, 200, 100}, true);
  auto hidden = MakeWindow("Kuvella order hidden", {60, 60, 200, 100}, false);
  auto twin1 = MakeWindow("Kuvella twin", {80, 80, 200, 100}, true);
  auto flat = MakeWindow("Kuvella order flat", {100, 100, 200, 0}, true);
  auto b = MakeWindow("Kuvella order B", {120, 120, 200, 100}, true);
  auto twin2 = MakeWindow("Kuvella twin", {140, 140, 200, 100}, true);
  auto c = MakeWindow("Kuvella order C", {160, 160, 200, 100}, true);
  const std::vector<HWND> topDown = {a.get(),  hidden.get(), twin1.get(), flat.get(),
                                     b.get(),  twin2.get(),  c.get()};
  StackOnTop(topDown);
  for (std::size_t i = 0; i + 1 < topDown.size(); ++i) {
    ASSERT_EQ(GetWindow(topDown[i], GW_HWNDNEXT), topDown[i + 1]) << "Z order not as stacked at " << i;
  }

  TStringList list;
  RefreshWindowList(list, desktop);
  std::vector<Hwnd> all;
  for (HWND h : topDown) all.push_back(FromHwnd(h));
  const std::vector<Hwnd> expected = {H(a), H(twin1), H(b), H(twin2), H(c)};
  EXPECT_EQ(OursInListOrder(list, all), expected);
  const std::vector<std::pair<Hwnd, std::string>> titles = {
      {H(a), "Kuvella order A"}, {H(twin1), "Kuvella twin"}, {H(b), "Kuvella order B"},
      {H(twin2), "Kuvella twin"}, {H(c), "Kuvella order C"}};
  for (const auto& [h, title] : titles) {
    const int i = IndexOf(list, h);
    ASSERT_GE(i, 0);
    EXPECT_EQ(list.Strings(i), title);
  }

  // The refresh replaces the content: a second one gives the same list, not a doubled one.
  const auto first = list.entries();
  RefreshWindowList(list, desktop);
  ASSERT_EQ(list.Count(), static_cast<int>(first.size()));
  for (int i = 0; i < list.Count(); ++i) {
    EXPECT_EQ(list.Objects(i), first[static_cast<std::size_t>(i)].Object) << i;
    EXPECT_EQ(list.Strings(i), first[static_cast<std::size_t>(i)].Text) << i;
  }
}

TEST(Win32DesktopWalk, RefreshSkipsHiddenAndEmptyWindows) {
  struct Case {
    const char* what;
    int width, height;
    bool visible;
    bool listed;
  };
  const Case cases[] = {
      {"visible with an area", 200, 100, true, true},
      {"hidden with an area", 200, 100, false, false},
      {"visible, zero width", 0, 100, true, false},
      {"visible, zero height", 200, 0, true, false},
      {"visible, zero size", 0, 0, true, false},
      {"hidden, zero size", 0, 0, false, false},
  };
  Win32Desktop desktop;
  std::vector<UniqueWindow> windows;
  for (const Case& c : cases) {
    windows.push_back(MakeWindow(std::string("Kuvella filter ") + c.what,
                                 {300, 300, c.width, c.height}, c.visible));
    const RECT r = WindowRectOf(windows.back().get());
    ASSERT_EQ(r.right - r.left, c.width) << c.what;
    ASSERT_EQ(r.bottom - r.top, c.height) << c.what;
  }
  TStringList list;
  RefreshWindowList(list, desktop);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].what);
    EXPECT_EQ(IndexOf(list, H(windows[i])) >= 0, cases[i].listed);
  }
}

TEST(Win32DesktopWalk, ChildrenFollowTheirVisibleParentOnly) {
  Win32Desktop desktop;
  auto shown = MakeWindow("Kuvella shown parent", {400, 100, 300, 200}, true);
  auto shownChild = MakeWindow("Kuvella shown child", {10, 10, 50, 50}, true, shown.get());
  auto hiddenChildOfShown = MakeWindow("Kuvella hidden child", {70, 10, 50, 50}, false, shown.get());
  auto hiddenParent = MakeWindow("Kuvella hidden parent", {400, 400, 300, 200}, false);
  auto orphanChild = MakeWindow("Kuvella child of hidden", {10, 10, 50, 50}, true, hiddenParent.get());
  StackOnTop({shown.get(), hiddenParent.get()});

  constexpr TEnumWindowsOptions visibleWithChildren =
      TEnumWindowsOption::ewChildren | TEnumWindowsOption::ewVisibleOnly;
  TStringList list;
  EnumWindowsToList(list, desktop, 0, visibleWithChildren);
  const int parentAt = IndexOf(list, H(shown));
  ASSERT_GE(parentAt, 0);
  ASSERT_LT(parentAt + 1, list.Count());
  EXPECT_EQ(list.Objects(parentAt + 1), H(shownChild)) << "pre-order: the child follows its parent";
  EXPECT_EQ(list.Strings(parentAt + 1), "Kuvella shown child");
  EXPECT_EQ(IndexOf(list, H(hiddenChildOfShown)), -1);
  EXPECT_EQ(IndexOf(list, H(hiddenParent)), -1);
  EXPECT_EQ(IndexOf(list, H(orphanChild)), -1) << "a hidden window's children are not walked";

  // Without the visibility filter the same walk descends into both parents.
  TStringList everything;
  EnumWindowsToList(everything, desktop, 0, Bit(TEnumWindowsOption::ewChildren));
  const int hiddenAt = IndexOf(everything, H(hiddenParent));
  ASSERT_GE(hiddenAt, 0);
  ASSERT_LT(hiddenAt + 1, everything.Count());
  EXPECT_EQ(everything.Objects(hiddenAt + 1), H(orphanChild));

  // The walk below one parent lists its children only, appending to what the list holds.
  TStringList below;
  below.AddObject("kept", 7);
  EnumWindowsToList(below, desktop, H(shown), Bit(TEnumWindowsOption::ewVisibleOnly));
  ASSERT_EQ(below.Count(), 2);
  EXPECT_EQ(below.Objects(0), 7u);
  EXPECT_EQ(below.Objects(1), H(shownChild));
}

TEST(Win32DesktopWalk, MenuBarEntriesComeDepthFirstWithTheHoldingMenu) {
  Win32Desktop desktop;
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, 11, "Open");
  AppendMenuA(file, MF_STRING, 12, "Quit");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "File");
  AppendMenuA(bar, MF_STRING, 13, "Help");
  // The window owns the bar from here on and destroys it with itself.
  auto withMenu = MakeWindow("Kuvella with menu", {500, 500, 300, 200}, true, nullptr, bar,
                             WS_POPUP | WS_CAPTION);
  auto plain = MakeWindow("Kuvella without menu", {520, 520, 300, 200}, true);
  StackOnTop({withMenu.get(), plain.get()});
  ASSERT_EQ(GetMenu(withMenu.get()), bar);

  TStringList list;
  EnumWindowsToList(list, desktop, 0,
                    TEnumWindowsOption::ewMenus | TEnumWindowsOption::ewVisibleOnly);
  const int at = IndexOf(list, H(withMenu));
  ASSERT_GE(at, 0);
  ASSERT_LT(at + 5, list.Count());
  const Hmenu barH = reinterpret_cast<Hmenu>(bar), fileH = reinterpret_cast<Hmenu>(file);
  const std::vector<std::pair<std::string, Hmenu>> expected = {
      {"File", barH}, {"Open", fileH}, {"Quit", fileH}, {"Help", barH}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const int k = at + 1 + static_cast<int>(i);
    EXPECT_EQ(list.Strings(k), expected[i].first) << k;
    EXPECT_EQ(list.Objects(k), expected[i].second) << k;
  }
  // A window without a menu bar adds nothing: the next window's entry comes right after it.
  EXPECT_EQ(list.Objects(at + 5), H(plain));
  if (at + 6 < list.Count()) {
    EXPECT_NE(IsWindow(ToHwnd(list.Objects(at + 6))), FALSE) << "a menu entry after a window without menu";
  }
}

TEST(Win32DesktopMenus, QueriesFollowThePlatformMenu) {
  Win32Desktop desktop;
  HMENU menu = CreatePopupMenu();
  const std::string longText(300, 'm');
  AppendMenuA(menu, MF_STRING, 1, "表示テスト");
  AppendMenuA(menu, MF_SEPARATOR, 2, nullptr);
  AppendMenuA(menu, MF_STRING, 3, longText.c_str());
  const Hmenu m = reinterpret_cast<Hmenu>(menu);

  EXPECT_EQ(desktop.menuItemCount(0), -1) << "menu 0 ends a walk at once";
  EXPECT_EQ(desktop.menuItemCount(m), 3);
  EXPECT_EQ(desktop.menuItemText(m, 0), "表示テスト");
  EXPECT_EQ(desktop.menuItemText(m, 1), "") << "a separator has no text";
  EXPECT_EQ(desktop.menuItemText(m, 2), longText.substr(0, 255));
  EXPECT_EQ(desktop.subMenu(m, 0), 0u);

  auto plain = MakeWindow("Kuvella no menu", {0, 0, 100, 100}, false);
  EXPECT_EQ(desktop.menuBar(H(plain)), 0u);
  DestroyMenu(menu);
}

// ---- One window's values -------------------------------------------------------------------

TEST(Win32DesktopWindow, RectAndVisibilityFollowTheWindowManager) {
  Win32Desktop desktop;
  auto w = MakeWindow("Kuvella rect", {33, 44, 210, 120}, true);
  const RECT r = WindowRectOf(w.get());
  const auto got = desktop.windowRect(H(w));
  ASSERT_TRUE(got.has_value());
  EXPECT_EQ(*got, (Rect{r.left, r.top, r.right, r.bottom}));
  EXPECT_EQ(*got, (Rect{33, 44, 243, 164}));
  EXPECT_TRUE(desktop.isVisible(H(w)));

  desktop.moveWindow(H(w), 100, 120, 300, 200);
  EXPECT_EQ(desktop.windowRect(H(w)), (Rect{100, 120, 400, 320}));
  const RECT moved = WindowRectOf(w.get());
  EXPECT_EQ((Rect{moved.left, moved.top, moved.right, moved.bottom}), (Rect{100, 120, 400, 320}));

  // The wrapper reads afresh at every access.
  TWinInfo info(desktop, H(w));
  EXPECT_EQ(info.Left(), 100);
  SetWindowPos(w.get(), nullptr, 7, 9, 50, 60, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(info.Left(), 7);
  EXPECT_EQ(info.Top(), 9);
  EXPECT_EQ(info.Width(), 50);
  EXPECT_EQ(info.Height(), 60);
  ShowWindow(w.get(), SW_HIDE);
  EXPECT_FALSE(info.Visible());

  const Hwnd gone = H(w);
  w.reset();
  EXPECT_EQ(desktop.windowRect(gone), std::nullopt) << "a destroyed window has no rectangle";
  EXPECT_FALSE(desktop.isVisible(gone));
  EXPECT_EQ(desktop.windowText(gone), "");
}

TEST(Win32DesktopWindow, TitlesComeBackByteForByteAndAreCutAt255) {
  RequireCodePage932();
  Win32Desktop desktop;
  struct Case {
    const char* what;
    std::string title;
    std::string expected;
  };
  const std::string longTitle(300, 'k');
  const Case cases[] = {
      {"CP932 with a 0x5C trail byte", "表示テスト", "\x95\x5C\x8E\xA6\x83\x65\x83\x58\x83\x67"},
      {"300 characters", longTitle, longTitle.substr(0, 255)},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto w = MakeWindow(c.title, {600, 600, 200, 100}, true);
    const std::string got = desktop.windowText(H(w));
    EXPECT_EQ(got, c.expected) << Hex(got);
    TStringList list;
    RefreshWindowList(list, desktop);
    const int i = IndexOf(list, H(w));
    ASSERT_GE(i, 0);
    EXPECT_EQ(list.Strings(i), c.expected);
  }
}

TEST(Win32DesktopWindow, ModernDesktopQueriesChangeNothingHere) {
  Win32Desktop desktop;
  auto shown = MakeWindow("Kuvella frame", {200, 210, 320, 240}, true);
  auto hidden = MakeWindow("Kuvella frame hidden", {200, 210, 320, 240}, false);
  for (const UniqueWindow* w : {&shown, &hidden}) {
    const auto frame = desktop.visibleFrame(H(*w));
    if (frame) {
      EXPECT_EQ(*frame, desktop.windowRect(H(*w)).value());
    }
    EXPECT_FALSE(desktop.isCloaked(H(*w)));
  }
  if (GetSystemMetrics(SM_CMONITORS) <= 1) {
    EXPECT_TRUE(desktop.otherDisplays().empty());
  }
  const Size screen = desktop.screenSize();
  EXPECT_EQ(screen.Width, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(screen.Height, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(desktop.foregroundWindow(), FromHwnd(GetForegroundWindow()));
}

TEST(Win32DesktopWindow, AdjusterIntervalGoesToTheGivenCallback) {
  std::vector<unsigned> seen;
  Win32Desktop desktop([&seen](unsigned ms) { seen.push_back(ms); });
  desktop.setAdjusterInterval(1);
  EXPECT_EQ(seen, std::vector<unsigned>{1});
  Win32Desktop noCallback;
  noCallback.setAdjusterInterval(1);  // no callback: nothing to call, and no crash
}

// ---- Files ------------------------------------------------------------------------------------

TEST(Win32DesktopFiles, OnlyAnExistingFileExists) {
  RequireCodePage932();
  char temp[MAX_PATH] = {};
  ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
  const std::string root = std::string(temp) + "kuvella-adapter-" + std::to_string(GetCurrentProcessId());
  ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  const std::string file = root + "\\snap.wav";
  const std::string japanese = root + "\\表示テスト.wav";  // 0x5C as a trail byte, not a separator
  const std::string dir = root + "\\readme.txt";
  for (const std::string& f : {file, japanese}) {
    HANDLE h = CreateFileA(f.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << f << " error " << GetLastError();
    CloseHandle(h);
  }
  ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);

  struct Case {
    const char* what;
    std::string path;
    bool exists;
  };
  const Case cases[] = {
      {"a file", file, true},
      {"a file with a CP932 name", japanese, true},
      {"a directory", dir, false},
      {"a missing file", root + "\\missing.wav", false},
      {"a file in a missing directory", root + "\\nowhere\\snap.wav", false},
      {"the empty path", "", false},
  };
  Win32Desktop desktop;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(desktop.fileExists(c.path), c.exists);
    EXPECT_EQ(FileExistsA(c.path), c.exists);
  }

  DeleteFileA(file.c_str());
  DeleteFileA(japanese.c_str());
  RemoveDirectoryA(dir.c_str());
  RemoveDirectoryA(root.c_str());
}

// ---- Texts as the ANSI window calls carry them ------------------------------------------------

TEST(Texts, PausedTipIsExactlyTheseCp932Bytes) {
  const unsigned char expected[] = {0x4B, 0x75, 0x76, 0x65, 0x6C, 0x6C, 0x61, 0x28,
                                    0x8B, 0x78, 0x8C, 0x65, 0x92, 0x86, 0x29};
  ASSERT_EQ(sizeof texts::kTipPaused, sizeof expected + 1);
  EXPECT_EQ(std::memcmp(texts::kTipPaused, expected, sizeof expected), 0) << Hex(texts::kTipPaused);
  EXPECT_STREQ(texts::kTipActive, "Kuvella");
  EXPECT_STREQ(texts::kAppTitle, "Kuvella");
  EXPECT_EQ(std::string("表"), "\x95\x5C");
  EXPECT_EQ(std::string(texts::kErrTimer),
            "\x83\x5E\x83\x43\x83\x7D\x81\x5B\x82\xF0\x8E\xE6\x93\xBE\x82\xC5\x82\xAB\x82\xDC"
            "\x82\xB9\x82\xF1");
}

TEST(Texts, CaptionsSurviveTheAnsiTitleCalls) {
  RequireCodePage932();
  const char* const cases[] = {
      texts::kTipActive, texts::kTipPaused, texts::kMenuSettings, texts::kMenuAbout,
      texts::kMenuExit,  texts::kMainCaption, texts::kErrTimer,  texts::kErrMenu,
      texts::kWaveTitle, texts::kFontName,  "表",               "ソ", "能", "表示テスト",
  };
  auto w = MakeWindow("", {0, 0, 100, 100}, false);
  for (const char* text : cases) {
    SCOPED_TRACE(Hex(text));
    ASSERT_TRUE(SetWindowTextA(w.get(), text));
    char buffer[256] = {};
    GetWindowTextA(w.get(), buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), std::string(text)) << Hex(buffer);
  }
}

}  // namespace
}  // namespace kuvella

#include "TestSupport.h"

#include <commctrl.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <stdexcept>

bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void PrintTo(const RECT& r, std::ostream* os) {
  *os << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}

namespace e2e {

namespace {

using Tick = ULONGLONG;
Tick Now() { return GetTickCount64(); }
Tick After(Millis m) { return Now() + m.count(); }

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error(what); }

std::string Describe(const RECT& r) {
  std::ostringstream os;
  PrintTo(r, &os);
  return os.str();
}

// Waits for a kernel object while our windows keep answering messages.
bool WaitForObject(HANDLE h, Millis deadline) {
  const Tick end = After(deadline);
  for (;;) {
    PumpMessages();
    const Tick now = Now();
    const DWORD slice = now >= end ? 0 : static_cast<DWORD>(end - now > 20 ? 20 : end - now);
    const DWORD r = MsgWaitForMultipleObjects(1, &h, FALSE, slice, QS_ALLINPUT);
    if (r == WAIT_OBJECT_0) return true;
    if (now >= end) return false;
  }
}

}  // namespace

// ---- Waiting ---------------------------------------------------------------------------------

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

bool WaitUntil(const std::function<bool()>& done, Millis deadline) {
  const Tick end = After(deadline);
  for (;;) {
    PumpMessages();
    if (done()) return true;
    if (Now() >= end) return done();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void PumpFor(Millis period) { HoldsFor([] { return true; }, period); }

bool HoldsFor(const std::function<bool()>& stillTrue, Millis period) {
  const Tick end = After(period);
  while (Now() < end) {
    PumpMessages();
    if (!stillTrue()) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return stillTrue();
}

// ---- Files -----------------------------------------------------------------------------------

std::string WindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string w = "Z:" + path;
  for (char& c : w) {
    if (c == '/') c = '\\';
  }
  return w;
}

std::string DistDir() {
  const char* dist = std::getenv("KUVELLA_DIST");
  if (!dist || !*dist) Fail("KUVELLA_DIST is not set: run through ctest");
  std::string d = WindowsPath(dist);
  while (!d.empty() && (d.back() == '\\' || d.back() == '/')) d.pop_back();
  return d;
}

bool FileExists(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) Fail("cannot create " + path);
  DWORD written = 0;
  const BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
  if (!ok || written != bytes.size()) Fail("cannot write " + path);
}

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA((path + "\\*").c_str(), &fd);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      const std::string full = path + "\\" + name;
      SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
      else DeleteFileA(full.c_str());
    } while (FindNextFileA(find, &fd));
    FindClose(find);
  }
  RemoveDirectoryA(path.c_str());
}

std::optional<std::string> IniValue(const std::string& iniPath, const std::string& key,
                                    const std::string& section) {
  // A default no value can hold tells a missing key from an empty one.
  static const char kMissing[] = "\x01missing\x01";
  std::string buffer(8192, '\0');
  const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), kMissing, buffer.data(),
                                           static_cast<DWORD>(buffer.size()), iniPath.c_str());
  buffer.resize(n);
  if (buffer == kMissing) return std::nullopt;
  return buffer;
}

// ---- Windows of our own ----------------------------------------------------------------------

RECT MakeRect(int left, int top, int right, int bottom) { return RECT{left, top, right, bottom}; }

RECT RectOf(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}

std::string ClassOf(HWND h) {
  char name[256] = {};
  GetClassNameA(h, name, sizeof name);
  return name;
}

DWORD ProcessOf(HWND h) {
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  return pid;
}

namespace {

constexpr char kTestWindowClass[] = "KuvellaE2EProbe";

LRESULT CALLBACK TestWindowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(h, msg, wp, lp);
}

void RegisterTestWindowClass() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = TestWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kTestWindowClass;
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
}

}  // namespace

TestWindow::TestWindow(const RECT& r, const char* title, DWORD style) {
  RegisterTestWindowClass();
  hwnd_ = CreateWindowExA(0, kTestWindowClass, title, style | WS_VISIBLE, r.left,
                          r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
  if (!hwnd_) Fail("cannot create a test window");
  // Placed exactly, whatever the window system made of the creation.
  SetWindowPos(hwnd_, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE);
  if (!(Rect() == r)) {
    const RECT got = Rect();
    DestroyWindow(hwnd_);
    Fail("a test window asked for " + Describe(r) + " is " + Describe(got));
  }
  PumpMessages();
}

TestWindow::~TestWindow() { Destroy(); }

void TestWindow::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
  hwnd_ = nullptr;
  PumpMessages();
}

void TestWindow::Activate() {
  SetForegroundWindow(hwnd_);
  WaitUntil([&] { return GetForegroundWindow() == hwnd_; });
}

void TestWindow::Place(const RECT& r) {
  SetWindowPos(hwnd_, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_SHOWWINDOW);
  // Checked before any message is pumped: Kuvella's move of our window runs on our thread,
  // so nothing can have moved it yet.
  if (!(Rect() == r)) {
    Fail("the window system did not place the probe at " + Describe(r) + ", it is at " +
         Describe(Rect()));
  }
  Activate();
}

bool WaitForRect(HWND h, const RECT& r, Millis deadline) {
  return WaitUntil([&] { return RectOf(h) == r; }, deadline);
}

bool StaysAt(HWND h, const RECT& r, Millis period) {
  return HoldsFor([&] { return RectOf(h) == r; }, period);
}

// ---- Kuvella's windows -----------------------------------------------------------------------

namespace {

struct EnumByPid {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND h, LPARAM param) {
  auto* e = reinterpret_cast<EnumByPid*>(param);
  if (ProcessOf(h) == e->pid) e->found.push_back(h);
  return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD pid) {
  EnumByPid e{pid, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&e));
  return e.found;
}

HWND FindTopLevel(DWORD pid, const char* cls, const char* caption, bool visibleOnly) {
  for (HWND h : TopLevelWindowsOf(pid)) {
    if (cls && ClassOf(h) != cls) continue;
    if (visibleOnly && !IsWindowVisible(h)) continue;
    if (caption) {
      char text[512] = {};
      GetWindowTextA(h, text, sizeof text);
      if (std::strcmp(text, caption) != 0) continue;
    }
    return h;
  }
  return nullptr;
}

LRESULT SendTo(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  DWORD_PTR result = 0;
  // Kuvella may move our windows while it handles the message: SendMessageTimeout answers
  // the messages that sends us meanwhile.
  if (!SendMessageTimeoutA(h, msg, wp, lp, SMTO_NORMAL, static_cast<UINT>(kDeadline.count()),
                           &result)) {
    Fail("no answer to message " + std::to_string(msg));
  }
  return static_cast<LRESULT>(result);
}

std::string TextOf(HWND h) {
  const auto n = SendTo(h, WM_GETTEXTLENGTH);
  std::string text(static_cast<std::size_t>(n) + 1, '\0');
  const auto got = SendTo(h, WM_GETTEXT, static_cast<WPARAM>(text.size()),
                          reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(got));
  return text;
}

std::string MessageBoxText(HWND box) {
  HWND text = GetDlgItem(box, 0xFFFF);
  if (!text) return {};
  char buffer[2048] = {};
  GetWindowTextA(text, buffer, sizeof buffer);
  return buffer;
}

void CloseMessageBox(HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); }

std::unique_ptr<Kuvella> Kuvella::Start(const std::string& exe) {
  std::unique_ptr<Kuvella> k(new Kuvella);
  // The folder, found the way that knows double-byte names (a trail byte may be a backslash).
  char full[MAX_PATH] = {};
  char* name = nullptr;
  GetFullPathNameA(exe.c_str(), sizeof full, full, &name);
  const std::string folder = name ? std::string(full, static_cast<std::size_t>(name - full)) : exe;
  std::string commandLine = "\"" + exe + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &si, &k->pi_)) {
    Fail("cannot start " + exe + " (error " + std::to_string(GetLastError()) + ")");
  }
  k->pid_ = k->pi_.dwProcessId;
  // The message loop runs once the main window has been created and FormCreate is done.
  WaitForInputIdle(k->pi_.hProcess, static_cast<DWORD>(kDeadline.count()));
  const bool found = WaitUntil([&] {
    k->main_ = FindTopLevel(k->pid_, kMainClass);
    k->app_ = FindTopLevel(k->pid_, kAppClass);
    return k->main_ && k->app_ && GetDlgItem(k->main_, idButton1);
  });
  if (!found) Fail("kuvella.exe showed no main window");
  k->tid_ = GetWindowThreadProcessId(k->main_, nullptr);
  // A round trip through its queue: the loop takes messages.
  SendTo(k->main_, WM_NULL);
  return k;
}

Kuvella::~Kuvella() {
  End();
  if (pi_.hThread) CloseHandle(pi_.hThread);
  if (pi_.hProcess) CloseHandle(pi_.hProcess);
}

void Kuvella::TrayPost(LPARAM mouseMessage, WPARAM iconId) const {
  PostMessageA(main_, WM_USER, iconId, mouseMessage);
}

void Kuvella::TraySend(LPARAM mouseMessage, WPARAM iconId) const {
  SendTo(main_, WM_USER, iconId, mouseMessage);
}

bool Kuvella::Running() const { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

bool Kuvella::WaitExit(Millis deadline) const { return WaitForObject(pi_.hProcess, deadline); }

DWORD Kuvella::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(pi_.hProcess, &code);
  return code;
}

HWND Kuvella::FindMenu(Millis deadline) const {
  HWND menu = nullptr;
  WaitUntil([&] { return (menu = FindTopLevel(pid_, "#32768", nullptr, true)) != nullptr; }, deadline);
  return menu;
}

HWND Kuvella::FindErrorBox(Millis deadline) const {
  HWND box = nullptr;
  WaitUntil([&] { return (box = FindTopLevel(pid_, "#32770", "Kuvella", true)) != nullptr; },
            deadline);
  return box;
}

HWND Kuvella::FocusWindow() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(tid_, &info)) return nullptr;
  return info.hwndFocus;
}

void Kuvella::ChooseMenuEntry(int steps) const {
  TrayPost(WM_RBUTTONUP);
  HWND menu = FindMenu();
  if (!menu) Fail("the tray menu did not open");
  const WPARAM key = steps > 0 ? VK_DOWN : VK_UP;
  for (int i = 0; i < (steps > 0 ? steps : -steps); ++i) PostMessageA(menu, WM_KEYDOWN, key, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  if (!WaitUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); })) {
    Fail("the tray menu did not close");
  }
}

void Kuvella::ShowSettings() const {
  ChooseMenuEntry(1);
  if (!WaitUntil([&] { return SettingsShown(); })) Fail("the settings window did not show");
  SendTo(main_, WM_NULL);
}

void Kuvella::End() {
  if (!pi_.hProcess || !Running()) return;
  PostMessageA(main_, WM_CLOSE, 0, 0);
  const Tick end = After(kDeadline);
  while (Running() && Now() < end) {
    if (HWND box = FindTopLevel(pid_, "#32770", nullptr, true)) CloseMessageBox(box);
    WaitExit(Millis{100});
  }
  if (Running()) {
    TerminateProcess(pi_.hProcess, 99);
    WaitExit();
  }
}

// ---- Tray ------------------------------------------------------------------------------------

namespace {

HWND TrayWindow() { return FindWindowA(nullptr, "Wine System Tray"); }

struct TooltipSearch {
  DWORD pid;
  std::vector<HWND> tooltips;
};

BOOL CALLBACK CollectTooltips(HWND h, LPARAM param) {
  auto* s = reinterpret_cast<TooltipSearch*>(param);
  if (ProcessOf(h) == s->pid && ClassOf(h) == TOOLTIPS_CLASSA) s->tooltips.push_back(h);
  return TRUE;
}

// The tools of every tooltip window of the tray's process: (window of the tool, its text).
// The tooltips live in the tray's process, so the record goes through its memory.
std::vector<std::pair<HWND, std::string>> TrayTooltips(HWND tray) {
  std::vector<std::pair<HWND, std::string>> tools;
  TooltipSearch search{ProcessOf(tray), {}};
  EnumWindows(CollectTooltips, reinterpret_cast<LPARAM>(&search));
  if (search.tooltips.empty()) return tools;
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                               search.pid);
  if (!process) return tools;
  constexpr SIZE_T kTextChars = 256;
  const SIZE_T size = sizeof(TTTOOLINFOW) + kTextChars * sizeof(WCHAR);
  auto* remote = static_cast<char*>(
      VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (remote) {
    for (HWND tt : search.tooltips) {
      const auto count = static_cast<int>(SendTo(tt, TTM_GETTOOLCOUNT));
      for (int i = 0; i < count; ++i) {
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        info.lpszText = reinterpret_cast<LPWSTR>(remote + sizeof(TTTOOLINFOW));
        std::vector<char> blank(size, 0);
        std::memcpy(blank.data(), &info, sizeof info);
        SIZE_T done = 0;
        if (!WriteProcessMemory(process, remote, blank.data(), size, &done)) continue;
        if (!SendTo(tt, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote))) {
          continue;
        }
        std::vector<char> back(size, 0);
        if (!ReadProcessMemory(process, remote, back.data(), size, &done)) continue;
        TTTOOLINFOW got{};
        std::memcpy(&got, back.data(), sizeof got);
        std::wstring wide(reinterpret_cast<const WCHAR*>(back.data() + sizeof(TTTOOLINFOW)),
                          kTextChars - 1);
        wide.resize(wcsnlen(wide.c_str(), kTextChars - 1));
        char ansi[512] = {};
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, ansi, sizeof ansi, nullptr, nullptr);
        tools.emplace_back(got.hwnd, ansi);
      }
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return tools;
}

}  // namespace

std::vector<TrayEntry> TrayIcons() {
  std::vector<TrayEntry> icons;
  HWND tray = TrayWindow();
  if (!tray) return icons;
  for (HWND h = FindWindowExA(tray, nullptr, "__winex11_tray_icon", nullptr); h;
       h = FindWindowExA(tray, h, "__winex11_tray_icon", nullptr)) {
    icons.push_back(TrayEntry{h, {}});
  }
  if (icons.empty()) return icons;
  for (const auto& [window, text] : TrayTooltips(tray)) {
    for (TrayEntry& icon : icons) {
      if (icon.window == window) icon.tip = text;
    }
  }
  return icons;
}

int TrayIconCount() {
  int n = 0;
  HWND tray = TrayWindow();
  if (!tray) return 0;
  for (HWND h = FindWindowExA(tray, nullptr, "__winex11_tray_icon", nullptr); h;
       h = FindWindowExA(tray, h, "__winex11_tray_icon", nullptr)) {
    ++n;
  }
  return n;
}

std::optional<std::string> NewIconTip(const std::vector<TrayEntry>& before) {
  for (const TrayEntry& icon : TrayIcons()) {
    bool old = false;
    for (const TrayEntry& b : before) old = old || b.window == icon.window;
    if (!old) return icon.tip;
  }
  return std::nullopt;
}

// ---- Fixture ---------------------------------------------------------------------------------

std::string KuvellaTest::FolderName() const {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  for (char& c : name) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '.' || c == '-' || c == '_';
    if (!plain) c = '_';
  }
  return name;
}

void KuvellaTest::SetUp() {
  static std::atomic<int> serial{0};
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  std::string base = temp;
  if (!base.empty() && base.back() == '\\') base.pop_back();
  folder_ = base + "\\kv" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++serial) + "-" + FolderName();
  RemoveTree(folder_);
  ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr)) << folder_ << ": " << GetLastError();
  const std::string dist = DistDir();
  ASSERT_TRUE(CopyFileA((dist + "\\kuvella.exe").c_str(), Exe().c_str(), FALSE))
      << "from " << dist << ": " << GetLastError();
  if (CopyReadme()) {
    ASSERT_TRUE(CopyFileA((dist + "\\readme.txt").c_str(), (folder_ + "\\readme.txt").c_str(), FALSE));
  }
  if (CopySound()) {
    ASSERT_TRUE(CopyFileA((dist + "\\snap.wav").c_str(), DefaultSound().c_str(), FALSE));
  }
}

void KuvellaTest::TearDown() {
  for (auto& k : started_) k->End();
  started_.clear();
  PumpMessages();
  if (!folder_.empty()) {
    // The image file stays locked for a moment after the process has ended.
    WaitUntil([&] {
      RemoveTree(folder_);
      return !DirectoryExists(folder_);
    }, Millis{3000});
  }
}

Kuvella& KuvellaTest::Start(const std::string& exe) {
  iconsBefore_ = TrayIcons();
  started_.push_back(Kuvella::Start(exe));
  return *started_.back();
}

void KuvellaTest::CloseAndWait(Kuvella& k) {
  PostMessageA(k.Main(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(k.WaitExit()) << "WM_CLOSE did not end the program";
  EXPECT_EQ(0u, k.ExitCode());
}

::testing::AssertionResult KuvellaTest::SnapsTo(TestWindow& probe, const RECT& from, const RECT& to) {
  probe.Place(from);
  if (WaitForRect(probe.hwnd(), to)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "placed at " << Describe(from) << ", expected "
                                       << Describe(to) << ", but it is at "
                                       << Describe(probe.Rect());
}

::testing::AssertionResult KuvellaTest::StaysPut(TestWindow& probe, const RECT& at) {
  probe.Place(at);
  if (StaysAt(probe.hwnd(), at)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "placed at " << Describe(at) << ", it was moved to "
                                       << Describe(probe.Rect());
}

}  // namespace e2e

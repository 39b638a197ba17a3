// The settings window at 144 DPI: laid out at 1.5 times its 96 DPI pixels, font included.
// Run in a Wine prefix whose LogPixels is 144 (tools/test makes one).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::string Dist() {
  // A Unix path from the build: Wine sees it on drive Z:.
  std::string d = std::getenv("KUVELLA_DIST") ? std::getenv("KUVELLA_DIST") : "";
  if (!d.empty() && d[0] == '/') d = "Z:" + d;
  for (char& c : d) {
    if (c == '/') c = '\\';
  }
  return d;
}

int SystemDpi() {
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return dpi;
}

template <class F>
bool WaitFor(F f, DWORD ms = 10000) {
  const DWORD end = GetTickCount() + ms;
  while (!f()) {
    if (static_cast<LONG>(end - GetTickCount()) <= 0) return false;
    Sleep(20);
  }
  return true;
}

HWND MainOf(DWORD pid) {
  HWND h = nullptr;
  while ((h = FindWindowExA(nullptr, h, "TfrmMain", nullptr)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if (owner == pid) return h;
  }
  return nullptr;
}

TEST(SettingsWindowAtHighDpi, IsLaidOutAtOneAndAHalfTimesItsPixels) {
  if (SystemDpi() != 144) GTEST_SKIP() << "this prefix runs at " << SystemDpi() << " DPI";
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  const std::string dir = std::string(temp) + "kuvella-dpi-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(dir.c_str(), nullptr);
  const std::string exe = dir + "\\kuvella.exe";
  ASSERT_TRUE(CopyFileA((Dist() + "\\kuvella.exe").c_str(), exe.c_str(), FALSE));

  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessA(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi));
  HWND main = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (main = MainOf(pi.dwProcessId)) != nullptr; }));

  // The tray menu's first entry shows the settings window.
  PostMessageA(main, WM_USER, 1, WM_RBUTTONUP);
  HWND menu = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (menu = FindWindowA("#32768", nullptr)) != nullptr; }));
  PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != 0; }));

  RECT client{};
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, 548);  // 365 × 1.5, rounded as MulDiv rounds
  EXPECT_EQ(client.bottom, 357);
  struct Expect { int id; int left, top, width, height; } const rows[] = {
      {104, 108, 12, 44, 30},     // the level box
      {106, 150, 312, 116, 32},   // OK
      {113, 438, 114, 98, 32},    // browse
  };
  for (const Expect& e : rows) {
    HWND c = GetDlgItem(main, e.id);
    RECT r{};
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, e.left) << "control " << e.id;
    EXPECT_EQ(r.top, e.top) << "control " << e.id;
    EXPECT_EQ(r.right - r.left, e.width) << "control " << e.id;
    EXPECT_EQ(r.bottom - r.top, e.height) << "control " << e.id;
  }
  // The font's height cannot be read across processes; the screenshot shows it scaled too.

  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  DeleteFileA(exe.c_str());
  DeleteFileA((dir + "\\kuvella.ini").c_str());
  RemoveDirectoryA(dir.c_str());
}

}  // namespace

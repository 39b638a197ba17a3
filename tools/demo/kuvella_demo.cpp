// Shows Kuvella at work on a desktop with nobody in front of it: starts kuvella.exe, brings a
// window of ours to rest a few pixels from the left screen edge, and prints where it was and
// where Kuvella put it. Usage: kuvella_demo PATH\kuvella.exe [HOLD_MS]
// With "settings" instead of HOLD_MS it opens the settings window from the tray menu.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void Pump(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  MSG msg;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(10);
  }
}

HWND FindMainWindow(DWORD pid) {
  for (int i = 0; i < 200; ++i) {
    HWND h = nullptr;
    while ((h = FindWindowExA(nullptr, h, "TfrmMain", nullptr)) != nullptr) {
      DWORD owner = 0;
      GetWindowThreadProcessId(h, &owner);
      if (owner == pid) return h;
    }
    Sleep(50);
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: kuvella_demo kuvella.exe\n");
    return 2;
  }
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(argv[1], nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::fprintf(stderr, "kuvella_demo: cannot start %s\n", argv[1]);
    return 1;
  }
  HWND main = FindMainWindow(pi.dwProcessId);
  if (!main) {
    std::fprintf(stderr, "kuvella_demo: Kuvella did not start\n");
    TerminateProcess(pi.hProcess, 1);
    return 1;
  }
  if (argc > 2 && std::strcmp(argv[2], "settings") == 0) {
    // The tray menu's first entry opens the settings window.
    PostMessageA(main, WM_USER, 1, WM_RBUTTONUP);
    HWND menu = nullptr;
    for (int i = 0; i < 100 && !menu; ++i, Sleep(50)) menu = FindWindowA("#32768", nullptr);
    PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    for (int i = 0; i < 100 && !IsWindowVisible(main); ++i) Sleep(50);
    std::printf("settings window %s\n", IsWindowVisible(main) ? "shown" : "not shown");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(argc > 3 ? atoi(argv[3]) : 4000));
    PostMessageA(main, WM_CLOSE, 0, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    return IsWindow(main) ? 1 : 0;
  }
  HWND w = CreateWindowExA(0, "EDIT", "Kuvella demo: this window snaps to the screen edge",
                           WS_OVERLAPPEDWINDOW | WS_VISIBLE | ES_MULTILINE, 6, 120, 480, 300,
                           nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(w);
  RECT before{}, after{};
  GetWindowRect(w, &before);
  std::printf("before: left %ld, top %ld, right %ld, bottom %ld\n", before.left, before.top,
              before.right, before.bottom);
  for (int i = 0; i < 50; ++i) {
    Pump(100);
    GetWindowRect(w, &after);
    if (after.left != before.left) break;
  }
  std::printf("after:  left %ld, top %ld, right %ld, bottom %ld\n", after.left, after.top,
              after.right, after.bottom);
  std::fflush(stdout);
  // Leave the desktop as it is for the screenshot; the caller ends Kuvella.
  if (argc > 2) {
    Pump(static_cast<DWORD>(atoi(argv[2])));
    PostMessageA(main, WM_CLOSE, 0, 0);
    WaitForSingleObject(pi.hProcess, 10000);
  }
  return after.left == 0 ? 0 : 1;
}

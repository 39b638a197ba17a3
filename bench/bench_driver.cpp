// Bare programs of ours to measure Kuvella against, and a helper that makes Kuvella snap once.
//   bench_driver timer MS   a hidden window and a timer at MS, nothing else
//   bench_driver queries MS the same timer, each tick asking what a resting tick asks
//   bench_driver tray       the DLLs Kuvella loads and one tray icon, nothing else
//   bench_driver snap       brings a window to rest near the screen edge until it is moved
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

bool g_queries = false;

LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER) {
    if (g_queries) {
      // What a tick that does not evaluate asks the window manager.
      RECT r;
      GetWindowRect(GetForegroundWindow(), &r);
      GetSystemMetrics(SM_CXSCREEN);
      GetSystemMetrics(SM_CYSCREEN);
    }
    return 0;
  }
  return DefWindowProcA(h, msg, wp, lp);
}

HWND HiddenWindow() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "KuvellaBenchBare";
  RegisterClassA(&wc);
  return CreateWindowExA(0, wc.lpszClassName, "bare", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                         wc.hInstance, nullptr);
}

int Loop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  if (std::strcmp(argv[1], "timer") == 0 || std::strcmp(argv[1], "queries") == 0) {
    g_queries = argv[1][0] == 'q';
    HWND h = HiddenWindow();
    SetTimer(h, 1, argc > 2 ? static_cast<UINT>(std::atoi(argv[2])) : 300, nullptr);
    return Loop();
  }
  if (std::strcmp(argv[1], "tray") == 0) {
    for (const char* dll : {"comctl32.dll", "comdlg32.dll", "shell32.dll", "winmm.dll", "gdi32.dll"}) {
      LoadLibraryA(dll);
    }
    HWND h = HiddenWindow();
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = h;
    nid.uID = 1;
    nid.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    nid.uCallbackMessage = WM_USER;
    nid.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    std::strcpy(nid.szTip, "bare");
    Shell_NotifyIconA(NIM_ADD, &nid);
    return Loop();
  }
  if (std::strcmp(argv[1], "snap") == 0) {
    HWND w = CreateWindowExA(0, "STATIC", "snap me", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 5, 100, 300,
                             200, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(w);
    RECT r{};
    for (int i = 0; i < 300; ++i) {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
      GetWindowRect(w, &r);
      if (r.left == 0) break;
      Sleep(20);
    }
    DestroyWindow(w);
    return r.left == 0 ? 0 : 1;
  }
  return 2;
}

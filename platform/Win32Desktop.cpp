#include "Win32Desktop.h"

#include <mmsystem.h>

namespace kuvella {

namespace {

constexpr DWORD kDwmExtendedFrameBounds = 9;  // DWMWA_EXTENDED_FRAME_BOUNDS
constexpr DWORD kDwmCloaked = 14;             // DWMWA_CLOAKED

Rect FromRECT(const RECT& r) {
  return Rect{static_cast<std::int32_t>(r.left), static_cast<std::int32_t>(r.top),
              static_cast<std::int32_t>(r.right), static_cast<std::int32_t>(r.bottom)};
}

HMENU ToHmenu(Hmenu m) { return reinterpret_cast<HMENU>(m); }
Hmenu FromHmenu(HMENU m) { return reinterpret_cast<Hmenu>(m); }

BOOL CALLBACK CollectDisplay(HMONITOR monitor, HDC, LPRECT, LPARAM param) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoA(monitor, &info) && !(info.dwFlags & MONITORINFOF_PRIMARY)) {
    reinterpret_cast<std::vector<Rect>*>(param)->push_back(FromRECT(info.rcMonitor));
  }
  return TRUE;
}

}  // namespace

bool FileExistsA(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

Win32Desktop::Win32Desktop(std::function<void(unsigned)> setAdjusterInterval)
    : setInterval_(std::move(setAdjusterInterval)), dwm_(LoadLibraryA("dwmapi.dll")) {
  // Loaded at run time: the compositor's answers are a refinement, not a requirement.
  if (dwm_) {
    dwmGetWindowAttribute_ = reinterpret_cast<DwmGetWindowAttributeFn>(
        reinterpret_cast<void*>(GetProcAddress(dwm_.get(), "DwmGetWindowAttribute")));
  }
}

Hwnd Win32Desktop::topWindow(Hwnd parent) { return FromHwnd(GetTopWindow(ToHwnd(parent))); }
Hwnd Win32Desktop::nextWindow(Hwnd h) { return FromHwnd(GetWindow(ToHwnd(h), GW_HWNDNEXT)); }
bool Win32Desktop::isVisible(Hwnd h) { return IsWindowVisible(ToHwnd(h)) != 0; }

std::optional<Rect> Win32Desktop::windowRect(Hwnd h) {
  RECT r{};
  if (!GetWindowRect(ToHwnd(h), &r)) return std::nullopt;
  return FromRECT(r);
}

std::string Win32Desktop::windowText(Hwnd h) {
  char buffer[256] = {};
  GetWindowTextA(ToHwnd(h), buffer, sizeof buffer);
  return std::string(buffer);
}

Hmenu Win32Desktop::menuBar(Hwnd h) { return FromHmenu(GetMenu(ToHwnd(h))); }
int Win32Desktop::menuItemCount(Hmenu m) { return GetMenuItemCount(ToHmenu(m)); }

std::string Win32Desktop::menuItemText(Hmenu m, int pos) {
  char buffer[256] = {};
  GetMenuStringA(ToHmenu(m), static_cast<UINT>(pos), buffer, sizeof buffer, MF_BYPOSITION);
  buffer[sizeof buffer - 1] = '\0';  // Wine fills all 256 bytes of a long item, with no NUL
  return std::string(buffer);
}

Hmenu Win32Desktop::subMenu(Hmenu m, int pos) { return FromHmenu(GetSubMenu(ToHmenu(m), pos)); }
Hwnd Win32Desktop::foregroundWindow() { return FromHwnd(GetForegroundWindow()); }

Size Win32Desktop::screenSize() {
  return Size{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void Win32Desktop::moveWindow(Hwnd h, std::int32_t x, std::int32_t y, std::int32_t width,
                              std::int32_t height) {
  MoveWindow(ToHwnd(h), x, y, width, height, TRUE);
}

bool Win32Desktop::fileExists(const std::string& path) { return FileExistsA(path); }

void Win32Desktop::playSound(const std::string& path) { sndPlaySoundA(path.c_str(), SND_ASYNC); }

void Win32Desktop::setAdjusterInterval(unsigned milliseconds) {
  if (setInterval_) setInterval_(milliseconds);
}

std::optional<Rect> Win32Desktop::visibleFrame(Hwnd h) {
  if (!dwmGetWindowAttribute_) return std::nullopt;
  RECT r{};
  if (FAILED(dwmGetWindowAttribute_(ToHwnd(h), kDwmExtendedFrameBounds, &r, sizeof r))) {
    return std::nullopt;
  }
  if (r.right <= r.left || r.bottom <= r.top) return std::nullopt;
  return FromRECT(r);
}

bool Win32Desktop::isCloaked(Hwnd h) {
  if (!dwmGetWindowAttribute_) return false;
  DWORD cloaked = 0;
  if (FAILED(dwmGetWindowAttribute_(ToHwnd(h), kDwmCloaked, &cloaked, sizeof cloaked))) return false;
  return cloaked != 0;
}

std::vector<Rect> Win32Desktop::otherDisplays() {
  std::vector<Rect> displays;
  if (GetSystemMetrics(SM_CMONITORS) > 1) {
    EnumDisplayMonitors(nullptr, nullptr, CollectDisplay, reinterpret_cast<LPARAM>(&displays));
  }
  return displays;
}

}  // namespace kuvella

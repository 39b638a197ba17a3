#pragma once
// The engine's port on the real window manager (user32, dwmapi, winmm, kernel32).
#include <windows.h>

#include <functional>

#include "Desktop.h"
#include "Handles.h"

namespace kuvella {

class Win32Desktop final : public Desktop {
 public:
  explicit Win32Desktop(std::function<void(unsigned)> setAdjusterInterval = {});

  Hwnd topWindow(Hwnd parent) override;
  Hwnd nextWindow(Hwnd h) override;
  bool isVisible(Hwnd h) override;
  std::optional<Rect> windowRect(Hwnd h) override;
  std::string windowText(Hwnd h) override;
  Hmenu menuBar(Hwnd h) override;
  int menuItemCount(Hmenu m) override;
  std::string menuItemText(Hmenu m, int pos) override;
  Hmenu subMenu(Hmenu m, int pos) override;
  Hwnd foregroundWindow() override;
  Size screenSize() override;
  void moveWindow(Hwnd h, std::int32_t x, std::int32_t y, std::int32_t width,
                  std::int32_t height) override;
  bool fileExists(const std::string& path) override;
  void playSound(const std::string& path) override;
  void setAdjusterInterval(unsigned milliseconds) override;
  std::optional<Rect> visibleFrame(Hwnd h) override;
  bool isCloaked(Hwnd h) override;
  std::vector<Rect> otherDisplays() override;

 private:
  using DwmGetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
  std::function<void(unsigned)> setInterval_;
  UniqueModule dwm_;
  DwmGetWindowAttributeFn dwmGetWindowAttribute_ = nullptr;
};

bool FileExistsA(const std::string& path);

}  // namespace kuvella

#pragma once
// The window manager and platform, as the snapping engine sees them.
// Win32Desktop (platform/) implements it for the product, FakeDesktop (tests/support/) for tests.
#include <optional>
#include <string>
#include <vector>

#include "Types.h"

namespace kuvella {

struct Desktop {
  virtual ~Desktop() = default;

  // Window walk, Z order from the top; 0 ends the walk.
  virtual Hwnd topWindow(Hwnd parent) = 0;
  virtual Hwnd nextWindow(Hwnd h) = 0;
  virtual bool isVisible(Hwnd h) = 0;
  // nullopt: the query failed (the window is gone, say).
  virtual std::optional<Rect> windowRect(Hwnd h) = 0;
  // Title, at most 255 bytes in the ANSI code page.
  virtual std::string windowText(Hwnd h) = 0;

  // Menus: count is -1 for a failed query (as for menu 0).
  virtual Hmenu menuBar(Hwnd h) = 0;
  virtual int menuItemCount(Hmenu m) = 0;
  virtual std::string menuItemText(Hmenu m, int pos) = 0;  // at most 255 bytes, "" when none
  virtual Hmenu subMenu(Hmenu m, int pos) = 0;

  virtual Hwnd foregroundWindow() = 0;
  virtual Size screenSize() = 0;  // the primary display
  virtual void moveWindow(Hwnd h, std::int32_t x, std::int32_t y, std::int32_t width,
                          std::int32_t height) = 0;

  virtual bool fileExists(const std::string& path) = 0;  // false for a directory
  virtual void playSound(const std::string& path) = 0;   // returns at once
  virtual void setAdjusterInterval(unsigned milliseconds) = 0;

  // Modern desktops. The defaults describe a classic one: the window rectangle is what the
  // user sees, nothing is cloaked, and the primary display is the only one.
  virtual std::optional<Rect> visibleFrame(Hwnd) { return std::nullopt; }
  virtual bool isCloaked(Hwnd) { return false; }
  virtual std::vector<Rect> otherDisplays() { return {}; }
};

}  // namespace kuvella

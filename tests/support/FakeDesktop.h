#pragma once
// A desktop held in memory, for tests, benchmarks and fuzzing of the snapping engine.
//
// Windows get counter-made handles (0x1000, 0x1001, ...). A closed window's slot is reused by a
// later window under a new handle, so a stale handle never names a live window and the
// fake's memory stays bounded however many windows come and go. Looking a handle up is an
// index into the slot table; no query allocates (titles and menu texts longer than the
// small-string buffer aside).
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <unordered_map>
#include <vector>

#include "Desktop.h"

namespace kuvella {

class FakeDesktop : public Desktop {
 public:
  static constexpr Hwnd kFirstWindow = 0x1000;
  static constexpr Hmenu kFirstMenu = 0x8000'0000u;

  struct NewWindow {
    Rect rect{};
    std::string title{};
    bool visible = true;
    Hwnd parent = 0;  // 0: a top-level window
  };
  struct MenuItem {
    std::string text{};  // empty for a separator
    Hmenu subMenu = 0;
  };
  struct Move {
    Hwnd window;
    std::int32_t x, y, width, height;
    friend bool operator==(const Move&, const Move&) = default;
  };
  // The calls the engine makes, for tests that look at their order.
  enum class Op : std::uint8_t {
    TopWindow, NextWindow, IsVisible, WindowRect, WindowText, MenuBar, MenuItemCount,
    MenuItemText, SubMenu, ForegroundWindow, ScreenSize, MoveWindow, FileExists, PlaySound,
    SetAdjusterInterval, VisibleFrame, IsCloaked, OtherDisplays,
  };
  struct Call {
    Op op;
    std::uintptr_t arg;  // the window or menu handle, or the interval; 0 when none
    friend bool operator==(const Call&, const Call&) = default;
  };

  FakeDesktop();

  // --- Building the desktop -----------------------------------------------------------------
  // The new window goes to the bottom of its parent's Z order, so windows added one after the
  // other are listed in the order of adding.
  Hwnd add(const NewWindow& w);
  Hwnd add(Rect rect, std::string title = {}) { return add(NewWindow{rect, std::move(title)}); }
  // Closes the window and, with it, its child windows. Their handles become stale.
  void remove(Hwnd h);
  void raiseToTop(Hwnd h);
  void setRect(Hwnd h, Rect r);
  void setVisible(Hwnd h, bool v);
  void setTitle(Hwnd h, std::string t);
  void setMenuBar(Hwnd h, Hmenu m);
  // A stuck window ignores moves (they are still recorded).
  void setStuck(Hwnd h, bool stuck);
  // The window's rectangle query fails while set.
  void setRectFails(Hwnd h, bool fails);
  // The walk breaks after h: the next-window query of h returns 0.
  void setWalkEndsAfter(Hwnd h, bool ends);
  // The window is closed when a query about it comes after `queries` more queries about it
  // (0: at the next one).
  void closeAfterQueries(Hwnd h, int queries);
  void setCloaked(Hwnd h, bool cloaked);
  // The invisible border between the window rectangle and its visible frame, per side.
  void setFrameInset(Hwnd h, Rect inset);
  // Every window without an inset of its own reports its visible frame equal to its rectangle,
  // instead of leaving the query unanswered as a classic desktop does.
  void setReportZeroInsets(bool on) { reportZeroInsets_ = on; }
  void addDisplay(Rect r) { displays_.push_back(r); }
  void setForeground(Hwnd h) { foreground_ = h; }
  void setScreen(std::int32_t w, std::int32_t h) { screen_ = {w, h}; }
  void addFile(const std::string& path) { files_[path] = false; }
  void addDirectory(const std::string& path) { files_[path] = true; }

  // A menu from its items; build submenus first and name them in their parent's items.
  Hmenu addMenu(std::vector<MenuItem> items);

  // --- Looking at it ------------------------------------------------------------------------
  bool exists(Hwnd h) const { return find(h) != nullptr; }
  Rect rect(Hwnd h) const;  // the current rectangle; a default one for a closed window
  // The window as it is set up, read without counting as a query; nullopt for a closed one.
  struct State {
    Rect rect;
    bool visible, cloaked, rectFails;
    std::string title;
  };
  std::optional<State> inspect(Hwnd h) const;
  std::size_t windowCount() const { return live_; }
  std::size_t slotCount() const { return slots_.size(); }  // memory held for windows
  std::vector<Hwnd> topLevelWindows() const;            // Z order, topmost first

  const std::vector<Move>& moves() const { return moves_; }
  const std::vector<std::string>& sounds() const { return sounds_; }
  const std::vector<unsigned>& intervals() const { return intervals_; }
  std::uint64_t rectQueries() const { return rectQueries_; }
  void clearRecords();

  void setLogging(bool on) { logging_ = on; }
  const std::vector<Call>& calls() const { return calls_; }
  static const char* opName(Op op);

  // --- Desktop ------------------------------------------------------------------------------
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
  static constexpr unsigned kSlotBits = 20;  // up to about a million windows at once
  static constexpr std::uintptr_t kSlotMask = (std::uintptr_t{1} << kSlotBits) - 1;
  static constexpr std::uint32_t kGenerations = 1024;  // handles stay below kFirstMenu

  struct Window {
    bool alive = false;
    std::uint32_t generation = 0;
    Hwnd handle = 0;
    Rect rect{};
    bool visible = false;
    bool stuck = false;
    bool rectFails = false;
    bool walkEnds = false;
    bool cloaked = false;
    bool hasInset = false;
    int closeCountdown = -1;  // -1: never
    Rect inset{};
    std::string title;
    Hmenu menu = 0;
    Hwnd parent = 0;
    Hwnd prev = 0, next = 0;              // siblings in Z order
    Hwnd firstChild = 0, lastChild = 0;  // children in Z order
  };
  struct Menu {
    std::vector<MenuItem> items;
  };

  Window* find(Hwnd h);
  const Window* find(Hwnd h) const;
  // A query about h: counts down a pending close, then finds the window.
  Window* touch(Hwnd h);
  const Menu* findMenu(Hmenu m) const;
  void log(Op op, std::uintptr_t arg) {
    if (logging_) calls_.push_back({op, arg});
  }
  void unlink(Window& w);
  void linkAtBottom(Window& w);
  void linkAtTop(Window& w);
  // First/last child of a parent; the root's when parent is 0.
  Hwnd& firstOf(Hwnd parent);
  Hwnd& lastOf(Hwnd parent);

  std::vector<Window> slots_;
  std::vector<std::uint32_t> freeSlots_;
  std::size_t live_ = 0;
  Hwnd rootFirst_ = 0, rootLast_ = 0;
  std::vector<Menu> menus_;
  std::vector<Rect> displays_;
  std::unordered_map<std::string, bool> files_;  // path -> is a directory
  Hwnd foreground_ = 0;
  Size screen_{800, 600};
  bool reportZeroInsets_ = false;

  std::vector<Move> moves_;
  std::vector<std::string> sounds_;
  std::vector<unsigned> intervals_;
  std::uint64_t rectQueries_ = 0;
  bool logging_ = false;
  std::vector<Call> calls_;
};

// Readable failures in tests.
inline std::ostream& operator<<(std::ostream& os, const Rect& r) {
  return os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}
inline std::ostream& operator<<(std::ostream& os, const Point& p) {
  return os << "(" << p.X << ", " << p.Y << ")";
}
inline std::ostream& operator<<(std::ostream& os, const FakeDesktop::Move& m) {
  return os << "move(0x" << std::hex << m.window << std::dec << ", " << m.x << ", " << m.y
            << ", " << m.width << ", " << m.height << ")";
}

}  // namespace kuvella

#pragma once
// TWinInfo, the window list and the window walk.
#include <cstdint>
#include <string>
#include <vector>

#include "Desktop.h"

namespace kuvella {

// A thin wrapper around one window handle. Every read asks the window manager again:
// nothing about the window is kept besides its handle.
class TWinInfo {
 public:
  TWinInfo(Desktop& desktop, Hwnd AHandle) : desktop_(desktop), Handle(AHandle) {}

  bool Visible() const { return desktop_.isVisible(Handle); }
  std::int32_t Left() const { return GetRectValue(0); }
  std::int32_t Top() const { return GetRectValue(1); }
  std::int32_t Width() const { return GetRectValue(2); }
  std::int32_t Height() const { return GetRectValue(3); }
  std::string Text() const;

  // 0 Left, 1 Top, 2 width, 3 height, -1 for any other index. A failed query reads as an
  // empty rectangle at (0, 0), which the area test of the walk skips.
  std::int32_t GetRectValue(int Index) const;

 private:
  Desktop& desktop_;

 public:
  Hwnd Handle;
};

enum class TEnumWindowsOption : std::uint8_t {
  ewChildren = 0,
  ewMenus = 1,
  ewVisibleOnly = 2,
  ewNonEmpty = 3,
};

// A set of options: bit n stands for member n.
using TEnumWindowsOptions = std::uint8_t;

constexpr TEnumWindowsOptions operator|(TEnumWindowsOption a, TEnumWindowsOption b) {
  return static_cast<TEnumWindowsOptions>((1u << static_cast<unsigned>(a)) |
                                          (1u << static_cast<unsigned>(b)));
}
constexpr TEnumWindowsOptions Bit(TEnumWindowsOption o) {
  return static_cast<TEnumWindowsOptions>(1u << static_cast<unsigned>(o));
}
constexpr bool Has(TEnumWindowsOptions set, TEnumWindowsOption o) { return (set & Bit(o)) != 0; }

// An ordered list of (text, handle) entries, kept in the order of appending.
// Texts may repeat and may be empty.
class TStringList {
 public:
  struct Entry {
    std::string Text;
    std::uintptr_t Object;
  };
  void AddObject(std::string text, std::uintptr_t object) {
    entries_.push_back({std::move(text), object});
  }
  void Clear() { entries_.clear(); }
  int Count() const { return static_cast<int>(entries_.size()); }
  const std::string& Strings(int i) const { return entries_[static_cast<std::size_t>(i)].Text; }
  std::uintptr_t Objects(int i) const { return entries_[static_cast<std::size_t>(i)].Object; }
  const std::vector<Entry>& entries() const { return entries_; }

 private:
  std::vector<Entry> entries_;
};

// Appends an entry per child window of Parent (0: the top-level windows) that passes Options.
void EnumWindowsToList(TStringList& List, Desktop& desktop, Hwnd Parent,
                       TEnumWindowsOptions Options);

// Appends the items of Wnd's menu bar and of all its submenus, depth first; each entry's
// handle is the menu that holds the item.
void AddMenuItems(TStringList& List, Desktop& desktop, Hwnd Wnd);

// The option byte of the window-list refresh: visible top-level windows with an area.
constexpr TEnumWindowsOptions kRefreshOptions =
    TEnumWindowsOption::ewVisibleOnly | TEnumWindowsOption::ewNonEmpty;  // 0x0C

// tmrWindowSearcherTimer's body: empty the list and walk the top-level windows.
void RefreshWindowList(TStringList& WindowList, Desktop& desktop);

}  // namespace kuvella

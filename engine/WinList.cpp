#include "WinList.h"

namespace kuvella {

std::string TWinInfo::Text() const {
  std::string t = desktop_.windowText(Handle);
  if (t.size() > 255) t.resize(255);
  return t;
}

std::int32_t TWinInfo::GetRectValue(int Index) const {
  if (Index < 0 || Index > 3) return -1;
  const Rect r = desktop_.windowRect(Handle).value_or(Rect{});
  switch (Index) {
    case 0: return r.Left;
    case 1: return r.Top;
    // Wrapping subtraction, as the platform's 32-bit arithmetic would give.
    case 2: return static_cast<std::int32_t>(static_cast<std::uint32_t>(r.Right) -
                                             static_cast<std::uint32_t>(r.Left));
    default: return static_cast<std::int32_t>(static_cast<std::uint32_t>(r.Bottom) -
                                              static_cast<std::uint32_t>(r.Top));
  }
}

void EnumWindowsToList(TStringList& List, Desktop& desktop, Hwnd Parent,
                       TEnumWindowsOptions Options) {
  TWinInfo info(desktop, 0);  // one wrapper per level, re-pointed at each window
  for (Hwnd h = desktop.topWindow(Parent); h != 0; h = desktop.nextWindow(h)) {
    info.Handle = h;
    if (Has(Options, TEnumWindowsOption::ewVisibleOnly)) {
      if (!info.Visible()) continue;
      // Reported visible but kept off screen by the compositor: nobody can see its edges.
      if (desktop.isCloaked(h)) continue;
    }
    if (Has(Options, TEnumWindowsOption::ewNonEmpty)) {
      const std::int64_t w = info.Width();
      const std::int64_t ht = info.Height();
      if (w * ht <= 0) continue;
    }
    List.AddObject(info.Text(), h);
    if (Has(Options, TEnumWindowsOption::ewChildren)) EnumWindowsToList(List, desktop, h, Options);
    if (Has(Options, TEnumWindowsOption::ewMenus)) AddMenuItems(List, desktop, h);
  }
}

namespace {

void WalkMenu(TStringList& List, Desktop& desktop, Hmenu m) {
  const int n = desktop.menuItemCount(m);
  for (int i = 0; i < n; ++i) {
    std::string text = desktop.menuItemText(m, i);
    if (text.size() > 255) text.resize(255);
    List.AddObject(std::move(text), m);
    WalkMenu(List, desktop, desktop.subMenu(m, i));
  }
}

}  // namespace

void AddMenuItems(TStringList& List, Desktop& desktop, Hwnd Wnd) {
  const Hmenu m = desktop.menuBar(Wnd);
  if (m != 0) WalkMenu(List, desktop, m);
}

void RefreshWindowList(TStringList& WindowList, Desktop& desktop) {
  WindowList.Clear();
  EnumWindowsToList(WindowList, desktop, 0, kRefreshOptions);
}

}  // namespace kuvella

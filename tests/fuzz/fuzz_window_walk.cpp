// A random desktop from the bytes: windows in a tree, rectangles up to the extremes, menus
// as trees, failing queries, windows vanishing in the middle of a walk or a tick, insets,
// cloaking, more displays. The walk and the tick must not crash or misbehave, and the
// refresh may list only what it is meant to.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FakeDesktop.h"
#include "SnapCycle.h"
#include "WinList.h"

namespace {

using kuvella::FakeDesktop;
using kuvella::Hmenu;
using kuvella::Hwnd;
using kuvella::Rect;

std::int32_t Coord(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: return in.ConsumeIntegralInRange<std::int32_t>(-2000, 2000);
    case 1: return in.PickValueInArray<std::int32_t>({INT32_MIN, INT32_MIN + 1, -1, 0, 1, 599,
                                                      600, 799, 800, INT32_MAX - 1, INT32_MAX});
    default: return in.ConsumeIntegral<std::int32_t>();
  }
}

Rect AnyRect(FuzzedDataProvider& in) {
  if (in.ConsumeBool()) {  // a plausible window
    const std::int32_t x = in.ConsumeIntegralInRange<std::int32_t>(-900, 1700);
    const std::int32_t y = in.ConsumeIntegralInRange<std::int32_t>(-700, 1300);
    return {x, y, x + in.ConsumeIntegralInRange<std::int32_t>(-5, 900),
            y + in.ConsumeIntegralInRange<std::int32_t>(-5, 700)};
  }
  return {Coord(in), Coord(in), Coord(in), Coord(in)};
}

std::int64_t Extent(std::int32_t lo, std::int32_t hi) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(hi) - static_cast<std::uint32_t>(lo));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  FakeDesktop d;
  bool walkDisturbed = false;  // a walk may end early
  std::vector<Hwnd> windows;

  // Menus, each item opening at most one earlier menu that no other item opens: trees.
  std::vector<Hmenu> menus;
  std::vector<bool> taken;
  const int menuCount = in.ConsumeIntegralInRange<int>(0, 12);
  for (int m = 0; m < menuCount; ++m) {
    std::vector<FakeDesktop::MenuItem> items;
    const int itemCount = in.ConsumeIntegralInRange<int>(0, 6);
    for (int i = 0; i < itemCount; ++i) {
      FakeDesktop::MenuItem item{in.ConsumeRandomLengthString(300), 0};
      if (!menus.empty() && in.ConsumeBool()) {
        const std::size_t k = in.ConsumeIntegralInRange<std::size_t>(0, menus.size() - 1);
        if (!taken[k]) {
          taken[k] = true;
          item.subMenu = menus[k];
        }
      }
      items.push_back(std::move(item));
    }
    menus.push_back(d.addMenu(std::move(items)));
    taken.push_back(false);
  }

  const int windowCount = in.ConsumeIntegralInRange<int>(0, 40);
  for (int i = 0; i < windowCount; ++i) {
    FakeDesktop::NewWindow w;
    w.rect = AnyRect(in);
    w.visible = in.ConsumeIntegralInRange<int>(0, 4) != 0;
    w.title = in.ConsumeRandomLengthString(300);
    if (!windows.empty() && in.ConsumeIntegralInRange<int>(0, 3) == 0) {
      w.parent = windows[in.ConsumeIntegralInRange<std::size_t>(0, windows.size() - 1)];
    }
    const Hwnd h = d.add(w);
    windows.push_back(h);
    const std::uint8_t flags = in.ConsumeIntegral<std::uint8_t>();
    if ((flags & 0x01) != 0 && !menus.empty()) {
      d.setMenuBar(h, menus[in.ConsumeIntegralInRange<std::size_t>(0, menus.size() - 1)]);
    }
    if ((flags & 0x02) != 0) d.setRectFails(h, true);
    if ((flags & 0x04) != 0) d.setCloaked(h, true);
    if ((flags & 0x08) != 0) {
      d.setFrameInset(h, {Coord(in) % 16, Coord(in) % 16, Coord(in) % 16, Coord(in) % 16});
    }
    if ((flags & 0x10) != 0) d.setStuck(h, true);
    if ((flags & 0x20) != 0) {
      d.setWalkEndsAfter(h, true);
      walkDisturbed = true;
    }
    if ((flags & 0x40) != 0) {
      d.closeAfterQueries(h, in.ConsumeIntegralInRange<int>(0, 12));
      walkDisturbed = true;
    }
    if ((flags & 0x80) != 0) d.raiseToTop(h);
  }
  const int displayCount = in.ConsumeIntegralInRange<int>(0, 3);
  for (int i = 0; i < displayCount; ++i) d.addDisplay(AnyRect(in));
  if (in.ConsumeBool()) d.setReportZeroInsets(true);
  if (in.ConsumeBool()) d.setScreen(Coord(in), Coord(in));

  // What the refresh may list: top-level, visible, not cloaked, answering, with an area.
  struct Candidate {
    Hwnd h;
    std::string title;
  };
  std::vector<Candidate> listable;
  for (const Hwnd h : d.topLevelWindows()) {
    const auto w = d.inspect(h);
    if (!w->visible || w->cloaked || w->rectFails) continue;
    if (Extent(w->rect.Left, w->rect.Right) * Extent(w->rect.Top, w->rect.Bottom) <= 0) continue;
    listable.push_back({h, w->title.substr(0, 255)});
  }

  kuvella::TStringList list;
  kuvella::RefreshWindowList(list, d);
  if (!walkDisturbed && static_cast<std::size_t>(list.Count()) != listable.size()) {
    __builtin_trap();
  }
  // In Z order, each listed window one that may be listed; with closings and broken walks,
  // some may be missing, and one closed while its title was read shows an empty text.
  std::size_t next = 0;
  for (int i = 0; i < list.Count(); ++i) {
    while (next < listable.size() && listable[next].h != list.Objects(i)) ++next;
    if (next == listable.size()) __builtin_trap();
    const std::string& text = list.Strings(i);
    if (text != listable[next].title && !(walkDisturbed && text.empty())) __builtin_trap();
    ++next;
  }
  kuvella::RefreshWindowList(list, d);  // once more, after whatever vanished

  // Walks with any options from any parent: entries are windows or menus, never others.
  const int walks = in.ConsumeIntegralInRange<int>(0, 3);
  for (int i = 0; i < walks; ++i) {
    const std::uint8_t options = in.ConsumeIntegral<std::uint8_t>();
    Hwnd parent = 0;
    if (!windows.empty() && in.ConsumeBool()) {
      parent = windows[in.ConsumeIntegralInRange<std::size_t>(0, windows.size() - 1)];
    }
    kuvella::TStringList all;
    kuvella::EnumWindowsToList(all, d, parent, options);
    for (const auto& e : all.entries()) {
      if (e.Text.size() > 255) __builtin_trap();
      const bool isMenu = e.Object >= FakeDesktop::kFirstMenu;
      if (isMenu && !kuvella::Has(options, kuvella::TEnumWindowsOption::ewMenus)) __builtin_trap();
      if (!isMenu && e.Object < FakeDesktop::kFirstWindow) __builtin_trap();
    }
  }

  // Ticks, with the foreground window and the desktop changing in between.
  kuvella::TRestState state;
  if (in.ConsumeBool()) state = {{in.ConsumeIntegral<std::int32_t>(), 0}, in.ConsumeBool()};
  const std::string sound = in.ConsumeRandomLengthString(400);
  if (in.ConsumeBool()) d.addFile(sound);
  const std::int32_t level =
      in.ConsumeBool() ? in.ConsumeIntegralInRange<std::int32_t>(-2, 40) : Coord(in);
  const kuvella::TSnapSettings settings{level, in.ConsumeBool(), sound};
  const int ticks = in.ConsumeIntegralInRange<int>(0, 24);
  for (int t = 0; t < ticks; ++t) {
    Hwnd fg = 0;
    switch (in.ConsumeIntegralInRange<int>(0, 5)) {
      case 0: fg = 0; break;
      case 1: fg = in.ConsumeIntegral<Hwnd>(); break;
      default:
        if (!windows.empty()) {
          fg = windows[in.ConsumeIntegralInRange<std::size_t>(0, windows.size() - 1)];
        }
    }
    if (in.ConsumeBool()) fg = d.topLevelWindows().empty() ? fg : d.topLevelWindows().front();
    d.setForeground(fg);
    if (in.ConsumeBool() && d.exists(fg)) d.setRect(fg, AnyRect(in));
    if (in.ConsumeIntegralInRange<int>(0, 7) == 0 && !windows.empty()) {
      d.remove(windows[in.ConsumeIntegralInRange<std::size_t>(0, windows.size() - 1)]);
    }
    const std::size_t movesBefore = d.moves().size();
    const int repeat = in.ConsumeIntegralInRange<int>(1, 3);
    for (int r = 0; r < repeat; ++r) kuvella::SnapTick(state, settings, list, d);
    for (std::size_t m = movesBefore; m < d.moves().size(); ++m) {
      if (d.moves()[m].window != fg) __builtin_trap();
    }
    if (in.ConsumeIntegralInRange<int>(0, 4) == 0) kuvella::RefreshWindowList(list, d);
  }
  if (d.intervals().size() != d.moves().size()) __builtin_trap();
  for (const unsigned ms : d.intervals()) {
    if (ms != 1) __builtin_trap();
  }
  if (d.sounds().size() > d.moves().size()) __builtin_trap();
  return 0;
}

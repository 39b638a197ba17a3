// The window wrapper and the window walk, on the fake desktop.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "CaseName.h"
#include "FakeDesktop.h"
#include "WinList.h"

namespace kuvella {
namespace {

using Op = TEnumWindowsOption;

struct Entry {
  std::string text;
  std::uintptr_t handle;
  friend bool operator==(const Entry&, const Entry&) = default;
};

std::ostream& operator<<(std::ostream& os, const Entry& e) {
  return os << "(\"" << e.text << "\", 0x" << std::hex << e.handle << std::dec << ")";
}

std::vector<Entry> EntriesOf(const TStringList& list) {
  std::vector<Entry> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back({list.Strings(i), list.Objects(i)});
  return out;
}

constexpr TEnumWindowsOptions kAll = 0x0F;
const Rect kBox{10, 10, 110, 60};

// Each case builds its desktop and returns the entries the walk must give, in order.
struct WalkCase {
  const char* name;
  TEnumWindowsOptions options;
  std::function<std::vector<Entry>(FakeDesktop&)> build;
};

std::ostream& operator<<(std::ostream& os, const WalkCase& c) { return os << c.name; }

const WalkCase kWalkCases[] = {
    {"an empty desktop gives an empty list", kRefreshOptions,
     [](FakeDesktop&) { return std::vector<Entry>{}; }},
    {"hidden and zero-size windows leave the refresh list empty", kRefreshOptions,
     [](FakeDesktop& d) {
       d.add({.rect = kBox, .title = "hidden", .visible = false});
       d.add(Rect{10, 10, 10, 60}, "zero width");
       d.add(Rect{10, 10, 110, 10}, "zero height");
       return std::vector<Entry>{};
     }},
    {"a hidden window is not listed whatever its size", kRefreshOptions,
     [](FakeDesktop& d) {
       d.add({.rect = {-5000, -5000, 5000, 5000}, .title = "huge hidden", .visible = false});
       const Hwnd b = d.add(kBox, "shown");
       return std::vector<Entry>{{"shown", b}};
     }},
    {"a window with a negative width and a positive height is not listed", kRefreshOptions,
     [](FakeDesktop& d) {
       d.add(Rect{110, 10, 10, 60}, "flipped");
       return std::vector<Entry>{};
     }},
    {"a window flipped on both axes has a positive area product and is listed", kRefreshOptions,
     [](FakeDesktop& d) {
       const Hwnd a = d.add(Rect{110, 60, 10, 10}, "flipped twice");
       return std::vector<Entry>{{"flipped twice", a}};
     }},
    {"a window whose area does not fit in 32 bits is listed", kRefreshOptions,
     [](FakeDesktop& d) {
       const Hwnd a = d.add(Rect{0, 0, 65536, 32768}, "vast");
       return std::vector<Entry>{{"vast", a}};
     }},
    {"visible windows come out topmost first", kRefreshOptions,
     [](FakeDesktop& d) {
       const Hwnd a = d.add(kBox, "A");
       const Hwnd b = d.add(kBox, "B");
       const Hwnd c = d.add(kBox, "C");
       d.raiseToTop(c);
       return std::vector<Entry>{{"C", c}, {"A", a}, {"B", b}};
     }},
    {"two windows with the same title give two entries in Z order", kRefreshOptions,
     [](FakeDesktop& d) {
       const Hwnd a = d.add(kBox, "Same");
       const Hwnd b = d.add(kBox, "Same");
       return std::vector<Entry>{{"Same", a}, {"Same", b}};
     }},
    {"a title of 300 characters is listed with its first 255", kRefreshOptions,
     [](FakeDesktop& d) {
       std::string title;
       for (int i = 0; i < 300; ++i) title += static_cast<char>('a' + i % 26);
       const Hwnd a = d.add(kBox, title);
       return std::vector<Entry>{{title.substr(0, 255), a}};
     }},
    {"a window without a title gives an empty text", kRefreshOptions,
     [](FakeDesktop& d) {
       const Hwnd a = d.add(kBox);
       return std::vector<Entry>{{"", a}};
     }},
    {"a window whose rectangle query fails reads as empty and is not listed", kRefreshOptions,
     [](FakeDesktop& d) {
       const Hwnd a = d.add(kBox, "A");
       const Hwnd b = d.add(kBox, "failing");
       const Hwnd c = d.add(kBox, "C");
       d.setRectFails(b, true);
       return std::vector<Entry>{{"A", a}, {"C", c}};
     }},
    {"the refresh lists no child windows", kRefreshOptions,
     [](FakeDesktop& d) {
       const Hwnd a = d.add(kBox, "parent");
       d.add({.rect = kBox, .title = "child", .parent = a});
       return std::vector<Entry>{{"parent", a}};
     }},
    {"the refresh lists no menu items", kRefreshOptions,
     [](FakeDesktop& d) {
       const Hwnd a = d.add(kBox, "with menu");
       d.setMenuBar(a, d.addMenu({{"File"}, {"Help"}}));
       return std::vector<Entry>{{"with menu", a}};
     }},
    {"no options list hidden, empty and failing windows alike", 0,
     [](FakeDesktop& d) {
       const Hwnd a = d.add({.rect = kBox, .title = "hidden", .visible = false});
       const Hwnd b = d.add(Rect{5, 5, 5, 5}, "empty");
       const Hwnd c = d.add(kBox, "failing");
       d.setRectFails(c, true);
       return std::vector<Entry>{{"hidden", a}, {"empty", b}, {"failing", c}};
     }},
    {"visible-only alone keeps a zero-size window", Bit(Op::ewVisibleOnly),
     [](FakeDesktop& d) {
       const Hwnd a = d.add(Rect{5, 5, 5, 5}, "empty");
       d.add({.rect = kBox, .title = "hidden", .visible = false});
       return std::vector<Entry>{{"empty", a}};
     }},
    {"non-empty alone keeps a hidden window", Bit(Op::ewNonEmpty),
     [](FakeDesktop& d) {
       const Hwnd a = d.add({.rect = kBox, .title = "hidden", .visible = false});
       d.add(Rect{5, 5, 5, 5}, "empty");
       return std::vector<Entry>{{"hidden", a}};
     }},
    {"children come in pre-order after their parent and before the next window",
     Bit(Op::ewChildren),
     [](FakeDesktop& d) {
       const Hwnd p = d.add(kBox, "P");
       const Hwnd c1 = d.add({.rect = kBox, .title = "C1", .parent = p});
       const Hwnd g = d.add({.rect = kBox, .title = "G", .parent = c1});
       const Hwnd c2 = d.add({.rect = kBox, .title = "C2", .parent = p});
       const Hwnd q = d.add(kBox, "Q");
       return std::vector<Entry>{{"P", p}, {"C1", c1}, {"G", g}, {"C2", c2}, {"Q", q}};
     }},
    {"with children and visible-only a hidden parent hides its visible children",
     Op::ewChildren | Op::ewVisibleOnly,
     [](FakeDesktop& d) {
       const Hwnd p = d.add({.rect = kBox, .title = "hidden parent", .visible = false});
       d.add({.rect = kBox, .title = "visible child", .parent = p});
       const Hwnd q = d.add(kBox, "Q");
       const Hwnd qc = d.add({.rect = kBox, .title = "Q child", .parent = q});
       return std::vector<Entry>{{"Q", q}, {"Q child", qc}};
     }},
    {"with menus a File/Open/Quit/Help bar follows the window with each menu's handle",
     Bit(Op::ewMenus),
     [](FakeDesktop& d) {
       const Hmenu file = d.addMenu({{"Open"}, {"Quit"}});
       const Hmenu bar = d.addMenu({{"File", file}, {"Help"}});
       const Hwnd a = d.add(kBox, "Editor");
       d.setMenuBar(a, bar);
       const Hwnd b = d.add(kBox, "Next");
       return std::vector<Entry>{{"Editor", a}, {"File", bar}, {"Open", file},
                                 {"Quit", file},  {"Help", bar}, {"Next", b}};
     }},
    {"a separator gives an entry with an empty text", Bit(Op::ewMenus),
     [](FakeDesktop& d) {
       const Hmenu bar = d.addMenu({{"New"}, {""}, {"Exit"}});
       const Hwnd a = d.add(kBox, "A");
       d.setMenuBar(a, bar);
       return std::vector<Entry>{{"A", a}, {"New", bar}, {"", bar}, {"Exit", bar}};
     }},
    {"a window without a menu bar adds no menu entries", Bit(Op::ewMenus),
     [](FakeDesktop& d) {
       const Hwnd a = d.add(kBox, "plain");
       return std::vector<Entry>{{"plain", a}};
     }},
    {"menus nest depth first through several levels", Bit(Op::ewMenus),
     [](FakeDesktop& d) {
       const Hmenu deep = d.addMenu({{"Deep"}});
       const Hmenu mid = d.addMenu({{"Mid", deep}, {"Mid2"}});
       const Hmenu bar = d.addMenu({{"Top", mid}, {"Top2"}});
       const Hwnd a = d.add(kBox, "A");
       d.setMenuBar(a, bar);
       return std::vector<Entry>{{"A", a},        {"Top", bar},  {"Mid", mid},
                                 {"Deep", deep}, {"Mid2", mid}, {"Top2", bar}};
     }},
    {"a child's menu comes before its parent's menu", kAll,
     [](FakeDesktop& d) {
       const Hwnd p = d.add(kBox, "P");
       const Hwnd c = d.add({.rect = kBox, .title = "C", .parent = p});
       const Hmenu pm = d.addMenu({{"P item"}});
       const Hmenu cm = d.addMenu({{"C item"}});
       d.setMenuBar(p, pm);
       d.setMenuBar(c, cm);
       return std::vector<Entry>{{"P", p}, {"C", c}, {"C item", cm}, {"P item", pm}};
     }},
    {"a skipped window's children and menu are not walked", kAll,
     [](FakeDesktop& d) {
       const Hwnd p = d.add({.rect = kBox, .title = "hidden", .visible = false});
       d.add({.rect = kBox, .title = "child", .parent = p});
       d.setMenuBar(p, d.addMenu({{"item"}}));
       return std::vector<Entry>{};
     }},
    {"a walk broken after a window holds only the windows up to it", kRefreshOptions,
     [](FakeDesktop& d) {
       const Hwnd a = d.add(kBox, "A");
       const Hwnd b = d.add(kBox, "B");
       d.add(kBox, "C");
       d.setWalkEndsAfter(b, true);
       return std::vector<Entry>{{"A", a}, {"B", b}};
     }},
    {"a window closed in the middle of the walk ends it before that window", kRefreshOptions,
     [](FakeDesktop& d) {
       const Hwnd a = d.add(kBox, "A");
       const Hwnd b = d.add(kBox, "B");
       d.add(kBox, "C");
       d.closeAfterQueries(b, 0);
       return std::vector<Entry>{{"A", a}};
     }},
    {"a window closed after it was listed ends the walk after its entry", kRefreshOptions,
     [](FakeDesktop& d) {
       const Hwnd a = d.add(kBox, "A");
       const Hwnd b = d.add(kBox, "B");
       d.add(kBox, "C");
       // visibility, cloaking, width, height and title are answered; the next-window query is not
       d.closeAfterQueries(b, 5);
       return std::vector<Entry>{{"A", a}, {"B", b}};
     }},
    {"a cloaked window is not listed by a visible-only walk", kRefreshOptions,
     [](FakeDesktop& d) {
       const Hwnd a = d.add(kBox, "A");
       const Hwnd b = d.add(kBox, "cloaked");
       d.setCloaked(b, true);
       return std::vector<Entry>{{"A", a}};
     }},
    {"a cloaked window is listed when visibility is not asked for", Bit(Op::ewNonEmpty),
     [](FakeDesktop& d) {
       const Hwnd b = d.add(kBox, "cloaked");
       d.setCloaked(b, true);
       return std::vector<Entry>{{"cloaked", b}};
     }},
};

class WindowWalk : public ::testing::TestWithParam<WalkCase> {};

TEST_P(WindowWalk, ListsTheExpectedEntries) {
  const WalkCase& c = GetParam();
  FakeDesktop d;
  const std::vector<Entry> expected = c.build(d);
  TStringList list;
  if (c.options == kRefreshOptions) {
    RefreshWindowList(list, d);
  } else {
    EnumWindowsToList(list, d, 0, c.options);
  }
  EXPECT_EQ(EntriesOf(list), expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, WindowWalk, ::testing::ValuesIn(kWalkCases), NameOfRow{});

TEST(WindowWalkOptions, OneByteWithBitNForMemberN) {
  struct Row {
    const char* name;
    TEnumWindowsOptions set;
    unsigned byte;
  } const rows[] = {
      {"children is bit 0", Bit(Op::ewChildren), 0x01},
      {"menus is bit 1", Bit(Op::ewMenus), 0x02},
      {"visible-only is bit 2", Bit(Op::ewVisibleOnly), 0x04},
      {"non-empty is bit 3", Bit(Op::ewNonEmpty), 0x08},
      {"the refresh walks with visible-only and non-empty, 0x0C", kRefreshOptions, 0x0C},
  };
  for (const Row& r : rows) EXPECT_EQ(r.set, r.byte) << r.name;
}

TEST(WindowWalk, RefreshTwiceGivesTheSameListNotADoubledOne) {
  FakeDesktop d;
  d.add(kBox, "A");
  d.add(kBox, "B");
  TStringList list;
  RefreshWindowList(list, d);
  const std::vector<Entry> first = EntriesOf(list);
  RefreshWindowList(list, d);
  EXPECT_EQ(EntriesOf(list), first);
  EXPECT_EQ(list.Count(), 2);
}

TEST(WindowWalk, RefreshReplacesTheListWithTheDesktopAsItIsNow) {
  FakeDesktop d;
  const Hwnd a = d.add(kBox, "A");
  const Hwnd b = d.add(kBox, "B");
  TStringList list;
  RefreshWindowList(list, d);
  d.remove(a);
  d.setVisible(b, false);
  const Hwnd c = d.add(kBox, "C");
  RefreshWindowList(list, d);
  EXPECT_EQ(EntriesOf(list), (std::vector<Entry>{{"C", c}}));
}

TEST(WindowWalk, EnumAppendsWithoutEmptyingTheList) {
  FakeDesktop d;
  const Hwnd a = d.add(kBox, "A");
  TStringList list;
  list.AddObject("already there", 7);
  EnumWindowsToList(list, d, 0, kRefreshOptions);
  EXPECT_EQ(EntriesOf(list), (std::vector<Entry>{{"already there", 7}, {"A", a}}));
}

TEST(WindowWalk, WalkOfAParentListsOnlyItsChildren) {
  FakeDesktop d;
  const Hwnd p = d.add(kBox, "P");
  const Hwnd c = d.add({.rect = kBox, .title = "C", .parent = p});
  d.add(kBox, "Q");
  TStringList list;
  EnumWindowsToList(list, d, p, kRefreshOptions);
  EXPECT_EQ(EntriesOf(list), (std::vector<Entry>{{"C", c}}));
}

TEST(WindowWalk, VisibilityIsAskedBeforeTheAreaAndASkippedWindowIsNotMeasured) {
  FakeDesktop d;
  const Hwnd hidden = d.add({.rect = kBox, .title = "hidden", .visible = false});
  d.setLogging(true);
  TStringList list;
  RefreshWindowList(list, d);
  for (const FakeDesktop::Call& call : d.calls()) {
    EXPECT_FALSE(call.op == FakeDesktop::Op::WindowRect && call.arg == hidden)
        << "a window skipped as hidden had its rectangle read";
    EXPECT_FALSE(call.op == FakeDesktop::Op::WindowText) << "a skipped window's title was read";
  }
}

TEST(AddMenuItems, AppendsTheBarAndItsSubmenusDepthFirst) {
  FakeDesktop d;
  const Hmenu file = d.addMenu({{"Open"}, {"Quit"}});
  const Hmenu bar = d.addMenu({{"File", file}, {"Help"}});
  const Hwnd a = d.add(kBox, "Editor");
  d.setMenuBar(a, bar);
  TStringList list;
  AddMenuItems(list, d, a);
  EXPECT_EQ(EntriesOf(list), (std::vector<Entry>{
                                 {"File", bar}, {"Open", file}, {"Quit", file}, {"Help", bar}}));
}

TEST(AddMenuItems, CutsAnItemTextTo255Characters) {
  FakeDesktop d;
  const std::string longText(400, 'm');
  const Hmenu bar = d.addMenu({{longText}});
  const Hwnd a = d.add(kBox, "A");
  d.setMenuBar(a, bar);
  TStringList list;
  AddMenuItems(list, d, a);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Strings(0), longText.substr(0, 255));
}

// --- TWinInfo -------------------------------------------------------------------------------

TEST(TWinInfo, EveryReadAsksTheWindowManagerAfresh) {
  FakeDesktop d;
  const Hwnd h = d.add(Rect{10, 20, 110, 220}, "first");
  TWinInfo info(d, h);
  EXPECT_EQ(info.Left(), 10);
  EXPECT_EQ(info.Top(), 20);
  EXPECT_EQ(info.Width(), 100);
  EXPECT_EQ(info.Height(), 200);
  EXPECT_TRUE(info.Visible());
  EXPECT_EQ(info.Text(), "first");

  d.setRect(h, Rect{-30, -40, 70, 260});
  d.setVisible(h, false);
  d.setTitle(h, "second");
  EXPECT_EQ(info.Left(), -30);
  EXPECT_EQ(info.Top(), -40);
  EXPECT_EQ(info.Width(), 100);
  EXPECT_EQ(info.Height(), 300);
  EXPECT_FALSE(info.Visible());
  EXPECT_EQ(info.Text(), "second");
}

TEST(TWinInfo, WidthThenHeightMakesTwoRectangleQueries) {
  FakeDesktop d;
  const Hwnd h = d.add(kBox);
  TWinInfo info(d, h);
  const std::uint64_t before = d.rectQueries();
  (void)info.Width();
  (void)info.Height();
  EXPECT_EQ(d.rectQueries() - before, 2u);
}

TEST(TWinInfo, GetRectValueByIndex) {
  FakeDesktop d;
  const Hwnd h = d.add(Rect{3, 4, 13, 24});
  const TWinInfo info(d, h);
  struct Row {
    const char* name;
    int index;
    std::int32_t expected;
  } const rows[] = {
      {"index 0 is Left", 0, 3},      {"index 1 is Top", 1, 4},
      {"index 2 is the width", 2, 10}, {"index 3 is the height", 3, 20},
      {"index -1 is -1", -1, -1},     {"index 4 is -1", 4, -1},
  };
  for (const Row& r : rows) EXPECT_EQ(info.GetRectValue(r.index), r.expected) << r.name;
}

TEST(TWinInfo, AnIndexOutsideZeroToThreeAsksNothing) {
  FakeDesktop d;
  const Hwnd h = d.add(kBox);
  const TWinInfo info(d, h);
  (void)info.GetRectValue(-1);
  (void)info.GetRectValue(4);
  EXPECT_EQ(d.rectQueries(), 0u);
}

TEST(TWinInfo, ExtremeRectanglesGiveWrappedExtentsWithoutOverflow) {
  FakeDesktop d;
  const Hwnd h = d.add(Rect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});
  const TWinInfo info(d, h);
  EXPECT_EQ(info.Width(), -1);  // 2^32 - 1 wraps to -1
  EXPECT_EQ(info.Height(), -1);
}

TEST(TWinInfo, HandleZeroAndAClosedWindowReadAsNothing) {
  FakeDesktop d;
  const Hwnd h = d.add(Rect{10, 20, 110, 220}, "gone soon");
  d.remove(h);
  for (const Hwnd handle : {Hwnd{0}, h}) {
    const TWinInfo info(d, handle);
    EXPECT_FALSE(info.Visible());
    EXPECT_EQ(info.Text(), "");
    EXPECT_EQ(info.Width(), 0);
    EXPECT_EQ(info.Height(), 0);
  }
}

TEST(TWinInfo, TheHandleCanBeRepointed) {
  FakeDesktop d;
  const Hwnd a = d.add(Rect{1, 0, 2, 1}, "A");
  const Hwnd b = d.add(Rect{5, 0, 6, 1}, "B");
  TWinInfo info(d, a);
  EXPECT_EQ(info.Left(), 1);
  info.Handle = b;
  EXPECT_EQ(info.Left(), 5);
  EXPECT_EQ(info.Text(), "B");
}

}  // namespace
}  // namespace kuvella

// The snap tick on the fake desktop: where windows end up, what is played, what is asked.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "CaseName.h"
#include "FakeDesktop.h"
#include "RangeUtil.h"
#include "SnapCycle.h"
#include "WinList.h"

namespace kuvella {

namespace {

// A desktop, its window list, the rest state and the settings: what one tick needs.
struct Rig {
  FakeDesktop d;
  TStringList list;
  TRestState state;
  std::int32_t level = 8;
  bool soundEnable = false;
  std::string soundFile;

  void refresh() { RefreshWindowList(list, d); }
  void tick() { SnapTick(state, TSnapSettings{level, soundEnable, soundFile}, list, d); }
  void ticks(int n) {
    for (int i = 0; i < n; ++i) tick();
  }
  // Adds the foreground window on top of the Z order and makes it the foreground.
  Hwnd foreground(Rect r) {
    const Hwnd h = d.add(r, "ours");
    d.raiseToTop(h);
    d.setForeground(h);
    return h;
  }
};

Rect Inflate(Rect r, Rect inset) {
  return {r.Left - inset.Left, r.Top - inset.Top, r.Right + inset.Right, r.Bottom + inset.Bottom};
}

// --- The classic geometry, 800 x 600, level 8 unless a row says otherwise -----------------

struct SnapCase {
  const char* name;
  Rect ours;
  std::vector<Rect> listed;  // other windows, topmost first, below the foreground window
  Rect afterEvaluation;      // where the first evaluation puts the window
  int moves;                 // moves in all, until it stays put
  std::int32_t level = 8;
};

std::ostream& operator<<(std::ostream& os, const SnapCase& c) { return os << c.name; }

const SnapCase kSnapCases[] = {
    {"a window 5 px from the left edge moves flush to it, its own list entry skipped",
     {5, 100, 405, 400}, {}, {0, 100, 400, 400}, 1},
    {"a window 5 px beyond the left edge moves to left 0", {-5, 100, 395, 400}, {},
     {0, 100, 400, 400}, 1},
    {"a window 5 px below the top edge moves to top 0", {100, 5, 500, 305}, {},
     {100, 0, 500, 300}, 1},
    {"a window flush with the right edge moves one pixel past it, once", {400, 100, 800, 400}, {},
     {401, 100, 801, 400}, 1},
    {"a window flush with the bottom edge moves to top 301", {100, 300, 500, 600}, {},
     {100, 301, 500, 601}, 1},
    {"a window 4 px short of the right edge ends one pixel past it", {396, 100, 796, 400}, {},
     {401, 100, 801, 400}, 1},
    {"a window near a corner moves on both axes at once", {5, 5, 405, 305}, {},
     {0, 0, 400, 300}, 1},
    {"a distance equal to the level is within range", {8, 100, 408, 400}, {},
     {0, 100, 400, 400}, 1},
    {"a distance one past the level is out of range", {9, 100, 409, 400}, {},
     {9, 100, 409, 400}, 0},
    {"a window far from every edge stays", {100, 100, 500, 400}, {}, {100, 100, 500, 400}, 0},
    {"a 792 px window at distances 3 and 5 goes to the nearer left", {3, 100, 795, 400}, {},
     {0, 100, 792, 400}, 1},
    {"a 792 px window at distances 4 and 4 goes left on the tie", {4, 100, 796, 400}, {},
     {0, 100, 792, 400}, 1},
    {"a 792 px window at distances 6 and 2 goes right to 9 and stays", {6, 100, 798, 400}, {},
     {9, 100, 801, 400}, 1},
    {"the screen edge beats a window edge at the same distance",
     {5, 100, 405, 400}, {{10, 300, 500, 550}}, {0, 100, 400, 400}, 1},
    {"a tall window does not see a short one beside it", {100, 100, 400, 500},
     {{405, 200, 700, 300}}, {100, 100, 400, 500}, 0},
    {"a short window snaps its left edge to a tall one's right edge", {405, 200, 700, 300},
     {{100, 100, 400, 500}}, {400, 200, 695, 300}, 1},
    {"a right edge 5 px short of another's left edge ends one past it", {100, 200, 395, 500},
     {{400, 100, 700, 550}}, {106, 200, 401, 500}, 1},
    {"a window directly below another aligns its left on the tie and keeps its top",
     {104, 300, 504, 500}, {{100, 0, 500, 300}}, {100, 300, 500, 500}, 1},
    {"a window directly above another and touching it aligns its left and overlaps by one",
     {104, 100, 504, 300}, {{100, 300, 500, 500}}, {100, 101, 500, 301}, 1},
    {"within one window the same-side edge beats the opposite edge at the same distance",
     {100, 200, 500, 400}, {{95, 150, 105, 450}}, {95, 200, 495, 400}, 1},
    {"a bottom edge 4 px above another's top ends one past it", {100, 100, 400, 296},
     {{100, 300, 400, 500}}, {100, 105, 400, 301}, 1},
    {"a window beside another lines its top up with the other's top", {300, 105, 600, 405},
     {{100, 100, 300, 400}}, {300, 100, 600, 400}, 1},
    {"of two windows at equal distance the one higher in Z order wins (A first)",
     {100, 200, 500, 400}, {{0, 100, 95, 500}, {105, 150, 300, 450}}, {95, 200, 495, 400}, 1},
    {"of two windows at equal distance the one higher in Z order wins (B first)",
     {100, 200, 500, 400}, {{105, 150, 300, 450}, {0, 100, 95, 500}}, {105, 200, 505, 400}, 1},
    {"at level 0 a window flush with the left edge stays", {0, 100, 400, 400}, {},
     {0, 100, 400, 400}, 0, 0},
    {"at level 0 a window flush with the right edge moves to 401 once", {400, 100, 800, 400}, {},
     {401, 100, 801, 400}, 1, 0},
    {"at a negative level a window flush with the right edge stays", {400, 100, 800, 400}, {},
     {400, 100, 800, 400}, 0, -1},
    {"at a negative level a window flush with the left edge stays", {0, 100, 400, 400},
     {{400, 100, 700, 400}}, {0, 100, 400, 400}, 0, -5},
};

enum class Flavour { Classic, ZeroInsetsReported };

class SnapGeometry : public ::testing::TestWithParam<std::tuple<SnapCase, Flavour>> {};

TEST_P(SnapGeometry, ComesToRestWhereTheRulePutsIt) {
  const auto& [c, flavour] = GetParam();
  Rig rig;
  rig.level = c.level;
  if (flavour == Flavour::ZeroInsetsReported) rig.d.setReportZeroInsets(true);
  for (const Rect& r : c.listed) rig.d.add(r, "other");
  const Hwnd ours = rig.foreground(c.ours);
  rig.refresh();

  rig.tick();
  EXPECT_EQ(rig.d.rect(ours), c.ours) << "the first tick at a new place only remembers it";
  rig.tick();
  EXPECT_EQ(rig.d.rect(ours), c.afterEvaluation) << "after the first evaluation";
  if (c.moves > 0) {
    ASSERT_FALSE(rig.d.moves().empty());
    EXPECT_EQ(rig.d.moves().front(),
              (FakeDesktop::Move{ours, c.afterEvaluation.Left, c.afterEvaluation.Top,
                                 c.ours.Right - c.ours.Left, c.ours.Bottom - c.ours.Top}))
        << "moved with its size unchanged";
  }
  rig.ticks(6);
  EXPECT_EQ(rig.d.rect(ours), c.afterEvaluation) << "the evaluation at its new place";
  EXPECT_EQ(rig.d.moves().size(), static_cast<std::size_t>(c.moves));
}

struct SnapGeometryName {
  std::string operator()(const ::testing::TestParamInfo<std::tuple<SnapCase, Flavour>>& p) const {
    const char* prefix = std::get<1>(p.param) == Flavour::Classic ? "classic_" : "zero_insets_";
    return prefix + CaseName(std::get<0>(p.param).name);
  }
};

INSTANTIATE_TEST_SUITE_P(
    Cases, SnapGeometry,
    ::testing::Combine(::testing::ValuesIn(kSnapCases),
                       ::testing::Values(Flavour::Classic, Flavour::ZeroInsetsReported)),
    SnapGeometryName{});

// --- Resting places, the interval and the sound -------------------------------------------

TEST(SnapRest, AWindowThatWillNotMoveIsTriedOnceWithOneSound) {
  Rig rig;
  rig.soundEnable = true;
  rig.soundFile = "C:\\snap.wav";
  rig.d.addFile(rig.soundFile);
  const Hwnd ours = rig.foreground({5, 100, 405, 400});
  rig.d.setStuck(ours, true);
  rig.refresh();
  rig.ticks(50);
  EXPECT_EQ(rig.d.moves().size(), 1u);
  EXPECT_EQ(rig.d.sounds().size(), 1u);
  EXPECT_EQ(rig.d.intervals(), (std::vector<unsigned>{1}));
}

TEST(SnapRest, APlaceEvaluatedWithoutAMoveIsNotEvaluatedAgain) {
  Rig rig;
  const Hwnd n = rig.d.add({600, 100, 700, 550}, "neighbour");
  const Hwnd ours = rig.foreground({100, 200, 395, 500});
  rig.refresh();
  rig.ticks(2);
  ASSERT_TRUE(rig.d.moves().empty());
  rig.d.setRect(n, {400, 100, 700, 550});  // would now draw ours 5 px to the right
  rig.ticks(10);
  EXPECT_EQ(rig.d.rect(ours), (Rect{100, 200, 395, 500}));
}

struct SoundCase {
  const char* name;
  bool enable;
  enum { Missing, File, Directory } kind;
  bool plays;
};

std::ostream& operator<<(std::ostream& os, const SoundCase& c) { return os << c.name; }

class SnapSound : public ::testing::TestWithParam<SoundCase> {};

TEST_P(SnapSound, PlaysOnlyWhenOnAndTheFileExists) {
  const SoundCase& c = GetParam();
  Rig rig;
  rig.soundEnable = c.enable;
  rig.soundFile = "C:\\Tools\\snap.wav";
  if (c.kind == SoundCase::File) rig.d.addFile(rig.soundFile);
  if (c.kind == SoundCase::Directory) rig.d.addDirectory(rig.soundFile);
  const Hwnd ours = rig.foreground({5, 100, 405, 400});
  rig.refresh();
  rig.ticks(2);
  EXPECT_EQ(rig.d.rect(ours), (Rect{0, 100, 400, 400})) << "the move happens in any case";
  EXPECT_EQ(rig.d.sounds(),
            c.plays ? std::vector<std::string>{rig.soundFile} : std::vector<std::string>{});
}

const SoundCase kSoundCases[] = {
    {"sound on and the file exists: it plays", true, SoundCase::File, true},
    {"sound on and the file is missing: silence", true, SoundCase::Missing, false},
    {"sound on and the path names a directory: silence", true, SoundCase::Directory, false},
    {"sound off and the file exists: silence", false, SoundCase::File, false},
};
INSTANTIATE_TEST_SUITE_P(Cases, SnapSound, ::testing::ValuesIn(kSoundCases), NameOfRow{});

TEST(SnapSound, AnEvaluationThatMovesNothingPlaysNothing) {
  Rig rig;
  rig.soundEnable = true;
  rig.soundFile = "snap.wav";
  rig.d.addFile(rig.soundFile);
  rig.foreground({100, 100, 500, 400});
  rig.refresh();
  rig.ticks(4);
  EXPECT_TRUE(rig.d.sounds().empty());
  EXPECT_TRUE(rig.d.intervals().empty());
}

TEST(SnapSound, ALongSoundPathIsHandedOverWhole) {
  Rig rig;
  rig.soundEnable = true;
  rig.soundFile = "C:\\" + std::string(296, 'd') + ".wav";  // 303 characters
  rig.d.addFile(rig.soundFile);
  rig.foreground({5, 100, 405, 400});
  rig.refresh();
  rig.ticks(2);
  ASSERT_EQ(rig.d.sounds().size(), 1u);
  EXPECT_EQ(rig.d.sounds()[0], rig.soundFile);
}

TEST(SnapInterval, StaysUntouchedUntilTheFirstMoveAndIsOneAtEveryMoveAfter) {
  Rig rig;
  const Hwnd a = rig.foreground({100, 100, 500, 400});
  rig.refresh();
  rig.ticks(4);
  EXPECT_TRUE(rig.d.intervals().empty()) << "evaluations without a move leave it at 300 ms";

  rig.d.setRect(a, {5, 100, 405, 400});
  rig.ticks(2);
  EXPECT_EQ(rig.d.intervals(), (std::vector<unsigned>{1}));

  rig.d.setRect(a, {396, 300, 796, 596});
  rig.ticks(2);
  EXPECT_EQ(rig.d.moves().size(), 2u);
  EXPECT_EQ(rig.d.intervals(), (std::vector<unsigned>{1, 1}));
}

TEST(SnapOrder, MoveThenIntervalThenTheFileTestThenTheSound) {
  Rig rig;
  rig.soundEnable = true;
  rig.soundFile = "snap.wav";
  rig.d.addFile(rig.soundFile);
  rig.foreground({5, 100, 405, 400});
  rig.refresh();
  rig.tick();
  rig.d.setLogging(true);
  rig.tick();
  std::vector<FakeDesktop::Op> effects;
  for (const FakeDesktop::Call& c : rig.d.calls()) {
    if (c.op == FakeDesktop::Op::MoveWindow || c.op == FakeDesktop::Op::SetAdjusterInterval ||
        c.op == FakeDesktop::Op::FileExists || c.op == FakeDesktop::Op::PlaySound) {
      effects.push_back(c.op);
    }
  }
  EXPECT_EQ(effects, (std::vector<FakeDesktop::Op>{
                         FakeDesktop::Op::MoveWindow, FakeDesktop::Op::SetAdjusterInterval,
                         FakeDesktop::Op::FileExists, FakeDesktop::Op::PlaySound}));
}

TEST(SnapOrder, ATickThatDoesNotEvaluateReadsOnlyTheForegroundWindow) {
  Rig rig;
  for (int i = 0; i < 5; ++i) rig.d.add({10 * i, 0, 10 * i + 100, 100}, "other");
  const Hwnd ours = rig.foreground({300, 300, 700, 550});
  rig.refresh();
  rig.d.setLogging(true);
  rig.tick();  // a new place: remembered
  rig.ticks(2);  // evaluated, then nothing
  rig.d.clearRecords();
  rig.tick();  // evaluated place: nothing
  for (const FakeDesktop::Call& c : rig.d.calls()) {
    EXPECT_TRUE(c.op == FakeDesktop::Op::ForegroundWindow ||
                (c.op == FakeDesktop::Op::WindowRect && c.arg == ours) ||
                c.op == FakeDesktop::Op::ScreenSize)
        << FakeDesktop::opName(c.op) << " in a tick that does not evaluate";
  }
  EXPECT_EQ(rig.d.rectQueries(), 1u);
}

TEST(SnapState, TheStartPlaceIsTakenAsEvaluated) {
  // A window whose top-left is (0, 0) never moves when evaluated (both near sides are at 0),
  // so whether it is evaluated shows only in what the tick asks: an evaluation reads the
  // rectangle of every listed window.
  Rig rig;
  for (int i = 0; i < 3; ++i) rig.d.add({100 + i, 100, 300, 300}, "listed");
  const Hwnd a = rig.foreground({0, 0, 796, 500});
  rig.refresh();
  rig.d.clearRecords();
  rig.ticks(20);
  EXPECT_EQ(rig.d.rectQueries(), 20u) << "one query per tick: nothing evaluated";
  EXPECT_EQ(rig.state.LastTopLeft, (Point{0, 0}));
  EXPECT_TRUE(rig.state.RestChecked);

  const Hwnd b = rig.d.add({300, 300, 700, 550}, "B");
  rig.d.setForeground(b);
  rig.tick();
  rig.d.setForeground(a);
  rig.tick();
  rig.d.clearRecords();
  rig.tick();
  EXPECT_GT(rig.d.rectQueries(), 3u) << "evaluated once another top-left has been seen";
  EXPECT_TRUE(rig.state.RestChecked);
  EXPECT_TRUE(rig.d.moves().empty());
}

TEST(SnapState, AWindowActivatedWhereItLiesIsEvaluatedAtItsSecondTick) {
  Rig rig;
  rig.foreground({300, 300, 700, 550});
  const Hwnd b = rig.d.add({5, 100, 405, 400}, "B");
  rig.refresh();
  rig.ticks(3);
  ASSERT_TRUE(rig.d.moves().empty());
  rig.d.setForeground(b);
  rig.tick();
  EXPECT_TRUE(rig.d.moves().empty()) << "the first tick only remembers (5, 100)";
  rig.tick();
  EXPECT_EQ(rig.d.rect(b), (Rect{0, 100, 400, 400}));
  EXPECT_EQ(rig.d.intervals(), (std::vector<unsigned>{1}));
}

TEST(SnapState, AWindowActivatedAtTheRememberedTopLeftIsNotEvaluated) {
  Rig rig;
  rig.foreground({300, 300, 700, 550});
  const Hwnd b = rig.d.add({300, 300, 796, 550}, "B");  // 4 px short of the right edge
  rig.refresh();
  rig.ticks(3);
  rig.d.setForeground(b);
  rig.ticks(10);
  EXPECT_TRUE(rig.d.moves().empty());
}

TEST(SnapState, ResizingByTheRightOrBottomBorderCausesNoEvaluation) {
  Rig rig;
  const Hwnd a = rig.foreground({300, 300, 700, 550});
  rig.refresh();
  rig.ticks(3);
  rig.d.setRect(a, {300, 300, 796, 597});
  rig.ticks(10);
  EXPECT_TRUE(rig.d.moves().empty());
}

struct DisturbCase {
  const char* name;
  enum { NoForeground, RectFails, ForegroundClosed } how;
};

std::ostream& operator<<(std::ostream& os, const DisturbCase& c) { return os << c.name; }

class SnapDisturbed : public ::testing::TestWithParam<DisturbCase> {};

TEST_P(SnapDisturbed, ATickWithoutAForegroundRectangleChangesNothing) {
  const DisturbCase& c = GetParam();
  Rig rig;
  const Hwnd a = rig.foreground({5, 100, 405, 400});
  rig.refresh();
  rig.tick();  // watching (5, 100)
  ASSERT_EQ(rig.state.LastTopLeft, (Point{5, 100}));
  ASSERT_FALSE(rig.state.RestChecked);

  Hwnd stand_in = 0;
  switch (c.how) {
    case DisturbCase::NoForeground: rig.d.setForeground(0); break;
    case DisturbCase::RectFails: rig.d.setRectFails(a, true); break;
    case DisturbCase::ForegroundClosed:
      stand_in = rig.d.add({5, 100, 405, 400}, "stand-in");
      rig.d.setForeground(stand_in);
      rig.d.remove(stand_in);
      break;
  }
  rig.ticks(3);
  EXPECT_TRUE(rig.d.moves().empty());
  EXPECT_EQ(rig.state.LastTopLeft, (Point{5, 100}));
  EXPECT_FALSE(rig.state.RestChecked);

  rig.d.setRectFails(a, false);
  rig.d.setForeground(a);
  rig.tick();
  EXPECT_EQ(rig.d.rect(a), (Rect{0, 100, 400, 400})) << "the rest seen before goes on";
}

const DisturbCase kDisturbCases[] = {
    {"no foreground window", DisturbCase::NoForeground},
    {"the foreground window's rectangle query fails", DisturbCase::RectFails},
    {"the foreground window has been closed", DisturbCase::ForegroundClosed},
};
INSTANTIATE_TEST_SUITE_P(Cases, SnapDisturbed, ::testing::ValuesIn(kDisturbCases), NameOfRow{});

TEST(SnapDisturbed, AForegroundWindowClosedDuringTheEvaluationIsLeftAlone) {
  Rig rig;
  rig.soundEnable = true;
  rig.soundFile = "snap.wav";
  rig.d.addFile(rig.soundFile);
  const Hwnd a = rig.foreground({5, 100, 405, 400});
  rig.refresh();
  rig.tick();
  rig.d.closeAfterQueries(a, 1);  // the tick's first query is answered, then it is gone
  rig.tick();
  EXPECT_TRUE(rig.d.moves().empty());
  EXPECT_TRUE(rig.d.intervals().empty());
  EXPECT_TRUE(rig.d.sounds().empty());
}

struct GoneCase {
  const char* name;
  bool closed;  // else: still there, its rectangle query fails
};

std::ostream& operator<<(std::ostream& os, const GoneCase& c) { return os << c.name; }

class SnapListedGone : public ::testing::TestWithParam<GoneCase> {};

TEST_P(SnapListedGone, IsSkippedAndTheWindowsAfterItStillCount) {
  const GoneCase& c = GetParam();
  Rig rig;
  // X, nearer than B, is listed first; then it goes.
  const Hwnd x = rig.d.add({397, 100, 700, 550}, "X");
  rig.d.add({400, 100, 700, 550}, "B");
  rig.d.add({0, 0, 0, 0}, "never listed");
  const Hwnd ours = rig.foreground({100, 200, 395, 500});
  rig.refresh();
  ASSERT_EQ(rig.list.Count(), 3);
  if (c.closed) {
    rig.d.remove(x);
  } else {
    rig.d.setRectFails(x, true);
  }
  rig.ticks(2);
  EXPECT_EQ(rig.d.rect(ours), (Rect{106, 200, 401, 500})) << "snapped to B, not to X";
}

const GoneCase kGoneCases[] = {
    {"a listed window closed since the refresh", true},
    {"a listed window whose rectangle query fails", false},
};
INSTANTIATE_TEST_SUITE_P(Cases, SnapListedGone, ::testing::ValuesIn(kGoneCases), NameOfRow{});

TEST(SnapListed, AWindowOpenedSinceTheRefreshIsNoCandidate) {
  Rig rig;
  const Hwnd ours = rig.foreground({100, 200, 395, 500});
  rig.refresh();
  rig.d.add({400, 100, 700, 550}, "new");
  rig.ticks(2);
  EXPECT_EQ(rig.d.rect(ours), (Rect{100, 200, 395, 500}));
  rig.refresh();
  rig.d.setRect(ours, {100, 201, 395, 501});
  rig.ticks(2);
  EXPECT_EQ(rig.d.rect(ours), (Rect{106, 201, 401, 501})) << "after the next refresh";
}

TEST(SnapSettings, ALevelChangeTakesEffectAtTheNextEvaluation) {
  Rig rig;
  const Hwnd a = rig.foreground({20, 100, 420, 400});
  rig.refresh();
  rig.ticks(2);
  EXPECT_TRUE(rig.d.moves().empty());
  rig.level = 30;
  rig.ticks(5);
  EXPECT_TRUE(rig.d.moves().empty()) << "the place is already evaluated";
  rig.d.setRect(a, {21, 100, 421, 400});
  rig.ticks(2);
  EXPECT_EQ(rig.d.rect(a), (Rect{0, 100, 400, 400}));
}

// --- Modern desktops: invisible borders, cloaked windows, more displays --------------------

constexpr Rect kWin10Borders{7, 0, 7, 7};
constexpr Rect kNoBorders{0, 0, 0, 0};

struct FramedWindow {
  Rect frame;
  Rect inset;
};

struct FrameCase {
  const char* name;
  FramedWindow ours;
  std::vector<FramedWindow> listed;
  Rect frameAfter;  // where the visible frame of ours lands
};

std::ostream& operator<<(std::ostream& os, const FrameCase& c) { return os << c.name; }

const FrameCase kFrameCases[] = {
    {"7 px borders: the visible left edge lands on the screen's left edge",
     {{5, 100, 405, 400}, kWin10Borders}, {}, {0, 100, 400, 400}},
    {"7 px borders: the visible right edge ends one past the screen's right edge",
     {{395, 100, 795, 400}, kWin10Borders}, {}, {401, 100, 801, 400}},
    {"7 px borders: the visible bottom edge ends one past the screen's bottom edge",
     {{100, 195, 500, 596}, kWin10Borders}, {}, {100, 200, 500, 601}},
    {"7 px borders: the visible top edge lands on the screen's top edge",
     {{100, 5, 500, 305}, kWin10Borders}, {}, {100, 0, 500, 300}},
    {"7 px borders: a visible right edge ends one past a neighbour's visible left edge",
     {{100, 200, 395, 500}, kWin10Borders}, {{{400, 100, 700, 550}, kWin10Borders}},
     {106, 200, 401, 500}},
    {"7 px borders: a visible left edge lands on a neighbour's visible right edge",
     {{405, 200, 700, 300}, kWin10Borders}, {{{100, 100, 400, 500}, kWin10Borders}},
     {400, 200, 695, 300}},
    {"7 px borders: a visible top edge lands on the visible bottom of the window above",
     {{100, 300, 500, 500}, kWin10Borders}, {{{100, 0, 500, 295}, kWin10Borders}},
     {100, 295, 500, 495}},
    {"7 px borders next to a neighbour without borders", {{100, 200, 395, 500}, kWin10Borders},
     {{{400, 100, 700, 550}, kNoBorders}}, {106, 200, 401, 500}},
    {"7 px borders far from every line stay", {{100, 100, 500, 400}, kWin10Borders},
     {{{600, 100, 700, 550}, kWin10Borders}}, {100, 100, 500, 400}},
};

class SnapFrames : public ::testing::TestWithParam<FrameCase> {};

TEST_P(SnapFrames, EdgesAreMeasuredOnTheVisibleFrameAndTheWindowMovesWithIt) {
  const FrameCase& c = GetParam();
  Rig rig;
  for (const FramedWindow& w : c.listed) {
    const Hwnd h = rig.d.add(Inflate(w.frame, w.inset), "other");
    rig.d.setFrameInset(h, w.inset);
  }
  const Rect before = Inflate(c.ours.frame, c.ours.inset);
  const Hwnd ours = rig.foreground(before);
  rig.d.setFrameInset(ours, c.ours.inset);
  rig.refresh();
  rig.ticks(2);
  const Rect expected = Inflate(c.frameAfter, c.ours.inset);
  EXPECT_EQ(rig.d.rect(ours), expected);
  rig.ticks(6);
  EXPECT_EQ(rig.d.rect(ours), expected) << "it stays at its new place";
  EXPECT_LE(rig.d.moves().size(), 1u);
  for (const FakeDesktop::Move& m : rig.d.moves()) {
    EXPECT_EQ(m.width, before.Right - before.Left) << "the window keeps its size";
    EXPECT_EQ(m.height, before.Bottom - before.Top);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, SnapFrames, ::testing::ValuesIn(kFrameCases), NameOfRow{});

TEST(SnapFrames, RestIsDetectedOnTheWindowRectangleTopLeft) {
  Rig rig;
  const Hwnd ours = rig.foreground({-2, 100, 412, 407});  // frame (5, 100, 405, 400)
  rig.d.setFrameInset(ours, kWin10Borders);
  rig.refresh();
  rig.tick();
  EXPECT_EQ(rig.state.LastTopLeft, (Point{-2, 100}));
}

TEST(SnapCloaked, ACloakedWindowOffersNoLines) {
  struct Row {
    const char* name;
    bool cloaked;
    Rect after;
  } const rows[] = {
      {"a cloaked neighbour is not snapped to", true, {100, 200, 395, 500}},
      {"the same neighbour uncloaked is", false, {106, 200, 401, 500}},
  };
  for (const Row& r : rows) {
    Rig rig;
    const Hwnd n = rig.d.add({400, 100, 700, 550}, "neighbour");
    rig.d.setCloaked(n, r.cloaked);
    const Hwnd ours = rig.foreground({100, 200, 395, 500});
    rig.refresh();
    rig.ticks(2);
    EXPECT_EQ(rig.d.rect(ours), r.after) << r.name;
  }
}

struct DisplayCase {
  const char* name;
  std::vector<Rect> displays;
  Rect ours;
  std::vector<Rect> listed;
  Rect after;
};

std::ostream& operator<<(std::ostream& os, const DisplayCase& c) { return os << c.name; }

const DisplayCase kDisplayCases[] = {
    {"a second display to the right offers its far edge", {{800, 0, 1600, 600}},
     {1000, 100, 1595, 400}, {}, {1006, 100, 1601, 400}},
    {"a second display to the right offers its near edge", {{800, 0, 1600, 600}},
     {805, 100, 1205, 400}, {}, {800, 100, 1200, 400}},
    {"the primary screen's edge beats a display's edge at the same distance",
     {{-800, 10, 0, 610}}, {-3, 5, 397, 305}, {}, {0, 0, 400, 300}},
    {"a display's edge beats a listed window's edge at the same distance",
     {{800, 0, 1600, 600}}, {1000, 100, 1595, 400}, {{1200, 50, 1590, 450}},
     {1006, 100, 1601, 400}},
    {"without a second display a window on no screen snaps to nothing there", {},
     {1000, 100, 1595, 400}, {}, {1000, 100, 1595, 400}},
};

class SnapDisplays : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(SnapDisplays, OtherDisplaysOfferTheirEdges) {
  const DisplayCase& c = GetParam();
  Rig rig;
  for (const Rect& r : c.displays) rig.d.addDisplay(r);
  for (const Rect& r : c.listed) rig.d.add(r, "other");
  const Hwnd ours = rig.foreground(c.ours);
  rig.refresh();
  rig.ticks(2);
  EXPECT_EQ(rig.d.rect(ours), c.after);
}

INSTANTIATE_TEST_SUITE_P(Cases, SnapDisplays, ::testing::ValuesIn(kDisplayCases), NameOfRow{});

// --- The pieces under the tick -------------------------------------------------------------

TEST(TakeIfNearer, ReplacesOnlyOnAStrictlySmallerDistance) {
  struct Row {
    const char* name;
    std::int32_t a, b;
    std::int64_t d;
    std::int64_t dAfter;
    std::int32_t tAfter;
  } const rows[] = {
      {"nearer replaces", 10, 13, 5, 3, 13},
      {"equal keeps", 10, 15, 5, 5, -1},
      {"farther keeps", 10, 30, 5, 5, -1},
      {"distance is absolute", 10, 7, 5, 3, 7},
      {"extreme values do not overflow", INT32_MIN, INT32_MAX, INT64_MAX, 4294967295LL,
       INT32_MAX},
  };
  for (const Row& r : rows) {
    std::int64_t d = r.d;
    std::int32_t t = -1;
    TakeIfNearer(r.a, r.b, d, t);
    EXPECT_EQ(d, r.dAfter) << r.name;
    EXPECT_EQ(t, r.tAfter) << r.name;
  }
}

TEST(AnyInRange, BothBoundsIncludedAndNoValuesMeansFalse) {
  struct Row {
    const char* name;
    bool result;
    bool expected;
  } const rows[] = {
      {"a value on the lower bound", AnyInRange({5, 100}, 5, 9), true},
      {"a value on the upper bound", AnyInRange({100, 9}, 5, 9), true},
      {"values on both sides but none inside", AnyInRange({4, 10}, 5, 9), false},
      {"no values", AnyInRange({}, INT32_MIN, INT32_MAX), false},
      {"an empty range", AnyInRange({7}, 9, 5), false},
  };
  for (const Row& r : rows) EXPECT_EQ(r.result, r.expected) << r.name;
}

TEST(UpdateNearest, ASpanInsideOursOffersNoSideLinesButTheReverseDoes) {
  const Rect ours{100, 100, 400, 500};
  {
    TDist dist{1000, 1000, 1000, 1000};
    Rect target{-1, -1, -1, -1};
    UpdateNearest(dist, target, ours, {405, 200, 700, 300});
    EXPECT_EQ(target.Left, -1) << "a span strictly inside ours offers no left or right line";
    EXPECT_EQ(target.Right, -1);
  }
  {
    TDist dist{1000, 1000, 1000, 1000};
    Rect target{-1, -1, -1, -1};
    UpdateNearest(dist, target, ours, {405, 50, 700, 600});
    EXPECT_EQ(target.Right, 405) << "a span around ours offers the opposite edge";
    EXPECT_EQ(dist.Right, 5);
  }
}

}  // namespace
}  // namespace kuvella

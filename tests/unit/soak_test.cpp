// Many snap ticks on a restless desktop: windows appear, close, move, hide, fail their
// queries and vanish in the middle of a tick, with a refresh every so often. The number of
// ticks comes from KUVELLA_SOAK_TICKS (default 1,000,000).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "FakeDesktop.h"
#include "SnapCycle.h"
#include "WinList.h"

namespace kuvella {
namespace {

class Rng {
 public:
  explicit Rng(std::uint64_t seed) : s_(seed) {}
  std::uint64_t next() {  // splitmix64
    std::uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // A value in [lo, hi].
  std::int32_t in(std::int32_t lo, std::int32_t hi) {
    const std::uint64_t span = static_cast<std::uint64_t>(std::int64_t{hi} - lo) + 1;
    return static_cast<std::int32_t>(lo + static_cast<std::int64_t>(next() % span));
  }
  // True with a chance of perMille / 1000.
  bool chance(int perMille) { return static_cast<int>(next() % 1000) < perMille; }

 private:
  std::uint64_t s_;
};

std::uint64_t SoakTicks() {
  if (const char* env = std::getenv("KUVELLA_SOAK_TICKS")) {
    const long long v = std::atoll(env);
    if (v > 0) return static_cast<std::uint64_t>(v);
  }
  return 1'000'000;
}

constexpr std::size_t kMaxWindows = 48;
constexpr int kRefreshEvery = 50;
constexpr std::int32_t kSane = 1'000'000;  // rectangles inside this box are checked exactly

bool Sane(const Rect& r) {
  for (const std::int64_t v : {r.Left, r.Top, r.Right, r.Bottom}) {
    if (v <= -kSane || v >= kSane) return false;
  }
  return true;
}

Rect RandomRect(Rng& rng) {
  const std::int32_t x = rng.in(-1500, 2300);
  const std::int32_t y = rng.in(-1000, 1600);
  return {x, y, x + rng.in(0, 1200), y + rng.in(0, 900)};
}

Rect ExtremeRect(Rng& rng) {
  const std::int32_t pick[] = {INT32_MIN, INT32_MIN + 1, -1, 0, 1, INT32_MAX - 1, INT32_MAX};
  auto any = [&] { return pick[rng.next() % std::size(pick)]; };
  return {any(), any(), any(), any()};
}

TEST(Soak, ARestlessDesktopNeverSeesAWildMove) {
  const std::uint64_t ticks = SoakTicks();
  Rng rng(0x4B55'56454C4C41ull);
  FakeDesktop d;
  TStringList list;
  TRestState state;
  std::int32_t level = 8;
  const std::string sound = "C:\\Kuvella\\snap.wav";
  d.addFile(sound);
  d.addDisplay({800, 0, 1600, 600});

  std::vector<Hwnd> live;
  for (int i = 0; i < 12; ++i) live.push_back(d.add(RandomRect(rng), "w"));
  Hwnd fg = live.front();
  d.setForeground(fg);
  RefreshWindowList(list, d);

  auto pick = [&]() -> Hwnd { return live.empty() ? 0 : live[rng.next() % live.size()]; };
  std::uint64_t movesSeen = 0, evaluations = 0;

  for (std::uint64_t t = 0; t < ticks; ++t) {
    // The desktop changes.
    if (live.size() < kMaxWindows && rng.chance(20)) {
      const Hwnd h = d.add({.rect = RandomRect(rng), .title = "new", .visible = !rng.chance(100)});
      if (rng.chance(300)) d.raiseToTop(h);
      live.push_back(h);
    }
    if (!live.empty() && rng.chance(20)) d.remove(pick());
    if (fg != 0 && rng.chance(60)) {  // the user drags the foreground window a little
      const Rect r = d.rect(fg);
      const std::int32_t dx = rng.in(-40, 40), dy = rng.in(-40, 40);
      if (Sane(r)) d.setRect(fg, {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy});
    }
    if (rng.chance(8)) d.setRect(pick(), RandomRect(rng));
    if (rng.chance(30)) {
      const int kind = static_cast<int>(rng.next() % 10);
      fg = kind == 0 ? 0 : (kind == 1 ? fg + 1 : pick());  // none, a made-up handle, a window
      d.setForeground(fg);
    }
    if (rng.chance(10)) d.setRectFails(pick(), rng.chance(500));
    if (rng.chance(10)) d.setVisible(pick(), rng.chance(800));
    if (rng.chance(5)) d.closeAfterQueries(pick(), rng.in(0, 6));
    if (rng.chance(5)) d.setStuck(pick(), rng.chance(500));
    if (rng.chance(5)) d.setCloaked(pick(), rng.chance(300));
    if (rng.chance(5)) {
      d.setFrameInset(pick(), {rng.in(0, 10), rng.in(0, 2), rng.in(0, 10), rng.in(0, 10)});
    }
    if (rng.chance(2)) d.setRect(pick(), ExtremeRect(rng));
    if (rng.chance(1)) level = rng.in(-3, 30);
    if (t % kRefreshEvery == 0) RefreshWindowList(list, d);
    std::erase_if(live, [&](Hwnd h) { return !d.exists(h); });

    // One tick, watched from outside.
    const Hwnd fgNow = fg;
    const Rect before = d.rect(fgNow);
    const bool evaluates = d.exists(fgNow) && state.LastTopLeft == Point{before.Left, before.Top} &&
                           !state.RestChecked;
    const std::size_t movesBefore = d.moves().size();
    SnapTick(state, TSnapSettings{level, true, sound}, list, d);
    if (evaluates) ++evaluations;

    const std::size_t newMoves = d.moves().size() - movesBefore;
    ASSERT_LE(newMoves, 1u) << "tick " << t;
    if (newMoves == 1) {
      ++movesSeen;
      ASSERT_TRUE(evaluates) << "a move in a tick that did not evaluate, tick " << t;
      const FakeDesktop::Move& m = d.moves().back();
      ASSERT_EQ(m.window, fgNow) << "only the foreground window moves, tick " << t;
      if (Sane(before)) {
        const std::int64_t reach = std::max(level, 0) + 1;
        ASSERT_LE(std::abs(std::int64_t{m.x} - before.Left), reach) << "tick " << t;
        ASSERT_LE(std::abs(std::int64_t{m.y} - before.Top), reach) << "tick " << t;
        ASSERT_EQ(m.width, before.Right - before.Left) << "tick " << t;
        ASSERT_EQ(m.height, before.Bottom - before.Top) << "tick " << t;
      }
    }
    ASSERT_EQ(d.intervals().size(), d.moves().size()) << "an interval change per move";
    ASSERT_EQ(d.sounds().size(), d.moves().size()) << "a sound per move";
    ASSERT_LE(d.windowCount(), kMaxWindows);
    ASSERT_LE(d.slotCount(), kMaxWindows + 1) << "closed windows' memory is reused";
    ASSERT_LE(list.Count(), static_cast<int>(kMaxWindows));
    if (d.moves().size() > 1000) d.clearRecords();
  }

  RecordProperty("ticks", std::to_string(ticks));
  RecordProperty("evaluations", std::to_string(evaluations));
  RecordProperty("moves", std::to_string(movesSeen));
  // Not a count check: a soak that never evaluated or never moved would have tested nothing.
  EXPECT_GT(evaluations, 0u);
  EXPECT_GT(movesSeen, 0u);
}

}  // namespace
}  // namespace kuvella

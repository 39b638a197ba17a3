// Snap-tick costs on the fake desktop: an evaluation over 10 to 10,000 listed windows, and a
// tick that finds its place already evaluated.
#include <benchmark/benchmark.h>

#include <string>

#include "FakeDesktop.h"
#include "SnapCycle.h"
#include "WinList.h"

namespace kuvella {
namespace {

constexpr Rect kOurs{300, 200, 700, 450};  // 300 px or more from every screen edge

// A desktop with `count` listed windows that all overlap the foreground window's spans, so
// every one of them has its edges compared, and none of them is near enough to snap to.
struct Scene {
  FakeDesktop desktop;
  TStringList list;
  Hwnd ours = 0;
  std::string sound = "snap.wav";

  explicit Scene(int count) {
    for (int i = 0; i < count; ++i) {
      const std::int32_t x = 1000 + (i % 97) * 13;  // off the right of the screen
      const std::int32_t y = 100 + (i % 89);        // the span always holds ours' top and bottom
      desktop.add(Rect{x, -y, x + 400, 600 + y}, "window");
    }
    ours = desktop.add(kOurs, "ours");
    desktop.raiseToTop(ours);
    desktop.setForeground(ours);
    desktop.addFile(sound);
    RefreshWindowList(list, desktop);
  }
};

void BM_Evaluation(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  Scene scene(count);
  TRestState rest;
  const TSnapSettings settings{8, true, scene.sound};
  for (auto _ : state) {
    rest.LastTopLeft = Point{kOurs.Left, kOurs.Top};
    rest.RestChecked = false;
    SnapTick(rest, settings, scene.list, scene.desktop);
  }
  if (!scene.desktop.moves().empty()) state.SkipWithError("the scene snapped; it must not");
  // Listed windows besides the foreground window's own entry.
  state.counters["per_window"] = benchmark::Counter(
      static_cast<double>(count), benchmark::Counter::kIsIterationInvariantRate |
                                      benchmark::Counter::kInvert);
}
BENCHMARK(BM_Evaluation)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000);

void BM_TickAtRest(benchmark::State& state) {
  Scene scene(10000);
  TRestState rest{Point{kOurs.Left, kOurs.Top}, true};
  const TSnapSettings settings{8, true, scene.sound};
  for (auto _ : state) SnapTick(rest, settings, scene.list, scene.desktop);
  if (!scene.desktop.moves().empty()) state.SkipWithError("the scene snapped; it must not");
}
BENCHMARK(BM_TickAtRest);

void BM_Refresh(benchmark::State& state) {
  Scene scene(static_cast<int>(state.range(0)));
  TStringList list;
  for (auto _ : state) RefreshWindowList(list, scene.desktop);
  state.counters["per_window"] = benchmark::Counter(
      static_cast<double>(state.range(0) + 1), benchmark::Counter::kIsIterationInvariantRate |
                                                   benchmark::Counter::kInvert);
}
BENCHMARK(BM_Refresh)->Arg(100)->Arg(10000);

}  // namespace
}  // namespace kuvella

BENCHMARK_MAIN();

#include "SnapCycle.h"

#include "RangeUtil.h"

namespace kuvella {

namespace {

std::int64_t Abs64(std::int64_t v) { return v < 0 ? -v : v; }

}  // namespace

void TakeIfNearer(std::int32_t A, std::int32_t B, std::int64_t& D, std::int32_t& T) {
  const std::int64_t d = Abs64(std::int64_t{A} - B);
  if (d < D) {
    D = d;
    T = B;
  }
}

void UpdateNearest(TDist& Dist, Rect& Target, const Rect& Ours, const Rect& Other) {
  if (AnyInRange({Ours.Top, Ours.Bottom}, Other.Top, Other.Bottom)) {
    TakeIfNearer(Ours.Left, Other.Left, Dist.Left, Target.Left);
    TakeIfNearer(Ours.Right, Other.Right, Dist.Right, Target.Right);
    TakeIfNearer(Ours.Left, Other.Right, Dist.Left, Target.Left);
    TakeIfNearer(Ours.Right, Other.Left, Dist.Right, Target.Right);
  }
  if (AnyInRange({Ours.Left, Ours.Right}, Other.Left, Other.Right)) {
    TakeIfNearer(Ours.Top, Other.Top, Dist.Top, Target.Top);
    TakeIfNearer(Ours.Bottom, Other.Bottom, Dist.Bottom, Target.Bottom);
    TakeIfNearer(Ours.Top, Other.Bottom, Dist.Top, Target.Top);
    TakeIfNearer(Ours.Bottom, Other.Top, Dist.Bottom, Target.Bottom);
  }
}

namespace {

// Where the edges are measured: the visible frame when the desktop reports one.
Rect MeasuredRect(Desktop& desktop, Hwnd h, const Rect& windowRect) {
  return desktop.visibleFrame(h).value_or(windowRect);
}

std::int32_t Span(std::int32_t lo, std::int32_t hi) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(hi) - static_cast<std::uint32_t>(lo));
}

}  // namespace

void SnapTick(TRestState& State, const TSnapSettings& Settings, const TStringList& WindowList,
              Desktop& desktop) {
  // 1. The foreground window; a tick without one, or whose window is gone, does nothing.
  TWinInfo info(desktop, desktop.foregroundWindow());
  if (info.Handle == 0) return;
  const std::optional<Rect> oursWindow = desktop.windowRect(info.Handle);
  if (!oursWindow) return;
  const Size screen = desktop.screenSize();

  // 3. Rest test, on the window rectangle's top-left.
  const Point P{oursWindow->Left, oursWindow->Top};
  if (P != State.LastTopLeft) {
    State.LastTopLeft = P;
    State.RestChecked = false;
    return;
  }
  if (State.RestChecked) return;
  State.RestChecked = true;  // before anything is decided: one attempt per resting place

  // 2. The primary screen's edges are the first candidates.
  const Rect Ours = MeasuredRect(desktop, info.Handle, *oursWindow);
  Rect Target{0, 0, screen.Width, screen.Height};
  TDist Dist{Abs64(Ours.Left), Abs64(Ours.Top), Abs64(std::int64_t{screen.Width} - Ours.Right),
             Abs64(std::int64_t{screen.Height} - Ours.Bottom)};

  // Further displays offer their edges like a window does, ahead of every window.
  for (const Rect& display : desktop.otherDisplays()) UpdateNearest(Dist, Target, Ours, display);

  // 4. The listed windows, in list order; closed ones are skipped.
  const int count = WindowList.Count();
  for (int i = 0; i < count; ++i) {
    const Hwnd h = WindowList.Objects(i);
    if (h == info.Handle) continue;
    const std::optional<Rect> other = desktop.windowRect(h);
    if (!other) continue;
    UpdateNearest(Dist, Target, Ours, MeasuredRect(desktop, h, *other));
  }

  // The frame's offset inside the window rectangle (0 on a classic desktop).
  const bool framed = Ours != *oursWindow;
  const std::int32_t insetX = Span(oursWindow->Left, Ours.Left);
  const std::int32_t insetY = Span(oursWindow->Top, Ours.Top);
  auto extent = [&](int index) -> std::optional<std::int32_t> {
    if (framed) return index == 2 ? Span(Ours.Left, Ours.Right) : Span(Ours.Top, Ours.Bottom);
    const std::optional<Rect> r = desktop.windowRect(info.Handle);  // a fresh query
    if (!r) return std::nullopt;
    return index == 2 ? Span(r->Left, r->Right) : Span(r->Top, r->Bottom);
  };

  // 5. Per axis.
  const std::int32_t Level = Settings.MagneticLevel;
  const std::optional<std::int32_t> frameX = ApplyAxis(
      Dist.Left, Target.Left, Dist.Right, Target.Right, Ours.Left, Level, [&] { return extent(2); });
  if (!frameX) return;
  const std::optional<std::int32_t> frameY = ApplyAxis(
      Dist.Top, Target.Top, Dist.Bottom, Target.Bottom, Ours.Top, Level, [&] { return extent(3); });
  if (!frameY) return;
  const std::int32_t X = Span(insetX, *frameX);
  const std::int32_t Y = Span(insetY, *frameY);

  // 6.
  if (X == oursWindow->Left && Y == oursWindow->Top) return;

  // 7. The size is read again at this moment; a window gone by now is left alone.
  const std::optional<Rect> now = desktop.windowRect(info.Handle);
  if (!now) return;
  desktop.moveWindow(info.Handle, X, Y, Span(now->Left, now->Right), Span(now->Top, now->Bottom));

  // 8, 9.
  desktop.setAdjusterInterval(kFastAdjusterInterval);
  if (Settings.SoundEnable && desktop.fileExists(Settings.SoundFile)) {
    PlaySnapSound(desktop, Settings.SoundFile);
  }
}

}  // namespace kuvella

#pragma once
// One snap tick: rest detection, edge matching and the per-axis rule.
#include <cstdint>
#include <string>

#include "Desktop.h"
#include "WinList.h"

namespace kuvella {

// Distances are kept in 64 bits so that no edge, however far out, overflows.
struct TDist {
  std::int64_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// Rest detection, one pair for all windows.
struct TRestState {
  Point LastTopLeft{0, 0};
  bool RestChecked = true;
};

// The settings a tick reads.
struct TSnapSettings {
  std::int32_t MagneticLevel;
  bool SoundEnable;
  const std::string& SoundFile;
};

constexpr unsigned kFastAdjusterInterval = 1;

// If |A - B| < D: D := |A - B|, T := B.
void TakeIfNearer(std::int32_t A, std::int32_t B, std::int64_t& D, std::int32_t& T);

// Offers the edges of Other as candidate lines for the edges of Ours.
void UpdateNearest(TDist& Dist, Rect& Target, const Rect& Ours, const Rect& Other);

// The per-axis rule: the new near-side coordinate (Left or Top), or `current` when neither
// side is within Level. `extent` is asked for only when the far side wins; nullopt from it
// means the window is gone.
template <class ExtentFn>
std::optional<std::int32_t> ApplyAxis(std::int64_t nearDist, std::int32_t nearLine,
                                      std::int64_t farDist, std::int32_t farLine,
                                      std::int32_t current, std::int32_t Level, ExtentFn extent) {
  const bool nearIn = nearDist <= Level;
  const bool farIn = farDist <= Level;
  if (nearIn && (!farIn || nearDist <= farDist)) return nearLine;
  if (farIn) {
    const std::optional<std::int32_t> e = extent();
    if (!e) return std::nullopt;
    // One past the line: the far edge lies one past the window's last pixel.
    const std::int64_t v = std::int64_t{farLine} - *e + 1;
    if (v < INT32_MIN || v > INT32_MAX) return current;
    return static_cast<std::int32_t>(v);
  }
  return current;
}

// tmrWindowAdjusterTimer's body.
void SnapTick(TRestState& State, const TSnapSettings& Settings, const TStringList& WindowList,
              Desktop& desktop);

// Copies nothing and cuts nothing: the path reaches the sound call whole.
inline void PlaySnapSound(Desktop& desktop, const std::string& FileName) {
  desktop.playSound(FileName);
}

}  // namespace kuvella

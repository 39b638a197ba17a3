#pragma once
// The level control: an up-down (0..100, step 2) with the level box as its buddy, and the
// window side's copy of its position. The Win32 shell drives the real msctls_updown32 with
// these rules; TLevelControlModel plays the control's part where there is none (tests).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kuvella {

constexpr int kLevelMin = 0;
constexpr int kLevelMax = 100;
constexpr int kLevelStep = 2;

// The low 16 bits of a setting, read as signed: what the up-down's position can hold.
constexpr std::int16_t LowSigned16(std::int32_t v) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(v) & 0xFFFFu));
}
constexpr int ClampLevel(int v) { return v < kLevelMin ? kLevelMin : (v > kLevelMax ? kLevelMax : v); }

// What the control makes of the level box's text when its position is read: a decimal within
// 0..100 becomes the position, anything else keeps the old one.
std::optional<int> LevelFromBuddyText(std::string_view text);

// The window side's copy of the position. Setting a value equal to the copy does nothing;
// otherwise the copy takes it unclamped and the control is told (it clamps and rewrites the box).
class TLevelCopy {
 public:
  explicit TLevelCopy(std::int16_t initial) : copy_(initial) {}
  // True when the control must be told.
  bool Set(std::int16_t v) {
    if (v == copy_) return false;
    copy_ = v;
    return true;
  }
  void Read(std::int16_t fromControl) { copy_ = fromControl; }
  std::int16_t value() const { return copy_; }

 private:
  std::int16_t copy_;
};

// The whole control without a window system: copy, position and the level box's text.
class TLevelControlModel {
 public:
  explicit TLevelControlModel(int position = 16) : copy_(static_cast<std::int16_t>(position)),
      position_(position), text_(std::to_string(position)) {}
  // Returns true when the box's text changed (the change handler runs).
  bool SetPosition(std::int16_t v);
  std::int16_t ReadPosition();
  void TypeText(std::string text) { text_ = std::move(text); }
  bool Step(int direction);  // a spin button or an arrow key; true when the box changed
  const std::string& text() const { return text_; }
  int position() const { return position_; }
  std::int16_t copy() const { return copy_.value(); }

 private:
  bool WriteText(std::string t);
  TLevelCopy copy_;
  int position_;
  std::string text_;
};

}  // namespace kuvella

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

// The up-down's position and the window side's copy of it. Setting a value equal to the copy
// does nothing; otherwise the copy takes it unclamped and the position it clamped (the control
// then shows it in the box). Reading and stepping bring the copy level with the position.
class TLevelPosition {
 public:
  explicit TLevelPosition(std::int16_t initial) : copy_(initial), position_(initial) {}
  // True when the control must be told.
  bool Set(std::int16_t v);
  // The box's text becomes the position if the control takes it; otherwise it stays.
  std::int16_t Read(std::string_view boxText);
  // A spin button or an arrow key moved the control to p.
  void Stepped(std::int16_t p) { position_ = copy_ = p; }
  std::int16_t position() const { return position_; }
  std::int16_t copy() const { return copy_; }

 private:
  std::int16_t copy_;
  std::int16_t position_;
};

// The whole control without a window system: the position and the level box's text.
class TLevelControlModel {
 public:
  explicit TLevelControlModel(int position = 16)
      : level_(static_cast<std::int16_t>(position)), text_(std::to_string(position)) {}
  // Returns true when the box's text changed (the change handler runs).
  bool SetPosition(std::int16_t v);
  std::int16_t ReadPosition() { return level_.Read(text_); }
  void TypeText(std::string text) { text_ = std::move(text); }
  bool Step(int direction);  // a spin button or an arrow key; true when the box changed
  const std::string& text() const { return text_; }
  int position() const { return level_.position(); }
  std::int16_t copy() const { return level_.copy(); }

 private:
  bool WriteText(std::string t);
  TLevelPosition level_;
  std::string text_;
};

}  // namespace kuvella

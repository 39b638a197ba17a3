#include "LevelRules.h"

namespace kuvella {

std::optional<int> LevelFromBuddyText(std::string_view text) {
  if (text.empty()) return std::nullopt;
  int v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
    if (v > kLevelMax) return std::nullopt;  // out of range however many digits follow
  }
  if (v < kLevelMin || v > kLevelMax) return std::nullopt;
  return v;
}

bool TLevelControlModel::WriteText(std::string t) {
  if (t == text_) return false;
  text_ = std::move(t);
  return true;
}

bool TLevelControlModel::SetPosition(std::int16_t v) {
  if (!copy_.Set(v)) return false;
  position_ = ClampLevel(v);
  return WriteText(std::to_string(position_));
}

std::int16_t TLevelControlModel::ReadPosition() {
  if (const std::optional<int> p = LevelFromBuddyText(text_)) position_ = *p;
  copy_.Read(static_cast<std::int16_t>(position_));
  return static_cast<std::int16_t>(position_);
}

bool TLevelControlModel::Step(int direction) {
  if (const std::optional<int> p = LevelFromBuddyText(text_)) position_ = *p;
  position_ = ClampLevel(position_ + (direction > 0 ? kLevelStep : -kLevelStep));
  copy_.Read(static_cast<std::int16_t>(position_));
  return WriteText(std::to_string(position_));
}

}  // namespace kuvella

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

bool TLevelPosition::Set(std::int16_t v) {
  if (v == copy_) return false;
  copy_ = v;
  position_ = static_cast<std::int16_t>(ClampLevel(v));
  return true;
}

std::int16_t TLevelPosition::Read(std::string_view boxText) {
  if (const std::optional<int> p = LevelFromBuddyText(boxText)) position_ = static_cast<std::int16_t>(*p);
  copy_ = position_;
  return position_;
}

bool TLevelControlModel::SetPosition(std::int16_t v) {
  if (!level_.Set(v)) return false;
  return WriteText(std::to_string(level_.position()));
}

bool TLevelControlModel::Step(int direction) {
  const int from = level_.Read(text_);
  level_.Stepped(static_cast<std::int16_t>(ClampLevel(from + (direction > 0 ? kLevelStep : -kLevelStep))));
  return WriteText(std::to_string(level_.position()));
}

}  // namespace kuvella

// ParseWholeNumber and the reads built on it, against a reference written apart from it.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "LevelRules.h"
#include "TextRules.h"

namespace {

bool IsDec(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) {
  return IsDec(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string_view StripZeros(std::string_view s) {
  while (s.size() > 1 && s.front() == '0') s.remove_prefix(1);
  return s;
}

// The whole-number rule, digit strings checked first and converted by std::from_chars.
std::optional<std::int32_t> Reference(std::string_view t) {
  const std::size_t start = t.find_first_not_of(' ');
  if (start == std::string_view::npos) return std::nullopt;
  t.remove_prefix(start);

  std::string_view hex;
  bool isHex = true;
  if (t.starts_with("0x") || t.starts_with("0X")) hex = t.substr(2);
  else if (t.starts_with('$') || t.starts_with('x') || t.starts_with('X')) hex = t.substr(1);
  else isHex = false;

  if (isHex) {
    if (hex.empty()) return std::nullopt;
    for (char c : hex) {
      if (!IsHex(c)) return std::nullopt;
    }
    hex = StripZeros(hex);
    if (hex.size() > 8) return std::nullopt;
    std::uint32_t u = 0;
    const auto r = std::from_chars(hex.data(), hex.data() + hex.size(), u, 16);
    if (r.ec != std::errc() || r.ptr != hex.data() + hex.size()) __builtin_trap();
    return static_cast<std::int32_t>(u);
  }

  bool negative = false;
  if (t.starts_with('-') || t.starts_with('+')) {
    negative = t.front() == '-';
    t.remove_prefix(1);
  }
  if (t.empty()) return std::nullopt;
  for (char c : t) {
    if (!IsDec(c)) return std::nullopt;
  }
  t = StripZeros(t);
  if (t.size() > 10) return std::nullopt;
  std::int64_t v = 0;
  const auto r = std::from_chars(t.data(), t.data() + t.size(), v, 10);
  if (r.ec != std::errc()) __builtin_trap();
  if (negative) v = -v;
  if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(v);
}

std::optional<int> ReferenceBuddy(std::string_view t) {
  if (t.empty()) return std::nullopt;
  for (char c : t) {
    if (!IsDec(c)) return std::nullopt;
  }
  t = StripZeros(t);
  if (t.size() > 3) return std::nullopt;
  int v = 0;
  std::from_chars(t.data(), t.data() + t.size(), v, 10);
  if (v > 100) return std::nullopt;
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<std::int32_t> got = kuvella::ParseWholeNumber(text);
  if (got != Reference(text)) __builtin_trap();

  const std::int32_t fallback = got ? ~*got : 8;
  if (kuvella::ReadIniInteger(text, fallback) != got.value_or(fallback)) __builtin_trap();
  for (const bool d : {false, true}) {
    if (kuvella::ReadIniBoolean(text, d) != (got ? *got != 0 : d)) __builtin_trap();
  }
  if (got) {
    const std::string written = kuvella::FormatInteger(*got);
    if (kuvella::ParseWholeNumber(written) != got) __builtin_trap();
    if (written.front() == '+' || (written.size() > 1 && written.front() == '0')) __builtin_trap();
  }

  if (kuvella::LevelFromBuddyText(text) != ReferenceBuddy(text)) __builtin_trap();

  // What leaving the level box does with the number: whatever it is, the box ends in range.
  if (got) {
    kuvella::TLevelControlModel control(16);
    control.SetPosition(kuvella::LowSigned16(*got));
    const int p = control.ReadPosition();
    if (p < kuvella::kLevelMin || p > kuvella::kLevelMax) __builtin_trap();
  }
  return 0;
}

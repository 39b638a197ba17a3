#include "TextRules.h"

namespace kuvella {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsLeadByte932(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

}  // namespace

std::optional<std::int32_t> ParseWholeNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  std::string_view s = text.substr(i);
  if (s.empty()) return std::nullopt;

  std::size_t prefix = 0;
  if (s[0] == '$' || s[0] == 'x' || s[0] == 'X') prefix = 1;
  else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) prefix = 2;
  if (prefix != 0) {
    s.remove_prefix(prefix);
    if (s.empty()) return std::nullopt;
    std::uint64_t v = 0;
    for (char c : s) {
      const int d = HexDigit(c);
      if (d < 0) return std::nullopt;
      v = v * 16 + static_cast<unsigned>(d);
      if (v > 0xFFFFFFFFu) return std::nullopt;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
  }

  bool negative = false;
  if (s[0] == '-' || s[0] == '+') {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return std::nullopt;
  std::int64_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
    if (v > 2147483648LL) return std::nullopt;
  }
  if (negative) v = -v;
  if (v > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(v);
}

std::int32_t ReadIniInteger(std::string_view text, std::int32_t defaultValue) {
  return ParseWholeNumber(text).value_or(defaultValue);
}

bool ReadIniBoolean(std::string_view text, bool defaultValue) {
  return ReadIniInteger(text, defaultValue ? 1 : 0) != 0;
}

std::string FormatInteger(std::int32_t value) { return std::to_string(value); }

namespace {

// The bytes of the character that starts at text[k]: two after a lead byte.
std::size_t CharLength932(std::string_view text, std::size_t k) {
  return IsLeadByte932(static_cast<unsigned char>(text[k])) ? 2 : 1;
}

// Index of the last byte of text that is one of seps and starts a character, or npos.
std::size_t LastDelimiter(std::string_view text, std::string_view seps) {
  std::size_t found = std::string_view::npos;
  for (std::size_t k = 0; k < text.size(); k += CharLength932(text, k)) {
    if (seps.find(text[k]) != std::string_view::npos) found = k;
  }
  return found;
}

}  // namespace

bool IsTrailByte932(std::string_view text, std::size_t i) {
  if (i >= text.size()) return false;
  std::size_t k = 0;
  while (k < i) k += CharLength932(text, k);
  return k != i;
}

std::string ExeDirectory(std::string_view modulePath) {
  const std::size_t k = LastDelimiter(modulePath, "\\:");
  if (k == std::string_view::npos) return {};
  return std::string(modulePath.substr(0, k + 1));
}

std::string IniPathFor(std::string_view modulePath) {
  const std::size_t k = LastDelimiter(modulePath, ".\\:");
  std::string path(modulePath);
  if (k != std::string_view::npos && modulePath[k] == '.') path.resize(k);
  return path + ".ini";
}

std::string ErrorBoxText(std::string_view message) {
  std::string text(message);
  // Every byte of a double-byte character is above "." in code page 932, so the last byte
  // decides for both kinds of character.
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

}  // namespace kuvella

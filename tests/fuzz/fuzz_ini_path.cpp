// ExeDirectory, IniPathFor, IsTrailByte932 and ErrorBoxText on any bytes: no crash, the
// invariants hold, and a reference that walks characters from the end agrees.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "TextRules.h"

namespace {

bool Lead932(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Start index of every character, single- or double-byte.
std::vector<std::size_t> CharStarts(std::string_view s) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < s.size();) {
    starts.push_back(i);
    i += (Lead932(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
  }
  return starts;
}

// The last single-byte character that is one of seps, searched from the end.
std::size_t LastOf(std::string_view s, const std::vector<std::size_t>& starts,
                   std::string_view seps) {
  for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
    const std::size_t i = *it;
    const bool single = !(Lead932(static_cast<unsigned char>(s[i])) && i + 1 < s.size());
    if (single && seps.find(s[i]) != std::string_view::npos) return i;
  }
  return std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view path(reinterpret_cast<const char*>(data), size);
  const std::vector<std::size_t> starts = CharStarts(path);

  const std::string dir = kuvella::ExeDirectory(path);
  const std::string ini = kuvella::IniPathFor(path);

  if (!path.starts_with(dir)) __builtin_trap();
  if (!ini.ends_with(".ini")) __builtin_trap();
  const std::string_view stem = std::string_view(ini).substr(0, ini.size() - 4);
  if (!path.starts_with(stem)) __builtin_trap();
  if (!stem.starts_with(dir)) __builtin_trap();
  if (!dir.empty() && dir.back() != '\\' && dir.back() != ':') __builtin_trap();

  const std::size_t d = LastOf(path, starts, "\\:");
  if (dir != (d == std::string_view::npos ? std::string() : std::string(path.substr(0, d + 1)))) {
    __builtin_trap();
  }
  const std::size_t e = LastOf(path, starts, ".\\:");
  const std::string want =
      std::string(e != std::string_view::npos && path[e] == '.' ? path.substr(0, e) : path) +
      ".ini";
  if (ini != want) __builtin_trap();

  // Trail bytes: exactly the second bytes of double-byte characters.
  std::vector<bool> trail(size, false);
  for (std::size_t s : starts) {
    if (Lead932(static_cast<unsigned char>(path[s])) && s + 1 < size) trail[s + 1] = true;
  }
  for (std::size_t i = 0; i < size && i < 64; ++i) {
    if (kuvella::IsTrailByte932(path, i) != trail[i]) __builtin_trap();
  }
  if (kuvella::IsTrailByte932(path, size)) __builtin_trap();

  const std::string shown = kuvella::ErrorBoxText(path);
  const bool dot = !path.empty() && static_cast<unsigned char>(path.back()) > '.';
  if (shown != std::string(path) + (dot ? "." : "")) __builtin_trap();
  return 0;
}

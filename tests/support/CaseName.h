#pragma once
// Turns a row's sentence into a test name: every character that is not a letter or a digit
// becomes "_", so "a window 5 px left" reads as a_window_5_px_left.
#include <cctype>
#include <string>

namespace kuvella {

inline std::string CaseName(const std::string& sentence) {
  std::string out;
  for (char ch : sentence) {
    out += (std::isalnum(static_cast<unsigned char>(ch)) != 0) ? ch : '_';
  }
  return out;
}

// For INSTANTIATE_TEST_SUITE_P with a row type that has a `name` member.
struct NameOfRow {
  template <class Info>
  std::string operator()(const Info& info) const {
    return CaseName(info.param.name);
  }
};

}  // namespace kuvella

#pragma once
// The errors Kuvella raises; their messages are code page 932 bytes, shown in the error box.
#include <stdexcept>
#include <string>

namespace kuvella {

struct EKuvellaError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
struct EOutOfResources : EKuvellaError {
  using EKuvellaError::EKuvellaError;
};
struct EConvertError : EKuvellaError {
  using EKuvellaError::EKuvellaError;
};
struct EIniFileException : EKuvellaError {
  using EKuvellaError::EKuvellaError;
};

}  // namespace kuvella

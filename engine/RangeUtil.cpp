#include "RangeUtil.h"

namespace kuvella {

bool AnyInRange(std::initializer_list<std::int32_t> Values, std::int32_t Lo, std::int32_t Hi) {
  for (std::int32_t v : Values) {
    if (Lo <= v && v <= Hi) return true;
  }
  return false;
}

}  // namespace kuvella

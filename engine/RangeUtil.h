#pragma once
#include <cstdint>
#include <initializer_list>

namespace kuvella {

// True when some value lies in [Lo, Hi], both bounds included; false for no values.
bool AnyInRange(std::initializer_list<std::int32_t> Values, std::int32_t Lo, std::int32_t Hi);

}  // namespace kuvella

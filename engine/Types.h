#pragma once
// Plain value types the engine works in; conversion to RECT/POINT/HWND lives in platform/.
#include <cstdint>

namespace kuvella {

using Hwnd = std::uintptr_t;   // opaque window handle, 0 = none
using Hmenu = std::uintptr_t;  // opaque menu handle, 0 = none

struct Rect {
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
  std::int32_t X = 0, Y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  std::int32_t Width = 0, Height = 0;
};

}  // namespace kuvella

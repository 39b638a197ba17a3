#pragma once
// Move-only owners of the handles Kuvella creates. Borrowed handles stay plain values.
#include <windows.h>

#include <utility>

namespace kuvella {

template <class H, class Traits>
class Unique {
 public:
  Unique() = default;
  explicit Unique(H h) : h_(h) {}
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, H{})) {}
  Unique& operator=(Unique&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, H{}));
    return *this;
  }
  ~Unique() { reset(); }
  void reset(H h = H{}) {
    if (h_) Traits::close(h_);
    h_ = h;
  }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != H{}; }

 private:
  H h_{};
};

struct IconTraits { static void close(HICON h) { DestroyIcon(h); } };
struct MenuTraits { static void close(HMENU h) { DestroyMenu(h); } };
struct FontTraits { static void close(HFONT h) { DeleteObject(h); } };
struct BrushTraits { static void close(HBRUSH h) { DeleteObject(h); } };
struct WindowTraits { static void close(HWND h) { DestroyWindow(h); } };
struct ModuleTraits { static void close(HMODULE h) { FreeLibrary(h); } };

using UniqueIcon = Unique<HICON, IconTraits>;
using UniqueMenu = Unique<HMENU, MenuTraits>;
using UniqueFont = Unique<HFONT, FontTraits>;
using UniqueBrush = Unique<HBRUSH, BrushTraits>;
using UniqueWindow = Unique<HWND, WindowTraits>;
using UniqueModule = Unique<HMODULE, ModuleTraits>;

inline HWND ToHwnd(std::uintptr_t h) { return reinterpret_cast<HWND>(h); }
inline std::uintptr_t FromHwnd(HWND h) { return reinterpret_cast<std::uintptr_t>(h); }

}  // namespace kuvella

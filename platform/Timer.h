#pragma once
// A timer component: Enabled and Interval; assigning the value it has does nothing, enabling
// starts a full period, changing the interval restarts it. Ticks arrive as WM_TIMER with id.
#include <windows.h>

namespace kuvella {

class TTimer {
 public:
  TTimer(HWND owner, UINT_PTR id, UINT interval, bool enabled);
  ~TTimer();
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  bool Enabled() const { return enabled_; }
  UINT Interval() const { return interval_; }
  void SetEnabled(bool value);
  void SetInterval(UINT value);
  UINT_PTR id() const { return id_; }

 private:
  void Update();
  HWND owner_;
  UINT_PTR id_;
  UINT interval_;
  bool enabled_;
  bool running_ = false;
};

}  // namespace kuvella

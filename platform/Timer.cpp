#include "Timer.h"

#include "Errors.h"
#include "Texts.h"

namespace kuvella {

TTimer::TTimer(HWND owner, UINT_PTR id, UINT interval, bool enabled)
    : owner_(owner), id_(id), interval_(interval), enabled_(enabled) {
  Update();
}

TTimer::~TTimer() {
  if (running_) KillTimer(owner_, id_);
}

void TTimer::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Update();
}

void TTimer::SetInterval(UINT value) {
  if (value == interval_) return;
  interval_ = value;
  Update();
}

void TTimer::Update() {
  if (running_) {
    KillTimer(owner_, id_);
    running_ = false;
  }
  if (enabled_ && interval_ != 0) {
    if (SetTimer(owner_, id_, interval_, nullptr) == 0) throw EOutOfResources(texts::kErrTimer);
    running_ = true;
  }
}

}  // namespace kuvella

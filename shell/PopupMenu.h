#pragma once
// A popup-menu component: items with captions and enabled states, rebuilt into a platform
// menu at every opening; commands reach a hidden window of its own, which runs the chosen
// item's handler when the item is enabled at that moment.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Handles.h"

namespace kuvella {

class TMenuItem {
 public:
  TMenuItem(std::string caption, std::function<void()> onClick, UINT command)
      : caption_(std::move(caption)), onClick_(std::move(onClick)), command_(command) {}
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool IsSeparator() const { return caption_ == "-"; }
  const std::string& Caption() const { return caption_; }
  UINT Command() const { return command_; }

 private:
  friend class TPopupMenu;
  std::string caption_;
  std::function<void()> onClick_;
  UINT command_;
  bool enabled_ = true;
  HMENU menu_ = nullptr;  // the platform menu it sits in, once built
};

class TPopupMenu {
 public:
  explicit TPopupMenu(HINSTANCE instance);
  TPopupMenu(const TPopupMenu&) = delete;
  TPopupMenu& operator=(const TPopupMenu&) = delete;

  TMenuItem& Add(std::string caption, std::function<void()> onClick);
  std::function<void()> OnChange;
  void Popup(int x, int y);
  HMENU Handle() const { return menu_.get(); }
  HWND Owner() const { return owner_.get(); }

 private:
  void Rebuild();
  void Command(UINT id);
  static LRESULT CALLBACK WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  std::vector<std::unique_ptr<TMenuItem>> items_;
  UniqueMenu menu_;
  UniqueWindow owner_;
};

}  // namespace kuvella

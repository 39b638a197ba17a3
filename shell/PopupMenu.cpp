#include "PopupMenu.h"

#include "Application.h"
#include "Errors.h"
#include "Texts.h"

namespace kuvella {

namespace {
constexpr char kOwnerClass[] = "TPUtilWindow";
constexpr UINT kFirstCommand = 1;
}

void TMenuItem::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  // Updated in place: no rebuild, so no change event.
  if (menu_) EnableMenuItem(menu_, command_, MF_BYCOMMAND | (value ? MF_ENABLED : MF_GRAYED | MF_DISABLED));
}

TPopupMenu::TPopupMenu(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.lpszClassName = kOwnerClass;
  RegisterClassA(&wc);
  owner_.reset(CreateWindowExA(WS_EX_TOOLWINDOW, kOwnerClass, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                               nullptr, instance, nullptr));
  SetWindowLongPtrA(owner_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TMenuItem& TPopupMenu::Add(std::string caption, std::function<void()> onClick) {
  items_.push_back(std::make_unique<TMenuItem>(std::move(caption), std::move(onClick),
                                               kFirstCommand + static_cast<UINT>(items_.size())));
  return *items_.back();
}

void TPopupMenu::Rebuild() {
  if (!menu_) {
    menu_.reset(CreatePopupMenu());
    if (!menu_) throw EOutOfResources(texts::kErrMenu);
  }
  while (GetMenuItemCount(menu_.get()) > 0) RemoveMenu(menu_.get(), 0, MF_BYPOSITION);
  for (auto& item : items_) {
    if (item->IsSeparator()) {
      AppendMenuA(menu_.get(), MF_SEPARATOR, item->command_, nullptr);
    } else {
      AppendMenuA(menu_.get(), MF_STRING | (item->enabled_ ? MF_ENABLED : MF_GRAYED | MF_DISABLED),
                  item->command_, item->caption_.c_str());
    }
    item->menu_ = menu_.get();
  }
  if (OnChange) OnChange();
}

void TPopupMenu::Popup(int x, int y) {
  Rebuild();
  TrackPopupMenu(menu_.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, owner_.get(), nullptr);
}

void TPopupMenu::Command(UINT id) {
  for (auto& item : items_) {
    if (item->command_ == id) {
      if (item->enabled_ && !item->IsSeparator() && item->onClick_) item->onClick_();
      return;
    }
  }
}

LRESULT CALLBACK TPopupMenu::WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && HIWORD(wp) == 0) {
    auto* self = reinterpret_cast<TPopupMenu*>(GetWindowLongPtrA(h, GWLP_USERDATA));
    if (self && Application) Application->Guard([&] { self->Command(LOWORD(wp)); });
    return 0;
  }
  return DefWindowProcA(h, msg, wp, lp);
}

}  // namespace kuvella

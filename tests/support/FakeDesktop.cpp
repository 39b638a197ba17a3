#include "FakeDesktop.h"

#include <stdexcept>

namespace kuvella {

namespace {

// 32-bit arithmetic that wraps instead of overflowing, as the platform's would.
std::int32_t Add32(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
std::int32_t Sub32(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

}  // namespace

FakeDesktop::FakeDesktop() = default;

// --- Handles and slots ----------------------------------------------------------------------

FakeDesktop::Window* FakeDesktop::find(Hwnd h) {
  return const_cast<Window*>(static_cast<const FakeDesktop*>(this)->find(h));
}

const FakeDesktop::Window* FakeDesktop::find(Hwnd h) const {
  if (h < kFirstWindow || h >= kFirstMenu) return nullptr;
  const std::uintptr_t v = h - kFirstWindow;
  const std::size_t slot = static_cast<std::size_t>(v & kSlotMask);
  if (slot >= slots_.size()) return nullptr;
  const Window& w = slots_[slot];
  if (!w.alive || w.handle != h) return nullptr;
  return &w;
}

FakeDesktop::Window* FakeDesktop::touch(Hwnd h) {
  Window* w = find(h);
  if (w == nullptr || w->closeCountdown < 0) return w;
  if (w->closeCountdown == 0) {
    remove(h);
    return nullptr;
  }
  --w->closeCountdown;
  return w;
}

Hwnd& FakeDesktop::firstOf(Hwnd parent) {
  if (parent == 0) return rootFirst_;
  return find(parent)->firstChild;
}

Hwnd& FakeDesktop::lastOf(Hwnd parent) {
  if (parent == 0) return rootLast_;
  return find(parent)->lastChild;
}

void FakeDesktop::unlink(Window& w) {
  if (w.prev != 0) find(w.prev)->next = w.next;
  else firstOf(w.parent) = w.next;
  if (w.next != 0) find(w.next)->prev = w.prev;
  else lastOf(w.parent) = w.prev;
  w.prev = w.next = 0;
}

void FakeDesktop::linkAtBottom(Window& w) {
  Hwnd& last = lastOf(w.parent);
  w.prev = last;
  w.next = 0;
  if (last != 0) find(last)->next = w.handle;
  else firstOf(w.parent) = w.handle;
  last = w.handle;
}

void FakeDesktop::linkAtTop(Window& w) {
  Hwnd& first = firstOf(w.parent);
  w.prev = 0;
  w.next = first;
  if (first != 0) find(first)->prev = w.handle;
  else lastOf(w.parent) = w.handle;
  first = w.handle;
}

Hwnd FakeDesktop::add(const NewWindow& nw) {
  if (nw.parent != 0 && find(nw.parent) == nullptr) {
    throw std::invalid_argument("FakeDesktop::add: the parent window does not exist");
  }
  std::size_t slot;
  if (!freeSlots_.empty()) {
    slot = freeSlots_.back();
    freeSlots_.pop_back();
  } else {
    if (slots_.size() > kSlotMask) throw std::length_error("FakeDesktop: too many windows");
    slot = slots_.size();
    slots_.emplace_back();
  }
  Window& w = slots_[slot];
  const std::uint32_t generation = w.generation;
  w = Window{};
  w.generation = generation;
  w.alive = true;
  w.handle = kFirstWindow + slot + (std::uintptr_t{generation} << kSlotBits);
  w.rect = nw.rect;
  w.visible = nw.visible;
  w.title = nw.title;
  w.parent = nw.parent;
  linkAtBottom(w);
  ++live_;
  return w.handle;
}

void FakeDesktop::remove(Hwnd h) {
  Window* w = find(h);
  if (w == nullptr) return;
  while (w->firstChild != 0) {
    remove(w->firstChild);
    w = find(h);  // the slot table does not move, but stay honest about it
  }
  unlink(*w);
  w->alive = false;
  w->generation = (w->generation + 1) % kGenerations;
  w->title.clear();
  --live_;
  freeSlots_.push_back(static_cast<std::uint32_t>((h - kFirstWindow) & kSlotMask));
}

void FakeDesktop::raiseToTop(Hwnd h) {
  if (Window* w = find(h)) {
    unlink(*w);
    linkAtTop(*w);
  }
}

void FakeDesktop::setRect(Hwnd h, Rect r) {
  if (Window* w = find(h)) w->rect = r;
}
void FakeDesktop::setVisible(Hwnd h, bool v) {
  if (Window* w = find(h)) w->visible = v;
}
void FakeDesktop::setTitle(Hwnd h, std::string t) {
  if (Window* w = find(h)) w->title = std::move(t);
}
void FakeDesktop::setMenuBar(Hwnd h, Hmenu m) {
  if (Window* w = find(h)) w->menu = m;
}
void FakeDesktop::setStuck(Hwnd h, bool stuck) {
  if (Window* w = find(h)) w->stuck = stuck;
}
void FakeDesktop::setRectFails(Hwnd h, bool fails) {
  if (Window* w = find(h)) w->rectFails = fails;
}
void FakeDesktop::setWalkEndsAfter(Hwnd h, bool ends) {
  if (Window* w = find(h)) w->walkEnds = ends;
}
void FakeDesktop::closeAfterQueries(Hwnd h, int queries) {
  if (Window* w = find(h)) w->closeCountdown = queries < 0 ? 0 : queries;
}
void FakeDesktop::setCloaked(Hwnd h, bool cloaked) {
  if (Window* w = find(h)) w->cloaked = cloaked;
}
void FakeDesktop::setFrameInset(Hwnd h, Rect inset) {
  if (Window* w = find(h)) {
    w->hasInset = true;
    w->inset = inset;
  }
}

Hmenu FakeDesktop::addMenu(std::vector<MenuItem> items) {
  for (const MenuItem& item : items) {
    if (item.subMenu != 0 && findMenu(item.subMenu) == nullptr) {
      throw std::invalid_argument("FakeDesktop::addMenu: a submenu must be made first");
    }
  }
  menus_.push_back(Menu{std::move(items)});
  return kFirstMenu + (menus_.size() - 1);
}

const FakeDesktop::Menu* FakeDesktop::findMenu(Hmenu m) const {
  if (m < kFirstMenu) return nullptr;
  const std::uintptr_t i = m - kFirstMenu;
  if (i >= menus_.size()) return nullptr;
  return &menus_[static_cast<std::size_t>(i)];
}

Rect FakeDesktop::rect(Hwnd h) const {
  const Window* w = find(h);
  return w != nullptr ? w->rect : Rect{};
}

std::optional<FakeDesktop::State> FakeDesktop::inspect(Hwnd h) const {
  const Window* w = find(h);
  if (w == nullptr) return std::nullopt;
  return State{w->rect, w->visible, w->cloaked, w->rectFails, w->title};
}

std::vector<Hwnd> FakeDesktop::topLevelWindows() const {
  std::vector<Hwnd> out;
  for (Hwnd h = rootFirst_; h != 0; h = find(h)->next) out.push_back(h);
  return out;
}

void FakeDesktop::clearRecords() {
  moves_.clear();
  sounds_.clear();
  intervals_.clear();
  calls_.clear();
  rectQueries_ = 0;
}

const char* FakeDesktop::opName(Op op) {
  switch (op) {
    case Op::TopWindow: return "topWindow";
    case Op::NextWindow: return "nextWindow";
    case Op::IsVisible: return "isVisible";
    case Op::WindowRect: return "windowRect";
    case Op::WindowText: return "windowText";
    case Op::MenuBar: return "menuBar";
    case Op::MenuItemCount: return "menuItemCount";
    case Op::MenuItemText: return "menuItemText";
    case Op::SubMenu: return "subMenu";
    case Op::ForegroundWindow: return "foregroundWindow";
    case Op::ScreenSize: return "screenSize";
    case Op::MoveWindow: return "moveWindow";
    case Op::FileExists: return "fileExists";
    case Op::PlaySound: return "playSound";
    case Op::SetAdjusterInterval: return "setAdjusterInterval";
    case Op::VisibleFrame: return "visibleFrame";
    case Op::IsCloaked: return "isCloaked";
    case Op::OtherDisplays: return "otherDisplays";
  }
  return "?";
}

// --- Desktop --------------------------------------------------------------------------------

Hwnd FakeDesktop::topWindow(Hwnd parent) {
  log(Op::TopWindow, parent);
  if (parent == 0) return rootFirst_;
  const Window* w = touch(parent);
  return w != nullptr ? w->firstChild : 0;
}

Hwnd FakeDesktop::nextWindow(Hwnd h) {
  log(Op::NextWindow, h);
  const Window* w = touch(h);
  if (w == nullptr || w->walkEnds) return 0;
  return w->next;
}

bool FakeDesktop::isVisible(Hwnd h) {
  log(Op::IsVisible, h);
  const Window* w = touch(h);
  return w != nullptr && w->visible;
}

std::optional<Rect> FakeDesktop::windowRect(Hwnd h) {
  log(Op::WindowRect, h);
  ++rectQueries_;
  const Window* w = touch(h);
  if (w == nullptr || w->rectFails) return std::nullopt;
  return w->rect;
}

std::string FakeDesktop::windowText(Hwnd h) {
  log(Op::WindowText, h);
  const Window* w = touch(h);
  return w != nullptr ? w->title : std::string();
}

Hmenu FakeDesktop::menuBar(Hwnd h) {
  log(Op::MenuBar, h);
  const Window* w = touch(h);
  return w != nullptr ? w->menu : 0;
}

int FakeDesktop::menuItemCount(Hmenu m) {
  log(Op::MenuItemCount, m);
  const Menu* menu = findMenu(m);
  return menu != nullptr ? static_cast<int>(menu->items.size()) : -1;
}

std::string FakeDesktop::menuItemText(Hmenu m, int pos) {
  log(Op::MenuItemText, m);
  const Menu* menu = findMenu(m);
  if (menu == nullptr || pos < 0 || static_cast<std::size_t>(pos) >= menu->items.size()) return {};
  return menu->items[static_cast<std::size_t>(pos)].text;
}

Hmenu FakeDesktop::subMenu(Hmenu m, int pos) {
  log(Op::SubMenu, m);
  const Menu* menu = findMenu(m);
  if (menu == nullptr || pos < 0 || static_cast<std::size_t>(pos) >= menu->items.size()) return 0;
  return menu->items[static_cast<std::size_t>(pos)].subMenu;
}

Hwnd FakeDesktop::foregroundWindow() {
  log(Op::ForegroundWindow, foreground_);
  return foreground_;
}

Size FakeDesktop::screenSize() {
  log(Op::ScreenSize, 0);
  return screen_;
}

void FakeDesktop::moveWindow(Hwnd h, std::int32_t x, std::int32_t y, std::int32_t width,
                             std::int32_t height) {
  log(Op::MoveWindow, h);
  moves_.push_back({h, x, y, width, height});
  Window* w = touch(h);
  if (w == nullptr || w->stuck) return;
  w->rect = Rect{x, y, Add32(x, width), Add32(y, height)};
}

bool FakeDesktop::fileExists(const std::string& path) {
  log(Op::FileExists, 0);
  const auto it = files_.find(path);
  return it != files_.end() && !it->second;
}

void FakeDesktop::playSound(const std::string& path) {
  log(Op::PlaySound, 0);
  sounds_.push_back(path);
}

void FakeDesktop::setAdjusterInterval(unsigned milliseconds) {
  log(Op::SetAdjusterInterval, milliseconds);
  intervals_.push_back(milliseconds);
}

std::optional<Rect> FakeDesktop::visibleFrame(Hwnd h) {
  log(Op::VisibleFrame, h);
  const Window* w = touch(h);
  if (w == nullptr || w->rectFails) return std::nullopt;
  if (w->hasInset) {
    return Rect{Add32(w->rect.Left, w->inset.Left), Add32(w->rect.Top, w->inset.Top),
                Sub32(w->rect.Right, w->inset.Right), Sub32(w->rect.Bottom, w->inset.Bottom)};
  }
  if (reportZeroInsets_) return w->rect;
  return std::nullopt;
}

bool FakeDesktop::isCloaked(Hwnd h) {
  log(Op::IsCloaked, h);
  const Window* w = touch(h);
  return w != nullptr && w->cloaked;
}

std::vector<Rect> FakeDesktop::otherDisplays() {
  log(Op::OtherDisplays, 0);
  return displays_;
}

}  // namespace kuvella

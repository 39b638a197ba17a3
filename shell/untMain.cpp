#include "untMain.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstring>

#include "Errors.h"
#include "IniFile.h"
#include "Layout.h"
#include "TextRules.h"
#include "Texts.h"

namespace kuvella {

namespace untMain {
TfrmMain* frmMain = nullptr;
std::unique_ptr<TStringList> WindowList;
std::int32_t MagneticLevel = 0;
std::string SoundFile;
bool SoundEnable = true;
bool SnapActive = false;
TNotifyIconData TrayIconActive{};
TNotifyIconData TrayIconPaused{};
Point LastTopLeft{0, 0};
bool RestChecked = true;

void ResetModuleState() {
  frmMain = nullptr;
  WindowList.reset();
  MagneticLevel = 0;
  SoundFile.clear();
  SoundEnable = true;
  SnapActive = false;
  TrayIconActive = {};
  TrayIconPaused = {};
  LastTopLeft = {0, 0};
  RestChecked = true;
}
}  // namespace untMain

using namespace untMain;
using namespace layout;

BOOL ShellTray::Notify(DWORD message, TNotifyIconData& record) {
  return Shell_NotifyIconA(message, reinterpret_cast<PNOTIFYICONDATAA>(&record));
}

namespace {

constexpr char kMainClass[] = "TfrmMain";
constexpr UINT kLeftExitMessage = WM_APP + 1;
constexpr DWORD kMainStyle = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | DS_MODALFRAME;
constexpr DWORD kMainExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CONTROLPARENT;

int WindowDpi(HWND h) {
  using Fn = UINT(WINAPI*)(HWND);
  static const Fn getDpiForWindow = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  if (getDpiForWindow && h) {
    if (const UINT dpi = getDpiForWindow(h)) return static_cast<int>(dpi);
  }
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

const ControlSpec* FindControl(int id) {
  for (const ControlSpec& c : kControls) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

char AcceleratorOf(const char* text) {
  if (!text) return 0;
  const char* amp = std::strchr(text, '&');
  if (!amp || !amp[1]) return 0;
  const char c = amp[1];
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

void FillRecord(TNotifyIconData& r, HWND owner, HICON icon, const char* tip) {
  r = {};
  r.cbSize = sizeof r;
  r.hWnd = owner;
  r.uID = 1;
  r.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  r.uCallbackMessage = WM_USER;
  r.hIcon = icon;
  std::strncpy(r.szTip, tip, sizeof r.szTip - 1);
}

}  // namespace

TfrmMain::TfrmMain(TApplication& app, TrayPort& tray)
    : app_(app), tray_(tray),
      desktop_([this](unsigned ms) { tmrWindowAdjuster_->SetInterval(ms); }),
      level_(static_cast<std::int16_t>(kLevelAtLoad)) {
  frmMain = this;
  WNDCLASSA wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = app.instance();
  wc.hIcon = app.Icon();
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kMainClass;
  RegisterClassA(&wc);
  taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");

  RECT r{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&r, kMainStyle, FALSE, kMainExStyle);
  // Owned by the application window: no taskbar button of its own.
  CreateWindowExA(kMainExStyle, kMainClass, texts::kMainCaption, kMainStyle, kLeft, kTop,
                  r.right - r.left, r.bottom - r.top, app.Handle(), nullptr, app.instance(), this);
  CreateComponents();
  loaded_ = true;
  PopupMenu1Change();
  // An error in FormCreate is shown; the window still becomes the main window.
  app_.Guard([this] { FormCreate(); });
}

TfrmMain::~TfrmMain() {
  FormDestroy();
  tmrWindowAdjuster_.reset();
  tmrWindowSearcher_.reset();
  PopupMenu1_.reset();
  if (hwnd_) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  if (frmMain == this) frmMain = nullptr;
}

void TfrmMain::CreateComponents() {
  HINSTANCE inst = app_.instance();
  btnFace_.reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  for (const ControlSpec& c : kControls) {
    const char* cls = "STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD ex = 0;
    switch (c.kind) {
      case Kind::Label: style |= SS_LEFT | SS_NOPREFIX; break;
      case Kind::Image: style = WS_CHILD | WS_DISABLED | SS_ICON; break;  // never shown
      case Kind::Edit: cls = "EDIT"; style |= ES_LEFT | ES_AUTOHSCROLL; ex = WS_EX_CLIENTEDGE; break;
      case Kind::UpDown:
        // Placed by the layout beside the box, not aligned into it: that would narrow the box.
        cls = UPDOWN_CLASSA;
        style |= UDS_SETBUDDYINT | UDS_ARROWKEYS;
        break;
      case Kind::Button: cls = "BUTTON"; style |= BS_PUSHBUTTON; break;
      case Kind::CheckBox: cls = "BUTTON"; style |= BS_AUTOCHECKBOX; break;
      case Kind::Memo:
        cls = "EDIT";
        style |= ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;
        ex = WS_EX_CLIENTEDGE;
        break;
    }
    if (c.tabStop) style |= WS_TABSTOP;
    HWND h = CreateWindowExA(ex, cls, c.text ? c.text : "", style, c.left, c.top, c.width,
                             c.height, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                             inst, nullptr);
    if (c.kind != Kind::UpDown && c.kind != Kind::Image && c.kind != Kind::Label) {
      auto original = reinterpret_cast<LONG_PTR>(
          SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProc)));
      SetWindowLongPtrA(h, GWLP_USERDATA, original);
    }
  }
  std::string memo;
  for (std::size_t i = 0; i < std::size(texts::kMemoLines); ++i) {
    if (i != 0) memo += "\r\n";
    memo += texts::kMemoLines[i];
  }
  SetWindowTextA(Control(idMemo1), memo.c_str());

  HWND upd = Control(idUpdMagneticLevel);
  SendMessageA(upd, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Control(idEdtLeft)), 0);
  SendMessageA(upd, UDM_SETRANGE32, kLevelMin, kLevelMax);
  UDACCEL accel{0, kLevelStep};  // a single entry: the step stays 2 while a button is held
  SendMessageA(upd, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  SendMessageA(upd, UDM_SETPOS32, 0, kLevelAtLoad);
  SendMessageA(Control(idChkEnable), BM_SETCHECK, BST_CHECKED, 0);

  Image1_.reset(static_cast<HICON>(LoadImageA(inst, "PAUSEDICON", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
  SendMessageA(Control(idImage1), STM_SETICON, reinterpret_cast<WPARAM>(Image1_.get()), 0);

  dpi_ = WindowDpi(hwnd_);
  LayoutControls();

  tmrWindowAdjuster_ = std::make_unique<TTimer>(hwnd_, kAdjusterTimerId, kAdjusterInterval, true);
  tmrWindowSearcher_ = std::make_unique<TTimer>(hwnd_, kSearcherTimerId, kSearcherInterval, true);

  PopupMenu1_ = std::make_unique<TPopupMenu>(inst);
  N1_ = &PopupMenu1_->Add(texts::kMenuSettings, [this] { N1Click(); });
  About1_ = &PopupMenu1_->Add(texts::kMenuAbout, [this] { About1Click(); });
  N2_ = &PopupMenu1_->Add("-", nullptr);
  Exit1_ = &PopupMenu1_->Add(texts::kMenuExit, [this] { Exit1Click(); });
  PopupMenu1_->OnChange = [this] { PopupMenu1Change(); };
}

void TfrmMain::LayoutControls() {
  // Pixels at 96 DPI, scaled to the window's display.
  font_.reset(CreateFontA(Scale(kFontHeight), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                          SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, texts::kFontName));
  for (const ControlSpec& c : kControls) {
    HWND h = Control(c.id);
    SetWindowPos(h, nullptr, Scale(c.left), Scale(c.top), Scale(c.width), Scale(c.height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
  }
  if (dpi_ != 96) {
    RECT r{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
    AdjustWindowRectEx(&r, kMainStyle, FALSE, kMainExStyle);
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// ---- Module-level flow -------------------------------------------------------------------

void TfrmMain::FormCreate() {
  WindowList = std::make_unique<TStringList>();
  SetupTrayIcons();
  {
    const TIniFile ini(IniPathFor(ModuleFileName()));
    MagneticLevel = ini.ReadInteger(texts::kIniSection, texts::kKeyLevel, 8);
    SoundFile = ini.ReadString(texts::kIniSection, texts::kKeySoundFile, "");
    SoundEnable = ini.ReadBool(texts::kIniSection, texts::kKeySoundEnable, true);
    if (SoundFile.empty()) SoundFile = ExeDirectory(ModuleFileName()) + texts::kDefaultSound;
    SnapActive = true;
  }
  SetSnapActive(SnapActive);
  tmrWindowSearcherTimer();
}

void TfrmMain::FormDestroy() { WindowList.reset(); }

void TfrmMain::tmrWindowSearcherTimer() {
  if (!WindowList) return;
  RefreshWindowList(*WindowList, desktop_);
}

void TfrmMain::tmrWindowAdjusterTimer() {
  static const TStringList empty;
  TRestState state{LastTopLeft, RestChecked};
  // The rest state is kept even when something in the tick raises.
  struct KeepState {
    TRestState& s;
    ~KeepState() {
      LastTopLeft = s.LastTopLeft;
      RestChecked = s.RestChecked;
    }
  } keep{state};
  SnapTick(state, TSnapSettings{MagneticLevel, SoundEnable, SoundFile},
           WindowList ? *WindowList : empty, desktop_);
}

void TfrmMain::SetupTrayIcons() {
  FillRecord(TrayIconActive, hwnd_, app_.Icon(), texts::kTipActive);
  FillRecord(TrayIconPaused, hwnd_, Image1_.get(), texts::kTipPaused);
  tray_.Notify(NIM_ADD, TrayIconActive);
}

void TfrmMain::SetSnapActive(bool Value) {
  SnapActive = Value;
  if (Value) {
    tray_.Notify(NIM_MODIFY, TrayIconActive);
    tmrWindowSearcherTimer();
    tmrWindowAdjusterTimer();
  } else {
    tray_.Notify(NIM_MODIFY, TrayIconPaused);
  }
  tmrWindowSearcher_->SetEnabled(Value);
  tmrWindowAdjuster_->SetEnabled(Value);
}

void TfrmMain::WMTrayNotify(LPARAM lParam) {
  POINT p{};
  GetCursorPos(&p);
  if (lParam == WM_RBUTTONUP) PopupMenu1_->Popup(p.x, p.y);
  if (lParam == WM_LBUTTONUP) SetSnapActive(!SnapActive);
}

void TfrmMain::WriteSettings() {
  const TIniFile ini(IniPathFor(ModuleFileName()));
  ini.WriteInteger(texts::kIniSection, texts::kKeyLevel, MagneticLevel);
  ini.WriteString(texts::kIniSection, texts::kKeySoundFile, SoundFile);
  ini.WriteBool(texts::kIniSection, texts::kKeySoundEnable, SoundEnable);
}

void TfrmMain::FormClose() {
  tray_.Notify(NIM_DELETE, TrayIconActive);
  tray_.Notify(NIM_DELETE, TrayIconPaused);
  WriteSettings();
}

void TfrmMain::Close() {
  if (closing_) return;
  closing_ = true;
  // A settings file that cannot be written is reported, and the program still ends: with
  // its icon gone it could not be reached any more.
  app_.Guard([this] { FormClose(); });
  PostQuitMessage(0);
}

void TfrmMain::SessionEnd() {
  if (closing_) return;
  closing_ = true;
  tray_.Notify(NIM_DELETE, TrayIconActive);
  tray_.Notify(NIM_DELETE, TrayIconPaused);
  // No error box while Windows ends: it would hold up the log-off.
  try {
    WriteSettings();
  } catch (const std::exception&) {
  }
}

// ---- Tray menu -----------------------------------------------------------------------------

void TfrmMain::PopupMenu1Change() {
  About1_->SetEnabled(FileExistsA(ExeDirectory(ModuleFileName()) + texts::kReadme));
}

void TfrmMain::N1Click() { Show(); }

void TfrmMain::About1Click() {
  const std::string readme = ExeDirectory(ModuleFileName()) + texts::kReadme;
  ShellExecuteA(hwnd_, "OPEN", readme.c_str(), "", "", SW_SHOW);
}

void TfrmMain::Exit1Click() { Close(); }

// ---- Settings window -----------------------------------------------------------------------

void TfrmMain::Show() {
  if (!Visible()) {
    FormShow();
    ShowWindow(hwnd_, SW_SHOW);
    app_.ShowTaskbarButton(true);
  }
  SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TfrmMain::Hide() {
  ShowWindow(hwnd_, SW_HIDE);
  app_.ShowTaskbarButton(false);
}

void TfrmMain::FormShow() {
  SetLevelPosition(LowSigned16(MagneticLevel));
  SetChecked(idChkEnable, SnapActive);
  DisableUpdate();
  SetChecked(idChkSound, SoundEnable);
  SetEditText(idEdtSound, SoundFile);
}

void TfrmMain::btnUpdateClick() {
  MagneticLevel = ReadLevelPosition();  // sign-extended from 16 bits
  SetSnapActive(Checked(idChkEnable));
  SoundFile = EditText(idEdtSound);
  SoundEnable = Checked(idChkSound);
  DisableUpdate();
}

void TfrmMain::btnOKClick() {
  btnUpdateClick();
  Hide();
}

void TfrmMain::btnCancelClick() { Hide(); }

void TfrmMain::chkEnableClick() { EnableWindow(Control(idBtnUpdate), TRUE); }
void TfrmMain::chkSoundClick() { EnableWindow(Control(idBtnUpdate), TRUE); }
void TfrmMain::edtLeftChange() { EnableWindow(Control(idBtnUpdate), TRUE); }
void TfrmMain::edtSoundChange() { EnableWindow(Control(idBtnUpdate), TRUE); }

void TfrmMain::edtLeftExit() {
  const std::string text = EditText(idEdtLeft);
  const std::optional<std::int32_t> value = ParseWholeNumber(text);
  if (!value) throw EConvertError("'" + text + texts::kErrNotIntegerTail);
  SetLevelPosition(LowSigned16(*value));
}

void TfrmMain::FormKeyDown(WORD key) {
  if (key == VK_RETURN) btnOKClick();
  else if (key == VK_ESCAPE) Close();
}

void TfrmMain::Button1Click() {
  char file[MAX_PATH] = {};  // 260 characters
  lastWaveFile_.copy(file, sizeof file - 1);
  std::string filter = texts::kWaveFilter;
  filter += '|';
  for (char& c : filter) {
    if (c == '|') c = '\0';
  }
  filter += '\0';
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = app_.Handle();
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrTitle = texts::kWaveTitle;
  ofn.lpstrDefExt = texts::kWaveDefExt;
  ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER;
  // Modal for the whole program, not only for its owner.
  EnableWindow(hwnd_, FALSE);
  const BOOL ok = GetOpenFileNameA(&ofn);
  EnableWindow(hwnd_, TRUE);
  if (Visible()) SetActiveWindow(hwnd_);
  if (!ok) return;
  lastWaveFile_ = file;
  SetEditText(idEdtSound, lastWaveFile_);
}

// ---- Control helpers ------------------------------------------------------------------------

void TfrmMain::SetChecked(int id, bool value) {
  if (Checked(id) == value) return;
  SendMessageA(Control(id), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
  Command(id, BN_CLICKED);
}

bool TfrmMain::Checked(int id) const {
  return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string TfrmMain::EditText(int id) const {
  HWND h = Control(id);
  const int n = GetWindowTextLengthA(h);
  std::string text(static_cast<std::size_t>(n) + 1, '\0');
  const int got = GetWindowTextA(h, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}

void TfrmMain::SetEditText(int id, const std::string& text) {
  if (EditText(id) == text) return;  // the same bytes: no change event
  SetWindowTextA(Control(id), text.c_str());
}

void TfrmMain::SetLevelPosition(std::int16_t value) {
  if (!level_.Set(value)) return;
  // The control clamps into 0..100 and rewrites the box, which raises edtLeftChange.
  SendMessageA(Control(idUpdMagneticLevel), UDM_SETPOS32, 0, value);
}

std::int16_t TfrmMain::ReadLevelPosition() {
  // Judged by the level rule: Wine's control, for one, takes an empty box for 0. The control
  // still re-reads the box, so that it stays in step with what it shows.
  BOOL failed = FALSE;
  SendMessageA(Control(idUpdMagneticLevel), UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed));
  return level_.Read(EditText(idEdtLeft));
}

void TfrmMain::DisableUpdate() {
  HWND update = Control(idBtnUpdate);
  const bool hadFocus = GetFocus() == update;
  EnableWindow(update, FALSE);
  if (hadFocus) SetFocus(hwnd_);  // the window itself takes the focus
}

void TfrmMain::RestoreFocus() {
  HWND target = lastFocus_;
  if (!target || !IsChild(hwnd_, target) || !IsWindowEnabled(target) || !IsWindowVisible(target)) {
    target = Control(idEdtLeft);
  }
  SetFocus(target);
}

const ControlSpec* TfrmMain::FocusedControl() const {
  HWND focus = GetFocus();
  return focus && GetParent(focus) == hwnd_ ? FindControl(GetDlgCtrlID(focus)) : nullptr;
}

void TfrmMain::MoveFocus(bool backwards) {
  const ControlSpec* focused = FocusedControl();
  const int n = static_cast<int>(std::size(kControls));
  const int start = focused ? static_cast<int>(focused - kControls) : -1;
  for (int step = 1; step <= n; ++step) {
    int i = start < 0 ? (backwards ? n - step : step - 1)
                      : ((start + (backwards ? -step : step)) % n + n) % n;
    const ControlSpec& c = kControls[i];
    HWND h = Control(c.id);
    if (c.tabStop && IsWindowEnabled(h) && IsWindowVisible(h)) {
      SetFocus(h);
      return;
    }
  }
}

bool TfrmMain::Accelerator(char letter) {
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  for (const ControlSpec& c : kControls) {
    if ((c.kind != Kind::Button && c.kind != Kind::CheckBox) || AcceleratorOf(c.text) != letter) {
      continue;
    }
    HWND h = Control(c.id);
    if (!IsWindowEnabled(h)) return true;
    if (c.kind == Kind::Button) {
      Clicked(c.id);  // the focus stays where it is
    } else {
      SetFocus(h);
      SetChecked(c.id, !Checked(c.id));
    }
    return true;
  }
  return false;
}

bool TfrmMain::PreTranslate(MSG& msg) {
  if (!hwnd_ || !Visible() || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
  const ControlSpec* focused = FocusedControl();
  const bool takesTyping =
      focused && (focused->kind == Kind::Edit || focused->kind == Kind::Memo);
  switch (msg.message) {
    case WM_KEYDOWN:
      if (msg.wParam == VK_TAB) {
        app_.Guard([&] { MoveFocus(GetKeyState(VK_SHIFT) < 0); });
        return true;
      }
      if (msg.wParam == VK_RETURN && focused && focused->kind == Kind::Button) {
        app_.Guard([&] { Clicked(focused->id); });
        return true;
      }
      // Escape in a control runs nothing: no button is the cancel button.
      if (msg.wParam == VK_ESCAPE && focused) return true;
      return false;
    case WM_CHAR:
      if (msg.wParam == VK_TAB || msg.wParam == VK_ESCAPE) return focused != nullptr;
      if (msg.wParam == VK_RETURN && focused && focused->kind == Kind::Edit) return true;
      if (!takesTyping && msg.wParam > ' ' && msg.wParam < 0x80) {
        bool used = false;
        app_.Guard([&] { used = Accelerator(static_cast<char>(msg.wParam)); });
        return used;
      }
      return false;
    case WM_SYSCHAR: {
      bool used = false;
      app_.Guard([&] { used = Accelerator(static_cast<char>(msg.wParam)); });
      return used;
    }
    default:
      return false;
  }
}

void TfrmMain::Clicked(int id) {
  if (!IsWindowEnabled(Control(id))) return;
  Command(id, BN_CLICKED);
}

void TfrmMain::Command(int id, int code) {
  if (!loaded_) return;
  switch (id) {
    case idBtnOK: if (code == BN_CLICKED) btnOKClick(); break;
    case idBtnCancel: if (code == BN_CLICKED) btnCancelClick(); break;
    case idBtnUpdate: if (code == BN_CLICKED) btnUpdateClick(); break;
    case idButton1: if (code == BN_CLICKED) Button1Click(); break;
    case idChkEnable: if (code == BN_CLICKED) chkEnableClick(); break;
    case idChkSound: if (code == BN_CLICKED) chkSoundClick(); break;
    case idEdtLeft: if (code == EN_CHANGE) edtLeftChange(); break;
    case idEdtSound: if (code == EN_CHANGE) edtSoundChange(); break;
    default: break;
  }
}

// ---- Window procedures ----------------------------------------------------------------------

LRESULT CALLBACK TfrmMain::WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<TfrmMain*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    self->hwnd_ = h;
    SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TfrmMain*>(GetWindowLongPtrA(h, GWLP_USERDATA));
  if (!self) return DefWindowProcA(h, msg, wp, lp);
  LRESULT result = 0;
  bool handled = false;
  self->app_.Guard([&] {
    result = self->Message(msg, wp, lp);
    handled = true;
  });
  return handled ? result : 0;
}

LRESULT TfrmMain::Message(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
    // Explorer came back: the notification area is new and our icon is not in it.
    tray_.Notify(NIM_ADD, SnapActive ? TrayIconActive : TrayIconPaused);
    return 0;
  }
  switch (msg) {
    case WM_USER:
      WMTrayNotify(lp);
      return 0;
    case WM_TIMER:
      if (wp == kAdjusterTimerId) tmrWindowAdjusterTimer();
      else if (wp == kSearcherTimerId) tmrWindowSearcherTimer();
      return 0;
    case WM_COMMAND:
      if (lp != 0) Command(LOWORD(wp), HIWORD(wp));
      return 0;
    case kLeftExitMessage:
      edtLeftExit();
      return 0;
    case WM_VSCROLL:
      // A spin step or an arrow key in the box: the copy follows the control.
      if (reinterpret_cast<HWND>(lp) == Control(idUpdMagneticLevel)) {
        level_.Stepped(static_cast<std::int16_t>(
            SendMessageA(Control(idUpdMagneticLevel), UDM_GETPOS32, 0, 0)));
        return 0;
      }
      break;
    case WM_KEYDOWN:
      // Only while the window itself has the focus: controls get their own keys.
      FormKeyDown(static_cast<WORD>(wp));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE && !HIWORD(wp)) {
        RestoreFocus();
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(btnFace_.get());
    case WM_CTLCOLOREDIT:
      if (reinterpret_cast<HWND>(lp) == Control(idMemo1)) {
        SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(btnFace_.get());
      }
      break;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wp) {
        SessionEnd();
        PostQuitMessage(0);
      }
      return 0;
    case 0x02E0: {  // WM_DPICHANGED
      dpi_ = HIWORD(wp);
      const RECT* r = reinterpret_cast<const RECT*>(lp);
      SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      LayoutControls();
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcA(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK TfrmMain::ControlProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(h, GWLP_USERDATA));
  TfrmMain* self = frmMain;
  if (!self || GetParent(h) != self->hwnd_) return CallWindowProcA(original, h, msg, wp, lp);
  LRESULT result = 0;
  self->app_.Guard([&] { result = self->ControlMessage(h, original, msg, wp, lp); });
  return result;
}

LRESULT TfrmMain::ControlMessage(HWND h, WNDPROC original, UINT msg, WPARAM wp, LPARAM lp) {
  const LRESULT result = CallWindowProcA(original, h, msg, wp, lp);
  const int id = GetDlgCtrlID(h);
  if (msg == WM_SETFOCUS) {
    lastFocus_ = h;
    const ControlSpec* c = FindControl(id);
    // AutoSelect: entering a box by keyboard selects its text.
    if (c && c->kind == Kind::Edit && GetKeyState(VK_LBUTTON) >= 0) SendMessageA(h, EM_SETSEL, 0, -1);
  } else if (msg == WM_KILLFOCUS && id == idEdtLeft) {
    HWND to = reinterpret_cast<HWND>(wp);
    // Run once the focus has moved, and only for a move to another control of this window.
    if (to && IsChild(hwnd_, to)) PostMessageA(hwnd_, kLeftExitMessage, 0, 0);
  }
  return result;
}

}  // namespace kuvella

#pragma once
// The main window (which is also the settings window), its handlers, and the state every
// handler shares.
#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>

#include "Application.h"
#include "Handles.h"
#include "Layout.h"
#include "LevelRules.h"
#include "PopupMenu.h"
#include "SnapCycle.h"
#include "Timer.h"
#include "Win32Desktop.h"
#include "WinList.h"

namespace kuvella {

// The shell's notification-icon record in its first form: ANSI tip, nothing after szTip.
struct TNotifyIconData {
  DWORD cbSize;
  HWND hWnd;
  UINT uID;
  UINT uFlags;
  UINT uCallbackMessage;
  HICON hIcon;
  CHAR szTip[64];
};
#ifndef _WIN64
static_assert(sizeof(TNotifyIconData) == 88);
static_assert(offsetof(TNotifyIconData, hWnd) == 4 && offsetof(TNotifyIconData, uID) == 8 &&
              offsetof(TNotifyIconData, uFlags) == 12 &&
              offsetof(TNotifyIconData, uCallbackMessage) == 16 &&
              offsetof(TNotifyIconData, hIcon) == 20 && offsetof(TNotifyIconData, szTip) == 24);
#endif

// The notification area, as the main window uses it.
struct TrayPort {
  virtual ~TrayPort() = default;
  virtual BOOL Notify(DWORD message, TNotifyIconData& record) = 0;
};
struct ShellTray final : TrayPort {
  BOOL Notify(DWORD message, TNotifyIconData& record) override;
};

class TfrmMain;

namespace untMain {
extern TfrmMain* frmMain;
extern std::unique_ptr<TStringList> WindowList;
extern std::int32_t MagneticLevel;
extern std::string SoundFile;
extern bool SoundEnable;
extern bool SnapActive;
extern TNotifyIconData TrayIconActive;
extern TNotifyIconData TrayIconPaused;
extern Point LastTopLeft;
extern bool RestChecked;
// The values the module starts with; tests that create more than one main window use it.
void ResetModuleState();
}  // namespace untMain

constexpr UINT kAdjusterTimerId = 1;
constexpr UINT kSearcherTimerId = 2;
constexpr UINT kAdjusterInterval = 300;
constexpr UINT kSearcherInterval = 5000;

class TfrmMain {
 public:
  TfrmMain(TApplication& app, TrayPort& tray);
  ~TfrmMain();
  TfrmMain(const TfrmMain&) = delete;
  TfrmMain& operator=(const TfrmMain&) = delete;

  HWND Handle() const { return hwnd_; }
  HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
  bool Visible() const { return IsWindowVisible(hwnd_) != 0; }

  // Handlers.
  void tmrWindowAdjusterTimer();
  void tmrWindowSearcherTimer();
  void FormCreate();
  void FormDestroy();
  void FormClose();
  void btnCancelClick();
  void Exit1Click();
  void btnOKClick();
  void N1Click();
  void FormShow();
  void btnUpdateClick();
  void chkEnableClick();
  void edtLeftChange();
  void edtLeftExit();
  void FormKeyDown(WORD key);
  void Button1Click();
  void chkSoundClick();
  void edtSoundChange();
  void PopupMenu1Change();
  void About1Click();
  void WMTrayNotify(LPARAM lParam);
  void SetupTrayIcons();
  void SetSnapActive(bool Value);

  void Close();  // closing the main window ends the program
  void Show();
  void Hide();

  TTimer& tmrWindowAdjuster() { return *tmrWindowAdjuster_; }
  TTimer& tmrWindowSearcher() { return *tmrWindowSearcher_; }
  TPopupMenu& PopupMenu1() { return *PopupMenu1_; }
  TMenuItem& About1() { return *About1_; }
  HICON PausedIcon() const { return Image1_.get(); }
  int Dpi() const { return dpi_; }

  // The settings window's own key handling, ahead of dispatch: Tab, Enter on buttons,
  // Escape in controls, accelerators. True when the message was used.
  bool PreTranslate(MSG& msg);

 private:
  static LRESULT CALLBACK WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK ControlProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Message(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT ControlMessage(HWND h, WNDPROC original, UINT msg, WPARAM wp, LPARAM lp);
  void CreateComponents();
  void LayoutControls();
  void Command(int id, int code);
  void Clicked(int id);
  void SetChecked(int id, bool value);
  bool Checked(int id) const;
  void SetEditText(int id, const std::string& text);
  std::string EditText(int id) const;
  void SetLevelPosition(std::int16_t value);
  std::int16_t ReadLevelPosition();
  void DisableUpdate();
  void RestoreFocus();
  const layout::ControlSpec* FocusedControl() const;  // nullptr: not one of the controls
  void MoveFocus(bool backwards);
  bool Accelerator(char letter);
  void SessionEnd();
  void WriteSettings();
  int Scale(int v) const { return MulDiv(v, dpi_, 96); }

  TApplication& app_;
  TrayPort& tray_;
  HWND hwnd_ = nullptr;
  Win32Desktop desktop_;
  std::unique_ptr<TTimer> tmrWindowAdjuster_;
  std::unique_ptr<TTimer> tmrWindowSearcher_;
  std::unique_ptr<TPopupMenu> PopupMenu1_;
  TMenuItem* N1_ = nullptr;
  TMenuItem* About1_ = nullptr;
  TMenuItem* N2_ = nullptr;
  TMenuItem* Exit1_ = nullptr;
  UniqueIcon Image1_;
  UniqueFont font_;
  UniqueBrush btnFace_;
  TLevelPosition level_;
  std::string lastWaveFile_;  // the file last confirmed in the browse dialog
  HWND lastFocus_ = nullptr;
  UINT taskbarCreated_ = 0;
  int dpi_ = 96;
  bool loaded_ = false;
  bool closing_ = false;
};

}  // namespace kuvella

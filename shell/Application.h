#pragma once
// Our application object: the hidden application window that owns every window of the
// program and carries its only taskbar button, the application icon, the message loop, and
// the one place where an error escaping a handler becomes the standard error box.
#include <windows.h>

#include <exception>
#include <functional>
#include <string>

#include "Handles.h"

namespace kuvella {

class TApplication {
 public:
  explicit TApplication(HINSTANCE instance);
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  HINSTANCE instance() const { return instance_; }
  HWND Handle() const { return handle_.get(); }
  HICON Icon() const { return icon_.get(); }
  void SetTitle(const char* title);
  const std::string& Title() const { return title_; }

  // The main window's hooks: a close request to the application window, and the keys the
  // settings window handles before they are dispatched.
  std::function<void()> onCloseRequest;
  std::function<bool(MSG&)> preTranslate;

  void ShowTaskbarButton(bool show);
  int Run();  // until WM_QUIT; returns its exit code
  void ShowException(const std::exception& e);
  void ShowExceptionMessage(const std::string& message);

  // Runs f; an escaping error is shown in the error box and the caller goes on.
  template <class F>
  void Guard(F&& f) noexcept {
    try {
      f();
    } catch (const std::exception& e) {
      ShowException(e);
    } catch (...) {
      ShowExceptionMessage("?");
    }
  }

 private:
  static LRESULT CALLBACK WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  HINSTANCE instance_;
  UniqueIcon icon_;
  UniqueWindow handle_;
  std::string title_;
};

// The application object, as the class library would provide it.
extern TApplication* Application;

}  // namespace kuvella

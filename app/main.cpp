// Kuvella: makes top-level windows magnetic. The entry sets up the application object,
// creates the main window hidden, and runs the message loop until the main window closes.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "Application.h"
#include "Texts.h"
#include "untMain.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  kuvella::TApplication app(instance);
  ShowWindow(app.Handle(), SW_HIDE);  // no taskbar button until the settings window shows
  app.SetTitle(kuvella::texts::kAppTitle);

  kuvella::ShellTray tray;
  int exitCode = 0;
  try {
    auto form = std::make_unique<kuvella::TfrmMain>(app, tray);
    app.onCloseRequest = [&form] { form->Close(); };
    app.preTranslate = [&form](MSG& msg) { return form->PreTranslate(msg); };
    exitCode = app.Run();
    app.onCloseRequest = nullptr;
    app.preTranslate = nullptr;
  } catch (const std::exception& e) {
    app.ShowException(e);
    exitCode = 1;
  }
  return exitCode;
}

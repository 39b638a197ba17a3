#include "Application.h"

#include "TextRules.h"

namespace kuvella {

TApplication* Application = nullptr;

namespace {
constexpr char kAppClass[] = "TApplication";
}

TApplication::TApplication(HINSTANCE instance) : instance_(instance) {
  Application = this;
  icon_.reset(static_cast<HICON>(LoadImageA(instance, "MAINICON", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
  WNDCLASSA wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hIcon = icon_.get();
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kAppClass;
  RegisterClassA(&wc);
  // Zero size at the screen's centre: a window whose only job is the taskbar button.
  const int x = GetSystemMetrics(SM_CXSCREEN) / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2;
  handle_.reset(CreateWindowExA(0, kAppClass, "", WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS |
                                WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0, 0, nullptr, nullptr,
                                instance, nullptr));
}

TApplication::~TApplication() {
  handle_.reset();
  if (Application == this) Application = nullptr;
}

void TApplication::SetTitle(const char* title) {
  title_ = title;
  SetWindowTextA(handle_.get(), title);
}

void TApplication::ShowTaskbarButton(bool show) {
  ShowWindow(handle_.get(), show ? SW_SHOWNOACTIVATE : SW_HIDE);
}

int TApplication::Run() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (preTranslate && preTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void TApplication::ShowException(const std::exception& e) { ShowExceptionMessage(e.what()); }

void TApplication::ShowExceptionMessage(const std::string& message) {
  const std::string text = ErrorBoxText(message);
  HWND owner = GetActiveWindow();
  if (!owner) owner = handle_.get();
  MessageBoxA(owner, text.c_str(), title_.c_str(), MB_OK | MB_ICONSTOP);
}

LRESULT CALLBACK TApplication::WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      // A close from the taskbar button closes the main window.
      if (Application && Application->onCloseRequest) {
        Application->Guard([] { Application->onCloseRequest(); });
      }
      return 0;
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_CLOSE) {
        SendMessageA(h, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(h, msg, wp, lp);
}

}  // namespace kuvella

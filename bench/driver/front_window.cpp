#include "driver/front_window.h"

#include "harness/input.h"

namespace bench {
namespace {

constexpr char kClassName[] = "VantiskBenchFront";
constexpr DWORD kActivationMs = 5000;

ATOM RegisterFrontClass() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kClassName;
  return RegisterClassA(&windowClass);
}

}  // namespace

FrontWindow::FrontWindow() {
  static const ATOM registered = RegisterFrontClass();
  if (!registered) return;
  // Away from both programs' windows, so it hides nothing they draw.
  window_.reset(CreateWindowExA(0, kClassName, "Another program", WS_OVERLAPPEDWINDOW, 700, 600, 300, 200,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
}

bool FrontWindow::BringToFront() {
  if (!window_) return false;
  ShowWindow(window_.get(), SW_SHOW);
  return vt::BringToFront(window_.get(), kActivationMs);
}

}  // namespace bench

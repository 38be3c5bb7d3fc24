// A window of the driver's own that it brings to the front, so that the
// program measured sits at rest as it does most of the day: open, with the
// user working in another program.
#pragma once

#include <windows.h>

namespace bench {

class FrontWindow {
 public:
  FrontWindow();
  ~FrontWindow();
  FrontWindow(const FrontWindow&) = delete;
  FrontWindow& operator=(const FrontWindow&) = delete;

  // Activates the window; false if it did not become the foreground window.
  bool BringToFront();

 private:
  HWND window_ = nullptr;
};

}  // namespace bench

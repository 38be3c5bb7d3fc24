// A window of the driver's own that it brings to the front, so that the
// program measured sits at rest as it does most of the day: open, with the
// user working in another program.
#pragma once

#include <windows.h>

#include "tests/wine/harness/handles.h"

namespace bench {

class FrontWindow {
 public:
  FrontWindow();
  // Activates the window; false if it did not become the foreground window.
  bool BringToFront();

 private:
  vt::UniqueWindow window_;
};

}  // namespace bench

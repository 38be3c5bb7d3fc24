// One Vantisk per user session. A second start (autostart at logon and a
// manual start, a double-click on the exe while it runs) tells the running
// one to bring its monitor window into view and ends at once, so there is
// never a second tray icon or a second set of hotkeys.
#pragma once

#include <windows.h>

#include "toolkit/handles.h"

namespace vantisk {

// The message a second start sends to the running instance's settings window.
UINT ShowRunningInstanceMessage();

class SingleInstance {
 public:
  SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // False when another instance runs in this session.
  bool IsFirst() const { return first_; }
  // Asks the running instance to show its monitor window.
  void WakeRunningInstance() const;

 private:
  tk::UniqueHandle mutex_;  // held for the whole run: its existence is the signal
  bool first_;
};

}  // namespace vantisk

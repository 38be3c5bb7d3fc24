#include "app/single_instance.h"

#include "app/form1_ids.h"

namespace vantisk {

UINT ShowRunningInstanceMessage() {
  static const UINT message = RegisterWindowMessageA("Vantisk.ShowRunningInstance");
  return message;
}

SingleInstance::SingleInstance()
    : mutex_(CreateMutexA(nullptr, FALSE, "Local\\Vantisk.SingleInstance")),
      first_(mutex_ == nullptr || GetLastError() != ERROR_ALREADY_EXISTS) {}

void SingleInstance::WakeRunningInstance() const {
  // The running instance may still be starting: its settings window exists
  // from the first moment of its start-up, so wait for it a little.
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (HWND running = FindWindowA(form1_ids::kClassName, nullptr)) {
      DWORD process = 0;
      GetWindowThreadProcessId(running, &process);
      AllowSetForegroundWindow(process);
      PostMessageA(running, ShowRunningInstanceMessage(), 0, 0);
      return;
    }
    Sleep(100);
  }
}

}  // namespace vantisk

#include "app/single_instance.h"

#include "app/form1_ids.h"
#include "toolkit/wide.h"

namespace vantisk {

UINT ShowRunningInstanceMessage() {
  static const UINT message = RegisterWindowMessageW(L"Vantisk.ShowRunningInstance");
  return message;
}

SingleInstance::SingleInstance()
    : mutex_(CreateMutexW(nullptr, FALSE, L"Local\\Vantisk.SingleInstance")),
      first_(mutex_ == nullptr || GetLastError() != ERROR_ALREADY_EXISTS) {}

void SingleInstance::WakeRunningInstance() const {
  // The running instance may still be starting: its settings window exists
  // from the first moment of its start-up, so wait for it a little.
  const std::wstring kSettingsClass = tk::Widen(form1_ids::kClassName);
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (HWND running = FindWindowW(kSettingsClass.c_str(), nullptr)) {
      DWORD process = 0;
      GetWindowThreadProcessId(running, &process);
      AllowSetForegroundWindow(process);
      PostMessageW(running, ShowRunningInstanceMessage(), 0, 0);
      return;
    }
    Sleep(100);
  }
}

}  // namespace vantisk

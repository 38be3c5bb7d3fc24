#include "app/systray.h"

#include <cstring>

namespace modSystray {
namespace {

constexpr DWORD kRecordSize = NOTIFYICONDATAA_V1_SIZE;
#ifndef _WIN64
static_assert(kRecordSize == 88, "the 32-bit tray record is 88 bytes");
#endif

HICON LoadSmallIcon(WORD resource) {
  return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource), IMAGE_ICON,
                                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
}

}  // namespace

TrayIcon::TrayIcon(UINT id, UINT callbackMessage, WORD iconResource, const char* tip)
    : icon_(LoadSmallIcon(iconResource)), taskbarCreated_(RegisterWindowMessageA("TaskbarCreated")) {
  record_.cbSize = kRecordSize;
  record_.uID = id;
  record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record_.uCallbackMessage = callbackMessage;
  record_.hIcon = icon_.get();
  std::strncpy(record_.szTip, tip, sizeof record_.szTip - 1);
}

void TrayIcon::Add(HWND owner) {
  record_.hWnd = owner;
  wanted_ = true;
  AddToShell();
}

bool TrayIcon::HandleTaskbarCreated(UINT message) {
  if (message != taskbarCreated_) return false;
  if (wanted_) AddToShell();
  return true;
}

void TrayIcon::Remove() {
  if (added_) Shell_NotifyIconA(NIM_DELETE, &record_);
  added_ = wanted_ = false;
}

void TrayIcon::AddToShell() { added_ = Shell_NotifyIconA(NIM_ADD, &record_) != FALSE; }

}  // namespace modSystray

#include "app/systray.h"

#include <algorithm>
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

// Copies as much of `text` as fits, never cutting a UTF-8 character in two.
template <size_t N>
void CopyCut(char (&field)[N], const std::string& text) {
  size_t length = std::min(text.size(), N - 1);
  while (length > 0 && length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  std::memcpy(field, text.data(), length);
  field[length] = '\0';
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

void TrayIcon::Notify(const std::string& title, const std::string& text) {
  if (!added_) return;
  // Balloons came with the shell's second layout of the record.
  NOTIFYICONDATAA balloon{};
  balloon.cbSize = NOTIFYICONDATAA_V2_SIZE;
  balloon.hWnd = record_.hWnd;
  balloon.uID = record_.uID;
  balloon.uFlags = NIF_INFO;
  balloon.dwInfoFlags = NIIF_WARNING;
  CopyCut(balloon.szInfoTitle, title);
  CopyCut(balloon.szInfo, text);
  Shell_NotifyIconA(NIM_MODIFY, &balloon);
}

void TrayIcon::AddToShell() { added_ = Shell_NotifyIconA(NIM_ADD, &record_) != FALSE; }

}  // namespace modSystray

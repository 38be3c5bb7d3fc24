#include "app/systray.h"

#include <algorithm>
#include <cstring>

#include "toolkit/wide.h"

namespace modSystray {
namespace {

constexpr DWORD kRecordSize = NOTIFYICONDATAW_V1_SIZE;
#ifndef _WIN64
static_assert(kRecordSize == 152, "the 32-bit tray record is 152 bytes");
#endif

HICON LoadSmallIcon(WORD resource) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_ICON,
                                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
}

// Copies as much of `text` as fits, never cutting a surrogate pair in two.
template <size_t N>
void CopyCut(wchar_t (&field)[N], const std::string& text) {
  const std::wstring wide = tk::Widen(text);
  size_t length = std::min(wide.size(), N - 1);
  if (length < wide.size() && length > 0 && IS_HIGH_SURROGATE(wide[length - 1])) --length;
  std::memcpy(field, wide.data(), length * sizeof(wchar_t));
  field[length] = L'\0';
}

}  // namespace

TrayIcon::TrayIcon(UINT id, UINT callbackMessage, WORD iconResource, const char* tip)
    : icon_(LoadSmallIcon(iconResource)), taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {
  record_.cbSize = kRecordSize;
  record_.uID = id;
  record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record_.uCallbackMessage = callbackMessage;
  record_.hIcon = icon_.get();
  CopyCut(record_.szTip, tip);
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
  if (added_) tk::NotifyIcon(NIM_DELETE, &record_);
  added_ = wanted_ = false;
}

void TrayIcon::Notify(const std::string& title, const std::string& text) {
  if (!added_) return;
  // Balloons came with the shell's second layout of the record.
  NOTIFYICONDATAW balloon{};
  balloon.cbSize = NOTIFYICONDATAW_V2_SIZE;
  balloon.hWnd = record_.hWnd;
  balloon.uID = record_.uID;
  balloon.uFlags = NIF_INFO;
  balloon.dwInfoFlags = NIIF_WARNING;
  CopyCut(balloon.szInfoTitle, title);
  CopyCut(balloon.szInfo, text);
  tk::NotifyIcon(NIM_MODIFY, &balloon);
}

void TrayIcon::AddToShell() { added_ = tk::NotifyIcon(NIM_ADD, &record_) != FALSE; }

}  // namespace modSystray

#include "app/systray.h"

#include <cstring>

namespace modSystray {

NOTIFYICONDATAA nid{};

namespace {

// The first layout of the record: what every shell version accepts.
constexpr DWORD kRecordSize = NOTIFYICONDATAA_V1_SIZE;
#ifndef _WIN64
static_assert(kRecordSize == 88, "the 32-bit tray record is 88 bytes");
#endif

bool added = false;

}  // namespace

void AddTrayIcon(HWND owner, HICON icon) {
  nid = {};
  nid.cbSize = kRecordSize;
  nid.hWnd = owner;
  nid.uID = kTrayIconId;
  nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  nid.uCallbackMessage = kTrayCallbackMessage;
  nid.hIcon = icon;
  std::strncpy(nid.szTip, "Vantisk by Tessanor LTD", sizeof nid.szTip - 1);
  added = Shell_NotifyIconA(NIM_ADD, &nid) != FALSE;
}

void ReAddTrayIcon() {
  if (nid.hWnd) added = Shell_NotifyIconA(NIM_ADD, &nid) != FALSE;
}

void RemoveTrayIcon() {
  if (added) Shell_NotifyIconA(NIM_DELETE, &nid);
  added = false;
}

}  // namespace modSystray

// The program's notification-area icon. The settings window owns it and
// receives its mouse notifications as a private message.
#pragma once

#include <windows.h>
#include <shellapi.h>

namespace modSystray {

inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;
inline constexpr UINT kTrayIconId = 1;

// The tray icon record in the shell's first layout; it stays filled for the
// whole run so that the icon can be added again and removed at exit.
extern NOTIFYICONDATAA nid;

// Fills the record and adds the icon.
void AddTrayIcon(HWND owner, HICON icon);
// After the shell restarted ("TaskbarCreated"): the icon is added again.
void ReAddTrayIcon();
// Removes the icon, if it was added, so that no dead icon stays behind.
void RemoveTrayIcon();

}  // namespace modSystray

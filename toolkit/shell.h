// The shell's two entry points the program uses: the tray icon and the
// browser launch. shell32 (and the shcore and shlwapi it brings) is loaded
// when first needed, not with the program: the monitor window is shown without
// waiting for it, and the tray icon, added at the end of start-up, loads it
// before any check needs it.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

namespace tk {

// Shell_NotifyIconW; FALSE where the shell cannot be loaded.
BOOL NotifyIcon(DWORD message, NOTIFYICONDATAW* data);

// ShellExecuteExW; FALSE (with ERROR_DLL_NOT_FOUND) where the shell cannot be loaded.
BOOL ShellExecuteEx(SHELLEXECUTEINFOW* request);

}  // namespace tk

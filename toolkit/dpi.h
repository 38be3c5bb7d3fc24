// The DPI of a window's monitor. Every window lays itself out in twips and
// converts them with that DPI (toolkit/twips.h).
#pragma once

#include <windows.h>

namespace tk {

// The DPI of the window's monitor where the system knows it (Windows 10 and
// later), the system DPI otherwise.
int DpiForWindow(HWND window);

// The window rectangle for a client rectangle, with the frame metrics of `dpi`.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);

}  // namespace tk

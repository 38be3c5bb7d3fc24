// Twips to pixels. Every window lays itself out in twips (1/1440 inch) and
// converts with the DPI of the monitor it is on.
#pragma once

#include <windows.h>

namespace tk {

inline constexpr int kTwipsPerInch = 1440;

// The DPI of the window's monitor where the system knows it (Windows 10 and
// later), the system DPI otherwise.
int DpiForWindow(HWND window);

inline int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, kTwipsPerInch); }
inline int PixelsToTwips(int pixels, int dpi) { return MulDiv(pixels, kTwipsPerInch, dpi); }

// The window rectangle for a client rectangle, with the frame metrics of `dpi`.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);

}  // namespace tk

// Finding and driving the program's windows from outside. Everything that
// talks to a window uses a timeout, so a hung program fails the test instead
// of hanging it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace vt {

inline constexpr DWORD kDefaultTimeoutMs = 2000;

// Top-level windows of `pid` (also hidden and message-only ones) in z-order.
std::vector<HWND> TopWindows(DWORD pid);
// First top-level window of that class owned by `pid`; pid 0 matches any.
HWND FindTopWindow(const std::string& className, DWORD pid);
HWND WaitForTopWindow(const std::string& className, DWORD pid, DWORD timeoutMs);

std::string ClassName(HWND window);
std::string WindowText(HWND window, DWORD timeoutMs = kDefaultTimeoutMs);
// SendMessageTimeout: nullopt if the window's thread did not answer in time.
std::optional<LRESULT> SendTimed(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                                 DWORD timeoutMs = kDefaultTimeoutMs);
bool Responds(HWND window, DWORD timeoutMs = kDefaultTimeoutMs);

HWND Control(HWND form, int id);
// The entries of a list box, however long each is.
std::vector<std::string> ListBoxItems(HWND list, DWORD timeoutMs = kDefaultTimeoutMs);
bool IsTopmost(HWND window);
bool IsVisible(HWND window);
// Dots per inch the window is drawn at (96 where the system cannot tell).
UINT WindowDpi(HWND window);
// Client area in twips (1/1440 inch) at the window's own DPI.
SIZE ClientSizeTwips(HWND window);

// Posted, not sent: a handler that opens a modal box must not block the test.
bool Click(HWND button);
bool SetText(HWND edit, const std::string& text, DWORD timeoutMs = kDefaultTimeoutMs);

}  // namespace vt

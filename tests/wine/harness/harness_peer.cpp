// "Another program" for the harness's own test: shows, in a process of its
// own, the kinds of UI the harness must read and drive from outside.
//   harness_peer menu    pop-up menu; exit code = chosen command (0: none)
//   harness_peer msgbox  Yes/No message box with an icon; exit code = button
//   harness_peer window  a top-level window; exits when it is closed
#include "harness/handles.h"

#include <windows.h>

#include <cstring>

namespace {

constexpr wchar_t kWindowClass[] = L"VantiskHarnessPeer";

int ShowMenu() {
  const vt::UniqueWindow owner(CreateWindowExW(0, L"STATIC", L"peer", WS_POPUP, 0, 0, 1, 1,
                                               nullptr, nullptr, nullptr, nullptr));
  const tk::MenuHandle menu(CreatePopupMenu());
  AppendMenuW(menu.get(), MF_STRING, 11, L"&\u00D6ffnen\tCtrl+O");
  AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu.get(), MF_STRING | MF_GRAYED, 12, L"Gesperrt");
  AppendMenuW(menu.get(), MF_STRING | MF_CHECKED, 13, L"Mit Windows starten");
  AppendMenuW(menu.get(), MF_STRING, 14, L"Beenden");
  // As a tray program must, or the menu would not close on clicks elsewhere.
  SetForegroundWindow(owner.get());
  return TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY, 300, 300, 0, owner.get(),
                        nullptr);
}

int ShowMessageBox() {
  return MessageBoxW(nullptr, L"Zeile eins\nDas \u00DCbrige", L"Peer \u00E4",
                     MB_YESNO | MB_ICONWARNING);
}

LRESULT CALLBACK PeerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

int ShowWindowAndWait(HINSTANCE instance) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = PeerWindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kWindowClass;
  if (!RegisterClassW(&windowClass)) return 2;
  CreateWindowExW(0, kWindowClass, L"Peer \u00FC", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300,
                  200, nullptr, nullptr, instance, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  if (std::strcmp(commandLine, "menu") == 0) return ShowMenu();
  if (std::strcmp(commandLine, "msgbox") == 0) return ShowMessageBox();
  if (std::strcmp(commandLine, "window") == 0) return ShowWindowAndWait(instance);
  return 1;
}

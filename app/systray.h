// The program's notification-area icon: one object owns the icon's record, its
// image, the shell's "TaskbarCreated" message and its removal.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/handles.h"
#include "toolkit/shell.h"

namespace modSystray {

class TrayIcon {
 public:
  // The icon's id, the private message its mouse notifications arrive as, the
  // resource of its image and its tip are fixed for the run.
  TrayIcon(UINT id, UINT callbackMessage, WORD iconResource, const char* tip);
  ~TrayIcon() { Remove(); }
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Shows the icon, with `owner` receiving its notifications.
  void Add(HWND owner);
  // After the shell restarted ("TaskbarCreated") the icon is added again.
  // True when `message` was that message.
  bool HandleTaskbarCreated(UINT message);
  // Removes the icon, so that no dead icon stays behind.
  void Remove();
  // A notification beside the icon (a balloon; newer Windows shows it as a
  // toast). Texts longer than the shell takes are cut at a character's end.
  void Notify(const std::string& title, const std::string& text);

 private:
  void AddToShell();

  NOTIFYICONDATAW record_{};  // in the shell's first layout, which every shell version accepts
  tk::IconHandle icon_;
  const UINT taskbarCreated_;
  // Wanted is kept apart from added: a shell that is not up yet refuses the
  // icon, and its "TaskbarCreated" is the moment to add it after all.
  bool wanted_ = false;
  bool added_ = false;
};

}  // namespace modSystray

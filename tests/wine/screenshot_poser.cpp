// Poses Vantisk's windows for the README's screenshots. For each scene it
// writes the rectangle to capture into <folder>\scene.txt ("name x y w h")
// and waits until scripts/screenshots.sh has taken the picture and deleted
// the file. Run through run-under-wine.sh with the folder as argument.
#include <windows.h>

#include <cstdio>
#include <string>

#include "about/frm_about_ids.h"
#include "app/form1_ids.h"
#include "harness/driver.h"
#include "monitor/form2_ids.h"

namespace {

bool Pose(const std::string& folder, const char* name, RECT rect) {
  vt::PumpFor(700);  // let the windows paint
  const std::string scene = folder + "\\scene.txt";
  FILE* file = fopen(scene.c_str(), "w");
  if (!file) return false;
  fprintf(file, "%s %ld %ld %ld %ld\n", name, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  fclose(file);
  return vt::WaitUntil([&] { return GetFileAttributesA(scene.c_str()) == INVALID_FILE_ATTRIBUTES; }, 30000);
}

RECT WindowRectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

int Fail(const char* what) {
  fprintf(stderr, "screenshot poser: %s\n", what);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Fail("usage: screenshot_poser <folder>");
  const std::string folder = argv[1];
  vt::ClearSettings();
  // No list stored: the monitor shows the starter list of a first start.
  vt::SetSetting("default", "leftpos", " 600");
  vt::SetSetting("default", "toppos", " 600");
  vt::SetClipboardText("https://www.example.com/offers/today?ref=mail");

  vt::VantiskProcess app;
  if (!app.Start()) return Fail("Vantisk did not start");
  HWND monitor = vt::WaitForTopWindow(vantisk::form2_ids::kClassName, app.Pid(), 15000);
  HWND settings = vt::FindTopWindow(vantisk::form1_ids::kClassName, app.Pid());
  if (!monitor || !settings || !vt::Responds(settings, 15000)) return Fail("no windows");
  vt::WaitUntil([] { return !vt::TrayIconWindows().empty(); }, 15000);
  vt::SetText(vt::Control(monitor, vantisk::form2_ids::Text3), "http://typed.example.org/");

  SetWindowPos(settings, nullptr, 40, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!Pose(folder, "settings", WindowRectOf(settings))) return Fail("settings scene");
  PostMessageW(settings, WM_CLOSE, 0, 0);
  if (!Pose(folder, "monitor", WindowRectOf(monitor))) return Fail("monitor scene");

  // A copied mail with three addresses: the check offers them in a menu.
  vt::SetClipboardText(
      "Hi, the invoice: https://one.example/a \xE2\x80\xA6 or the portal "
      "https://paypal.com.secure-login.evil.example/b and https://three.example/c");
  vt::PumpFor(500);
  PostMessageW(vt::Control(monitor, vantisk::form2_ids::Command1), BM_CLICK, 0, 0);
  HWND addressMenu = vt::FindPopupMenu(5000, app.Pid());
  if (!addressMenu) return Fail("no address menu");
  RECT both{};
  const RECT monitorRect = WindowRectOf(monitor), menuRect = WindowRectOf(addressMenu);
  UnionRect(&both, &monitorRect, &menuRect);
  if (!Pose(folder, "address-menu", both)) return Fail("address menu scene");
  vt::DismissPopupMenu(addressMenu);

  SetCursorPos(300, 300);
  PostMessageW(settings, WM_APP + 1, 1, WM_RBUTTONUP);
  HWND menu = vt::FindPopupMenu(5000, app.Pid());
  if (!menu) return Fail("no tray menu");
  if (!Pose(folder, "tray-menu", WindowRectOf(menu))) return Fail("menu scene");
  vt::ChooseMenuItem(menu, 0);
  HWND about = vt::WaitForTopWindow(vantisk::about_ids::kClassName, app.Pid(), 5000);
  if (!about) return Fail("no About window");
  if (!Pose(folder, "about", WindowRectOf(about))) return Fail("about scene");
  app.Terminate();
  return 0;
}

// Shared by the harness and the probe DLL it injects into the program.
//
// Wine keeps a menu in the process that created it: another process gets the
// HMENU from MN_GETHMENU but every menu call on it fails. So the harness sets
// a WH_CALLWNDPROC hook, living in the probe DLL, on the thread that shows the
// popup; Wine loads the DLL into that process, and the hook, seeing the probe
// message, reads the menu there and writes it into shared memory that the
// harness created. Everything here is plain data so both sides agree on it.
#pragma once

#include <windows.h>

namespace vt::probe {

inline constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU
inline constexpr wchar_t kMessageName[] = L"VantiskHarness.MenuProbe";
inline constexpr char kHookExport[] = "VantiskMenuProbeHook";
inline constexpr int kMaxItems = 64;
inline constexpr int kMaxText = 256;

struct Item {
  UINT type;
  UINT state;
  UINT id;
  BOOL hasSubmenu;
  RECT rect;             // screen coordinates while the popup is shown
  char text[kMaxText];   // UTF-8, NUL-terminated, "" if too long
};

struct Snapshot {
  UINT sequence;  // echoes the request, so a stale answer is recognisable
  int count;      // -1: the window had no readable menu
  Item items[kMaxItems];
};

// The probe message carries the requester's pid in wParam and the request
// number in lParam; the mapping name derives from the pid.
inline void MappingName(DWORD requesterPid, wchar_t (&name)[64]) {
  wsprintfW(name, L"Local\\VantiskMenuProbe.%lu", static_cast<unsigned long>(requesterPid));
}

inline void CaptureItem(HMENU menu, int index, Item& item) {
  wchar_t text[kMaxText] = {};
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
  info.dwTypeData = text;
  info.cch = kMaxText - 1;
  const UINT position = static_cast<UINT>(index);
  if (!GetMenuItemInfoW(menu, position, TRUE, &info)) info = MENUITEMINFOW{};
  item.type = info.fType;
  item.state = info.fState;
  item.id = info.wID;
  item.hasSubmenu = info.hSubMenu != nullptr;
  if (!GetMenuItemRect(nullptr, menu, position, &item.rect)) item.rect = RECT{};
  const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, item.text, kMaxText, nullptr,
                                         nullptr);
  if (length == 0) item.text[0] = '\0';
}

// Must run in the process that owns `menu`.
inline void Capture(HMENU menu, Snapshot& snapshot) {
  const int count = GetMenuItemCount(menu);
  snapshot.count = count < 0 ? -1 : (count > kMaxItems ? kMaxItems : count);
  for (int i = 0; i < snapshot.count; ++i) CaptureItem(menu, i, snapshot.items[i]);
}

}  // namespace vt::probe

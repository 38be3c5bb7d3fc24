#include "harness/popup_menu.h"

#include "harness/handles.h"
#include "harness/menu_probe.h"
#include "harness/paths.h"
#include "harness/text.h"
#include "harness/wait.h"
#include "harness/window.h"

#include <memory>

namespace vt {
namespace {

using probe::Snapshot;

bool IsOpen(HWND popup) { return IsWindow(popup) && IsWindowVisible(popup); }

// Shared memory the probe in the other process writes its answer into.
class SnapshotMapping {
 public:
  SnapshotMapping() {
    wchar_t name[64];
    probe::MappingName(GetCurrentProcessId(), name);
    mapping_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(Snapshot), name));
    if (mapping_) view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_WRITE, 0, 0, 0));
  }
  Snapshot* get() const { return static_cast<Snapshot*>(view_.get()); }

 private:
  tk::UniqueHandle mapping_;
  vt::UniqueView view_;  // unmapped before the mapping closes
};

HMODULE ProbeDll() {
  // Stays loaded for the life of the test process: the hook lives in it.
  static const HMODULE dll = LoadLibraryW(Widen(MenuProbeDllPath()).c_str());
  return dll;
}

bool ProbeOtherProcess(HWND popup, Snapshot& result, DWORD timeoutMs) {
  static UINT lastSequence = 0;
  const UINT sequence = ++lastSequence;
  const SnapshotMapping shared;
  const HMODULE dll = ProbeDll();
  const auto hookProc = dll ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(
                                  GetProcAddress(dll, probe::kHookExport)))
                            : nullptr;
  if (!shared.get() || !hookProc) return false;
  const DWORD thread = GetWindowThreadProcessId(popup, nullptr);
  const vt::UniqueHook hook(SetWindowsHookExW(WH_CALLWNDPROC, hookProc, dll, thread));
  if (!hook) return false;
  static const UINT message = RegisterWindowMessageW(probe::kMessageName);
  // The hook runs before the call returns, so the answer is there afterwards.
  if (!SendTimed(popup, message, GetCurrentProcessId(), sequence, timeoutMs)) return false;
  if (shared.get()->sequence != sequence) return false;
  result = *shared.get();
  return true;
}

MenuItem ToMenuItem(const probe::Item& item) {
  MenuItem converted;
  converted.text = item.text;
  converted.id = item.id;
  converted.separator = (item.type & MFT_SEPARATOR) != 0;
  converted.grayed = (item.state & MFS_GRAYED) != 0;
  converted.checked = (item.state & MFS_CHECKED) != 0;
  converted.submenu = item.hasSubmenu != FALSE;
  converted.rect = item.rect;
  return converted;
}

void PostKey(HWND popup, WPARAM key) { PostMessageW(popup, WM_KEYDOWN, key, 1); }

}  // namespace

HWND FindPopupMenu(DWORD timeoutMs, DWORD pid) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : TopWindows(pid)) {
          if (IsOpen(window) && ClassName(window) == "#32768") return (found = window) != nullptr;
        }
        return false;
      },
      timeoutMs);
  return found;
}

std::optional<std::vector<MenuItem>> MenuItems(HWND popup, DWORD timeoutMs) {
  const std::optional<LRESULT> handle = SendTimed(popup, probe::kGetMenuHandle, 0, 0, timeoutMs);
  if (!handle || *handle == 0) return std::nullopt;
  const auto menu = reinterpret_cast<HMENU>(*handle);
  const auto snapshot = std::make_unique<Snapshot>();
  if (IsMenu(menu)) {
    probe::Capture(menu, *snapshot);  // our own process: read it directly
  } else if (!ProbeOtherProcess(popup, *snapshot, timeoutMs)) {
    return std::nullopt;
  }
  if (snapshot->count < 0) return std::nullopt;
  std::vector<MenuItem> items;
  for (int i = 0; i < snapshot->count; ++i) items.push_back(ToMenuItem(snapshot->items[i]));
  return items;
}

std::vector<std::string> MenuItemTexts(HWND popup) {
  std::vector<std::string> texts;
  for (const MenuItem& item : MenuItems(popup).value_or(std::vector<MenuItem>{})) {
    texts.push_back(item.separator ? "-" : item.text);
  }
  return texts;
}

// The menu loop of the owning thread takes keyboard messages from its queue
// however they got there, so posting keys works across processes and needs
// no foreground. Home selects the first item; Down skips separators only.
bool ChooseMenuItem(HWND popup, size_t index, DWORD timeoutMs) {
  const std::optional<std::vector<MenuItem>> items = MenuItems(popup);
  if (!items || index >= items->size()) return false;
  if ((*items)[index].separator || (*items)[index].grayed) return false;
  PostKey(popup, VK_HOME);
  for (size_t i = 0; i < index; ++i) {
    if (!(*items)[i].separator) PostKey(popup, VK_DOWN);
  }
  PostKey(popup, VK_RETURN);
  return WaitUntil([popup] { return !IsOpen(popup); }, timeoutMs);
}

bool DismissPopupMenu(HWND popup, DWORD timeoutMs) {
  PostKey(popup, VK_ESCAPE);
  return WaitUntil([popup] { return !IsOpen(popup); }, timeoutMs);
}

}  // namespace vt

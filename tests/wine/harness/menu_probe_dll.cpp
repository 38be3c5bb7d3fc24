// The probe DLL (see menu_probe.h). It runs inside the program under test,
// so it does nothing but answer the probe message.
#include "harness/handles.h"
#include "harness/menu_probe.h"

namespace {

UINT ProbeMessage() {
  static const UINT message = RegisterWindowMessageW(vt::probe::kMessageName);
  return message;
}

void Answer(HWND popup, DWORD requesterPid, UINT sequence) {
  wchar_t name[64];
  vt::probe::MappingName(requesterPid, name);
  const tk::UniqueHandle mapping(OpenFileMappingW(FILE_MAP_WRITE, FALSE, name));
  if (!mapping) return;
  const vt::UniqueView view(MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, 0));
  if (!view) return;
  auto* snapshot = static_cast<vt::probe::Snapshot*>(view.get());
  const auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, vt::probe::kGetMenuHandle, 0, 0));
  vt::probe::Capture(menu, *snapshot);
  snapshot->sequence = sequence;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK VantiskMenuProbeHook(int code, WPARAM wParam,
                                                                       LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (call->message == ProbeMessage()) {
      Answer(call->hwnd, static_cast<DWORD>(call->wParam), static_cast<UINT>(call->lParam));
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

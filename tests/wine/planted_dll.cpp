// Stands in for a DLL that a web page left in a downloads folder, under the
// name of one the program might load. Whoever loads it finds out at once: it
// leaves "<its own file name>.ran" beside itself and ends the process with
// code 77 before the process can do anything else.
#include <windows.h>

#include "toolkit/handles.h"

namespace {

constexpr UINT kPlantedExitCode = 77;

void LeaveMarker(HINSTANCE self) {
  wchar_t path[MAX_PATH + 8];
  const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  lstrcpyW(path + length, L".ran");
  const tk::UniqueHandle marker =
      tk::OwnHandle(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    LeaveMarker(self);
    TerminateProcess(GetCurrentProcess(), kPlantedExitCode);
  }
  return TRUE;
}

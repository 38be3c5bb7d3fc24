// Owners for the handles only the Windows-side tests (and the benchmarks) use,
// beside the program's own in toolkit/handles.h.
#pragma once

#include <windows.h>

#include <memory>

#include "toolkit/handles.h"

namespace vt {

// Only for windows created by the thread that destroys them.
using UniqueWindow = tk::Unique<HWND, &DestroyWindow>;
using UniqueHook = tk::Unique<HHOOK, &UnhookWindowsHookEx>;
using UniqueGlobal = tk::Unique<HGLOBAL, &GlobalFree>;
using UniqueView = std::unique_ptr<void, tk::Releaser<&UnmapViewOfFile>>;

}  // namespace vt

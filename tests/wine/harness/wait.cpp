#include "harness/wait.h"

#include <algorithm>

namespace vt {
namespace {

void PumpOnce(DWORD waitMs) {
  MsgWaitForMultipleObjectsEx(0, nullptr, waitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    PumpOnce(static_cast<DWORD>(std::min<ULONGLONG>(pollMs, deadline - now)));
  }
}

void PumpFor(DWORD ms) {
  const ULONGLONG deadline = GetTickCount64() + ms;
  for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
    PumpOnce(static_cast<DWORD>(deadline - now));
  }
}

}  // namespace vt

// Polling waits. Every wait in the harness is bounded; none blocks forever.
#pragma once

#include <windows.h>

#include <functional>

namespace vt {

// Polls `condition` until it holds or `timeoutMs` has passed; true if it held.
// Messages of the calling thread are pumped between polls so that a program
// that sends (not posts) to the test's windows cannot deadlock against it.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs = 20);

// Pumps the calling thread's messages for `ms` milliseconds. For checks that
// something does *not* happen within a grace period.
void PumpFor(DWORD ms);

}  // namespace vt

#include "monitor/shell_exec.h"

#include <algorithm>
#include <cstring>

#include "links/web_address.h"
#include "toolkit/handles.h"
#include "toolkit/message_loop.h"
#include "toolkit/registry.h"
#include "toolkit/shell.h"
#include "toolkit/wide.h"

namespace ModShellExec {
namespace {

// Wine's ShellExecute builds the browser's command line, address included, in
// fixed buffers of 1024 characters and runs past their end for longer ones,
// which takes the program down. Windows has no such limit.
constexpr size_t kWineCommandLineLimit = 1024;

bool RunsUnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Length in characters of the command registered to open the target's
// scheme, 0 if none is.
size_t BrowserCommandLength(const std::wstring& target) {
  const std::wstring key = target.substr(0, target.find(L':')) + L"\\shell\\open\\command";
  const tk::RegKey command = tk::OpenRegKey(HKEY_CLASSES_ROOT, key.c_str(), KEY_QUERY_VALUE);
  const std::optional<tk::RegistryValue> value = command ? tk::ReadRegistryValue(command.get(), nullptr) : std::nullopt;
  if (!value) return 0;
  const std::wstring units = tk::StoredUnits(*value);
  return wcsnlen(units.c_str(), units.size());
}

bool ShellCanTake(const std::wstring& target) {
  return !RunsUnderWine() || target.size() + BrowserCommandLength(target) < kWineCommandLineLimit;
}

// The most a launch in a row waits for the browser to take its address.
constexpr DWORD kHandoverLimitMs = 1000;

// How often the idle state of the started process is looked at while messages
// are handled.
constexpr DWORD kIdlePollMs = 15;

// Handles the messages waiting, as the main loop does, so that the program
// answers (hotkeys, the tray, repainting) during a hand-over. A check that
// comes in meanwhile is refused by the check under way, which keeps the pages
// in order. False on WM_QUIT, which is posted again for the main loop.
bool HandleWaitingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    tk::HandleMessage(message);
  }
  return true;
}

// Until the started process waits for input (a browser that has taken the
// address) or has ended (one that handed it to a running browser), a second at
// most, handling messages all the while. A process without a message queue
// fails the idle test at once: then only its end counts.
void AwaitHandover(HANDLE process) {
  const ULONGLONG deadline = GetTickCount64() + kHandoverLimitMs;
  bool idleCounts = true;
  for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
    if (idleCounts) {
      const DWORD idle = WaitForInputIdle(process, 0);
      if (idle == 0) return;
      idleCounts = idle == WAIT_TIMEOUT;
    }
    const DWORD slice = idleCounts ? std::min<DWORD>(kIdlePollMs, static_cast<DWORD>(deadline - now))
                                   : static_cast<DWORD>(deadline - now);
    const DWORD woken = MsgWaitForMultipleObjectsEx(1, &process, slice, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woken == WAIT_OBJECT_0 || woken == WAIT_FAILED) return;
    if (woken == WAIT_OBJECT_0 + 1 && !HandleWaitingMessages()) return;
  }
}

}  // namespace

bool OpenInBrowser(HWND owner, const std::string& target, Handover handover) {
  // Only a web address is ever handed to the shell, which would run a program's name.
  if (!vantisk::IsShellSafeWebAddress(target)) return false;
  const std::wstring file = tk::Widen(target);
  if (!ShellCanTake(file)) return false;
  SHELLEXECUTEINFOW request{};
  request.cbSize = sizeof request;
  // The shell reports a failure to the caller, which tells the user itself;
  // the launch is complete when the call returns.
  request.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC |
                  (handover == Handover::WaitForBrowser ? SEE_MASK_NOCLOSEPROCESS : 0);
  request.hwnd = owner;
  request.lpVerb = L"open";
  request.lpFile = file.c_str();
  // Parameters and folder are real empty strings, not null pointers.
  request.lpParameters = L"";
  request.lpDirectory = L"";
  request.nShow = SW_SHOWNORMAL;
  const bool started = tk::ShellExecuteEx(&request) != FALSE;
  // The shell hands out no process when a running program took the address.
  const tk::UniqueHandle process(request.hProcess);
  if (started && process) AwaitHandover(process.get());
  return started;
}

}  // namespace ModShellExec

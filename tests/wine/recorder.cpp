// Stand-in browser for the Wine tests: appends what it was asked to open to
// C:\vantisk-launches.log, one line per launch, and exits. The file is opened
// and closed per launch because tests read it while the program still runs.
// With VANTISK_RECORDER_DELAY_MS set (inherited from the program that
// launches it), it waits that long first: a browser slow to start.
#include "harness/browser.h"
#include "toolkit/handles.h"
#include "harness/text.h"
#include "harness/url_argument.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace {

bool AppendToLog(const std::string& line) {
  const tk::UniqueHandle file = tk::OwnHandle(
      CreateFileW(vt::Widen(vt::kLaunchLog).c_str(), FILE_APPEND_DATA,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  // One write per line, so a reader never sees half of one after a newline.
  return WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
         written == line.size();
}

// The start-up delay asked for, 0 when none is.
DWORD StartDelayMs() {
  wchar_t value[16] = {};
  const DWORD length = GetEnvironmentVariableW(L"VANTISK_RECORDER_DELAY_MS", value, 16);
  return length > 0 && length < 16 ? static_cast<DWORD>(wcstoul(value, nullptr, 10)) : 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Sleep(StartDelayMs());
  return AppendToLog(vt::Narrow(vt::UrlArgument(GetCommandLineW())) + "\r\n") ? 0 : 1;
}

// Stand-in browser for the benchmark. Like the tests' recorder it logs what it
// was asked to open, and it adds when its process was created and when its
// code began to run (driver/launch_log.h), so that the driver can time a
// launch from the request to the browser starting.
#include <windows.h>

#include <string>

#include "driver/launch_log.h"
#include "driver/system_time.h"
#include "toolkit/handles.h"
#include "harness/text.h"
#include "harness/url_argument.h"

namespace {

std::uint64_t ProcessCreationTime() {
  FILETIME created{}, exited{}, kernel{}, user{};
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  return bench::FileTimeTicks(created);
}

// One write per line, so that the driver never reads half of one.
bool Append(const std::string& line) {
  const tk::UniqueHandle file = tk::OwnHandle(
      CreateFileW(bench::kBenchLaunchLog, FILE_APPEND_DATA,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                  FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
         written == line.size();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // First thing: everything after this is not part of the launch.
  const std::uint64_t started = bench::SystemTimeNow();
  const bench::Launch launch{ProcessCreationTime(), started, vt::Narrow(vt::UrlArgument(GetCommandLineW()))};
  return Append(bench::FormatLaunchLine(launch)) ? 0 : 1;
}

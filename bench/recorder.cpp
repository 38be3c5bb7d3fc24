// Stand-in browser for the benchmark. Like the tests' recorder it logs what it
// was asked to open, and it adds when its process was created and when its
// code began to run (driver/launch_log.h), so that the driver can time a
// launch from the request to the browser starting.
#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "driver/launch_log.h"
#include "driver/system_time.h"
#include "harness/handles.h"

namespace {

std::uint64_t ProcessCreationTime() {
  FILETIME created{}, exited{}, kernel{}, user{};
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  return bench::FileTimeTicks(created);
}

// The command line after the program name (quoted, or up to a blank), without
// leading blanks and without the one pair of quotes the "%1" template adds.
std::wstring_view ArgumentText(std::wstring_view rest) {
  const bool quoted = !rest.empty() && rest.front() == L'"';
  const size_t nameEnd = quoted ? rest.find(L'"', 1) : rest.find_first_of(L" \t");
  rest.remove_prefix(nameEnd == std::wstring_view::npos ? rest.size() : nameEnd + (quoted ? 1 : 0));
  rest.remove_prefix(std::min(rest.find_first_not_of(L" \t"), rest.size()));
  if (rest.size() >= 2 && rest.front() == L'"' && rest.back() == L'"') rest = rest.substr(1, rest.size() - 2);
  return rest;
}

std::string Utf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::string utf8(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0,
                                                           nullptr, nullptr)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), static_cast<int>(utf8.size()),
                      nullptr, nullptr);
  return utf8;
}

// One write per line, so that the driver never reads half of one.
bool Append(const std::string& line) {
  const vt::UniqueHandle file = vt::OwnHandle(
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
  const bench::Launch launch{ProcessCreationTime(), started, Utf8(ArgumentText(GetCommandLineW()))};
  return Append(bench::FormatLaunchLine(launch)) ? 0 : 1;
}

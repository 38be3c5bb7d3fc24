#include "driver/unix_view.h"

#include <windows.h>

#include <algorithm>
#include <functional>

#include "driver/proc_text.h"
#include "toolkit/handles.h"
#include "harness/process.h"

namespace bench {
namespace {

std::string ProcFile(int pid, const wchar_t* name) {
  return vt::ReadWholeFile(L"Z:\\proc\\" + std::to_wstring(pid) + L"\\" + name);
}

// "WINEPREFIX=<path>" as every process of this prefix has it in its Unix
// environment; "" when the driver runs without one (the default prefix).
const std::string& PrefixEntry() {
  static const std::string entry = [] {
    char value[MAX_PATH * 4] = {};
    const DWORD length = GetEnvironmentVariableA("WINEPREFIX", value, sizeof value);
    return length > 0 && length < sizeof value ? "WINEPREFIX=" + std::string(value, length) : std::string();
  }();
  return entry;
}

bool InThisPrefix(int pid) {
  return PrefixEntry().empty() || EnvironHas(ProcFile(pid, L"environ"), PrefixEntry());
}

std::optional<int> PidOf(const WIN32_FIND_DATAW& entry) {
  if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  int pid = 0;
  for (const wchar_t* c = entry.cFileName; *c; ++c) {
    if (*c < L'0' || *c > L'9' || pid > 100000000) return std::nullopt;
    pid = pid * 10 + (*c - L'0');
  }
  return pid > 0 ? std::optional<int>(pid) : std::nullopt;
}

// Of the processes whose argv[0] passes `matches`, the one started last.
std::optional<int> NewestProcess(const std::function<bool(std::string_view argv0)>& matches) {
  WIN32_FIND_DATAW entry{};
  const HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &entry);
  if (search == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<int> newest;
  std::uint64_t newestStart = 0;
  do {
    const std::optional<int> pid = PidOf(entry);
    if (!pid || !matches(Argv0(ProcFile(*pid, L"cmdline"))) || !InThisPrefix(*pid)) continue;
    const std::optional<StatFields> stat = ParseStat(ProcFile(*pid, L"stat"));
    if (stat && (!newest || stat->startTicks >= newestStart)) {
      newest = pid;
      newestStart = stat->startTicks;
    }
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  return newest;
}

}  // namespace

std::optional<UnixProcess> UnixProcess::Find(std::string_view exeFileName) {
  const std::optional<int> pid =
      NewestProcess([exeFileName](std::string_view argv0) { return HasFileName(argv0, exeFileName); });
  return pid ? std::optional<UnixProcess>(UnixProcess(*pid)) : std::nullopt;
}

std::optional<UnixProcess> UnixProcess::FindWineServer() {
  const std::optional<int> pid = NewestProcess([](std::string_view argv0) {
    return HasFileName(argv0, "wineserver") || HasFileName(argv0, "wineserver64");
  });
  return pid ? std::optional<UnixProcess>(UnixProcess(*pid)) : std::nullopt;
}

std::optional<CpuSample> UnixProcess::Cpu() const {
  const std::optional<StatFields> stat = ParseStat(ProcFile(pid_, L"stat"));
  if (!stat) return std::nullopt;
  CpuSample sample{static_cast<double>(stat->cpuTicks) / kTicksPerSecond, 0, {}};
  const std::wstring tasks = L"Z:\\proc\\" + std::to_wstring(pid_) + L"\\task\\";
  WIN32_FIND_DATAW entry{};
  const HANDLE search = FindFirstFileW((tasks + L"*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return std::nullopt;
  do {
    const std::optional<int> thread = PidOf(entry);
    const std::optional<std::uint64_t> ns =
        thread ? ParseSchedstatNs(vt::ReadWholeFile(tasks + entry.cFileName + L"\\schedstat")) : std::nullopt;
    if (!ns) continue;
    sample.threads.push_back(*thread);
    sample.threadSeconds += static_cast<double>(*ns) / 1e9;
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  std::sort(sample.threads.begin(), sample.threads.end());
  return sample;
}

}  // namespace bench

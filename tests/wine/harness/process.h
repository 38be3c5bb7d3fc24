// Starting and watching the program under test (or any other exe).
#pragma once

#include "toolkit/handles.h"
#include "harness/paths.h"

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

namespace vt {

// One run of a program. The destructor terminates it if it still runs, so a
// failing test cannot leave it behind for the next one.
class VantiskProcess {
 public:
  VantiskProcess() = default;
  ~VantiskProcess();
  VantiskProcess(VantiskProcess&&) noexcept = default;
  VantiskProcess& operator=(VantiskProcess&& other) noexcept;
  VantiskProcess(const VantiskProcess&) = delete;
  VantiskProcess& operator=(const VantiskProcess&) = delete;

  // `arguments` is appended to the quoted exe path verbatim. False if the
  // program could not be started, or this object already runs one.
  bool Start(const std::string& exePath = VantiskExePath(), const std::string& arguments = {});

  DWORD Pid() const { return pid_; }
  bool IsRunning() const;
  // True once the program has exited (at once if it never ran).
  bool WaitForExit(DWORD timeoutMs) const;
  // WaitForInputIdle: the program has drawn breath and waits for input.
  bool WaitForIdle(DWORD timeoutMs) const;
  std::optional<DWORD> ExitCode() const;
  // Kills the program and waits (bounded) for it to be gone.
  void Terminate();

 private:
  tk::UniqueHandle process_;
  DWORD pid_ = 0;
};

// Copies `file` into `directory` (created as needed, Windows paths) and
// returns the new path, "" on failure. An existing copy is replaced.
std::string CopyFileTo(const std::string& file, const std::string& directory);

// A folder of that name in the temporary folder, created if needed (Windows
// path); "" when it cannot be created.
std::string TempFolder(const std::string& name);
// The whole content of a file, also one another process is writing or that
// reports no size (/proc through Z:\); "" when it cannot be opened.
std::string ReadWholeFile(const std::wstring& path);

// For load tests. Wine 8 leaves some counters at 0 for every process; such
// a 0 is not a measurement, so it is reported as nullopt (or, for memory,
// replaced by the equivalent counter that Wine does keep).
struct ProcessMemoryInfo {
  size_t privateBytes = 0;  // commit charge
  size_t workingSet = 0;
  size_t peakWorkingSet = 0;
  size_t pagefileUsage = 0;
  size_t peakPagefileUsage = 0;
};
std::optional<ProcessMemoryInfo> ProcessMemory(DWORD pid);
// nullopt under Wine 8, which does not count handles or GUI objects.
std::optional<DWORD> HandleCount(DWORD pid);
std::optional<DWORD> GdiObjects(DWORD pid);
std::optional<DWORD> UserObjects(DWORD pid);

}  // namespace vt

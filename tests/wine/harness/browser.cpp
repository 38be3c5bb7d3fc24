#include "harness/browser.h"

#include "toolkit/handles.h"
#include "harness/paths.h"
#include "harness/process.h"
#include "harness/registry.h"
#include "harness/text.h"
#include "harness/wait.h"

namespace vt {
namespace {

constexpr const char* kSchemes[] = {"http", "https"};

std::string ShellKey(const char* scheme) {
  return std::string("Software\\Classes\\") + scheme + "\\shell";
}

}  // namespace

bool RegisterBrowser(const std::string& exe) {
  std::string command = "\"";
  command += exe;
  command += "\" \"%1\"";
  bool ok = true;
  for (const char* scheme : kSchemes) {
    // A ddeexec key would make the shell try DDE before running the command.
    ok = RegDeleteTree(HKEY_LOCAL_MACHINE, ShellKey(scheme) + "\\open\\ddeexec") && ok;
    ok = RegSetText(HKEY_LOCAL_MACHINE, ShellKey(scheme) + "\\open\\command", "", command) && ok;
  }
  return ok;
}

bool RegisterRecorderAsBrowser() { return RegisterBrowser(RecorderExePath()); }

bool UnregisterBrowser() {
  bool ok = true;
  for (const char* scheme : kSchemes) ok = RegDeleteTree(HKEY_LOCAL_MACHINE, ShellKey(scheme)) && ok;
  return ok;
}

std::vector<std::string> Launches() {
  const std::string content = ReadWholeFile(Widen(kLaunchLog));
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end = content.find('\n'); end != std::string::npos;
       start = end + 1, end = content.find('\n', start)) {
    std::string line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}

bool ClearLaunches() {
  return DeleteFileW(Widen(kLaunchLog).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

std::vector<std::string> WaitForLaunches(size_t count, DWORD timeoutMs) {
  WaitUntil([count] { return Launches().size() >= count; }, timeoutMs);
  return Launches();
}

}  // namespace vt

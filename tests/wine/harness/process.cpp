#include "harness/process.h"

#include "harness/text.h"

#include <psapi.h>

#include <algorithm>
#include <utility>

namespace vt {
namespace {

constexpr DWORD kTerminateWaitMs = 10000;

tk::UniqueHandle OpenForQuery(DWORD pid) {
  return tk::UniqueHandle(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
}

bool IsDirectory(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// CreateDirectoryW makes one level; walk the path so nested targets work.
bool CreateDirectories(const std::wstring& directory) {
  size_t at = directory.find_first_of(L"\\/", 3);  // skip the drive ("C:\")
  for (;; at = directory.find_first_of(L"\\/", at + 1)) {
    const std::wstring part = directory.substr(0, at);
    if (!CreateDirectoryW(part.c_str(), nullptr) && !IsDirectory(part)) return false;
    if (at == std::wstring::npos) return true;
  }
}

std::wstring FileNameOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

VantiskProcess::~VantiskProcess() { Terminate(); }

VantiskProcess& VantiskProcess::operator=(VantiskProcess&& other) noexcept {
  if (this != &other) {
    Terminate();
    process_ = std::move(other.process_);
    pid_ = std::exchange(other.pid_, 0);
  }
  return *this;
}

bool VantiskProcess::Start(const std::string& exePath, const std::string& arguments) {
  if (process_ || exePath.empty()) return false;
  std::wstring commandLine = L"\"" + Widen(exePath) + L"\"";
  if (!arguments.empty()) commandLine += L" " + Widen(arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return false;
  }
  const tk::UniqueHandle thread(info.hThread);
  process_.reset(info.hProcess);
  pid_ = info.dwProcessId;
  return true;
}

bool VantiskProcess::IsRunning() const {
  return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

bool VantiskProcess::WaitForExit(DWORD timeoutMs) const {
  return !process_ || WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
}

bool VantiskProcess::WaitForIdle(DWORD timeoutMs) const {
  return process_ && WaitForInputIdle(process_.get(), timeoutMs) == 0;
}

std::optional<DWORD> VantiskProcess::ExitCode() const {
  DWORD code = 0;
  if (!process_ || IsRunning() || !GetExitCodeProcess(process_.get(), &code)) return std::nullopt;
  return code;
}

void VantiskProcess::Terminate() {
  if (!IsRunning()) return;
  TerminateProcess(process_.get(), 1);
  WaitForSingleObject(process_.get(), kTerminateWaitMs);
}

std::string CopyFileTo(const std::string& file, const std::string& directory) {
  const std::wstring source = Widen(file);
  std::wstring folder = Widen(directory);
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  if (source.empty() || folder.empty() || !CreateDirectories(folder)) return {};
  const std::wstring target = folder + L"\\" + FileNameOf(source);
  if (!CopyFileW(source.c_str(), target.c_str(), FALSE)) return {};
  return Narrow(target);
}

std::optional<ProcessMemoryInfo> ProcessMemory(DWORD pid) {
  const tk::UniqueHandle process = OpenForQuery(pid);
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (!process ||
      !GetProcessMemoryInfo(process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                            sizeof counters)) {
    return std::nullopt;
  }
  // Both are the commit charge on Windows; Wine 8 fills in only PagefileUsage.
  const size_t commit = std::max<size_t>(counters.PrivateUsage, counters.PagefileUsage);
  return ProcessMemoryInfo{commit, counters.WorkingSetSize, counters.PeakWorkingSetSize,
                           counters.PagefileUsage, counters.PeakPagefileUsage};
}

std::optional<DWORD> HandleCount(DWORD pid) {
  const tk::UniqueHandle process = OpenForQuery(pid);
  DWORD count = 0;
  if (!process || !GetProcessHandleCount(process.get(), &count) || count == 0) {
    return std::nullopt;
  }
  return count;
}

namespace {

// GetGuiResources also returns 0 on failure.
std::optional<DWORD> GuiObjects(DWORD pid, DWORD kind) {
  const tk::UniqueHandle process = OpenForQuery(pid);
  const DWORD count = process ? GetGuiResources(process.get(), kind) : 0;
  if (count == 0) return std::nullopt;
  return count;
}

}  // namespace

std::optional<DWORD> GdiObjects(DWORD pid) { return GuiObjects(pid, GR_GDIOBJECTS); }

std::optional<DWORD> UserObjects(DWORD pid) { return GuiObjects(pid, GR_USEROBJECTS); }

std::string TempFolder(const std::string& name) {
  wchar_t temp[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH) return {};
  const std::wstring folder = std::wstring(temp, length) + Widen(name);
  return CreateDirectories(folder) ? Narrow(folder) : std::string();
}

std::string ReadWholeFile(const std::wstring& path) {
  const tk::UniqueHandle file = tk::OwnHandle(CreateFileW(path.c_str(), GENERIC_READ,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::string content;
  if (!file) return content;
  // Read to the end: a /proc file reports a size of 0.
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) content.append(buffer, read);
  return content;
}

}  // namespace vt

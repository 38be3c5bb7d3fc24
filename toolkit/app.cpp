#include "toolkit/app.h"

#include <cstring>
#include <optional>

#include "toolkit/app_resources.h"
#include "toolkit/failure.h"
#include "toolkit/wide.h"

namespace tk {
namespace {

std::string ModuleFileName() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length < buffer.size()) {
      buffer.resize(length);
      return Narrow(buffer);
    }
    buffer.resize(buffer.size() * 2);
  }
}

// The version resource begins with three WORDs and the key "VS_VERSION_INFO",
// padded to a DWORD boundary; its VS_FIXEDFILEINFO follows.
// RT_VERSION, spelled for the wide function.
const wchar_t* const kVersionType = MAKEINTRESOURCEW(16);

constexpr size_t kFixedInfoOffset = (3 * sizeof(WORD) + sizeof(L"VS_VERSION_INFO") + 3) & ~size_t{3};

// Read from the resource itself: the version functions would cost the program
// a DLL that is not one of the system's known DLLs.
std::optional<VS_FIXEDFILEINFO> FixedFileInfo() {
  const HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), kVersionType);
  const HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
  const auto* data = static_cast<const BYTE*>(loaded ? LockResource(loaded) : nullptr);
  VS_FIXEDFILEINFO fixed{};
  if (!data || SizeofResource(nullptr, found) < kFixedInfoOffset + sizeof fixed) return std::nullopt;
  std::memcpy(&fixed, data + kFixedInfoOffset, sizeof fixed);
  if (fixed.dwSignature != VS_FFI_SIGNATURE) return std::nullopt;
  return fixed;
}

std::string TitleString() {
  // With a length of 0 the function hands out the resource's own read-only text.
  const wchar_t* title = nullptr;
  const int length = LoadStringW(Instance(), TK_IDS_APP_TITLE, reinterpret_cast<wchar_t*>(&title), 0);
  return length > 0 && title ? Narrow(std::wstring_view(title, static_cast<size_t>(length))) : std::string();
}

Identity ReadIdentity() {
  Identity identity;
  identity.modulePath = ModuleFileName();
  const auto slash = identity.modulePath.find_last_of("\\/");
  const std::string file = identity.modulePath.substr(slash == std::string::npos ? 0 : slash + 1);
  identity.exeName = file.substr(0, file.find_last_of('.'));

  if (const std::optional<VS_FIXEDFILEINFO> fixed = FixedFileInfo()) {
    identity.major = HIWORD(fixed->dwFileVersionMS);
    identity.minor = LOWORD(fixed->dwFileVersionMS);
    identity.revision = HIWORD(fixed->dwFileVersionLS);
  }
  identity.title = TitleString();
  if (identity.title.empty()) identity.title = identity.exeName;
  return identity;
}

}  // namespace

const Identity& App() {
  static const Identity identity = ReadIdentity();
  return identity;
}

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

namespace {

HWND owner = nullptr;  // made once at start-up, for the whole run

HWND NewOwnerWindow(const char* className) {
  const std::wstring wideClassName = Widen(className);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = Instance();
  windowClass.lpszClassName = wideClassName.c_str();
  if (!RegisterClassExW(&windowClass)) {
    throw WindowError(WithSystemReason("The window class \"" + std::string(className) + "\" could not be registered"));
  }
  HWND window = CreateWindowExW(0, wideClassName.c_str(), Widen(App().title).c_str(), WS_POPUP, 0, 0, 0, 0,
                                nullptr, nullptr, Instance(), nullptr);
  if (!window) throw WindowError(WithSystemReason("The hidden window that owns the others could not be created"));
  return window;
}

}  // namespace

void MakeOwnerWindow(const char* className) { owner = NewOwnerWindow(className); }

HWND OwnerWindow() { return owner; }

std::string WithSystemReason(std::string failure) {
  const DWORD code = GetLastError();
  if (code == 0) return failure + ".";
  wchar_t* reason = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&reason), 0, nullptr);
  std::wstring_view said(reason ? reason : L"", reason ? length : 0);
  while (!said.empty() && std::wstring_view(L"\r\n. ").find(said.back()) != std::wstring_view::npos) {
    said.remove_suffix(1);
  }
  if (!said.empty()) failure += ": " + Narrow(said);
  LocalFree(reason);
  return failure + " (error " + std::to_string(code) + ").";
}

void EndProgram() { ExitProcess(0); }

}  // namespace tk

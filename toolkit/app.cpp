#include "toolkit/app.h"

#include <vector>

#include "toolkit/form.h"

namespace tk {
namespace {

std::string ModuleFileName() {
  std::string buffer(MAX_PATH, '\0');
  for (;;) {
    DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::vector<char> VersionInfo(const std::string& module) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(module.c_str(), &ignored);
  std::vector<char> block(size);
  if (size == 0 || !GetFileVersionInfoA(module.c_str(), 0, size, block.data())) block.clear();
  return block;
}

std::string ProductName(std::vector<char>& block) {
  struct Translation { WORD language, codePage; };
  Translation* translation = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &length) ||
      length < sizeof(Translation)) {
    return {};
  }
  char query[64];
  wsprintfA(query, "\\StringFileInfo\\%04x%04x\\ProductName", translation->language, translation->codePage);
  char* name = nullptr;
  if (!VerQueryValueA(block.data(), query, reinterpret_cast<void**>(&name), &length) || !name) return {};
  return name;
}

Identity ReadIdentity() {
  Identity identity;
  identity.modulePath = ModuleFileName();
  auto slash = identity.modulePath.find_last_of("\\/");
  identity.path = slash == std::string::npos ? std::string{} : identity.modulePath.substr(0, slash);
  std::string file = identity.modulePath.substr(slash == std::string::npos ? 0 : slash + 1);
  identity.exeName = file.substr(0, file.find_last_of('.'));

  std::vector<char> block = VersionInfo(identity.modulePath);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!block.empty() && VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) && fixed) {
    identity.major = HIWORD(fixed->dwFileVersionMS);
    identity.minor = LOWORD(fixed->dwFileVersionMS);
    identity.revision = HIWORD(fixed->dwFileVersionLS);
  }
  if (!block.empty()) identity.title = ProductName(block);
  if (identity.title.empty()) identity.title = identity.exeName;
  return identity;
}

}  // namespace

const Identity& App() {
  static const Identity identity = ReadIdentity();
  return identity;
}

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

HWND OwnerWindow() {
  static const HWND owner = [] {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = Instance();
    windowClass.lpszClassName = "VantiskOwner";
    RegisterClassExA(&windowClass);
    return CreateWindowExA(0, "VantiskOwner", App().title.c_str(), WS_POPUP, 0, 0, 0, 0,
                           nullptr, nullptr, Instance(), nullptr);
  }();
  return owner;
}

int RunMessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    // Only keyboard messages need the forms' key handling; timers, paints
    // and mouse messages go straight to their windows.
    const bool keyboard = message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
    if (keyboard && Form::PreTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

void EndProgram() { ExitProcess(0); }

}  // namespace tk

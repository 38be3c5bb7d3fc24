#include "harness/input.h"

#include "harness/wait.h"

#include <algorithm>
#include <iterator>

namespace vt {
namespace {

INPUT KeyInput(WORD virtualKey, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

INPUT MouseInput(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  return input;
}

bool Send(std::vector<INPUT>& inputs) {
  const UINT count = static_cast<UINT>(inputs.size());
  return SendInput(count, inputs.data(), sizeof(INPUT)) == count;
}

bool IsForeground(HWND window) { return GetForegroundWindow() == window; }

// Windows lets only the foreground thread's input queue hand the foreground
// on; sharing that queue for a moment lends the test that right.
void ForceForeground(HWND window) {
  const DWORD self = GetCurrentThreadId();
  const DWORD current = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  const bool attached = current != 0 && current != self && AttachThreadInput(self, current, TRUE);
  BringWindowToTop(window);
  SetForegroundWindow(window);
  if (attached) AttachThreadInput(self, current, FALSE);
}

}  // namespace

bool PressChord(std::initializer_list<WORD> virtualKeys) {
  std::vector<INPUT> inputs;
  for (const WORD key : virtualKeys) inputs.push_back(KeyInput(key, false));
  for (auto key = std::rbegin(virtualKeys); key != std::rend(virtualKeys); ++key) {
    inputs.push_back(KeyInput(*key, true));
  }
  return Send(inputs);
}

bool PressKey(WORD virtualKey) { return PressChord({virtualKey}); }

bool BringToFront(HWND window, DWORD timeoutMs) {
  if (!IsWindow(window)) return false;
  SetForegroundWindow(window);
  if (WaitUntil([window] { return IsForeground(window); }, timeoutMs / 2)) return true;
  ForceForeground(window);
  return WaitUntil([window] { return IsForeground(window); }, timeoutMs / 2);
}

POINT CenterOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

bool ClickAt(POINT screenPoint, MouseButton button, int clicks) {
  if (!SetCursorPos(screenPoint.x, screenPoint.y)) return false;
  const bool left = button == MouseButton::Left;
  std::vector<INPUT> inputs;
  for (int i = 0; i < clicks; ++i) {
    inputs.push_back(MouseInput(left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN));
    inputs.push_back(MouseInput(left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP));
  }
  return Send(inputs);
}

std::vector<HWND> TrayIconWindows() {
  std::vector<HWND> icons;
  const HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
  if (!tray) return icons;
  for (HWND icon = FindWindowExW(tray, nullptr, L"__winex11_tray_icon", nullptr); icon;
       icon = FindWindowExW(tray, icon, L"__winex11_tray_icon", nullptr)) {
    icons.push_back(icon);
  }
  std::sort(icons.begin(), icons.end(), [](HWND a, HWND b) { return CenterOf(a).x < CenterOf(b).x; });
  return icons;
}

}  // namespace vt

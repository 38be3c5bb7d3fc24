// The benchmark's reference: a bare Win32 program, built by the same toolchain
// with the same flags as Vantisk, that does what Vantisk does at rest minus
// Vantisk itself.
//
//   bench_reference
//       a small visible window with a 100 ms timer whose ticks do nothing,
//       until the window is closed
//   bench_reference --launch <target> [--go <event> [--again]]
//       opens <target> once as Vantisk's check does (ShellExecuteA "Open")
//       and exits. With --go it first sets the event "<event>.ready" and
//       waits for <event>, so that the driver times the launch alone and
//       not the start-up of this process before it; with --again it then
//       does so once more, for a second launch of the same process.
//
// Built with BENCH_THEMED (bench_reference_themed), the window also holds one
// push button, and the program loads the common controls as Vantisk does;
// its resources hold Vantisk's manifest, so the button is themed.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

namespace {

constexpr char kClassName[] = "VantiskBenchReference";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerMs = 100;  // Vantisk's clipboard poll
constexpr DWORD kGoTimeoutMs = 60000;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

#ifdef BENCH_THEMED
// As Vantisk's start: the side-by-side common controls by name, then their
// standard classes.
void LoadCommonControls() {
  using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  const HMODULE library = LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  const auto init =
      library ? reinterpret_cast<Init>(reinterpret_cast<void*>(GetProcAddress(library, "InitCommonControlsEx")))
              : nullptr;
  const INITCOMMONCONTROLSEX request{sizeof request, ICC_STANDARD_CLASSES};
  if (init) init(&request);
}

bool AddButton(HWND window, HINSTANCE instance) {
  return CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 8, 8, 80, 26,
                         window, nullptr, instance, nullptr) != nullptr;
}
#endif

int RunWindow(HINSTANCE instance) {
#ifdef BENCH_THEMED
  LoadCommonControls();
#endif
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassA(&windowClass)) return 1;
  HWND window = CreateWindowExA(0, kClassName, "Reference", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 240, 120, nullptr, nullptr, instance, nullptr);
  if (!window || !SetTimer(window, kTimerId, kTimerMs, nullptr)) return 1;
#ifdef BENCH_THEMED
  if (!AddButton(window, instance)) return 1;
#endif
  ShowWindow(window, SW_SHOW);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

struct EventCloser {
  void operator()(HANDLE event) const noexcept { CloseHandle(event); }
};
using UniqueEvent = std::unique_ptr<void, EventCloser>;

// Tells the driver this process is ready and waits for its go.
bool AwaitGo(const std::string& name) {
  const UniqueEvent ready(OpenEventA(EVENT_MODIFY_STATE, FALSE, (name + ".ready").c_str()));
  const UniqueEvent go(OpenEventA(SYNCHRONIZE, FALSE, name.c_str()));
  return ready && go && SetEvent(ready.get()) &&
         WaitForSingleObject(go.get(), kGoTimeoutMs) == WAIT_OBJECT_0;
}

// shell32 is loaded here rather than imported: the resting window needs
// nothing of it, and loading it before the go keeps it out of the launch.
int Launch(const std::string& target, const std::string& goEvent, bool again) {
  using Execute = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
  const HMODULE shell = LoadLibraryA("shell32.dll");
  const auto execute =
      reinterpret_cast<Execute>(reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteA")));
  if (!execute) return 1;
  for (int launch = again ? 2 : 1; launch > 0; --launch) {
    if (!goEvent.empty() && !AwaitGo(goEvent)) return 1;
    // The same call as Vantisk's, with real empty strings like it.
    const HINSTANCE result = execute(nullptr, "Open", target.c_str(), "", "", SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) <= 32) return 2;
  }
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (__argc == 1) return RunWindow(instance);
  const bool launch = __argc >= 3 && std::string_view(__argv[1]) == "--launch";
  const bool withGo = (__argc == 5 || __argc == 6) && std::string_view(__argv[3]) == "--go";
  const bool again = withGo && __argc == 6 && std::string_view(__argv[5]) == "--again";
  if (!launch || (__argc != 3 && !withGo) || (__argc == 6 && !again)) return 64;  // usage
  return Launch(__argv[2], withGo ? __argv[4] : "", again);
}

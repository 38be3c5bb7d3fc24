// Stand-in browser for the Wine tests: appends what it was asked to open to
// C:\vantisk-launches.log, one line per launch, and exits. The file is opened
// and closed per launch because tests read it while the program still runs.
#include "harness/handles.h"

#include <windows.h>

#include <string>

namespace {

// The raw command line after the program name, leading blanks dropped. The
// program name follows the CreateProcess rules: quoted, or up to a blank.
std::wstring ArgumentText(const wchar_t* commandLine) {
  std::wstring_view rest(commandLine);
  if (!rest.empty() && rest.front() == L'"') {
    const size_t close = rest.find(L'"', 1);
    rest.remove_prefix(close == std::wstring_view::npos ? rest.size() : close + 1);
  } else {
    const size_t blank = rest.find_first_of(L" \t");
    rest.remove_prefix(blank == std::wstring_view::npos ? rest.size() : blank);
  }
  const size_t first = rest.find_first_not_of(L" \t");
  rest.remove_prefix(first == std::wstring_view::npos ? rest.size() : first);
  // Exactly one pair of surrounding quotes: the one the "%1" template adds.
  if (rest.size() >= 2 && rest.front() == L'"' && rest.back() == L'"') {
    rest = rest.substr(1, rest.size() - 2);
  }
  return std::wstring(rest);
}

std::string Utf8Line(const std::wstring& text) {
  std::string line;
  if (!text.empty()) {
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    line.resize(static_cast<size_t>(length));
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, line.data(), length, nullptr, nullptr);
  }
  return line + "\r\n";
}

bool AppendToLog(const std::string& line) {
  const vt::UniqueHandle file = vt::OwnHandle(
      CreateFileW(L"C:\\vantisk-launches.log", FILE_APPEND_DATA,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  // One write per line, so a reader never sees half of one after a newline.
  return WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
         written == line.size();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return AppendToLog(Utf8Line(ArgumentText(GetCommandLineW()))) ? 0 : 1;
}

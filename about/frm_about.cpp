#include "about/frm_about.h"

#include "about/registry_text.h"
#include "links/public_suffix.h"
#include "resources/resource.h"
#include "toolkit/handles.h"
#include "toolkit/registry.h"
#include "toolkit/app.h"
#include "toolkit/message_box.h"
#include "toolkit/wide.h"

namespace ids = vantisk::about_ids;

namespace {

constexpr char kMsinfoKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char kMsinfoLocationKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr char kMsinfoFile[] = "\\MSINFO32.EXE";

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesW(tk::Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Where neither registry location names the tool, the copy in the system
// folder is used if there is one.
std::string SystemFolderMsinfo() {
  wchar_t folder[MAX_PATH];
  UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::string path = tk::Narrow(std::wstring_view(folder, length)) + kMsinfoFile;
  return FileExists(path) ? path : std::string{};
}

// A stored path or folder that names no tool (it was moved or removed) is
// passed over, so that the system folder's copy still gets its turn.
std::string FindSysInfo() {
  std::string path;
  if (GetKeyValue(HKEY_LOCAL_MACHINE, kMsinfoKey, "PATH", path) && FileExists(path)) return path;
  if (GetKeyValue(HKEY_LOCAL_MACHINE, kMsinfoLocationKey, "MSINFO", path) && FileExists(path + kMsinfoFile)) {
    return path + kMsinfoFile;
  }
  return SystemFolderMsinfo();
}

// Starts the program with a normal, focused window; does not wait for it.
bool StartProgram(const std::string& path) {
  if (path.empty()) return false;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  const std::wstring widePath = tk::Widen(path);
  std::wstring commandLine = L"\"" + widePath + L"\"";
  if (!CreateProcessW(widePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  // Started: the handles are not needed, only released.
  tk::UniqueHandle thread(process.hThread), started(process.hProcess);
  return true;
}

// The maker, and the edition of the list that names each address's site.
std::string Description() {
  return "A clipboard URL checker by Tessanor LTD\n\nSites named by the Public Suffix List of " +
         std::string(vantisk::PublicSuffixListDate());
}

}  // namespace

frmAboutWindow::frmAboutWindow()
    : tk::Form({.className = ids::kClassName,
                .caption = "About",
                .clientWidth = 5730,
                .clientHeight = 3555,
                .clientPosition = POINT{2340, 1935},
                .madeAtFirstShow = true}),
      picIcon(*this, {ids::picIcon, "", {240, 240, 540, 540}, 1}, IDI_ABOUT),
      lblTitle(*this, {ids::lblTitle, "Application Title", {1050, 240, 3885, 480}, 4}),
      lblVersion(*this, {ids::lblVersion, "Version", {1050, 780, 3885, 225}, 5}),
      lblDescription(*this, {ids::lblDescription, Description(), {1050, 1125, 3885, 1170}, 3}),
      cmdOK(*this, {ids::cmdOK, "OK", {4245, 2625, 1260, 345}, 0}, tk::Button::Role::DefaultAndCancel),
      cmdSysInfo(*this, {ids::cmdSysInfo, "&System Info...", {4260, 3075, 1245, 345}, 2}),
      Line1_1(*this, {90, 2445}, {5654, 2445}, RGB(0x80, 0x80, 0x80), 1),
      Line1_0(*this, {105, 2460}, {5654, 2460}, RGB(0xFF, 0xFF, 0xFF), 2) {
  cmdOK.onClick = [this] { cmdOK_Click(); };
  cmdSysInfo.onClick = [this] { cmdSysInfo_Click(); };
}

frmAboutWindow& frmAbout() {
  static frmAboutWindow window;
  return window;
}

void frmAboutWindow::Form_Load() {
  const tk::Identity& app = tk::App();
  SetCaption("About " + app.title);
  lblVersion.SetText("Version " + std::to_string(app.major) + "." + std::to_string(app.minor) + "." +
                     std::to_string(app.revision));
  lblTitle.SetText(app.title);
}

void frmAboutWindow::cmdOK_Click() { Unload(); }

void frmAboutWindow::cmdSysInfo_Click() { StartSysInfo(); }

void frmAboutWindow::StartSysInfo() {
  if (!StartProgram(FindSysInfo())) {
    tk::MsgBox(hWnd(), "System Information Is Unavailable At This Time", MB_OK);
  }
}

// Opened for reading only: a standard user may read these keys but not open
// them with full access. The value is read whole, however long the path in it.
bool GetKeyValue(HKEY KeyRoot, const std::string& KeyName, const std::string& SubKeyRef, std::string& KeyVal) {
  const tk::RegKey key = tk::OpenRegKey(KeyRoot, tk::Widen(KeyName).c_str(), KEY_READ);
  const std::optional<tk::RegistryValue> value =
      key ? tk::ReadRegistryValue(key.get(), tk::Widen(SubKeyRef).c_str()) : std::nullopt;
  if (!value) {
    KeyVal.clear();
    return false;
  }
  if (value->type == REG_SZ) {
    std::wstring units = tk::StoredUnits(*value);
    if (!units.empty() && units.back() == L'\0') units.pop_back();
    KeyVal = tk::Narrow(units);
  } else if (value->type == REG_DWORD) {
    const std::string_view data(value->data.data(), value->data.size());
    // Kept as the "&h" text: no caller reads a number through here.
    KeyVal = vantisk::DwordRegistryText(vantisk::TrimRegistryText(data, static_cast<std::uint32_t>(data.size())));
  }
  return true;
}

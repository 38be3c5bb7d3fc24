// A DLL left beside the exe, as a web page can leave one in a downloads
// folder, never runs inside Vantisk. Wine is told to prefer such a copy over
// its own, which is what Windows does for any DLL that is not a known DLL.
#include <iterator>

#include "harness/text.h"
#include "vantisk_fixture.h"

namespace vt {
namespace {

// DLLs that are not known DLLs and that the program loads by name or the
// system loads on its behalf: the theme library (user32 at the first window),
// msimg32 (the theme library), the common controls, and for the address check
// urlmon (with wininet and its mpr) and usp10. Not version.dll: Wine's own user32
// imports it, so under Wine a planted copy runs in any program at all started
// beside it; on Windows user32 is a known DLL, whose imports come from the
// system folder. The import-table unit test keeps it out of the program's imports.
constexpr const char* kPlanted[] = {"uxtheme", "msimg32", "comctl32", "urlmon", "usp10", "wininet", "mpr"};

// Read by Wine for every program named Vantisk.exe, whatever its folder.
constexpr char kOverridesKey[] = "Software\\Wine\\AppDefaults\\Vantisk.exe\\DllOverrides";
constexpr DWORD kPlantedExitCode = 77;  // planted_dll.cpp

std::vector<std::string> AllPlanted() { return {std::begin(kPlanted), std::end(kPlanted)}; }

bool CopyAs(const std::string& from, const std::string& to) {
  return CopyFileW(Widen(from).c_str(), Widen(to).c_str(), FALSE) != FALSE;
}

// A fresh temporary folder holding `exe` as Vantisk.exe and a planted copy of
// every DLL of the list; "" on failure.
std::string PlantBeside(const std::string& exe, const std::string& folderName) {
  const std::string folder = TempFolder(folderName);
  if (folder.empty() || !CopyAs(exe, folder + "\\Vantisk.exe")) return {};
  for (const char* dll : kPlanted) {
    if (!CopyAs(WindowsPathFromUnix(PLANTED_DLL_UNIX), folder + "\\" + dll + ".dll")) return {};
  }
  return folder;
}

bool PreferPlantedCopies() {
  for (const char* dll : kPlanted) {
    if (!RegSetText(HKEY_CURRENT_USER, kOverridesKey, dll, "native,builtin")) return false;
  }
  return true;
}

// The planted DLLs that ran from `folder`: each leaves "<name>.dll.ran" there.
std::vector<std::string> RanFrom(const std::string& folder) {
  std::vector<std::string> ran;
  for (const char* dll : kPlanted) {
    const std::wstring marker = Widen(folder + "\\" + dll + ".dll.ran");
    if (GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES) ran.push_back(dll);
  }
  return ran;
}

class PlantedDlls : public VantiskTest {};

TEST_F(PlantedDlls, NoneRunsInsideTheProgram) {
  ASSERT_TRUE(PreferPlantedCopies());

  // The control, named Vantisk.exe too: it loads each DLL by name with the
  // plain search, so every planted copy must run there. Otherwise this test
  // could not tell a planted DLL that runs from one that does not.
  const std::string control = PlantBeside(WindowsPathFromUnix(PLANTED_DLL_LOADER_UNIX), "planted-control");
  ASSERT_NE(control, "");
  for (const char* dll : kPlanted) {
    VantiskProcess loader;
    ASSERT_TRUE(loader.Start(control + "\\Vantisk.exe", std::string(dll) + ".dll"));
    ASSERT_TRUE(loader.WaitForExit(10000));
    EXPECT_EQ(loader.ExitCode(), kPlantedExitCode) << dll << ".dll did not run when loaded by name";
  }
  ASSERT_EQ(RanFrom(control), AllPlanted());

  const std::string folder = PlantBeside(VantiskExePath(), "planted-program");
  ASSERT_NE(folder, "");
  Start(folder + "\\Vantisk.exe");
  if (!HasFatalFailure()) {
    CheckManually("https://planted.example/");
    EXPECT_EQ(WaitForLaunches(1, 5000).size(), 1u) << "the address check did not reach the browser";
    ExpectAnswering();
  }
  EXPECT_EQ(RanFrom(folder), std::vector<std::string>{})
      << "planted DLLs ran inside Vantisk; its exit code: " << app.ExitCode().value_or(0);
}

}  // namespace
}  // namespace vt

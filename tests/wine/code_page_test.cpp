// The program on a system whose code page is 1252, as on Windows before 10
// version 1903, where the manifest's UTF-8 code page has no effect: a copy of
// the exe without that manifest setting. A host with a letter outside the code
// page reaches the checker in punycode and the user in its real letters, never
// as the ASCII look-alike a best-fit conversion would make of it.
#include "vantisk_fixture.h"

#include "harness/handles.h"
#include "harness/text.h"

namespace vt {
namespace {

namespace ids = vantisk::form2_ids;

constexpr WORD kManifestType = 24;  // RT_MANIFEST
constexpr WORD kManifestId = 1;     // the manifest a process is created with

// The manifest of an exe and the language it is stored under.
struct Manifest {
  std::string text;
  WORD language = 0;
};

std::optional<Manifest> ReadManifest(const std::string& exe) {
  const HMODULE module = LoadLibraryExW(Widen(exe).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return std::nullopt;
  std::optional<Manifest> manifest;
  WORD language = 0;
  EnumResourceLanguagesW(
      module, MAKEINTRESOURCEW(kManifestType), MAKEINTRESOURCEW(kManifestId),
      [](HMODULE, LPCWSTR, LPCWSTR, WORD found, LONG_PTR into) {
        *reinterpret_cast<WORD*>(into) = found;
        return FALSE;
      },
      reinterpret_cast<LONG_PTR>(&language));
  const HRSRC found = FindResourceExW(module, MAKEINTRESOURCEW(kManifestType), MAKEINTRESOURCEW(kManifestId), language);
  const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  if (const void* data = loaded ? LockResource(loaded) : nullptr) {
    manifest = Manifest{std::string(static_cast<const char*>(data), SizeofResource(module, found)), language};
  }
  FreeLibrary(module);
  return manifest;
}

// Removes the activeCodePage element from the exe's manifest; false when
// there was none or the exe could not be rewritten.
bool RemoveActiveCodePage(const std::string& exe) {
  std::optional<Manifest> manifest = ReadManifest(exe);
  if (!manifest) return false;
  const size_t start = manifest->text.find("<activeCodePage");
  const std::string closing = "</activeCodePage>";
  const size_t end = manifest->text.find(closing, start);
  if (start == std::string::npos || end == std::string::npos) return false;
  manifest->text.erase(start, end + closing.size() - start);
  const HANDLE update = BeginUpdateResourceW(Widen(exe).c_str(), FALSE);
  if (!update) return false;
  const bool updated =
      UpdateResourceW(update, MAKEINTRESOURCEW(kManifestType), MAKEINTRESOURCEW(kManifestId), manifest->language,
                      manifest->text.data(), static_cast<DWORD>(manifest->text.size())) != FALSE;
  return EndUpdateResourceW(update, !updated) != FALSE && updated;
}

// The texts of the visible tooltip windows: Wine's tray shows a balloon as one.
std::vector<std::string> BalloonTexts() {
  std::vector<HWND> balloons;
  EnumWindows(
      [](HWND window, LPARAM into) {
        wchar_t name[32] = {};
        GetClassNameW(window, name, 32);
        if (lstrcmpiW(name, L"tooltips_class32") == 0 && IsWindowVisible(window)) {
          reinterpret_cast<std::vector<HWND>*>(into)->push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&balloons));
  std::vector<std::string> texts;
  for (HWND balloon : balloons) texts.push_back(WindowText(balloon));
  return texts;
}

class CodePage1252 : public VantiskTest {
 protected:
  void PressCheck() {
    ASSERT_TRUE(BringToFront(other_.get()));
    ASSERT_TRUE(PressChord({VK_CONTROL, VK_MENU, 'S'}));
  }

 private:
  UniqueWindow other_{CreateWindowExW(0, L"STATIC", L"another program", WS_POPUP | WS_VISIBLE, 400, 400, 200, 100,
                                      nullptr, nullptr, nullptr, nullptr)};
};

TEST_F(CodePage1252, ALetterOutsideTheCodePageKeepsItsRealSpelling) {
  const std::string exe = CopyFileTo(VantiskExePath(), TempFolder("code page 1252"));
  ASSERT_FALSE(exe.empty());
  ASSERT_TRUE(RemoveActiveCodePage(exe));
  const std::optional<Manifest> written = ReadManifest(exe);
  ASSERT_TRUE(written.has_value());
  EXPECT_EQ(written->text.find("activeCodePage"), std::string::npos) << written->text;
  EXPECT_NE(written->text.find("PerMonitorV2"), std::string::npos) << "the rest of the manifest stays";

  Start(exe);
  const std::string copied = "https://paypał.com/";  // ł is U+0142, not in code page 1252
  PutOnClipboard(copied);
  EXPECT_EQ(MonitorText(ids::Text1), copied);
  PressCheck();
  const std::vector<std::string> launches = WaitForLaunches(1, 5000);
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches.front(), kChecker + "https://xn--paypa-o7a.com/");
  EXPECT_EQ(launches.front().find("paypal.com"), std::string::npos) << "the look-alike was checked";

  // The notification names the host in its real letters.
  std::string told;
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (const std::string& text : BalloonTexts()) {
          if (text.find("paypa") != std::string::npos) told = text;
        }
        return !told.empty();
      },
      6000))
      << "no notification with the host";
  EXPECT_NE(told.find("paypał.com"), std::string::npos) << told;
  EXPECT_EQ(told.find("paypal.com"), std::string::npos) << told;
}

}  // namespace
}  // namespace vt

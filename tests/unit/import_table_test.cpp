// The Windows exes import only DLLs the system always takes from its own
// folder. Any other DLL is looked for in the exe's folder first, and the
// portable exe is run from wherever it was unpacked, a downloads folder
// included, where a web page can leave a DLL of that name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

// Known DLLs of Windows 7 and Windows 10 alike (the KnownDLLs key under
// Session Manager): loaded from the system folder whatever the search order.
// comctl32 is not one, but the manifest binds it to the system's
// side-by-side copy.
const std::vector<std::string> kAllowed = {
    "advapi32.dll", "clbcatq.dll",  "comctl32.dll", "comdlg32.dll", "gdi32.dll",    "imagehlp.dll",
    "imm32.dll",    "kernel32.dll", "msctf.dll",    "msvcrt.dll",   "normaliz.dll", "nsi.dll",
    "ole32.dll",    "oleaut32.dll", "psapi.dll",    "rpcrt4.dll",   "sechost.dll",  "setupapi.dll",
    "shell32.dll",  "shlwapi.dll",  "user32.dll",   "wldap32.dll",  "ws2_32.dll"};

constexpr uint16_t kMachineI386 = 0x14c;
constexpr uint16_t kMachineAmd64 = 0x8664;

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// Just enough of the PE format to list the DLLs named by the import table.
class PeImage {
 public:
  explicit PeImage(std::vector<char> bytes) : bytes_(std::move(bytes)) {}

  template <typename Value>
  std::optional<Value> At(size_t offset) const {
    Value value;
    if (offset > bytes_.size() || bytes_.size() - offset < sizeof value) return std::nullopt;
    std::memcpy(&value, bytes_.data() + offset, sizeof value);
    return value;
  }

  std::optional<std::string> StringAt(size_t offset) const {
    if (offset >= bytes_.size()) return std::nullopt;
    const auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(offset);
    const auto end = std::find(begin, bytes_.end(), '\0');
    if (end == bytes_.end()) return std::nullopt;
    return std::string(begin, end);
  }

 private:
  std::vector<char> bytes_;
};

struct Imports {
  uint16_t machine = 0;
  uint32_t fileAlignment = 0;
  std::vector<std::string> dlls;  // lower case
  std::string error;              // why the file could not be read
};

struct Section {
  uint32_t virtualAddress, virtualSize, rawOffset, rawSize;
};

std::optional<size_t> FileOffsetOf(uint32_t rva, const std::vector<Section>& sections) {
  for (const Section& section : sections) {
    const uint32_t size = std::max(section.virtualSize, section.rawSize);
    if (rva >= section.virtualAddress && rva - section.virtualAddress < size) {
      return size_t{section.rawOffset} + (rva - section.virtualAddress);
    }
  }
  return std::nullopt;
}

Imports ReadImports(const PeImage& image) {
  Imports imports;
  const auto peOffset = image.At<uint32_t>(0x3c);
  if (image.At<uint16_t>(0) != uint16_t{0x5a4d} || !peOffset || image.At<uint32_t>(*peOffset) != 0x4550u) {
    imports.error = "not a PE file";
    return imports;
  }
  const size_t coff = *peOffset + 4;
  const size_t optional = coff + 20;
  imports.machine = image.At<uint16_t>(coff).value_or(0);
  const uint16_t sectionCount = image.At<uint16_t>(coff + 2).value_or(0);
  const uint16_t optionalSize = image.At<uint16_t>(coff + 16).value_or(0);
  const auto magic = image.At<uint16_t>(optional);
  if (magic != uint16_t{0x10b} && magic != uint16_t{0x20b}) {
    imports.error = "unknown optional header";
    return imports;
  }
  imports.fileAlignment = image.At<uint32_t>(optional + 36).value_or(0);
  // The data directories follow the optional header's fixed part, which is
  // 16 bytes longer in PE32+; the import table is directory 1.
  const size_t directories = optional + (magic == 0x20b ? 112 : 96);
  const uint32_t importRva = image.At<uint32_t>(directories + 8).value_or(0);

  std::vector<Section> sections;
  for (size_t i = 0, header = optional + optionalSize; i < sectionCount; ++i, header += 40) {
    sections.push_back({image.At<uint32_t>(header + 12).value_or(0), image.At<uint32_t>(header + 8).value_or(0),
                        image.At<uint32_t>(header + 20).value_or(0), image.At<uint32_t>(header + 16).value_or(0)});
  }
  const std::optional<size_t> table = FileOffsetOf(importRva, sections);
  if (!table) {
    imports.error = "no import table";
    return imports;
  }
  // One 20-byte descriptor per DLL, the DLL's name at +12; a zero name ends the table.
  for (size_t descriptor = *table;; descriptor += 20) {
    const uint32_t nameRva = image.At<uint32_t>(descriptor + 12).value_or(0);
    if (nameRva == 0) break;
    const std::optional<size_t> nameOffset = FileOffsetOf(nameRva, sections);
    const std::optional<std::string> name = nameOffset ? image.StringAt(*nameOffset) : std::nullopt;
    if (!name) {
      imports.error = "an import names no DLL";
      return imports;
    }
    imports.dlls.push_back(Lower(*name));
  }
  return imports;
}

std::optional<PeImage> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  return PeImage(std::vector<char>(std::istreambuf_iterator<char>(file), {}));
}

struct Exe {
  const char* path;
  const char* cacheVariable;
  const char* preset;
  uint16_t machine;
};

TEST(ImportTable, BothExesImportOnlyKnownDllsAndTheCommonControlsAndAlignSectionsToPages) {
  const Exe exes[] = {{VANTISK_WIN32_EXE, "VANTISK_WIN32_EXE", "win32", kMachineI386},
                      {VANTISK_WIN64_EXE, "VANTISK_WIN64_EXE", "win64", kMachineAmd64}};
  for (const Exe& exe : exes) {
    SCOPED_TRACE(exe.path);
    const std::optional<PeImage> image = ReadFile(exe.path);
    if (!image) {
      ADD_FAILURE() << exe.path << " is missing: build the " << exe.preset << " preset, or point "
                    << exe.cacheVariable << " at the exe";
      continue;
    }
    const Imports imports = ReadImports(*image);
    ASSERT_EQ(imports.error, "");
    EXPECT_EQ(imports.machine, exe.machine) << "the " << exe.preset << " exe was expected";
    EXPECT_EQ(imports.fileAlignment % 4096, 0u)
        << "sections not aligned to pages in the file are copied into private memory by Wine, not mapped";
    // A reader that found nothing would let anything pass.
    EXPECT_TRUE(Contains(imports.dlls, "kernel32.dll")) << "kernel32.dll was not found among the imports";
    for (const std::string& dll : imports.dlls) {
      EXPECT_TRUE(Contains(kAllowed, dll)) << "imports " << dll << ", which is not one of the system's known DLLs: Windows looks for it "
          << "beside the exe first";
    }
  }
}

}  // namespace

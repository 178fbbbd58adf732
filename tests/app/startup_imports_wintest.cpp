// The program starts without the DLLs that only a later action needs: each one loaded
// before the first window costs start-up time (the file dialogs' DLL alone some 30 ms
// under Wine). They are delay-imported and load at their first call.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "quencfg/framework/pause.h"

namespace quencfg {
namespace {

std::vector<char> ReadWholeFile(const std::wstring& path) {
  std::ifstream file(path.c_str(), std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

template <typename T>
bool ReadAt(const std::vector<char>& bytes, std::size_t offset, T& value) {
  if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) return false;
  std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return true;
}

// The DLL names of a 64-bit executable's import directory, lower case; empty when the
// file is not one.
std::vector<std::string> StaticImportsOf(const std::vector<char>& image) {
  IMAGE_DOS_HEADER dos{};
  IMAGE_NT_HEADERS64 nt{};
  if (!ReadAt(image, 0, dos) || !ReadAt(image, static_cast<std::size_t>(dos.e_lfanew), nt)) return {};
  if (nt.Signature != IMAGE_NT_SIGNATURE || nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) return {};
  const std::size_t sections = static_cast<std::size_t>(dos.e_lfanew) + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                               nt.FileHeader.SizeOfOptionalHeader;
  const auto fileOffset = [&](DWORD rva) -> std::size_t {
    for (WORD i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
      IMAGE_SECTION_HEADER section{};
      if (!ReadAt(image, sections + i * sizeof section, section)) break;
      if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.SizeOfRawData) {
        return rva - section.VirtualAddress + section.PointerToRawData;
      }
    }
    return image.size();
  };
  std::vector<std::string> names;
  const DWORD directory = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  for (std::size_t entry = fileOffset(directory);; entry += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    IMAGE_IMPORT_DESCRIPTOR descriptor{};
    if (!ReadAt(image, entry, descriptor) || descriptor.Name == 0) break;
    std::string name;
    for (std::size_t at = fileOffset(descriptor.Name); at < image.size() && image[at] != '\0'; ++at) {
      name += static_cast<char>(std::tolower(static_cast<unsigned char>(image[at])));
    }
    names.push_back(name);
  }
  return names;
}

TEST(StartupImports, TheProgramLoadsTheDllsOfLaterActionsOnlyWhenTheyAreCalled) {
  const std::vector<std::string> imports =
      StaticImportsOf(ReadWholeFile(std::wstring(KORVANE_TEST_APP_DIR) + L"Korvane.exe"));
  ASSERT_NE(std::find(imports.begin(), imports.end(), "user32.dll"), imports.end()) << "the import list was read";
  // The file dialogs, the timer resolution of a full write, and a picture drawer the
  // program no longer needs.
  for (const char* later : {"comdlg32.dll", "winmm.dll", "gdiplus.dll"}) {
    EXPECT_EQ(std::find(imports.begin(), imports.end(), later), imports.end()) << later;
  }
}

TEST(StartupImports, ADelayImportedDllLoadsAtItsFirstCall) {
  // This test program links the same libraries as the program; the timer resolution of
  // a full write is the first call into its DLL.
  PauseClock& clock = SystemPauseClock();
  clock.BeginPreciseTiming();
  clock.EndPreciseTiming();
  EXPECT_NE(::GetModuleHandleW(L"winmm.dll"), nullptr);
}

}  // namespace
}  // namespace quencfg

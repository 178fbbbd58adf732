#pragma once
// The language-dependent parts of the skin: which strings file a language reads, and
// the face name of every font the skinned windows create.
#include <cstdint>
#include <string>
#include <string_view>

namespace quencfg {

// The folder code of a `Language` value of the settings: 106 "CS", 108 "ES", ...;
// English ("EN") for 101 and for any value without a folder of its own.
std::u16string_view LanguageCode(std::int32_t language) noexcept;

// The language whose strings answer for what another language's file lacks.
inline constexpr std::int32_t kEnglishLanguage = 101;

// AppFolder() + "Languages\<code>\Strings.xml" (with this platform's separator).
std::u16string StringsFilePath(std::int32_t language);
// The same below any folder ending with the separator; the seam the tests use.
std::u16string StringsFilePathIn(std::u16string_view appFolder, std::int32_t language);
// StringsFilePath(kEnglishLanguage).
std::u16string EnglishStringsFilePath();

// The process-wide face name; empty until the main window's layout pass sets it from
// GLOBAL/FONT of the strings file. Safe to call from any thread.
std::u16string SkinFontName();
void SetSkinFontName(std::u16string_view face);

}  // namespace quencfg

#pragma once
// Paths are UTF-16 strings; folder strings end with the separator.
#include <string>
#include <string_view>

namespace quencfg {

#ifdef _WIN32
inline constexpr char16_t kPathSeparator = u'\\';
#else
inline constexpr char16_t kPathSeparator = u'/';
#endif

// The maximum length of a path held in a fixed 260-unit buffer, without its terminating 0.
inline constexpr std::size_t kMaxPathLength = 259;

// Turns a relative path written with backslashes ("Profiles\\a.profile") into
// this platform's form.
std::u16string NativeRelativePath(std::u16string_view backslashed);

// The file name with extension at the end of a path ("C:\Tools\app.exe" gives
// "app.exe"); either separator and a drive without folder ("C:app.exe") count.
std::u16string_view FileNameOfPath(std::u16string_view path) noexcept;

// Whether a text is an address with a scheme ("https://...", "mailto:..."): two or more
// characters before the first colon, a letter first, then letters, digits, "+", "-" or
// "."; one letter before the colon is a drive ("C:\Tools").
bool StartsWithScheme(std::u16string_view text) noexcept;

// Whether Windows takes a file name for a device instead of a file: CON, PRN, AUX, NUL,
// COM1 to COM9 and LPT1 to LPT9 in any case, also with an extension or trailing blanks
// ("nul.txt", "COM1 .log"). Writing to such a name writes nowhere.
bool IsDeviceFileName(std::u16string_view fileName) noexcept;

}  // namespace quencfg

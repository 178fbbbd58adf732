#pragma once
// What an imported profile must show the user before it is accepted: every key that
// starts a program, with a note when the path is a URL, a network path or a relative
// path; program paths that cannot be right, which are refused; and macro keys whose
// macro the user does not have. The review dialog shows the list, the user keeps the
// listed keys, imports without them or cancels the import, and ApplyImportChoice does
// what was chosen when the import goes on.
#include <string>
#include <string_view>
#include <vector>

#include "quencfg/model/profile_file.h"

namespace quencfg {

enum class ImportFlag {
  Program,        // an absolute path on this computer
  Url,            // "https://...", "mailto:..."
  NetworkPath,    // "\\server\share\..." or "//server/..."
  RelativePath,   // depends on the folder the program happens to start in
  MissingMacro,   // the macro library has no macro of that name
  RefusedTooLong, // the path does not fit the field: it would be cut into another path
  RefusedEmpty,   // nothing but spaces
  RefusedControl, // holds a control character (a line break, a tab, ...)
};

// Refused keys are unassigned whatever the user chooses.
[[nodiscard]] constexpr bool IsRefused(ImportFlag flag) noexcept {
  return flag == ImportFlag::RefusedTooLong || flag == ImportFlag::RefusedEmpty ||
         flag == ImportFlag::RefusedControl;
}

struct ReviewedKey {
  int slot;
  ImportFlag flag;
  std::u16string text;  // the program path exactly as stored, or the macro name

  friend bool operator==(const ReviewedKey&, const ReviewedKey&) = default;
};

// What a program path is, or why it is refused.
[[nodiscard]] ImportFlag ClassifyLaunchPath(std::u16string_view path) noexcept;

// The keys of `imported` to list, in slot order. `stored` holds the launch texts as the
// file had them (before they were cut to the field); `macroNames` are the macros the
// user has. Empty when the profile starts no program and plays only macros the user has.
[[nodiscard]] std::vector<ReviewedKey> ReviewImport(const ProfileData& imported, const StoredLaunchTexts& stored,
                                                    const std::vector<std::u16string>& macroNames);

enum class ImportChoice {
  KeepListed,     // the listed keys stay as the file has them (refused ones excepted)
  WithoutListed,  // the listed keys become unassigned
  Cancel,         // nothing is imported; also what closing the review means
};

// Unassigns the refused keys, and with WithoutListed every listed key. After Cancel
// the imported profile is dropped whole: nothing calls this.
void ApplyImportChoice(ProfileData& profile, const std::vector<ReviewedKey>& review, ImportChoice choice) noexcept;

}  // namespace quencfg

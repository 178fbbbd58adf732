#include "quencfg/ui/main/import_review.h"

#include <algorithm>
#include <cstring>

#include "quencfg/framework/paths.h"
#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

bool IsControlCharacter(char16_t c) noexcept { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

bool IsBlank(char16_t c) noexcept { return c == u' ' || c == 0x00A0 || c == 0x3000; }

std::u16string_view Trimmed(std::u16string_view text) noexcept {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsAsciiLetter(char16_t c) noexcept { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

bool IsSlash(char16_t c) noexcept { return c == u'\\' || c == u'/'; }

bool IsDriveAbsolute(std::u16string_view path) noexcept {
  return path.size() >= 3 && IsAsciiLetter(path[0]) && path[1] == u':' && IsSlash(path[2]);
}

bool IsNetworkPath(std::u16string_view path) noexcept {
  if (path.size() < 2 || !IsSlash(path[0]) || !IsSlash(path[1])) return false;
  // "\\?\C:\..." is the long form of a local path.
  const std::u16string_view rest = path.substr(2);
  return !(rest.size() >= 2 && rest[0] == u'?' && IsSlash(rest[1]) && IsDriveAbsolute(rest.substr(2)));
}

bool IsLocalLongPath(std::u16string_view path) noexcept {
  return path.size() >= 4 && IsSlash(path[0]) && IsSlash(path[1]) && path[2] == u'?' && IsSlash(path[3]) &&
         IsDriveAbsolute(path.substr(4));
}

bool SameMacroName(std::u16string_view a, std::u16string_view b) noexcept {
  // Macro files are found by name on a file system that ignores case.
  return a.size() == b.size() && EndsWithIgnoringAsciiCase(a, b);
}

bool LibraryHas(const std::vector<std::u16string>& macroNames, std::u16string_view name) {
  return std::any_of(macroNames.begin(), macroNames.end(),
                     [name](const std::u16string& known) { return SameMacroName(known, name); });
}

void Unassign(KeySlot& slot) noexcept {
  slot.byBtnFuncType = BTNFUNC_DEFAULT;
  std::memset(slot.launch, 0, sizeof slot.launch);
  std::memset(slot.MacroName, 0, sizeof slot.MacroName);
  slot.repeatTime = 0;
  slot.byKeyNumber = 0;
}

}  // namespace

ImportFlag ClassifyLaunchPath(std::u16string_view path) noexcept {
  // The field holds kLaunchCapacity - 1 units and a terminator.
  if (path.size() >= static_cast<std::size_t>(kLaunchCapacity)) return ImportFlag::RefusedTooLong;
  if (std::any_of(path.begin(), path.end(), IsControlCharacter)) return ImportFlag::RefusedControl;
  const std::u16string_view trimmed = Trimmed(path);
  if (trimmed.empty()) return ImportFlag::RefusedEmpty;
  if (IsLocalLongPath(trimmed) || IsDriveAbsolute(trimmed)) return ImportFlag::Program;
  if (IsNetworkPath(trimmed)) return ImportFlag::NetworkPath;
  if (StartsWithScheme(trimmed)) return ImportFlag::Url;
  return ImportFlag::RelativePath;
}

std::vector<ReviewedKey> ReviewImport(const ProfileData& imported, const StoredLaunchTexts& stored,
                                      const std::vector<std::u16string>& macroNames) {
  std::vector<ReviewedKey> review;
  for (int slot = 0; slot < KEY_COUNT; ++slot) {
    const KeySlot& key = imported.keys[slot];
    if (key.byBtnFuncType == BTNFUNC_LAUNCH) {
      // A key whose file entry has no "launch" keeps the text it had before.
      const auto& fromFile = stored[static_cast<std::size_t>(slot)];
      std::u16string path = fromFile ? *fromFile : std::u16string(FieldText(key.launch));
      const ImportFlag flag = ClassifyLaunchPath(path);
      review.push_back(ReviewedKey{slot, flag, std::move(path)});
    } else if (key.byBtnFuncType == BTNFUNC_MACRO) {
      const std::u16string_view name = FieldText(key.MacroName);
      if (!LibraryHas(macroNames, name)) {
        review.push_back(ReviewedKey{slot, ImportFlag::MissingMacro, std::u16string(name)});
      }
    }
  }
  return review;
}

void ApplyImportChoice(ProfileData& profile, const std::vector<ReviewedKey>& review, ImportChoice choice) noexcept {
  for (const ReviewedKey& key : review) {
    if (key.slot < 0 || key.slot >= KEY_COUNT) continue;
    if (IsRefused(key.flag) || choice == ImportChoice::WithoutListed) Unassign(profile.keys[key.slot]);
  }
}

}  // namespace quencfg

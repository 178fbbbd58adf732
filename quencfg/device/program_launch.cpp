#include "quencfg/device/program_launch.h"

#include "quencfg/device/device_sync.h"
#include "quencfg/device/key_cells.h"
#include "quencfg/framework/paths.h"
#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

bool IsSeparator(char16_t c) noexcept { return c == u'\\' || c == u'/'; }
bool IsAsciiLetter(char16_t c) noexcept { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

bool HasDrive(std::u16string_view path) noexcept { return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == u':'; }

bool IsAbsolute(std::u16string_view path) noexcept {
  return HasDrive(path) || (!path.empty() && IsSeparator(path[0]));
}

// Up to and including the last separator (or the drive's colon); empty when none.
std::u16string FolderOf(std::u16string_view path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (IsSeparator(path[i - 1])) return std::u16string(path.substr(0, i));
  }
  return HasDrive(path) ? std::u16string(path.substr(0, 2)) : std::u16string();
}

std::u16string_view Unquoted(std::u16string_view text) noexcept {
  while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  if (text.size() >= 2 && text.front() == u'"' && text.back() == u'"') text = text.substr(1, text.size() - 2);
  return text;
}

}  // namespace

std::u16string ProgramOfCell(const SettingsBlock& settings, std::uintptr_t cell) {
  if (cell > 0xFF) return {};
  const std::optional<int> slot = FindSlotOfCell(static_cast<std::uint8_t>(cell));
  if (!slot) return {};
  return std::u16string(FieldText(CurrentProfile(settings).keys[*slot].launch));
}

ProgramLaunch ResolveProgramLaunch(std::u16string_view program, std::u16string_view baseFolder) {
  const std::u16string_view text = Unquoted(program);
  if (text.empty()) return {};
  if (StartsWithScheme(text)) return ProgramLaunch{std::u16string(text), {}};
  if (IsAbsolute(text)) return ProgramLaunch{std::u16string(text), FolderOf(text)};
  if (FolderOf(text).empty()) return ProgramLaunch{std::u16string(text), std::u16string(baseFolder)};
  std::u16string resolved(baseFolder);
  resolved += text;
  return ProgramLaunch{resolved, FolderOf(resolved)};
}

}  // namespace quencfg

#include <windows.h>

#include <climits>

#include "quencfg/framework/codepage.h"
#include "quencfg/framework/wide_win.h"

namespace quencfg {
namespace {

UINT PlatformCodePage(std::uint32_t codePage) { return codePage == kDefaultCodePage ? CP_ACP : codePage; }

// Code pages for which WideCharToMultiByte refuses a default character.
bool TakesNoDefaultCharacter(UINT codePage) {
  return codePage == CP_UTF7 || codePage == CP_UTF8 || codePage == 54936 ||
         (codePage >= 50220 && codePage <= 50229) || (codePage >= 57002 && codePage <= 57011) ||
         codePage == 52936 || codePage == 42;
}

}  // namespace

std::optional<std::u16string> DecodeCodePage(std::uint32_t codePage, std::string_view bytes) {
  if (bytes.empty()) return std::u16string();
  if (bytes.size() > INT_MAX) return std::nullopt;
  const UINT cp = PlatformCodePage(codePage);
  const int size = static_cast<int>(bytes.size());
  const int units = ::MultiByteToWideChar(cp, 0, bytes.data(), size, nullptr, 0);
  if (units <= 0) return std::nullopt;
  std::u16string text(static_cast<std::size_t>(units), u'\0');
  if (::MultiByteToWideChar(cp, 0, bytes.data(), size, AsWide(text.data()), units) != units) {
    return std::nullopt;
  }
  return text;
}

std::optional<EncodedText> EncodeCodePage(std::uint32_t codePage, std::u16string_view text) {
  EncodedText out;
  if (text.empty()) return out;
  if (text.size() > INT_MAX / 4) return std::nullopt;
  const UINT cp = PlatformCodePage(codePage);
  const int units = static_cast<int>(text.size());
  const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.data());
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultOut = TakesNoDefaultCharacter(cp) ? nullptr : &usedDefault;
  const int size = ::WideCharToMultiByte(cp, 0, wide, units, nullptr, 0, nullptr, usedDefaultOut);
  if (size <= 0) return std::nullopt;
  out.bytes.assign(static_cast<std::size_t>(size), '\0');
  if (::WideCharToMultiByte(cp, 0, wide, units, out.bytes.data(), size, nullptr, usedDefaultOut) != size) {
    return std::nullopt;
  }
  out.lost = usedDefault != FALSE;
  return out;
}

}  // namespace quencfg

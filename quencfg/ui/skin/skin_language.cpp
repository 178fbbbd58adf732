#include "quencfg/ui/skin/skin_language.h"

#include <mutex>

#include "quencfg/framework/folders.h"
#include "quencfg/framework/paths.h"

namespace quencfg {
namespace {

std::mutex& FontLock() {
  static std::mutex lock;
  return lock;
}

std::u16string& FontName() {
  static std::u16string face;
  return face;
}

}  // namespace

std::u16string_view LanguageCode(std::int32_t language) noexcept {
  switch (language) {
    case 102: return u"GE";
    case 103: return u"FR";
    case 104: return u"JP";
    case 105: return u"KR";
    case 106: return u"CS";
    case 107: return u"CT";
    case 108: return u"ES";
    case 110: return u"RU";
    case 111: return u"UA";
    case 112: return u"PR";
    default: return u"EN";
  }
}

std::u16string StringsFilePathIn(std::u16string_view appFolder, std::int32_t language) {
  std::u16string relative = u"Languages\\";
  relative += LanguageCode(language);
  relative += u"\\Strings.xml";
  return std::u16string(appFolder) + NativeRelativePath(relative);
}

std::u16string StringsFilePath(std::int32_t language) { return StringsFilePathIn(AppFolder(), language); }

std::u16string EnglishStringsFilePath() { return StringsFilePath(kEnglishLanguage); }

std::u16string SkinFontName() {
  std::lock_guard<std::mutex> hold(FontLock());
  return FontName();
}

void SetSkinFontName(std::u16string_view face) {
  std::lock_guard<std::mutex> hold(FontLock());
  FontName() = face;
}

}  // namespace quencfg

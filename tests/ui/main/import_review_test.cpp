// Importing a profile file, from the chosen file to the profile shown: what is read,
// which keys the user is asked about, and what each answer leaves.
#include "quencfg/ui/main/import_review.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "quencfg/framework/files.h"
#include "quencfg/framework/text.h"
#include "quencfg/model/number_text.h"
#include "quencfg/model/profile_import.h"
#include "support/data_folder_scope.h"
#include "support/temp_folder.h"

namespace quencfg {
namespace {

using testing::TempFolder;
using testing::Utf16FileBytes;

constexpr char16_t kDeclaration[] = u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n";

// One Button_n element; an empty `launch` is left out of the element.
struct FileKey {
  int slot;
  std::int32_t function;
  std::u16string launch;
  std::u16string macro;
};

std::u16string ProfileXml(const std::vector<FileKey>& keys, bool withLighting = true) {
  std::u16string text = kDeclaration;
  text += u"<root>\r\n<ButtonSet>\r\n";
  for (const FileKey& key : keys) {
    const std::u16string button = u"Button_" + FormatDecimal(key.slot);
    text += u"<" + button + u"><byBtnFuncType>" + FormatDecimal(key.function) + u"</byBtnFuncType>";
    if (!key.launch.empty()) text += u"<launch>" + key.launch + u"</launch>";
    if (!key.macro.empty()) text += u"<MacroName>" + key.macro + u"</MacroName>";
    text += u"</" + button + u">\r\n";
  }
  text += u"</ButtonSet>\r\n";
  if (withLighting) text += u"<Lighting><byLightEffect>5</byLightEffect></Lighting>\r\n";
  return text + u"</root>\r\n";
}

std::string Utf8Bytes(std::u16string_view text) { return Utf16ToUtf8(text); }

std::string Utf16WithoutMark(std::u16string_view text) { return Utf16FileBytes(text).substr(2); }

const std::u16string kLongPath = u"C:\\Tools\\" + std::u16string(260, u'a') + u".exe";  // past the field
const std::u16string kFittingPath = u"C:\\" + std::u16string(kLaunchCapacity - 1 - 7, u'b') + u".exe";

struct ImportCase {
  const char* name;
  const char16_t* fileName;
  std::optional<std::string> bytes;  // none: the file does not exist
  ImportChoice choice;
  ImportReadStatus status;
  std::vector<std::pair<int, ImportFlag>> listed;
  std::vector<std::pair<int, std::int32_t>> functionsAfter;  // slot, byBtnFuncType
};

const std::vector<ImportCase>& ImportCases() {
  using F = ImportFlag;
  using C = ImportChoice;
  using S = ImportReadStatus;
  static const std::vector<ImportCase> cases = {
      {"no bindings: nothing to review", u"plain.profile",
       Utf16FileBytes(ProfileXml({{4, BTNFUNC_KEY, u"", u""}})), C::KeepListed, S::Read, {}, {{4, BTNFUNC_KEY}}},
      {"one program kept", u"one.profile",
       Utf16FileBytes(ProfileXml({{2, BTNFUNC_LAUNCH, u"C:\\Games\\run.exe", u""}})), C::KeepListed, S::Read,
       {{2, F::Program}}, {{2, BTNFUNC_LAUNCH}}},
      {"several programs dropped", u"several.profile",
       Utf16FileBytes(ProfileXml({{2, BTNFUNC_LAUNCH, u"C:\\a.exe", u""},
                                  {4, BTNFUNC_KEY, u"", u""},
                                  {9, BTNFUNC_LAUNCH, u"D:/b c/d.exe", u""}})),
       C::WithoutListed, S::Read, {{2, F::Program}, {9, F::Program}},
       {{2, BTNFUNC_DEFAULT}, {4, BTNFUNC_KEY}, {9, BTNFUNC_DEFAULT}}},
      {"a path that just fits is a program", u"fits.profile",
       Utf16FileBytes(ProfileXml({{1, BTNFUNC_LAUNCH, kFittingPath, u""}})), C::KeepListed, S::Read,
       {{1, F::Program}}, {{1, BTNFUNC_LAUNCH}}},
      {"over-long path refused even when kept", u"long.profile",
       Utf16FileBytes(ProfileXml({{1, BTNFUNC_LAUNCH, kLongPath, u""}, {2, BTNFUNC_LAUNCH, u"C:\\a.exe", u""}})),
       C::KeepListed, S::Read, {{1, F::RefusedTooLong}, {2, F::Program}}, {{1, BTNFUNC_DEFAULT}, {2, BTNFUNC_LAUNCH}}},
      {"control character refused", u"control.profile",
       Utf16FileBytes(ProfileXml({{3, BTNFUNC_LAUNCH, u"C:\\a.exe&#10;C:\\b.exe", u""}})), C::KeepListed, S::Read,
       {{3, F::RefusedControl}}, {{3, BTNFUNC_DEFAULT}}},
      {"spaces only refused", u"blank.profile",
       Utf16FileBytes(ProfileXml({{3, BTNFUNC_LAUNCH, u"   ", u""}})), C::KeepListed, S::Read,
       {{3, F::RefusedEmpty}}, {{3, BTNFUNC_DEFAULT}}},
      {"no path at all refused", u"nopath.profile",
       Utf16FileBytes(ProfileXml({{3, BTNFUNC_LAUNCH, u"", u""}})), C::KeepListed, S::Read,
       {{3, F::RefusedEmpty}}, {{3, BTNFUNC_DEFAULT}}},
      {"url flagged", u"url.profile",
       Utf16FileBytes(ProfileXml({{5, BTNFUNC_LAUNCH, u"https://example.com/x?a=1&amp;b=2", u""}})), C::KeepListed,
       S::Read, {{5, F::Url}}, {{5, BTNFUNC_LAUNCH}}},
      {"network path flagged", u"net.profile",
       Utf16FileBytes(ProfileXml({{6, BTNFUNC_LAUNCH, u"\\\\server\\share\\tool.exe", u""}})), C::WithoutListed,
       S::Read, {{6, F::NetworkPath}}, {{6, BTNFUNC_DEFAULT}}},
      {"relative path flagged", u"relative.profile",
       Utf16FileBytes(ProfileXml({{7, BTNFUNC_LAUNCH, u"tools\\run.bat", u""}})), C::KeepListed, S::Read,
       {{7, F::RelativePath}}, {{7, BTNFUNC_LAUNCH}}},
      {"missing macro dropped, known macro untouched", u"macros.profile",
       Utf16FileBytes(ProfileXml({{8, BTNFUNC_MACRO, u"", u"Not mine"}, {9, BTNFUNC_MACRO, u"", u"burst"}})),
       C::WithoutListed, S::Read, {{8, F::MissingMacro}}, {{8, BTNFUNC_DEFAULT}, {9, BTNFUNC_MACRO}}},
      {"missing macro kept", u"macro kept.profile",
       Utf16FileBytes(ProfileXml({{8, BTNFUNC_MACRO, u"", u"Not mine"}})), C::KeepListed, S::Read,
       {{8, F::MissingMacro}}, {{8, BTNFUNC_MACRO}}},
      {"closing the review drops program and macro alike", u"closed.profile",
       Utf16FileBytes(ProfileXml({{2, BTNFUNC_LAUNCH, u"C:\\a.exe", u""}, {8, BTNFUNC_MACRO, u"", u""}})),
       C::WithoutListed, S::Read, {{2, F::Program}, {8, F::MissingMacro}},
       {{2, BTNFUNC_DEFAULT}, {8, BTNFUNC_DEFAULT}}},
      {"another extension is read as chosen", u"gaming.xml",
       Utf8Bytes(ProfileXml({{4, BTNFUNC_KEY, u"", u""}})), C::KeepListed, S::Read, {}, {{4, BTNFUNC_KEY}}},
      {"utf-16 without a mark is read", u"nomark.profile",
       Utf16WithoutMark(ProfileXml({{2, BTNFUNC_LAUNCH, u"C:\\a.exe", u""}})), C::KeepListed, S::Read,
       {{2, F::Program}}, {{2, BTNFUNC_LAUNCH}}},
      {"missing file", u"gone.profile", std::nullopt, C::KeepListed, S::Unreadable, {}, {}},
      {"damaged file", u"damaged.profile",
       Utf16FileBytes(u"<root><ButtonSet><Button_2><byBtnFuncType>467</byBtnFuncType><launch>C:\\a.exe</launch>"),
       C::KeepListed, S::Damaged, {}, {}},
      {"not a profile", u"settings.profile",
       Utf16FileBytes(std::u16string(kDeclaration) + u"<root><Setting><Profile>2</Profile></Setting></root>"),
       C::KeepListed, S::NoProfile, {}, {}},
      {"empty file", u"empty.profile", std::string(), C::KeepListed, S::Damaged, {}, {}},
  };
  return cases;
}

std::unique_ptr<ProfileData> CurrentProfileBefore() {
  auto profile = std::make_unique<ProfileData>();
  std::memset(profile.get(), 0, sizeof *profile);
  NormalizeProfile(*profile, true, 1);
  profile->keys[4].byBtnFuncType = BTNFUNC_MACRO;
  CopyToField(profile->keys[4].MacroName, u"Burst");
  return profile;
}

TEST(ImportOutcome, TableOfImportFiles) {
  const std::vector<std::u16string> library = {u"Burst", u"Copy paste"};
  for (const ImportCase& c : ImportCases()) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    const std::u16string path = folder / c.fileName;
    if (c.bytes) {
      ASSERT_TRUE(ReplaceFileContents(path, *c.bytes));
    }
    // A file beside the chosen one, with the name an extension swap would make.
    const std::u16string decoy = folder / (std::u16string(c.fileName) + u".profile");
    ASSERT_TRUE(ReplaceFileContents(decoy, Utf16FileBytes(ProfileXml({{4, BTNFUNC_LAUNCH, u"C:\\decoy.exe", u""}}))));

    auto profile = CurrentProfileBefore();
    const auto before = CurrentProfileBefore();
    StoredLaunchTexts stored;
    const ImportReadStatus status = ReadImportedProfile(path, *profile, stored);
    EXPECT_EQ(status, c.status);
    if (c.bytes) {
      EXPECT_EQ(ReadWholeFile(path), c.bytes) << "the chosen file is never rewritten";
    }
    if (status != ImportReadStatus::Read) {
      EXPECT_EQ(std::memcmp(profile.get(), before.get(), sizeof *profile), 0) << "a failed import changes nothing";
      continue;
    }
    const std::vector<ReviewedKey> review = ReviewImport(*profile, stored, library);
    std::vector<std::pair<int, ImportFlag>> listed;
    for (const ReviewedKey& key : review) listed.emplace_back(key.slot, key.flag);
    EXPECT_EQ(listed, c.listed);
    ApplyImportChoice(*profile, review, c.choice);
    for (const auto& [slot, function] : c.functionsAfter) {
      EXPECT_EQ(profile->keys[slot].byBtnFuncType, function) << "slot " << slot;
      if (function == BTNFUNC_DEFAULT) {  // unassigned: nothing of the binding is left
        EXPECT_TRUE(FieldText(profile->keys[slot].launch).empty()) << "slot " << slot;
        EXPECT_TRUE(FieldText(profile->keys[slot].MacroName).empty()) << "slot " << slot;
      }
    }
  }
}

TEST(ImportOutcome, ReviewShowsPathsAsStoredNotAsCut) {
  TempFolder folder;
  const std::u16string path = folder / u"long.profile";
  ASSERT_TRUE(ReplaceFileContents(
      path, Utf16FileBytes(ProfileXml({{1, BTNFUNC_LAUNCH, kLongPath, u""},
                                       {2, BTNFUNC_LAUNCH, u"https://x.example/?a=1&amp;b=2", u""}}))));
  auto profile = CurrentProfileBefore();
  StoredLaunchTexts stored;
  ASSERT_EQ(ReadImportedProfile(path, *profile, stored), ImportReadStatus::Read);
  const std::vector<ReviewedKey> review = ReviewImport(*profile, stored, {u"Burst"});
  ASSERT_EQ(review.size(), 2u);
  EXPECT_EQ(review[0].text, kLongPath) << "whole, not cut to the field";
  EXPECT_EQ(review[1].text, u"https://x.example/?a=1&b=2");
}

TEST(ImportOutcome, FieldsTheFileLacksKeepTheCurrentProfilesValues) {
  TempFolder folder;
  const std::u16string path = folder / u"partial.profile";
  ASSERT_TRUE(ReplaceFileContents(path, Utf16FileBytes(ProfileXml({{2, BTNFUNC_KEY, u"", u""}}, false))));
  auto profile = CurrentProfileBefore();
  StoredLaunchTexts stored;
  ASSERT_EQ(ReadImportedProfile(path, *profile, stored), ImportReadStatus::Read);
  EXPECT_EQ(profile->keys[2].byBtnFuncType, BTNFUNC_KEY);
  EXPECT_EQ(FieldText(profile->keys[4].MacroName), u"Burst");
  EXPECT_EQ(profile->lighting.byLightColor, FactoryLightColor(1));
}

struct PathCase {
  const char16_t* path;
  ImportFlag flag;
};

TEST(ImportOutcome, ClassifiesProgramPaths) {
  const PathCase cases[] = {
      {u"C:\\Program Files\\Tool\\tool.exe", ImportFlag::Program},
      {u"  C:\\a.exe ", ImportFlag::Program},
      {u"c:/tools/a.exe", ImportFlag::Program},
      {u"\\\\?\\C:\\very\\long\\a.exe", ImportFlag::Program},
      {u"https://example.com", ImportFlag::Url},
      {u"mailto:someone@example.com", ImportFlag::Url},
      {u"steam://run/10", ImportFlag::Url},
      {u"\\\\server\\share\\a.exe", ImportFlag::NetworkPath},
      {u"//server/share/a.exe", ImportFlag::NetworkPath},
      {u"\\\\?\\UNC\\server\\share\\a.exe", ImportFlag::NetworkPath},
      {u"a.exe", ImportFlag::RelativePath},
      {u"..\\a.exe", ImportFlag::RelativePath},
      {u"\\Windows\\notepad.exe", ImportFlag::RelativePath},
      {u"C:a.exe", ImportFlag::RelativePath},
      {u"", ImportFlag::RefusedEmpty},
      {u" \u3000 ", ImportFlag::RefusedEmpty},
      {u"C:\\a\tb.exe", ImportFlag::RefusedControl},
      {u"C:\\a.exe\r\n", ImportFlag::RefusedControl},
      {u"C:\\a\u0085.exe", ImportFlag::RefusedControl},
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(ClassifyLaunchPath(c.path), c.flag) << Utf16ToUtf8(c.path);
  }
  EXPECT_EQ(ClassifyLaunchPath(kFittingPath), ImportFlag::Program);
  EXPECT_EQ(ClassifyLaunchPath(kFittingPath + u"x"), ImportFlag::RefusedTooLong);
}

}  // namespace
}  // namespace quencfg

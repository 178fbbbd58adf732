#include "quencfg/model/profile_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

#include "quencfg/framework/files.h"
#include "quencfg/framework/text.h"
#include "quencfg/model/number_text.h"
#include "support/data_folder_scope.h"

namespace quencfg {
namespace {

using testing::DataFolderScope;
using testing::Utf16FileBytes;

std::unique_ptr<ProfileData> ZeroProfile() {
  auto profile = std::make_unique<ProfileData>();
  std::memset(profile.get(), 0, sizeof *profile);
  return profile;
}

std::unique_ptr<ProfileData> FactoryProfile(int index) {
  auto profile = ZeroProfile();
  NormalizeProfile(*profile, true, index);
  return profile;
}

// The text the system writes for a profile into a new file; `emptyTag` is how an empty
// text is written ("<launch/>" the first time, "<launch></launch>" after a second save).
std::u16string ProfileText(const ProfileData& p, bool secondSave) {
  auto line = [](std::u16string_view name, std::u16string_view value) {
    // Appended piece by piece: mingw's GCC 12 warns falsely about the chain of operator+.
    std::u16string text(u"<");
    text.append(name).append(u">").append(value).append(u"</").append(name).append(u">\r\n");
    return text;
  };
  auto textLine = [&](std::u16string_view name, std::u16string_view value) {
    if (value.empty() && !secondSave) return std::u16string(u"<").append(name).append(u"/>\r\n");
    std::u16string encoded;  // the layer writes <, & and > as entities
    for (char16_t c : value) {
      if (c == u'<') {
        encoded += u"&lt;";
      } else if (c == u'&') {
        encoded += u"&amp;";
      } else if (c == u'>') {
        encoded += u"&gt;";
      } else {
        encoded.push_back(c);
      }
    }
    return line(name, encoded);
  };
  std::u16string t = u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n<ButtonSet>\r\n";
  for (int i = 0; i < KEY_COUNT; ++i) {
    const KeySlot& k = p.keys[i];
    const std::u16string button = u"Button_" + FormatDecimal(i);
    t += u"<" + button + u">\r\n";
    t += line(u"byBtnFuncType", FormatDecimal(k.byBtnFuncType));
    t += textLine(u"launch", FieldText(k.launch));
    t += textLine(u"MacroName", FieldText(k.MacroName));
    t += line(u"repeatTime", FormatDecimal(k.repeatTime));
    t += line(u"byKeyNumber", FormatDecimal(k.byKeyNumber));
    t += line(u"coLightRGB", FormatDecimal(static_cast<std::int32_t>(p.lighting.keyColors.coLightRGB[i])));
    t += u"</" + button + u">\r\n";
  }
  const LightingSettings& l = p.lighting;
  t += u"</ButtonSet>\r\n<Lighting>\r\n";
  t += line(u"byLightEffect", FormatDecimal(l.byLightEffect));
  t += line(u"byLightBright", FormatDecimal(l.byLightBright));
  t += line(u"byLightSpeed", FormatDecimal(l.byLightSpeed));
  t += line(u"byLightColor", FormatDecimal(static_cast<std::int32_t>(l.byLightColor)));
  t += line(u"byLightColorType", FormatDecimal(l.byLightColorType));
  t += u"</Lighting>\r\n</root>\r\n";
  return t;
}

std::string FileBytes(std::u16string_view name) { return ReadWholeFile(ProfilePath(name, u"")).value_or("<missing>"); }

TEST(ProfileFile, DefaultProfileFileHasTheDocumentedShape) {
  DataFolderScope data;
  ASSERT_TRUE(CreateFolder(data.path() + u"Profiles"));
  auto profile = FactoryProfile(0);
  WriteProfile(*profile, ProfileName(0), u"");
  const std::string bytes = FileBytes(u"Profile 1");
  EXPECT_EQ(bytes, Utf16FileBytes(ProfileText(*profile, false)));

  // The documented beginning and end, literally.
  const std::string begin = Utf16FileBytes(
      u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n<ButtonSet>\r\n<Button_0>\r\n"
      u"<byBtnFuncType>0</byBtnFuncType>\r\n<launch/>\r\n<MacroName/>\r\n<repeatTime>0</repeatTime>\r\n"
      u"<byKeyNumber>0</byKeyNumber>\r\n<coLightRGB>0</coLightRGB>\r\n</Button_0>\r\n<Button_1>\r\n");
  const std::string end = Utf16FileBytes(
      u"</Button_110>\r\n</ButtonSet>\r\n<Lighting>\r\n<byLightEffect>3</byLightEffect>\r\n"
      u"<byLightBright>2</byLightBright>\r\n<byLightSpeed>2</byLightSpeed>\r\n"
      u"<byLightColor>16777215</byLightColor>\r\n<byLightColorType>2</byLightColorType>\r\n</Lighting>\r\n</root>\r\n")
                              .substr(2);
  EXPECT_EQ(bytes.substr(0, begin.size()), begin);
  ASSERT_GE(bytes.size(), end.size());
  EXPECT_EQ(bytes.substr(bytes.size() - end.size()), end);
}

TEST(ProfileFile, SecondSaveOnlyOpensTheEmptyTags) {
  DataFolderScope data;
  ASSERT_TRUE(CreateFolder(data.path() + u"Profiles"));
  auto profile = FactoryProfile(1);
  CopyToField(profile->keys[3].launch, u"C:\\Games\\run.exe");
  WriteProfile(*profile, u"p", u"");
  WriteProfile(*profile, u"p", u"");
  EXPECT_EQ(FileBytes(u"p"), Utf16FileBytes(ProfileText(*profile, true)));
}

std::unique_ptr<ProfileData> VariedProfile() {
  std::mt19937 random(20261210);  // fixed seed: the same profile on every run
  auto p = ZeroProfile();
  const std::int32_t functions[] = {BTNFUNC_DEFAULT, BTNFUNC_DISABLE, BTNFUNC_KEY, BTNFUNC_LAUNCH, BTNFUNC_MACRO, 466, -7};
  for (int i = 0; i < KEY_COUNT; ++i) {
    KeySlot& k = p->keys[i];
    k.byBtnFuncType = functions[random() % 7];
    CopyToField(k.launch, u"C:\\P<&>\"'\u00e9\u5b8f\\" + FormatDecimal(static_cast<std::int32_t>(random() % 1000)) + u".exe");
    CopyToField(k.MacroName, u"Macro " + FormatDecimal(i));
    k.repeatTime = static_cast<std::uint16_t>(random());
    k.byKeyNumber = static_cast<std::uint8_t>(random());
    p->lighting.keyColors.coLightRGB[i] = static_cast<std::uint32_t>(random());
  }
  p->lighting.byLightEffect = 19, p->lighting.byLightBright = 4, p->lighting.byLightSpeed = 0;
  p->lighting.byLightColor = 0xFFFFFFFF, p->lighting.byLightColorType = 200;
  return p;
}

TEST(ProfileFile, RoundTripKeepsEveryStoredField) {
  DataFolderScope data;
  ASSERT_TRUE(CreateFolder(data.path() + u"Profiles"));
  auto written = VariedProfile();
  WriteProfile(*written, u"varied", u"");
  auto read = ZeroProfile();
  ReadProfile(*read, u"varied", u"");
  EXPECT_EQ(std::memcmp(read->keys, written->keys, sizeof read->keys), 0);
  EXPECT_EQ(std::memcmp(read->lighting.keyColors.coLightRGB, written->lighting.keyColors.coLightRGB,
                        sizeof read->lighting.keyColors.coLightRGB), 0);
  EXPECT_EQ(read->lighting.byLightColor, 0xFFFFFFFFu);
  EXPECT_EQ(read->lighting.byLightColorType, 200);
  EXPECT_EQ(read->lighting.byLightEffect, 19);
  EXPECT_EQ(read->lighting.keyColors.layerName[0], 0) << "the layer name is not stored";
}

// A profile file built from a list of button bodies, to show reading rules.
void WriteRawProfile(std::u16string_view name, std::u16string_view body) {
  std::u16string text(u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>");
  text += body;
  text += u"</root>";
  ASSERT_TRUE(ReplaceFileContents(ProfilePath(name, u""), Utf16FileBytes(text)));
}

TEST(ProfileFile, ReadingFollowsTheForwardOnlyRules) {
  DataFolderScope data;
  ASSERT_TRUE(CreateFolder(data.path() + u"Profiles"));
  WriteRawProfile(u"r",
                  u"<ButtonSet>"
                  u"<Button_4><byKeyNumber>300</byKeyNumber></Button_4>"
                  u"<Button_7><byKeyNumber>7</byKeyNumber></Button_7>"
                  u"<Button_6><byKeyNumber>6</byKeyNumber><launch>a&amp;b</launch></Button_6>"
                  u"<Button_8><launch>late</launch><byBtnFuncType>466</byBtnFuncType></Button_8>"
                  u"<Button_9><byBtnFuncType>junk</byBtnFuncType><repeatTime>65537</repeatTime></Button_9>"
                  u"</ButtonSet>"
                  u"<Lighting><byLightSpeed>3</byLightSpeed><byLightEffect>9</byLightEffect></Lighting>");
  auto p = ZeroProfile();
  p->keys[5].byKeyNumber = 55;
  p->keys[7].byKeyNumber = 77;
  p->keys[9].byBtnFuncType = 1;
  p->lighting.byLightEffect = 1;
  ReadProfile(*p, u"r", u"");
  EXPECT_EQ(p->keys[4].byKeyNumber, 44) << "300 cut to 8 bits";
  EXPECT_EQ(p->keys[5].byKeyNumber, 55) << "a missing button keeps its values";
  EXPECT_EQ(p->keys[6].byKeyNumber, 0) << "button 6 is searched after button 4 and found after 7";
  EXPECT_EQ(p->keys[7].byKeyNumber, 77) << "button 7 stands before button 6: passed";
  EXPECT_EQ(p->keys[8].byBtnFuncType, 466);
  EXPECT_EQ(p->keys[8].launch[0], 0) << "launch stands before byBtnFuncType: passed";
  EXPECT_EQ(p->keys[9].byBtnFuncType, 0) << "not a number reads as 0";
  EXPECT_EQ(p->keys[9].repeatTime, 1);
  EXPECT_EQ(p->lighting.byLightEffect, 9);
  EXPECT_EQ(p->lighting.byLightSpeed, 0) << "speed stands before effect, which was found: passed";
}

TEST(ProfileFile, EntitiesAndOverlongTextsAreReadSafely) {
  DataFolderScope data;
  ASSERT_TRUE(CreateFolder(data.path() + u"Profiles"));
  const std::u16string longText(1000, u'x');
  WriteRawProfile(u"e", u"<ButtonSet><Button_0><launch>C:\\a&amp;b&lt;c</launch><MacroName>" + longText +
                            u"</MacroName></Button_0><Button_1><launch>" + longText + u"</launch></Button_1></ButtonSet>");
  auto p = ZeroProfile();
  ReadProfile(*p, u"e", u"");
  EXPECT_EQ(FieldText(p->keys[0].launch), u"C:\\a&b<c");
  EXPECT_EQ(FieldText(p->keys[0].MacroName), std::u16string(kMacroNameCapacity - 1, u'x'));
  EXPECT_EQ(FieldText(p->keys[1].launch), std::u16string(kLaunchCapacity - 1, u'x'));
  EXPECT_EQ(p->keys[1].MacroName[0], 0);
}

TEST(ProfileFile, LightingWithoutButtonSetIsStillRead) {
  DataFolderScope data;
  ASSERT_TRUE(CreateFolder(data.path() + u"Profiles"));
  WriteRawProfile(u"l", u"<Lighting><byLightEffect>25</byLightEffect><byLightColor>16777216</byLightColor></Lighting>");
  auto p = ZeroProfile();
  ReadProfile(*p, u"l", u"");
  EXPECT_EQ(p->lighting.byLightEffect, 25);
  // Import normalises with the factory values of profile index 0, whatever is current.
  NormalizeProfile(*p, false, 0);
  EXPECT_EQ(p->lighting.byLightEffect, 3);
  EXPECT_EQ(p->lighting.byLightColor, 0xFFFFFFu);
}

TEST(ProfileFile, DamagedOrMissingFilesLeaveTheProfileAndAreReplacedOnWrite) {
  DataFolderScope data;
  ASSERT_TRUE(CreateFolder(data.path() + u"Profiles"));
  const std::string damaged[] = {"", "\xFF\xFE", "<root><ButtonSet>", std::string("\0\1\2garbage", 10), "<a/><b/>"};
  for (const std::string& bytes : damaged) {
    ASSERT_TRUE(ReplaceFileContents(ProfilePath(u"d", u""), bytes));
    auto p = VariedProfile();
    auto before = VariedProfile();
    ReadProfile(*p, u"d", u"");
    EXPECT_EQ(std::memcmp(p.get(), before.get(), sizeof *p), 0);
    EXPECT_EQ(FileBytes(u"d"), bytes) << "not rewritten";
    WriteProfile(*p, u"d", u"");
    EXPECT_EQ(FileBytes(u"d"), Utf16FileBytes(ProfileText(*p, false)));
  }
  auto p = VariedProfile();
  ReadProfile(*p, u"absent", u"");
  EXPECT_FALSE(PathExists(ProfilePath(u"absent", u"")));
}

TEST(ProfileFile, PathsForTheDataFolderAndForAChosenFolder) {
  DataFolderScope data;
  EXPECT_EQ(ProfilePath(u"Profile 2", u""), data.path() + u"Profiles" + std::u16string(1, data.path().back()) + u"Profile 2.profile");
  EXPECT_EQ(ProfilePath(u"mine", u"X:\\exports\\"), u"X:\\exports\\mine.profile");
  EXPECT_EQ(ProfileName(2), u"Profile 3");
}

}  // namespace
}  // namespace quencfg

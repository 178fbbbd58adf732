#include "quencfg/ui/skin/skin_documents.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "quencfg/framework/files.h"
#include "quencfg/framework/text.h"
#include "quencfg/ui/skin/skin_scale.h"
#include "support/temp_folder.h"

namespace quencfg {
namespace {

XmlDocument Parse(std::u16string_view text) {
  XmlDocument document;
  document.SetText(text);
  return document;
}

TEST(LookupString, Table) {
  XmlDocument document = Parse(
      u"<?xml version=\"1.0\"?>\r\n<ANY>\r\n"
      u"  <MAINSCREENNEW><Main>bg.jpg</Main><Warn>w &amp; v.jpg</Warn></MAINSCREENNEW>\r\n"
      u"  <MAIN><BUTTON_OK>btnPng,1,2,3,4,,FALSE</BUTTON_OK><Nested><x>1</x></Nested>"
      u"<PROFILE>Profile </PROFILE></MAIN>\r\n"
      u"  <S><S><K>deep</K></S></S>\r\n"
      u"</ANY>\r\n");
  struct Case {
    std::u16string section, key, value;
  } cases[] = {
      {u"MAINSCREENNEW", u"Main", u"bg.jpg"},
      {u"MAINSCREENNEW", u"Warn", u"w & v.jpg"},      // entities decoded
      {u"MAIN", u"BUTTON_OK", u"btnPng,1,2,3,4,,FALSE"},
      {u"MAIN", u"PROFILE", u"Profile "},             // white space kept
      {u"MAIN", u"Main", u""},                        // names compare with case
      {u"Main", u"BUTTON_OK", u""},
      {u"MAIN", u"BUTTON_CANCEL", u""},               // missing key
      {u"NOSECTION", u"Main", u""},                   // missing section
      {u"MAIN", u"Nested", u""},                      // an entry with children has no text
      {u"S", u"K", u"deep"},                          // the section nested in itself
      {u"ANY", u"MAIN", u""},                         // the root is not a section
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LookupString(document, c.section, c.key), c.value)
        << Utf16ToUtf8(c.section) << "/" << Utf16ToUtf8(c.key);
  }
  // Lookups in any order give the same answers: each one starts from the top.
  EXPECT_EQ(LookupString(document, u"MAINSCREENNEW", u"Main"), u"bg.jpg");
}

TEST(SharedSkinDocument, MissingFileGivesEmptyLookups) {
  testing::TempFolder folder;
  SharedSkinDocument document;
  ASSERT_TRUE(ReplaceFileContents(folder / u"a.xml", "<R><MAIN><OK>Ok</OK></MAIN></R>"));
  document.Load(folder / u"a.xml");
  EXPECT_EQ(document.Lookup(u"MAIN", u"OK"), u"Ok");
  document.Load(folder / u"missing.xml");  // a load replaces what the document held
  EXPECT_EQ(document.Lookup(u"MAIN", u"OK"), u"");
}

TEST(SharedSkinDocument, EntriesTheFileLacksComeFromTheFallbackFile) {
  testing::TempFolder folder;
  ASSERT_TRUE(ReplaceFileContents(folder / u"en.xml",
                                  "<R><MAIN><APPLY>Apply</APPLY><OK>OK</OK><BLANK>x</BLANK></MAIN>"
                                  "<GLOBAL><FONT>Arial</FONT></GLOBAL><LANGUAGE><ES>Espa&#241;ol</ES></LANGUAGE></R>"));
  ASSERT_TRUE(ReplaceFileContents(folder / u"es.xml",
                                  "<R><MAIN><APPLY>Aplicar</APPLY><BLANK></BLANK></MAIN><GLOBAL/></R>"));
  SharedSkinDocument document([&folder] { return folder / u"en.xml"; });
  const struct {
    const char16_t* loaded;
    std::u16string section, key, value;
  } cases[] = {
      {u"es.xml", u"MAIN", u"APPLY", u"Aplicar"},      // the loaded file answers first
      {u"es.xml", u"MAIN", u"OK", u"OK"},              // a key it lacks
      {u"es.xml", u"GLOBAL", u"FONT", u"Arial"},       // in a section it has, empty
      {u"es.xml", u"LANGUAGE", u"ES", u"Espa\u00f1ol"},  // a section it lacks
      {u"es.xml", u"MAIN", u"BLANK", u""},             // an entry that is there stays as it is
      {u"es.xml", u"MAIN", u"CANCEL", u""},            // missing in both
      {u"missing.xml", u"MAIN", u"APPLY", u"Apply"},   // a language without its file
      {u"en.xml", u"MAIN", u"OK", u"OK"},              // the fallback file loaded itself
  };
  for (const auto& c : cases) {
    document.Load(folder / c.loaded);
    EXPECT_EQ(document.Lookup(c.section, c.key), c.value)
        << Utf16ToUtf8(c.loaded) << ": " << Utf16ToUtf8(c.section) << "/" << Utf16ToUtf8(c.key);
  }
}

TEST(SharedSkinDocument, LookupRectParsesTheEntry) {
  testing::TempFolder folder;
  ASSERT_TRUE(ReplaceFileContents(folder / u"b.xml", "<R><KEYBOARD><BUTTON_1>key100,260,84,60,60,ESC,FALSE"
                                                     "</BUTTON_1></KEYBOARD></R>"));
  SharedSkinDocument document;
  document.Load(folder / u"b.xml");
  const SkinRect entry = document.LookupRect(u"KEYBOARD", u"BUTTON_1");
  EXPECT_EQ(FieldText(entry.name), u"key100");
  EXPECT_EQ(entry.right, 320);
  EXPECT_EQ(FieldText(entry.text), u"ESC");
  EXPECT_EQ(FieldText(document.LookupRect(u"KEYBOARD", u"BUTTON_2").name), u"");
}

// The file keeps its 96-DPI coordinates; a lookup gives them at the skin's DPI.
TEST(SharedSkinDocument, LookupRectScalesToTheSkinDpi) {
  testing::TempFolder folder;
  ASSERT_TRUE(ReplaceFileContents(folder / u"b.xml", "<R><KEYBOARD><BUTTON_1>key100,261,85,61,61,ESC,TRUE"
                                                     "</BUTTON_1></KEYBOARD></R>"));
  SharedSkinDocument document;
  document.Load(folder / u"b.xml");
  const struct {
    int dpi;
    std::int32_t left, top, right, bottom;
  } cases[] = {{96, 261, 85, 322, 146}, {144, 392, 128, 483, 219}, {192, 522, 170, 644, 292},
               {120, 326, 106, 403, 183}};
  for (const auto& c : cases) {
    const SkinDpiScope dpi(c.dpi);
    const SkinRect entry = document.LookupRect(u"KEYBOARD", u"BUTTON_1");
    EXPECT_EQ(entry.left, c.left) << c.dpi;
    EXPECT_EQ(entry.top, c.top) << c.dpi;
    EXPECT_EQ(entry.right, c.right) << c.dpi;
    EXPECT_EQ(entry.bottom, c.bottom) << c.dpi;
    EXPECT_EQ(FieldText(entry.text), u"ESC");
    EXPECT_TRUE(entry.flag);
  }
}

// Readers on several threads while another reloads: every lookup must see a whole
// document, either version, never a position moved by another thread.
TEST(SharedSkinDocument, LookupsFromSeveralThreadsWhileReloading) {
  testing::TempFolder folder;
  // Built by appending: GCC 12 warns falsely (-Wrestrict) on "literal" + string.
  std::string body;
  const auto element = [&body](const std::string& name, const std::string& content) {
    body.append("<").append(name).append(">").append(content).append("</").append(name).append(">");
  };
  for (int s = 0; s < 20; ++s) {
    std::string section;
    std::swap(section, body);
    for (int k = 0; k < 20; ++k) element(std::string("K").append(std::to_string(k)), std::to_string(s * 100 + k));
    std::string keys;
    std::swap(keys, body);
    body = std::move(section);
    element(std::string("S").append(std::to_string(s)), keys);
  }
  std::string a = "<R>";
  a.append(body).append("</R>");
  std::string b = "<R>";
  b.append(body).append("<X/></R>");
  ASSERT_TRUE(ReplaceFileContents(folder / u"a.xml", a));
  ASSERT_TRUE(ReplaceFileContents(folder / u"b.xml", b));

  SharedSkinDocument document;
  document.Load(folder / u"a.xml");
  std::atomic<int> wrong{0};
  std::atomic<bool> stop{false};
  std::vector<std::thread> readers;
  for (int t = 0; t < 3; ++t) {
    readers.emplace_back([&, t] {
      for (int i = 0; i < 1500; ++i) {
        const int s = (i * 7 + t) % 20, k = (i * 13 + t) % 20;
        const std::u16string value = document.Lookup(u"S" + AsciiToUtf16(std::to_string(s)),
                                                      u"K" + AsciiToUtf16(std::to_string(k)));
        if (value != AsciiToUtf16(std::to_string(s * 100 + k))) ++wrong;
      }
    });
  }
  std::thread loader([&] {
    for (int i = 0; i < 60 && !stop; ++i) document.Load(folder / (i % 2 ? u"a.xml" : u"b.xml"));
  });
  for (auto& r : readers) r.join();
  stop = true;
  loader.join();
  EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace quencfg

#include "quencfg/ui/keyassign/assignment_text.h"

#include <gtest/gtest.h>

#include <functional>

#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

std::u16string FakeName(std::uint8_t code) {
  switch (code) {
    case 0x1D: return u"Z";
    case 0x08: return u"E";
    case 0xE8: return u"Play/Pause";
    default: return {};
  }
}

TEST(AssignmentText, EachKindOfAssignmentHasItsText) {
  const AssignmentWords words{u"Macro: ", u"Disabled", u"Default: "};
  const struct {
    const char* what;
    std::function<void(KeySlot&)> make;
    std::u16string text;
  } cases[] = {
      {"a key it sends", [](KeySlot& s) { s.byBtnFuncType = BTNFUNC_KEY, s.byKeyNumber = 0x1D; }, u"Z"},
      {"a media function", [](KeySlot& s) { s.byBtnFuncType = BTNFUNC_KEY, s.byKeyNumber = 0xE8; }, u"Play/Pause"},
      {"a key without a name", [](KeySlot& s) { s.byBtnFuncType = BTNFUNC_KEY, s.byKeyNumber = 0x77; }, u""},
      {"a macro",
       [](KeySlot& s) {
         s.byBtnFuncType = BTNFUNC_MACRO;
         CopyToField(s.MacroName, u"Combo 2");
       },
       u"Macro: Combo 2"},
      {"a program by its file name",
       [](KeySlot& s) {
         s.byBtnFuncType = BTNFUNC_LAUNCH;
         CopyToField(s.launch, u"C:\\Tools\\notes.exe");
       },
       u"notes.exe"},
      {"a web address, whole as stored",
       [](KeySlot& s) {
         s.byBtnFuncType = BTNFUNC_LAUNCH;
         CopyToField(s.launch, u"https://example.com/");
       },
       u"https://example.com/"},
      {"a web address with a path",
       [](KeySlot& s) {
         s.byBtnFuncType = BTNFUNC_LAUNCH;
         CopyToField(s.launch, u"https://example.com/docs/page?x=1");
       },
       u"https://example.com/docs/page?x=1"},
      {"another address",
       [](KeySlot& s) {
         s.byBtnFuncType = BTNFUNC_LAUNCH;
         CopyToField(s.launch, u"mailto:someone@example.com");
       },
       u"mailto:someone@example.com"},
      {"a folder without a file name",
       [](KeySlot& s) {
         s.byBtnFuncType = BTNFUNC_LAUNCH;
         CopyToField(s.launch, u"C:\\Tools\\");
       },
       u"C:\\Tools\\"},
      {"disabled", [](KeySlot& s) { s.byBtnFuncType = BTNFUNC_DISABLE, s.byKeyNumber = 0x1D; }, u"Disabled"},
      {"the factory function", [](KeySlot& s) { s.byBtnFuncType = BTNFUNC_DEFAULT; }, u"Default: E"},
      {"an unknown function", [](KeySlot& s) { s.byBtnFuncType = 466; }, u"Default: E"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    KeySlot slot{};
    c.make(slot);
    EXPECT_EQ(AssignmentText(slot, 0x08, words, &FakeName), c.text);
  }
  KeySlot factory{};
  EXPECT_EQ(AssignmentText(factory, 0x00, words, &FakeName), u"") << "a factory code without a name: no text";
}

}  // namespace
}  // namespace quencfg

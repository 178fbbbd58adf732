// The edits the key assignment dialog makes to its working slot.
#include "quencfg/ui/keyassign/slot_edits.h"

#include <gtest/gtest.h>

#include <string>

#include "quencfg/framework/text.h"

namespace quencfg {
namespace {

KeySlot SlotOf(std::int32_t function, std::uint8_t keyCode = 0, std::u16string_view launch = {}) {
  KeySlot slot{};
  slot.byBtnFuncType = function;
  slot.byKeyNumber = keyCode;
  CopyToField(slot.launch, launch);
  CopyToField(slot.MacroName, u"Macro 1");
  slot.repeatTime = 3;
  return slot;
}

bool SameSlot(const KeySlot& a, const KeySlot& b) {
  return a.byBtnFuncType == b.byBtnFuncType && a.byKeyNumber == b.byKeyNumber && a.repeatTime == b.repeatTime &&
         FieldText(a.launch) == FieldText(b.launch) && FieldText(a.MacroName) == FieldText(b.MacroName);
}

TEST(SlotEdits, PageFollowsTheFunction) {
  const std::pair<std::int32_t, AssignmentPage> cases[] = {
      {BTNFUNC_KEY, kPageSingleKey},  {BTNFUNC_MACRO, kPageMacro},     {BTNFUNC_LAUNCH, kPageLaunch},
      {BTNFUNC_DEFAULT, kPageSingleKey}, {BTNFUNC_DISABLE, kPageSingleKey}, {12345, kPageSingleKey},
  };
  for (const auto& [function, page] : cases) EXPECT_EQ(PageForFunction(function), page) << function;
}

TEST(SlotEdits, HookEventsThatAssignAKey) {
  struct Case {
    std::uintptr_t wParam;
    std::intptr_t lParam;
    int expected;  // -1: nothing assigned
  } cases[] = {
      {0x41, 0, 0x41},
      {0x0D, 0, 0x0D},
      {0x0D, 0x01, 0x0D},  // keypad Enter: the extended flag is not used
      {0x0D, 0x80, -1},    // release
      {0x0D, 0x81, -1},
      {0xAD, 0, -1},  // mute
      {0xB3, 0, -1},  // play/pause
      {0xCD, 0, -1},
      {0xAC, 0, 0xAC},  // next to the media keys but not one of them
      {0xB4, 0, 0xB4},
      {0xFF, 0, 0xFF},
      {0x201, 0, -1},  // the hook's mouse-button messages
      {0x204, 0, -1},
      {0x207, 0, -1},
      {0x141, 0, -1},  // no low-byte folding into a key
  };
  for (const Case& c : cases) {
    const std::optional<std::uint8_t> key = SingleKeyOfHookEvent(c.wParam, c.lParam);
    EXPECT_EQ(key ? int(*key) : -1, c.expected) << std::hex << c.wParam << " " << c.lParam;
  }
}

TEST(SlotEdits, AssignSingleKeyKeepsTheOtherFields) {
  KeySlot slot = SlotOf(BTNFUNC_LAUNCH, 0x04, u"C:\\Tools\\app.exe");
  EXPECT_TRUE(AssignSingleKey(slot, 0x128));  // callers keep the low byte
  EXPECT_EQ(slot.byBtnFuncType, BTNFUNC_KEY);
  EXPECT_EQ(slot.byKeyNumber, 0x28);
  EXPECT_EQ(FieldText(slot.launch), u"C:\\Tools\\app.exe");
}

// A VK without a key code converts to 0, which the keyboard takes for no key: refused,
// whatever the slot held before.
TEST(SlotEdits, AKeyWithoutACodeIsNeverStored) {
  for (const std::uint32_t keyCode : {0x000u, 0x100u}) {
    KeySlot slot = SlotOf(BTNFUNC_LAUNCH, 0x04, u"C:\\Tools\\app.exe");
    EXPECT_FALSE(AssignSingleKey(slot, keyCode)) << keyCode;
    EXPECT_EQ(slot.byBtnFuncType, BTNFUNC_LAUNCH) << keyCode;
    EXPECT_EQ(slot.byKeyNumber, 0x04) << keyCode;
  }
}

TEST(SlotEdits, ChoosingAPageTakesItsFunctionOnlyWhenTheSlotHoldsOne) {
  struct Case {
    KeySlot slot;
    AssignmentPage page;
    std::int32_t expected;
  } cases[] = {
      {SlotOf(BTNFUNC_LAUNCH, 0x04, u"C:\\a.exe"), kPageSingleKey, BTNFUNC_KEY},
      {SlotOf(BTNFUNC_LAUNCH, 0, u"C:\\a.exe"), kPageSingleKey, BTNFUNC_LAUNCH},
      {SlotOf(BTNFUNC_KEY, 0x04, u"C:\\a.exe"), kPageLaunch, BTNFUNC_LAUNCH},
      {SlotOf(BTNFUNC_KEY, 0x04), kPageLaunch, BTNFUNC_KEY},
      {SlotOf(BTNFUNC_DEFAULT, 0x04), kPageMacro, BTNFUNC_DEFAULT},  // the macro page decides itself
  };
  for (Case& c : cases) {
    KeySlot before = c.slot;
    TakeFunctionOfPage(c.slot, c.page);
    EXPECT_EQ(c.slot.byBtnFuncType, c.expected) << c.page;
    before.byBtnFuncType = c.expected;
    EXPECT_TRUE(SameSlot(c.slot, before)) << "only the function changes";
  }
}

TEST(SlotEdits, AssignProgram) {
  KeySlot slot = SlotOf(BTNFUNC_KEY, 0x04);
  EXPECT_TRUE(AssignProgram(slot, u"C:\\Program Files\\Tool\\tool.lnk"));
  EXPECT_EQ(slot.byBtnFuncType, BTNFUNC_LAUNCH);
  EXPECT_EQ(FieldText(slot.launch), u"C:\\Program Files\\Tool\\tool.lnk");
  EXPECT_EQ(slot.byKeyNumber, 0x04);

  // Nothing chosen, or a path the slot cannot hold whole: the slot stays as it was.
  for (const std::u16string& path : {std::u16string(), u"C:\\" + std::u16string(kLaunchCapacity, u'x')}) {
    KeySlot unchanged = SlotOf(BTNFUNC_KEY, 0x04, u"C:\\old.exe");
    EXPECT_FALSE(AssignProgram(unchanged, path));
    EXPECT_TRUE(SameSlot(unchanged, SlotOf(BTNFUNC_KEY, 0x04, u"C:\\old.exe")));
  }
  const std::u16string longest = u"C:\\" + std::u16string(kLaunchCapacity - 4, u'x');
  EXPECT_TRUE(AssignProgram(slot, longest));
  EXPECT_EQ(FieldText(slot.launch), longest);
}

TEST(SlotEdits, ResetKeepsWhatTheSlotHeld) {
  KeySlot slot = SlotOf(BTNFUNC_KEY, 0x28, u"C:\\a.exe");
  ResetFunction(slot);
  EXPECT_EQ(slot.byBtnFuncType, BTNFUNC_DEFAULT);
  EXPECT_EQ(slot.byKeyNumber, 0x28);
  EXPECT_EQ(FieldText(slot.launch), u"C:\\a.exe");
  EXPECT_EQ(FieldText(slot.MacroName), u"Macro 1");
}


}  // namespace
}  // namespace quencfg

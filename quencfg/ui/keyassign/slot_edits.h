#pragma once
// What the key assignment dialog does to its working copy of a key slot: which page
// shows a slot, which hook events assign a single key, and the program and reset edits.
#include <cstdint>
#include <optional>
#include <string_view>

#include "quencfg/model/settings_block.h"

#include "quencfg/framework/messages.h"

namespace quencfg {

enum AssignmentPage : int { kPageSingleKey = 0, kPageMacro = 1, kPageLaunch = 2 };

// The page that shows a slot of this function; every value but macro and launch
// opens the single-key page.
AssignmentPage PageForFunction(std::int32_t byBtnFuncType) noexcept;

// The VK a hook event assigns on the single-key page, or nothing for a release, a
// media key, or a mouse-button message (the hook reports WM_LBUTTONDOWN and the like
// in wParam; a click on the dialog's own OK must not become the assigned key).
std::optional<std::uint8_t> SingleKeyOfHookEvent(std::uintptr_t wParam, std::intptr_t lParam) noexcept;

// The slot sends `keyCode` (its low byte). False, and the slot unchanged, for a key
// without a code: 0 is no key to the keyboard, so storing it would lose the key.
bool AssignSingleKey(KeySlot& slot, std::uint32_t keyCode) noexcept;

// What the page, when the user chooses it, makes of the slot: the single-key page
// takes back a key already held, the launch page a program already held. Other
// fields are left alone, so switching pages loses nothing.
void TakeFunctionOfPage(KeySlot& slot, AssignmentPage page) noexcept;

// The slot starts `path`. False, and the slot unchanged, when the path is empty or
// does not fit the slot's field (a cut path would start another file or nothing).
bool AssignProgram(KeySlot& slot, std::u16string_view path) noexcept;

// The slot gets its factory function back; the key, program and macro stay stored.
void ResetFunction(KeySlot& slot) noexcept;

}  // namespace quencfg

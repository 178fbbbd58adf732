#pragma once
// Whether the key assignment dialog is open over the main window. The main window sets
// it when it opens the dialog, the dialog clears it when it hides itself; while it is
// set, the main window starts no drag, keeps an open settings menu open and its buttons
// do not act, so that the dialog's edit lands in the profile it was opened for.
namespace quencfg {

[[nodiscard]] bool SubWindowOpen() noexcept;
void SetSubWindowOpen(bool open) noexcept;

}  // namespace quencfg

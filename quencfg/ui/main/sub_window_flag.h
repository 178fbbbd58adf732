#pragma once
// Whether the key assignment dialog is open over the main window. The main window sets
// it when it opens the dialog, the dialog clears it when it hides itself; while it is
// set, the main window starts no drag and keeps an open settings menu open.
namespace quencfg {

[[nodiscard]] bool SubWindowOpen() noexcept;
void SetSubWindowOpen(bool open) noexcept;

}  // namespace quencfg

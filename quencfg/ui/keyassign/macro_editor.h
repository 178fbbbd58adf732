#pragma once
// The macro editor's hold on the macro library: the list of macro names, the macro
// being edited (its events in the buffer; its name and repeat count live in the page's
// fields) and the library operations of the macro page. No window here: each operation
// says what the fields must show.
#include <string>
#include <string_view>
#include <vector>

#include "quencfg/model/settings_block.h"
#include "quencfg/ui/keyassign/macro_event_editor.h"
#include "quencfg/ui/keyassign/macro_events.h"

namespace quencfg {

inline constexpr std::u16string_view kNewMacroPrefix = u"Macro ";

// What the name and repeat fields show after a macro was loaded or created.
struct MacroFields {
  std::u16string name;
  std::u16string repeat;
};

// Why a save would keep the old name instead of the one in the name field.
enum class NameRefusal { kNone, kInUse, kUnusable };

class MacroEditor {
 public:
  // Lists the library; an empty library gets "Macro 1".
  void LoadMacroLibrary();

  // Selects the macro the slot names (the first one when the library lacks it), loads
  // it and makes the slot play it.
  MacroFields SelectSlotMacro(KeySlot& workingSlot);

  // A pick from the macro menu; the slot (if any) takes the name. False for an index
  // outside the list.
  bool PickMacro(int index, KeySlot* workingSlot, MacroFields& shown);

  // Creates "Macro n" with repeat 1 and no events, never over an existing file.
  MacroFields NewMacro(KeySlot* workingSlot);

  // Deletes the selected macro unless it is the library's last one. True when deleted.
  bool DeleteSelectedMacro();

  // Writes the macro being edited under the name field's text (the selected name when
  // empty). A changed name renames: the new file is written before the old one is
  // deleted, and a name whose file exists already (another macro's) is not taken:
  // the macro stays under its old name. The slot (if any) takes the saved name.
  // Returns the name the name field shows afterwards.
  std::u16string SaveMacro(std::u16string_view nameField, std::u16string_view repeatField, KeySlot* workingSlot);

  // What SaveMacro would do with the name field's text: kNone when it saves under it.
  [[nodiscard]] NameRefusal RenameRefusal(std::u16string_view nameField) const;

  // Whether the events, the name or the repeat count differ from what was loaded,
  // created or saved last.
  [[nodiscard]] bool HasUnsavedEdits(std::u16string_view nameField, std::u16string_view repeatField) const;

  [[nodiscard]] const std::vector<std::u16string>& macroNames() const noexcept { return macroNames_; }
  [[nodiscard]] int selectedMacro() const noexcept { return selectedMacro_; }
  // The name of the selected macro; empty when the library is empty.
  [[nodiscard]] std::u16string SelectedName() const;

  [[nodiscard]] MacroBuffer& buffer() noexcept { return events_.buffer(); }
  [[nodiscard]] const MacroBuffer& buffer() const noexcept { return events_.buffer(); }
  // The edits of the events, with their undo steps.
  [[nodiscard]] MacroEventEditor& events() noexcept { return events_; }
  [[nodiscard]] const MacroEventEditor& events() const noexcept { return events_; }

 private:
  MacroFields LoadSelected();
  void Relist();
  int IndexOf(std::u16string_view name) const;

  std::vector<std::u16string> macroNames_;
  int selectedMacro_ = 0;
  MacroEventEditor events_;
  MacroFields savedFields_;
};

}  // namespace quencfg

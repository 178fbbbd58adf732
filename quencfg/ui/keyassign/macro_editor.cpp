#include "quencfg/ui/keyassign/macro_editor.h"

#include <algorithm>
#include <cstring>

#include "quencfg/framework/files.h"
#include "quencfg/framework/text.h"
#include "quencfg/model/macro_library.h"
#include "quencfg/model/number_text.h"
#include "quencfg/ui/keyassign/macro_event_edits.h"
#include "quencfg/ui/keyassign/macro_repeat.h"

namespace quencfg {
namespace {

MacroFile ZeroMacro() {
  MacroFile macro;
  std::memset(&macro, 0, sizeof macro);
  return macro;
}

void WriteEmptyMacro(std::u16string_view name) {
  MacroFile macro = ZeroMacro();
  macro.Repeat = 1;
  CopyToField(macro.MacroName, name);
  WriteMacro(macro, name);
}

void GiveSlotMacro(KeySlot* slot, std::u16string_view name) {
  if (slot != nullptr) CopyToField(slot->MacroName, name);
}

bool MacroFileExists(std::u16string_view name) { return PathExists(MacroPath(name)); }

}  // namespace

void MacroEditor::Relist() { ListMacros(macroNames_); }

int MacroEditor::IndexOf(std::u16string_view name) const {
  const auto found = std::find(macroNames_.begin(), macroNames_.end(), name);
  return found == macroNames_.end() ? -1 : static_cast<int>(found - macroNames_.begin());
}

std::u16string MacroEditor::SelectedName() const {
  if (selectedMacro_ < 0 || selectedMacro_ >= static_cast<int>(macroNames_.size())) return {};
  return macroNames_[static_cast<std::size_t>(selectedMacro_)];
}

void MacroEditor::LoadMacroLibrary() {
  Relist();
  if (macroNames_.empty()) {
    WriteEmptyMacro(NextMacroName(kNewMacroPrefix, macroNames_));
    Relist();
  }
}

MacroFields MacroEditor::LoadSelected() {
  const std::u16string name = SelectedName();
  MacroFile macro = ZeroMacro();
  ReadMacro(macro, name);
  MacroBuffer loaded;
  LoadEvents(loaded, macro);
  events_.Load(loaded);
  savedFields_ = MacroFields{name, FormatDecimal(macro.Repeat)};
  return savedFields_;
}

MacroFields MacroEditor::SelectSlotMacro(KeySlot& workingSlot) {
  selectedMacro_ = std::max(IndexOf(FieldText(workingSlot.MacroName)), 0);
  MacroFields shown = LoadSelected();
  workingSlot.byBtnFuncType = BTNFUNC_MACRO;
  GiveSlotMacro(&workingSlot, shown.name);
  return shown;
}

bool MacroEditor::PickMacro(int index, KeySlot* workingSlot, MacroFields& shown) {
  if (index < 0 || index >= static_cast<int>(macroNames_.size())) return false;
  selectedMacro_ = index;
  shown = LoadSelected();
  GiveSlotMacro(workingSlot, shown.name);
  return true;
}

MacroFields MacroEditor::NewMacro(KeySlot* workingSlot) {
  // The listing compares names exactly, but the file system may not: "macro 1" on
  // disk already holds the file "Macro 1" would write.
  std::vector<std::u16string> taken = macroNames_;
  std::u16string name = NextMacroName(kNewMacroPrefix, taken);
  while (MacroFileExists(name)) {
    taken.push_back(name);
    name = NextMacroName(kNewMacroPrefix, taken);
  }
  WriteEmptyMacro(name);
  Relist();
  selectedMacro_ = std::max(IndexOf(name), 0);
  GiveSlotMacro(workingSlot, name);
  events_.Load(MacroBuffer{});
  savedFields_ = MacroFields{name, FormatDecimal(1)};
  return savedFields_;
}

bool MacroEditor::DeleteSelectedMacro() {
  const std::u16string name = SelectedName();
  if (name.empty() || macroNames_.size() <= 1) return false;
  DeleteMacro(name);
  Relist();
  return true;
}

std::u16string MacroEditor::SaveMacro(std::u16string_view nameField, std::u16string_view repeatField,
                                      KeySlot* workingSlot) {
  if (macroNames_.empty()) {
    Relist();
    return std::u16string(nameField);
  }
  const std::u16string oldName = SelectedName();
  std::u16string name = nameField.empty() ? oldName : std::u16string(nameField);
  // Another spelling of the macro's own name, on a file system that ignores case: its
  // file takes the new name, as deleting the "old" file after writing would delete both.
  const bool respelled = name != oldName && IsSameMacroFile(name, oldName);
  if (respelled && !RenameMacro(oldName, name)) name = oldName;
  // Never over another macro, never under a name that cannot be a file name.
  if (name != oldName && !respelled && (!IsUsableMacroName(name) || MacroFileExists(name))) name = oldName;

  MacroFile macro = ZeroMacro();
  macro.Repeat = RepeatCountToSave(repeatField);
  std::copy(buffer().events.begin(), buffer().events.end(), std::begin(macro.events));
  CopyToField(macro.MacroName, name);
  WriteMacro(macro, name);
  if (name != oldName && !respelled) {
    if (MacroFileExists(name)) {
      DeleteMacro(oldName);
    } else {
      // The new file could not be written: the macro keeps its old name.
      name = oldName;
      CopyToField(macro.MacroName, name);
      WriteMacro(macro, name);
    }
  }
  Relist();
  // Later saves must start from the macro just written, not from whatever now
  // stands at the old index.
  selectedMacro_ = std::max(IndexOf(name), 0);
  GiveSlotMacro(workingSlot, name);
  events_.MarkSaved();
  savedFields_ = MacroFields{name, FormatDecimal(macro.Repeat)};
  return name;
}

NameRefusal MacroEditor::RenameRefusal(std::u16string_view nameField) const {
  const std::u16string oldName = SelectedName();
  if (nameField.empty() || nameField == oldName || macroNames_.empty()) return NameRefusal::kNone;
  if (!IsUsableMacroName(nameField)) return NameRefusal::kUnusable;
  if (IsSameMacroFile(nameField, oldName)) return NameRefusal::kNone;  // the same macro spelt anew
  return MacroFileExists(nameField) ? NameRefusal::kInUse : NameRefusal::kNone;
}

bool MacroEditor::HasUnsavedEdits(std::u16string_view nameField, std::u16string_view repeatField) const {
  if (events_.HasUnsavedEdits()) return true;
  if (!nameField.empty() && nameField != savedFields_.name) return true;
  return RepeatCountToSave(repeatField) != RepeatCountToSave(savedFields_.repeat);
}

}  // namespace quencfg

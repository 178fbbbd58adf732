// The windows the main window owns: the key assignment dialog and the lighting panel.
#include "quencfg/ui/main/quencfg_dlg_win.h"
#include "quencfg/ui/main/sub_window_flag.h"

namespace quencfg {

void CQuencfgDlg::CreateSubWindows() {}

void CQuencfgDlg::OpenKeyAssignment(int index) { editedKeyIndex_ = index; }

void CQuencfgDlg::OpenMacroEditor() {}

void CQuencfgDlg::ShowLightingPanel(bool) {}

void CQuencfgDlg::RefreshLightingPanel() {}

void CQuencfgDlg::RelayoutSubWindows() {}

}  // namespace quencfg

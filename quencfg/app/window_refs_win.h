#pragma once
// The process-wide references to the main window and the device window.
namespace quencfg {

class CQuencfgDlg;
class CHidWnd;

CQuencfgDlg* MainWindow() noexcept;
void SetMainWindow(CQuencfgDlg* window) noexcept;

CHidWnd* DeviceWindow() noexcept;
void SetDeviceWindow(CHidWnd* window) noexcept;

}  // namespace quencfg

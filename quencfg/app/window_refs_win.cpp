#include "quencfg/app/window_refs_win.h"

#include <atomic>

namespace quencfg {
namespace {
std::atomic<CQuencfgDlg*> g_mainWindow{nullptr};
std::atomic<CHidWnd*> g_deviceWindow{nullptr};
}  // namespace

CQuencfgDlg* MainWindow() noexcept { return g_mainWindow.load(); }
void SetMainWindow(CQuencfgDlg* window) noexcept { g_mainWindow.store(window); }
CHidWnd* DeviceWindow() noexcept { return g_deviceWindow.load(); }
void SetDeviceWindow(CHidWnd* window) noexcept { g_deviceWindow.store(window); }

}  // namespace quencfg

#pragma once
// The progress thread: it owns the progress window and is driven only by the three
// thread messages UM_PROGRESSOPEN, UM_PROGRESSPOS and UM_PROGRESSCLOSE.
#include <windows.h>

#include "quencfg/device/device_sync.h"
#include "quencfg/framework/thread_win.h"

namespace quencfg {

class CProgressDlg;

inline constexpr SIZE_T PROGRESS_THREAD_STACK_SIZE = 4096;
inline constexpr DWORD PROGRESS_CLOSE_PAUSE_MS = 250;

// The thread the progress messages are posted to; 0 until one runs.
DWORD ProgressThreadId() noexcept;

// The progress window between UM_PROGRESSOPEN and UM_PROGRESSCLOSE, else null. Owned
// by the progress thread; other threads may only look at it.
CProgressDlg* CurrentProgressWindow() noexcept;

// The parameter every progress thread entry receives: it calls SignalQueueReady once
// it can take posted thread messages.
struct ProgressThreadStart {
  HANDLE queueReady = nullptr;
};
void SignalQueueReady(LPVOID parameter) noexcept;

DWORD WINAPI ProgressThreadMain(LPVOID parameter);

// Starts `entry` with the requested stack of 4096 bytes, waits until its queue exists
// (a message posted earlier would be lost), and makes it the target of the messages.
StartedThread StartProgressThread(LPTHREAD_START_ROUTINE entry);

// Asks a progress thread to quit and waits for it; the program's own thread ends with
// the process, so this serves orderly ends of device threads in tests.
void StopProgressThread(StartedThread& thread);

// Posts the progress of a full write to the progress thread; never waits for it.
class PostedProgress final : public ProgressTarget {
 public:
  void Open() override;
  void Position(int percent) override;
  void Close() override;
};

}  // namespace quencfg

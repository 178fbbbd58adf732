#pragma once
// The progress thread as the device thread sees it: started with an entry that the
// program chooses (the progress window's thread) and driven only by the three posted
// thread messages UM_PROGRESSOPEN, UM_PROGRESSPOS and UM_PROGRESSCLOSE.
#include <windows.h>

#include "quencfg/device/device_sync.h"
#include "quencfg/framework/thread_win.h"

namespace quencfg {

inline constexpr SIZE_T kProgressThreadStackSize = 4096;

// The thread the progress messages are posted to; 0 until one runs.
DWORD ProgressThreadId() noexcept;

// The parameter every progress thread entry receives: it calls SignalQueueReady once
// it can take posted thread messages.
struct ProgressThreadStart {
  HANDLE queueReady = nullptr;
};
void SignalQueueReady(LPVOID parameter) noexcept;

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

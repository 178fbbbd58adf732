#pragma once
// Starting the system's worker threads.
#include <windows.h>

#include "quencfg/framework/handle_win.h"

namespace quencfg {

struct StartedThread {
  UniqueKernelHandle handle;
  DWORD id = 0;
};

// Starts `entry(argument)` on a new thread with the requested stack size.
StartedThread StartThread(LPTHREAD_START_ROUTINE entry, void* argument, SIZE_T stackSize = 0);

// Runs a thread's message loop until WM_QUIT; returns the quit code.
int RunMessageLoop();

}  // namespace quencfg

#pragma once
// The user-interface thread and the device thread both read-and-rewrite and write the
// settings, profile and macro files. Every such file operation holds this lock for its
// whole load-edit-save, so one thread's rewrite never overlaps the other's write.
#include <mutex>

namespace quencfg {

[[nodiscard]] std::unique_lock<std::recursive_mutex> LockDataFiles();

}  // namespace quencfg

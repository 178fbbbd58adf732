#include "quencfg/model/data_file_lock.h"

namespace quencfg {

std::unique_lock<std::recursive_mutex> LockDataFiles() {
  // One data folder per process, so one lock serves it.
  static std::recursive_mutex lock;
  return std::unique_lock<std::recursive_mutex>(lock);
}

}  // namespace quencfg

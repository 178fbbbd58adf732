#pragma once
// A window's pictures decoded ahead, on a thread of their own, while the window is being
// created and its settings read: its layout pass then finds them in the shared image
// cache. Only a head start: a picture that is not ready yet is decoded by the load that
// needs it, or that load waits for the decode under way. What the prefetch reads (the
// skin files) it reads into documents of its own.
#include <memory>
#include <string>
#include <vector>

#include "quencfg/framework/thread_win.h"

namespace quencfg {

struct SkinPrefetchPlan {
  // The window's background: the key under MAINSCREENNEW in Skins.xml; empty for none.
  std::u16string backgroundKey;
  // Controls whose normal state images are decoded: a layout file of the Languages
  // folder, the section, and the keys in the order the window creates them.
  struct Controls {
    std::u16string layoutFile;
    std::u16string section;
    std::vector<std::u16string> keys;
  };
  std::vector<Controls> controls;
};

class SkinPrefetch {
 public:
  explicit SkinPrefetch(SkinPrefetchPlan plan);
  ~SkinPrefetch();  // waits for the thread
  SkinPrefetch(const SkinPrefetch&) = delete;
  SkinPrefetch& operator=(const SkinPrefetch&) = delete;

 private:
  std::unique_ptr<const SkinPrefetchPlan> plan_;  // read by the thread until it ends
  StartedThread thread_;
};

// The work of the thread, on the calling thread.
void RunSkinPrefetch(const SkinPrefetchPlan& plan);

}  // namespace quencfg

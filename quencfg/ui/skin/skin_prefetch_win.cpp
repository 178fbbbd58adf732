#include "quencfg/ui/skin/skin_prefetch_win.h"

#include <set>
#include <utility>

#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_image_cache_win.h"
#include "quencfg/ui/skin/skin_image_win.h"
#include "quencfg/ui/skin/skin_rect.h"

namespace quencfg {

void RunSkinPrefetch(const SkinPrefetchPlan& plan) {
  if (!plan.backgroundKey.empty()) {
    SharedSkinDocument skins;
    skins.Load(LanguagesFilePath(u"Skins.xml"));
    const std::u16string name = skins.Lookup(u"MAINSCREENNEW", plan.backgroundKey);
    if (!name.empty()) SharedSkinImageCache().PrefetchPicture(SkinsFolder() + name);
  }
  for (const SkinPrefetchPlan::Controls& controls : plan.controls) {
    SharedSkinDocument layout;
    layout.Load(LanguagesFilePath(controls.layoutFile));
    std::set<std::pair<std::u16string, bool>> done;  // 111 keys share a handful of images
    for (const std::u16string& key : controls.keys) {
      // The images a control's skin loads first, through the same loader.
      const SkinRect entry = layout.LookupRect(controls.section, key);
      if (done.emplace(SkinImageName(entry), entry.flag).second) LoadStateImages(SkinImageName(entry), entry.flag);
    }
  }
}

SkinPrefetch::SkinPrefetch(SkinPrefetchPlan plan)
    : thread_([plan = std::move(plan)] { RunSkinPrefetch(plan); }) {}

SkinPrefetch::~SkinPrefetch() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace quencfg

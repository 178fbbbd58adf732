#include "quencfg/ui/skin/skin_prefetch_win.h"

#include <set>
#include <utility>

#include "quencfg/ui/skin/skin_documents.h"
#include "quencfg/ui/skin/skin_dpi_win.h"
#include "quencfg/ui/skin/skin_image_cache_win.h"
#include "quencfg/ui/skin/skins_folder_win.h"
#include "quencfg/ui/skin/state_images_win.h"
#include "quencfg/ui/skin/skin_rect.h"

namespace quencfg {

void RunSkinPrefetch(const SkinPrefetchPlan& plan) {
  // The windows read their skin at the main window's DPI, which it sets once it exists;
  // it is made on the primary screen, whose DPI this is.
  const int dpi = WindowDpi(nullptr);
  SkinImageCache& cache = SharedSkinImageCache();
  if (!plan.backgroundKey.empty()) {
    SharedSkinDocument skins;
    skins.Load(LanguagesFilePath(u"Skins.xml"));
    const std::u16string name = skins.Lookup(u"MAINSCREENNEW", plan.backgroundKey);
    if (!name.empty()) cache.PrefetchPicture(SkinsFolder() + name, dpi);
  }
  for (const SkinPrefetchPlan::Controls& controls : plan.controls) {
    SharedSkinDocument layout;
    layout.Load(LanguagesFilePath(controls.layoutFile));
    std::set<std::u16string> done;  // 111 keys share a handful of images
    for (const std::u16string& key : controls.keys) {
      // The image a control's skin loads first: its normal state.
      const std::u16string name = SkinImageName(layout.LookupRect(controls.section, key));
      if (!name.empty() && done.insert(name).second) cache.PrefetchPng(NormalStateImagePath(SkinsFolder() + name), dpi);
    }
  }
}

namespace {

DWORD WINAPI PrefetchThread(LPVOID plan) {
  RunSkinPrefetch(*static_cast<const SkinPrefetchPlan*>(plan));
  return 0;
}

}  // namespace

SkinPrefetch::SkinPrefetch(SkinPrefetchPlan plan)
    : plan_(std::make_unique<const SkinPrefetchPlan>(std::move(plan))),
      thread_(StartThread(&PrefetchThread, const_cast<SkinPrefetchPlan*>(plan_.get()))) {}

SkinPrefetch::~SkinPrefetch() {
  if (thread_.handle) ::WaitForSingleObject(thread_.handle.get(), INFINITE);
}

}  // namespace quencfg

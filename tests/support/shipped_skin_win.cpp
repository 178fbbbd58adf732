#include "support/shipped_skin_win.h"

#include "quencfg/framework/folders.h"
#include "quencfg/framework/wide_win.h"
#include "quencfg/ui/skin/skin_documents.h"

namespace quencfg::testing {

std::u16string StagedAppFolder() { return ToU16(KORVANE_TEST_APP_DIR); }

ShippedSkin::ShippedSkin() : previousAppFolder_(AppFolder()) {
  loaded_ = SetAppFolder(StagedAppFolder());
  SkinDocument().Load(LanguagesFilePath(u"Skins.xml"));
  LayoutDocument().Load(LanguagesFilePath(u"Buttons.xml"));
  StringDocument().Load(StagedAppFolder() + u"Languages\\EN\\Strings.xml");
}

ShippedSkin::~ShippedSkin() {
  SetAppFolder(previousAppFolder_);
  SkinDocument().Load(u"");
  LayoutDocument().Load(u"");
  StringDocument().Load(u"");
}

}  // namespace quencfg::testing

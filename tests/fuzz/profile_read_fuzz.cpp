// Any bytes as a profile file (imported profiles come from anywhere): reading never
// crashes, never overflows a field, and a write after it keeps every number.
#include <cstring>
#include <memory>

#include "data_file_fuzz_support.h"
#include "quencfg/model/profile_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quencfg;
  fuzzing::FuzzDataFolder();
  fuzzing::PlaceFile(ProfilePath(u"fuzz", u""), data, size);
  auto profile = std::make_unique<ProfileData>();
  std::memset(profile.get(), 0, sizeof *profile);
  ReadProfile(*profile, u"fuzz", u"");
  for (const KeySlot& slot : profile->keys) {
    fuzzing::CheckTerminated(slot.launch);
    fuzzing::CheckTerminated(slot.MacroName);
  }
  WriteProfile(*profile, u"fuzz", u"");
  auto again = std::make_unique<ProfileData>();
  std::memset(again.get(), 0, sizeof *again);
  ReadProfile(*again, u"fuzz", u"");
  // Numbers survive the write exactly; texts may not, when the file declares an 8-bit
  // encoding that cannot hold every character read (they become "?" on saving).
  for (int i = 0; i < KEY_COUNT; ++i) {
    const KeySlot& a = profile->keys[i];
    const KeySlot& b = again->keys[i];
    if (a.byBtnFuncType != b.byBtnFuncType || a.repeatTime != b.repeatTime || a.byKeyNumber != b.byKeyNumber) std::abort();
    if (profile->lighting.keyColors.coLightRGB[i] != again->lighting.keyColors.coLightRGB[i]) std::abort();
  }
  return 0;
}

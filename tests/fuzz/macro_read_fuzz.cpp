// Any bytes as a macro file: reading never crashes or overflows the name.
#include <cstring>

#include "data_file_fuzz_support.h"
#include "quencfg/model/macro_library.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quencfg;
  fuzzing::FuzzDataFolder();
  fuzzing::PlaceFile(MacroPath(u"fuzz"), data, size);
  MacroFile macro;
  std::memset(&macro, 0, sizeof macro);
  ReadMacro(macro, u"fuzz");
  fuzzing::CheckTerminated(macro.MacroName);
  WriteMacro(macro, u"fuzz");
  MacroFile again;
  std::memset(&again, 0, sizeof again);
  ReadMacro(again, u"fuzz");
  // Numbers survive the write exactly; the name may not, when the file declares an
  // 8-bit encoding that cannot hold every character read.
  if (again.Repeat != macro.Repeat || std::memcmp(again.events, macro.events, sizeof macro.events) != 0) std::abort();
  return 0;
}

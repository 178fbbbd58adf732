// Any bytes as the settings file: reading never crashes and leaves sane fields.
#include <memory>

#include "data_file_fuzz_support.h"
#include "quencfg/model/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quencfg;
  fuzzing::FuzzDataFolder();
  fuzzing::PlaceFile(SettingsFilePath(), data, size);
  auto settings = std::make_unique<SettingsBlock>();
  ClearSettings(*settings);
  ReadSettings(*settings);
  WriteSettings(*settings);
  ReadSettings(*settings);
  return 0;
}

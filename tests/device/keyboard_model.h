#pragma once
// What the keyboard would hold after a recorded sequence of feature reports: the key
// map, the macro of each cell, the lighting, the effect color and the key colors.
// While replaying it checks that every report went to its collection, that packet
// sequences are complete and in order, and that every mandated pause was kept.
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "device/fake_hid.h"
#include "quencfg/device/device_reports.h"

namespace quencfg::testing {

struct ModelLighting {
  std::uint8_t effect = 0;
  std::uint8_t brightness = 0;
  std::uint8_t speed = 0;
  std::uint8_t colorMode = 0;
};

class KeyboardModel {
 public:
  // `collectionReportIds[i]` is the report ID that collection i of the fake declares.
  explicit KeyboardModel(std::vector<std::uint8_t> collectionReportIds);

  void Replay(const std::vector<FeatureRecord>& records);

  // Faults found in the sequence; empty when the keyboard took everything.
  std::vector<std::string> errors;
  // One word per accepted step, e.g. "reset", "macro 21", "keymap", "lighting",
  // "effect-color", "key-color 24", "end".
  std::vector<std::string> steps;

  std::optional<KeyMapBlock> keyMap;
  std::map<int, MacroBlock> macros;  // by cell
  std::optional<ModelLighting> lighting;
  std::optional<std::uint32_t> effectColor;  // as a color value
  std::map<int, std::uint32_t> keyColors;    // by cell, as color values
  int resets = 0;
  int endsOfUpdate = 0;

 private:
  enum class Expect { Nothing, KeyMapPacket, MacroPacket };

  void Take(const FeatureRecord& record);
  void TakeCommand(const FeatureReport& report, std::int64_t timeUs);
  void TakePacket(const FeatureReport& report, std::int64_t timeUs);
  void RequireGap(std::int64_t timeUs);
  void ExpectGap(std::int64_t timeUs, std::uint32_t ms, const std::string& after);
  void Fault(const std::string& text);

  std::vector<std::uint8_t> collectionReportIds_;
  Expect expect_ = Expect::Nothing;
  int nextPacket_ = 0;
  int macroCell_ = 0;
  std::array<std::uint8_t, kMacroBlockSize> pending_{};
  std::int64_t earliestNextUs_ = 0;
  std::string lastStep_;
};

// Report IDs declared by the collections of the standard fake keyboard.
std::vector<std::uint8_t> KeyboardCollectionIds(const std::vector<std::uint8_t>& order = {
                                                    kReportIdCommand, kReportIdKeymap, kReportIdMacro,
                                                    kReportIdInput});

}  // namespace quencfg::testing

#include "device/keyboard_model.h"

#include <algorithm>

namespace quencfg::testing {
namespace {

std::uint32_t ColorValue(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return std::uint32_t{red} | std::uint32_t{green} << 8 | std::uint32_t{blue} << 16;
}

// Minimum quiet time after each kind of report: the senders' pauses, plus the pauses
// the write steps add after a whole macro (100 ms), after the lighting command
// (100 ms) and after the effect color (200 ms).
constexpr std::uint32_t kAfterCommandMs = 200;
constexpr std::uint32_t kAfterShortMs = 20;
constexpr std::uint32_t kAfterKeyMapPacketMs = 60;
constexpr std::uint32_t kAfterMacroPacketMs = 1;
constexpr std::uint32_t kAfterWholeMacroMs = 1 + 100;
constexpr std::uint32_t kAfterLightingMs = 200 + 100;
constexpr std::uint32_t kAfterEffectColorMs = 200 + 200;

}  // namespace

KeyboardModel::KeyboardModel(std::vector<std::uint8_t> collectionReportIds)
    : collectionReportIds_(std::move(collectionReportIds)) {}

void KeyboardModel::Fault(const std::string& text) { errors.push_back(text); }

void KeyboardModel::Replay(const std::vector<FeatureRecord>& records) {
  for (const FeatureRecord& record : records) Take(record);
  if (expect_ != Expect::Nothing) Fault("sequence ends inside the packets after " + lastStep_);
}

void KeyboardModel::RequireGap(std::int64_t timeUs) {
  if (timeUs < earliestNextUs_) {
    Fault("report " + std::to_string((earliestNextUs_ - timeUs) / 1000) + " ms too early after " + lastStep_);
  }
}

void KeyboardModel::ExpectGap(std::int64_t timeUs, std::uint32_t ms, const std::string& after) {
  earliestNextUs_ = timeUs + std::int64_t{ms} * 1000;
  lastStep_ = after;
}

void KeyboardModel::Take(const FeatureRecord& record) {
  if (!record.accepted) return;  // a failed report never reached the keyboard
  if (record.bytes.size() != kFeatureReportLength) {
    Fault("report of " + std::to_string(record.bytes.size()) + " bytes");
    return;
  }
  FeatureReport report{};
  std::copy(record.bytes.begin(), record.bytes.end(), report.begin());
  const auto index = static_cast<std::size_t>(record.collection);
  if (record.collection < 0 || index >= collectionReportIds_.size() || collectionReportIds_[index] != report[0]) {
    Fault("report " + std::to_string(report[0]) + " sent on the wrong collection");
    return;
  }
  RequireGap(record.timeUs);
  if (report[0] == kReportIdCommand) {
    TakeCommand(report, record.timeUs);
  } else if (report[0] == kReportIdKeymap || report[0] == kReportIdMacro) {
    TakePacket(report, record.timeUs);
  } else {
    Fault("unknown report ID " + std::to_string(report[0]));
  }
}

void KeyboardModel::TakeCommand(const FeatureReport& report, std::int64_t timeUs) {
  if (expect_ != Expect::Nothing) {
    Fault("command " + std::to_string(report[1]) + " interrupts the packets after " + lastStep_);
    expect_ = Expect::Nothing;
  }
  switch (report[1]) {
    case kCommandReset:
      ++resets;
      steps.push_back("reset");
      ExpectGap(timeUs, kAfterCommandMs, "reset");
      break;
    case kCommandEndOfUpdate:
      ++endsOfUpdate;
      steps.push_back("end");
      ExpectGap(timeUs, kAfterShortMs, "end of update");
      break;
    case kCommandKeymapFollows:
      expect_ = Expect::KeyMapPacket;
      nextPacket_ = 1;
      pending_.fill(0);
      ExpectGap(timeUs, kAfterCommandMs, "key map command");
      break;
    case kCommandMacroFollows:
      if (report[2] != 1 || report[4] != 1) Fault("macro command with wrong fixed bytes");
      expect_ = Expect::MacroPacket;
      nextPacket_ = 1;
      macroCell_ = (report[3] + 255) % 256;
      pending_.fill(0);
      ExpectGap(timeUs, kAfterCommandMs, "macro command");
      break;
    case kCommandLighting:
      lighting = ModelLighting{report[2], report[3], report[4], report[5]};
      steps.push_back("lighting");
      ExpectGap(timeUs, kAfterLightingMs, "lighting");
      break;
    case kCommandEffectColor:
      if (report[3] != 4) Fault("effect color without its fixed 4");
      effectColor = ColorValue(report[4], report[5], report[6]);
      steps.push_back("effect-color");
      ExpectGap(timeUs, kAfterEffectColorMs, "effect color");
      break;
    case kCommandKeyColor:
      keyColors[report[3]] = ColorValue(report[4], report[5], report[6]);
      steps.push_back("key-color " + std::to_string(report[3]));
      ExpectGap(timeUs, kAfterShortMs, "key color");
      break;
    default:
      Fault("unknown command " + std::to_string(report[1]));
      break;
  }
}

void KeyboardModel::TakePacket(const FeatureReport& report, std::int64_t timeUs) {
  const bool keyMapPacket = report[0] == kReportIdKeymap;
  const Expect wanted = keyMapPacket ? Expect::KeyMapPacket : Expect::MacroPacket;
  if (expect_ != wanted || report[1] != nextPacket_) {
    Fault("unexpected packet " + std::to_string(report[1]) + " of report " + std::to_string(report[0]) +
          " after " + lastStep_);
    expect_ = Expect::Nothing;
    ExpectGap(timeUs, 0, "a stray packet");
    return;
  }
  const std::size_t start = static_cast<std::size_t>(nextPacket_ - 1) * kPacketPayload;
  std::copy(report.begin() + 2, report.end(), pending_.begin() + static_cast<std::ptrdiff_t>(start));
  const int last = keyMapPacket ? kKeymapPacketCount : kMacroPacketCount;
  const std::string name = (keyMapPacket ? "key map packet " : "macro packet ") + std::to_string(nextPacket_);
  if (nextPacket_ < last) {
    ++nextPacket_;
    ExpectGap(timeUs, keyMapPacket ? kAfterKeyMapPacketMs : kAfterMacroPacketMs, name);
    return;
  }
  expect_ = Expect::Nothing;
  if (keyMapPacket) {
    KeyMapBlock block{};
    std::copy_n(pending_.begin(), block.size(), block.begin());
    keyMap = block;
    steps.push_back("keymap");
    ExpectGap(timeUs, kAfterKeyMapPacketMs, name);
  } else {
    macros[macroCell_] = pending_;
    steps.push_back("macro " + std::to_string(macroCell_));
    ExpectGap(timeUs, kAfterWholeMacroMs, name);
  }
}

std::vector<std::uint8_t> KeyboardCollectionIds(const std::vector<std::uint8_t>& order) { return order; }

}  // namespace quencfg::testing

// The senders of the keyboard protocol, operations of CUSBDriver. The pauses after
// each report are the keyboard's minimum processing times.
#include "quencfg/device/usb_driver.h"

namespace quencfg {
namespace {

constexpr std::uint32_t kCommandPauseMs = 200;  // after announcing data or changing the lighting
constexpr std::uint32_t kShortCommandPauseMs = 20;  // after a key color and the end of update
constexpr std::uint32_t kKeyMapPacketPauseMs = 60;
constexpr std::uint32_t kMacroPacketPauseMs = 1;

}  // namespace

void CUSBDriver::SendBlock(HidHandle handle, std::uint8_t reportId, std::span<const std::uint8_t> block,
                           std::uint32_t pauseMs) {
  const int packets = static_cast<int>(block.size() / kPacketPayload);
  for (int number = 1; number <= packets; ++number) {
    WriteFeature(handle, BlockPacket(reportId, number, block));
    clock_.Pause(pauseMs);
  }
}

void CUSBDriver::SendReset() {
  const HidHandle command = handles_.command.load();
  if (command == kNoHidHandle) return;
  WriteFeature(command, ResetReport());
  clock_.Pause(kCommandPauseMs);
}

void CUSBDriver::SendEndOfUpdate() {
  const HidHandle command = handles_.command.load();
  if (command == kNoHidHandle) return;
  WriteFeature(command, EndOfUpdateReport());
  clock_.Pause(kShortCommandPauseMs);
}

void CUSBDriver::SendLighting(const LightingSettings& lighting) {
  const HidHandle command = handles_.command.load();
  if (command == kNoHidHandle) return;
  WriteFeature(command, LightingReport(lighting));
  clock_.Pause(kCommandPauseMs);
}

void CUSBDriver::SendEffectColor(std::uint32_t color) {
  const HidHandle command = handles_.command.load();
  if (command == kNoHidHandle) return;
  WriteFeature(command, EffectColorReport(color));
  clock_.Pause(kCommandPauseMs);
}

void CUSBDriver::SendKeyColor(std::uint8_t cell, std::uint32_t color) {
  const HidHandle command = handles_.command.load();
  if (command == kNoHidHandle) return;
  WriteFeature(command, KeyColorReport(cell, color));
  clock_.Pause(kShortCommandPauseMs);
}

void CUSBDriver::SendKeyMap(const KeyMapBlock& block) {
  const HidHandle command = handles_.command.load();
  const HidHandle keyMap = handles_.keyMap.load();
  if (command == kNoHidHandle || keyMap == kNoHidHandle) return;
  WriteFeature(command, KeyMapFollowsReport());
  clock_.Pause(kCommandPauseMs);
  SendBlock(keyMap, kReportIdKeymap, block, kKeyMapPacketPauseMs);
}

void CUSBDriver::SendMacro(std::uint8_t cell, const MacroBlock& block) {
  const HidHandle command = handles_.command.load();
  const HidHandle macro = handles_.macro.load();
  if (command == kNoHidHandle || macro == kNoHidHandle) return;
  WriteFeature(command, MacroFollowsReport(cell));
  clock_.Pause(kCommandPauseMs);
  SendBlock(macro, kReportIdMacro, block, kMacroPacketPauseMs);
}

}  // namespace quencfg

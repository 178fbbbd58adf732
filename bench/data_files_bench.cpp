// Loading the settings and the three profiles the way the main window does, against
// reading the same files and the same values with pugixml, in one run.
#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "quencfg/framework/folders.h"
#include "quencfg/framework/text.h"
#include "quencfg/model/all_settings.h"
#include "quencfg/model/profile_file.h"
#include "quencfg/model/settings_file.h"

namespace {

using namespace quencfg;

const std::u16string& BenchDataFolder() {
  static const std::u16string folder = [] {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / "korvane-bench-data";
    fs::remove_all(root);
    fs::create_directories(root);
    std::u16string path = Utf8ToUtf16(root.string()) + u"/";
    SetDataFolder(path);
    PrepareDataFolder();
    auto settings = std::make_unique<SettingsBlock>();
    ClearSettings(*settings);
    WriteSettings(*settings);
    return path;
  }();
  return folder;
}

void LoadLikeTheMainWindow(benchmark::State& state) {
  BenchDataFolder();
  auto settings = std::make_unique<SettingsBlock>();
  for (auto _ : state) {
    LoadAllSettings(*settings);
    benchmark::DoNotOptimize(settings->profiles[2].lighting.byLightColor);
  }
}
BENCHMARK(LoadLikeTheMainWindow)->Unit(benchmark::kMicrosecond);

int ReadInt(const pugi::xml_node& parent, const char* name) { return parent.child(name).text().as_int(); }

void LoadWithPugixml(benchmark::State& state) {
  BenchDataFolder();
  const std::string folder = Utf16ToUtf8(BenchDataFolder());
  auto settings = std::make_unique<SettingsBlock>();
  for (auto _ : state) {
    std::memset(settings.get(), 0, sizeof *settings);
    pugi::xml_document config;
    if (config.load_file((folder + "config.xml").c_str())) {
      const auto setting = config.first_child().child("Setting");
      settings->Plug = static_cast<std::uint8_t>(ReadInt(setting, "Plug"));
      settings->Profile = static_cast<std::uint8_t>(ReadInt(setting, "Profile"));
      settings->Language = static_cast<std::uint8_t>(ReadInt(setting, "Language"));
    }
    for (int p = 0; p < PROFILE_COUNT; ++p) {
      pugi::xml_document doc;
      const std::string path = folder + "Profiles/Profile " + std::to_string(p + 1) + ".profile";
      if (!doc.load_file(path.c_str())) continue;
      ProfileData& profile = settings->profiles[p];
      const auto buttons = doc.first_child().child("ButtonSet");
      int i = 0;
      for (auto button = buttons.first_child(); button && i < KEY_COUNT; button = button.next_sibling(), ++i) {
        KeySlot& slot = profile.keys[i];
        slot.byBtnFuncType = ReadInt(button, "byBtnFuncType");
        CopyToField(slot.launch, Utf8ToUtf16(button.child("launch").text().get()));
        CopyToField(slot.MacroName, Utf8ToUtf16(button.child("MacroName").text().get()));
        slot.repeatTime = static_cast<std::uint16_t>(ReadInt(button, "repeatTime"));
        slot.byKeyNumber = static_cast<std::uint8_t>(ReadInt(button, "byKeyNumber"));
        profile.lighting.keyColors.coLightRGB[i] = static_cast<std::uint32_t>(ReadInt(button, "coLightRGB"));
      }
      const auto light = doc.first_child().child("Lighting");
      profile.lighting.byLightEffect = static_cast<std::uint8_t>(ReadInt(light, "byLightEffect"));
      profile.lighting.byLightBright = static_cast<std::uint8_t>(ReadInt(light, "byLightBright"));
      profile.lighting.byLightSpeed = static_cast<std::uint8_t>(ReadInt(light, "byLightSpeed"));
      profile.lighting.byLightColor = static_cast<std::uint32_t>(ReadInt(light, "byLightColor"));
      profile.lighting.byLightColorType = static_cast<std::uint8_t>(ReadInt(light, "byLightColorType"));
    }
    benchmark::DoNotOptimize(settings->profiles[2].lighting.byLightColor);
  }
}
BENCHMARK(LoadWithPugixml)->Unit(benchmark::kMicrosecond);

// Prints the figures as `name: value` lines after the usual table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const double us = run.GetAdjustedRealTime();
      if (run.benchmark_name() == "LoadLikeTheMainWindow") ours_ = us;
      if (run.benchmark_name() == "LoadWithPugixml") peer_ = us;
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("data_files_load_us: %.1f\n", ours_);
    std::printf("data_files_pugixml_us: %.1f\n", peer_);
    if (peer_ > 0) std::printf("data_files_load_vs_pugixml: %.2f\n", ours_ / peer_);
  }

 private:
  double ours_ = 0;
  double peer_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

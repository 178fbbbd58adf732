// XmlDocument against pugixml and tinyxml2 on the same inputs:
//  (a) a generated ~20 MB UTF-16LE profile-shaped file with byte-order mark: load and index;
//  (b) the three default profile files: load and read every value;
//  (c) one SetElementText in the middle of the large document, against a full re-parse.
// tinyxml2 reads UTF-8 only, so it is given each file converted to UTF-8 up front (its
// figures leave out that conversion, which favours it). Figures are printed at the end
// as `name: value` lines.
#include <benchmark/benchmark.h>

#include <pugixml.hpp>
#include <tinyxml2.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "quencfg/framework/files.h"
#include "quencfg/framework/text.h"
#include "quencfg/model/xml_document.h"

namespace {

using quencfg::XmlDocument;

constexpr int kProfileButtons = 111;

const char* const kButtonValues[] = {"byBtnFuncType", "launch", "MacroName", "repeatTime", "byKeyNumber",
                                     "coLightRGB"};
const char* const kLightingValues[] = {"byLightEffect", "byLightBright", "byLightSpeed", "byLightColor",
                                       "byLightColorType"};

std::string Utf16LeFile(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

// A profile as the program writes it: one element per line, no indentation.
std::u16string ProfileText(int buttons, int seed) {
  std::string t = "<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n<ButtonSet>\r\n";
  for (int i = 0; i < buttons; ++i) {
    const std::string n = std::to_string(i);
    t += "<Button_" + n + ">\r\n";
    t += "<byBtnFuncType>" + std::to_string((i * 7 + seed) % 600) + "</byBtnFuncType>\r\n";
    t += (i % 5 == 0) ? "<launch>C:\\Program Files\\App &amp; Tools\\app" + n + ".exe</launch>\r\n"
                      : "<launch/>\r\n";
    t += (i % 3 == 0) ? "<MacroName>Macro " + n + "</MacroName>\r\n" : "<MacroName></MacroName>\r\n";
    t += "<repeatTime>" + std::to_string(i % 65536) + "</repeatTime>\r\n";
    t += "<byKeyNumber>" + std::to_string((i + seed) % 256) + "</byKeyNumber>\r\n";
    t += "<coLightRGB>" + std::to_string((i * 2654435761u + seed) % 16777216) + "</coLightRGB>\r\n";
    t += "</Button_" + n + ">\r\n";
  }
  t += "</ButtonSet>\r\n<Lighting>\r\n<byLightEffect>3</byLightEffect>\r\n<byLightBright>2</byLightBright>\r\n"
       "<byLightSpeed>2</byLightSpeed>\r\n<byLightColor>16777215</byLightColor>\r\n"
       "<byLightColorType>2</byLightColorType>\r\n</Lighting>\r\n</root>\r\n";
  return quencfg::Utf8ToUtf16(t);
}

struct Inputs {
  std::filesystem::path folder;
  std::u16string largePath;
  std::string largeUtf8;
  std::size_t largeBytes = 0;
  std::vector<std::u16string> profilePaths;
  std::vector<std::string> profileUtf8;
};

Inputs& TheInputs() {
  static Inputs inputs = [] {
    Inputs in;
    in.folder = std::filesystem::temp_directory_path() / ("xml_bench_" + std::to_string(std::rand()));
    std::filesystem::create_directories(in.folder);
    auto path = [&](const std::string& name) { return quencfg::Utf8ToUtf16((in.folder / name).string()); };
    const std::u16string large = ProfileText(48000, 1);  // about 20 MB as UTF-16
    in.largePath = path("large.profile");
    const std::string largeFile = Utf16LeFile(large);
    in.largeBytes = largeFile.size();
    (void)quencfg::ReplaceFileContents(in.largePath, largeFile);
    in.largeUtf8 = quencfg::Utf16ToUtf8(large);
    for (int p = 0; p < 3; ++p) {
      const std::u16string text = ProfileText(kProfileButtons, p);
      in.profilePaths.push_back(path("Profile " + std::to_string(p + 1) + ".profile"));
      (void)quencfg::ReplaceFileContents(in.profilePaths.back(), Utf16LeFile(text));
      in.profileUtf8.push_back(quencfg::Utf16ToUtf8(text));
    }
    return in;
  }();
  return inputs;
}

// ---- (a) large document: load and index ----

void BM_LargeLoad_Korvane(benchmark::State& state) {
  const Inputs& in = TheInputs();
  for (auto _ : state) {
    XmlDocument doc;
    if (!doc.LoadFile(in.largePath)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(doc.ElementCount());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * in.largeBytes));
}

void BM_LargeLoad_Pugixml(benchmark::State& state) {
  const Inputs& in = TheInputs();
  const std::string path = quencfg::Utf16ToUtf8(in.largePath);
  for (auto _ : state) {
    pugi::xml_document doc;
    if (!doc.load_file(path.c_str())) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(doc.first_child());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * in.largeBytes));
}

void BM_LargeLoad_Tinyxml2(benchmark::State& state) {
  const Inputs& in = TheInputs();
  for (auto _ : state) {
    tinyxml2::XMLDocument doc;
    if (doc.Parse(in.largeUtf8.data(), in.largeUtf8.size()) != tinyxml2::XML_SUCCESS) {
      state.SkipWithError("parse failed");
    }
    benchmark::DoNotOptimize(doc.RootElement());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * in.largeBytes));
}

// ---- (b) the three profiles: load and read every value ----

void BM_Profiles_Korvane(benchmark::State& state) {
  const Inputs& in = TheInputs();
  for (auto _ : state) {
    std::size_t total = 0;
    for (const std::u16string& path : in.profilePaths) {
      XmlDocument doc;
      if (!doc.LoadFile(path)) state.SkipWithError("load failed");
      if (doc.FindChildElement(u"ButtonSet")) {
        doc.EnterElement();
        for (int i = 0; i < kProfileButtons; ++i) {
          const std::u16string name = quencfg::AsciiToUtf16("Button_" + std::to_string(i));
          if (!doc.FindChildElement(name)) continue;
          doc.EnterElement();
          for (const char* value : kButtonValues) {
            if (doc.FindChildElement(quencfg::AsciiToUtf16(value))) total += doc.GetChildText().size();
          }
          doc.LeaveElement();
        }
        doc.LeaveElement();
      }
      if (doc.FindChildElement(u"Lighting")) {
        doc.EnterElement();
        for (const char* value : kLightingValues) {
          if (doc.FindChildElement(quencfg::AsciiToUtf16(value))) total += doc.GetChildText().size();
        }
        doc.LeaveElement();
      }
    }
    benchmark::DoNotOptimize(total);
  }
}

void BM_Profiles_Pugixml(benchmark::State& state) {
  const Inputs& in = TheInputs();
  std::vector<std::string> paths;
  for (const auto& p : in.profilePaths) paths.push_back(quencfg::Utf16ToUtf8(p));
  for (auto _ : state) {
    std::size_t total = 0;
    for (const std::string& path : paths) {
      pugi::xml_document doc;
      if (!doc.load_file(path.c_str())) state.SkipWithError("load failed");
      const pugi::xml_node root = doc.document_element();
      const pugi::xml_node set = root.child("ButtonSet");
      for (int i = 0; i < kProfileButtons; ++i) {
        const pugi::xml_node button = set.child(("Button_" + std::to_string(i)).c_str());
        for (const char* value : kButtonValues) total += std::strlen(button.child(value).child_value());
      }
      const pugi::xml_node lighting = root.child("Lighting");
      for (const char* value : kLightingValues) total += std::strlen(lighting.child(value).child_value());
    }
    benchmark::DoNotOptimize(total);
  }
}

void BM_Profiles_Tinyxml2(benchmark::State& state) {
  const Inputs& in = TheInputs();
  for (auto _ : state) {
    std::size_t total = 0;
    for (const std::string& text : in.profileUtf8) {
      tinyxml2::XMLDocument doc;
      if (doc.Parse(text.data(), text.size()) != tinyxml2::XML_SUCCESS) state.SkipWithError("parse failed");
      const tinyxml2::XMLElement* root = doc.RootElement();
      const tinyxml2::XMLElement* set = root->FirstChildElement("ButtonSet");
      for (int i = 0; i < kProfileButtons; ++i) {
        const tinyxml2::XMLElement* button = set->FirstChildElement(("Button_" + std::to_string(i)).c_str());
        for (const char* value : kButtonValues) {
          const tinyxml2::XMLElement* e = button->FirstChildElement(value);
          if (e != nullptr && e->GetText() != nullptr) total += std::strlen(e->GetText());
        }
      }
      const tinyxml2::XMLElement* lighting = root->FirstChildElement("Lighting");
      for (const char* value : kLightingValues) {
        const tinyxml2::XMLElement* e = lighting->FirstChildElement(value);
        if (e != nullptr && e->GetText() != nullptr) total += std::strlen(e->GetText());
      }
    }
    benchmark::DoNotOptimize(total);
  }
}

// ---- (c) one edit in the middle of the large document ----

void BM_LargeEdit_SetElementText(benchmark::State& state) {
  const Inputs& in = TheInputs();
  XmlDocument doc;
  doc.LoadFile(in.largePath);
  doc.FindChildElement(u"ButtonSet");
  doc.EnterElement();
  doc.FindChildElement(u"Button_24000");
  doc.EnterElement();
  doc.FindChildElement(u"coLightRGB");
  doc.EnterElement();
  std::int32_t value = 0;
  for (auto _ : state) {
    // Alternating lengths: the text after the edit and the index really move.
    if (!doc.SetElementText((value++ & 1) ? 7 : 1234567)) state.SkipWithError("edit failed");
  }
}

void BM_LargeEdit_Reparse(benchmark::State& state) {
  const Inputs& in = TheInputs();
  XmlDocument doc;
  doc.LoadFile(in.largePath);
  const std::u16string text = doc.Text();
  for (auto _ : state) benchmark::DoNotOptimize(doc.SetText(text));
}

BENCHMARK(BM_LargeLoad_Korvane)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LargeLoad_Pugixml)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LargeLoad_Tinyxml2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Profiles_Korvane)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Profiles_Pugixml)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Profiles_Tinyxml2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LargeEdit_SetElementText)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LargeEdit_Reparse)->Unit(benchmark::kMicrosecond);

// Keeps each benchmark's CPU time per iteration (microseconds) for the ratios: the
// machine is shared, and CPU time of these single-threaded runs is the fairer measure.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        times[run.benchmark_name()] = run.GetAdjustedCPUTime();
      }
    }
  }
  std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto& t = reporter.times;
  const double mb = static_cast<double>(TheInputs().largeBytes) / 1e6;
  auto print = [](const char* name, double value) { std::printf("%s: %.3f\n", name, value); };
  auto ratio = [&](const char* name, const char* slower, const char* faster) {
    if (t.count(slower) && t.count(faster) && t[faster] > 0) print(name, t[slower] / t[faster]);
  };
  std::fflush(stdout);
  std::printf("\n");  // the table's last color code stays off the figure lines
  std::printf("xml_large_file_mb: %.1f\n", mb);
  if (t.count("BM_LargeLoad_Korvane")) print("xml_large_load_ms", t["BM_LargeLoad_Korvane"] / 1000);
  if (t.count("BM_LargeLoad_Pugixml")) print("pugixml_large_load_ms", t["BM_LargeLoad_Pugixml"] / 1000);
  if (t.count("BM_LargeLoad_Tinyxml2")) print("tinyxml2_large_parse_ms", t["BM_LargeLoad_Tinyxml2"] / 1000);
  ratio("xml_large_load_speed_vs_pugixml", "BM_LargeLoad_Pugixml", "BM_LargeLoad_Korvane");
  ratio("xml_large_load_speed_vs_tinyxml2", "BM_LargeLoad_Tinyxml2", "BM_LargeLoad_Korvane");
  if (t.count("BM_Profiles_Korvane")) print("xml_profiles_read_us", t["BM_Profiles_Korvane"]);
  if (t.count("BM_Profiles_Pugixml")) print("pugixml_profiles_read_us", t["BM_Profiles_Pugixml"]);
  if (t.count("BM_Profiles_Tinyxml2")) print("tinyxml2_profiles_read_us", t["BM_Profiles_Tinyxml2"]);
  ratio("xml_profiles_speed_vs_pugixml", "BM_Profiles_Pugixml", "BM_Profiles_Korvane");
  ratio("xml_profiles_speed_vs_tinyxml2", "BM_Profiles_Tinyxml2", "BM_Profiles_Korvane");
  if (t.count("BM_LargeEdit_SetElementText")) print("xml_large_set_text_us", t["BM_LargeEdit_SetElementText"]);
  if (t.count("BM_LargeEdit_Reparse")) print("xml_large_reparse_us", t["BM_LargeEdit_Reparse"]);
  ratio("xml_reparse_to_set_text_ratio", "BM_LargeEdit_Reparse", "BM_LargeEdit_SetElementText");
  std::error_code ec;
  std::filesystem::remove_all(TheInputs().folder, ec);
  benchmark::Shutdown();
  return 0;
}

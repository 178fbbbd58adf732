// Parsing ill-formed documents against a well-formed one of the same size: stray and
// mismatched end tags and unclosed elements in the shapes that make recovery work hard
// (tests/support/ill_formed_xml.h). Each shape is parsed at two sizes; its figure is its
// time per unit of text divided by the well-formed document's, so recovery in linear
// time keeps every ratio the same at both sizes, and a cost that grows faster than the
// text shows as a ratio that grows with it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "quencfg/model/xml_document.h"
#include "support/ill_formed_xml.h"

namespace {

using quencfg::XmlDocument;
using quencfg::testing::XmlShape;

constexpr std::size_t kSizes[] = {70000, 560000};

// Shape 0 is the well-formed peer.
const XmlShape& ShapeAt(std::size_t shape) {
  return shape == 0 ? quencfg::testing::kWellFormedShape : quencfg::testing::kIllFormedShapes[shape - 1];
}
constexpr std::size_t kShapeCount = 1 + std::size(quencfg::testing::kIllFormedShapes);

// The shape repeated as often as fits in about `size` units.
const std::u16string& TextOf(std::size_t shape, std::size_t size) {
  static std::map<std::pair<std::size_t, std::size_t>, std::u16string> texts;
  auto [it, added] = texts.try_emplace({shape, size});
  if (added) {
    const XmlShape& s = ShapeAt(shape);
    const std::size_t perRepeat = s.make(1).size() - s.make(0).size();
    it->second = s.make(size / perRepeat);
  }
  return it->second;
}

void BM_Parse(benchmark::State& state) {
  const auto shape = static_cast<std::size_t>(state.range(0));
  const std::u16string& text = TextOf(shape, static_cast<std::size_t>(state.range(1)));
  state.SetLabel(ShapeAt(shape).name);
  // One document for every run: its buffers are reused, so the figure is the parse
  // and not the memory the system hands out for a fresh one.
  XmlDocument doc;
  for (auto _ : state) {
    benchmark::DoNotOptimize(doc.SetText(text));
    benchmark::DoNotOptimize(doc.ElementCount());
  }
}

void AllShapesAndSizes(benchmark::internal::Benchmark* b) {
  for (std::size_t shape = 0; shape < kShapeCount; ++shape) {
    for (const std::size_t size : kSizes) b->Args({static_cast<std::int64_t>(shape), static_cast<std::int64_t>(size)});
  }
}
BENCHMARK(BM_Parse)->Apply(AllShapesAndSizes)->Unit(benchmark::kMicrosecond)->Repetitions(3);

// Keeps each run's least CPU time per iteration over its repetitions: the machine is
// shared, and other work there only ever adds time.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      const std::string name = run.run_name.function_name + "/" + run.run_name.args;
      const double time = run.GetAdjustedCPUTime();
      if (!times.count(name) || time < times[name]) times[name] = time;
    }
  }
  std::map<std::string, double> times;
};

std::string RunName(std::size_t shape, std::size_t size) {
  return "BM_Parse/" + std::to_string(shape) + "/" + std::to_string(size);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::fflush(stdout);
  std::printf("\n");  // the table's last color code stays off the figure lines
  auto& t = reporter.times;
  for (const std::size_t size : kSizes) {
    const std::string peer = RunName(0, size);
    if (!t.count(peer) || t[peer] <= 0) continue;
    const double peerPerUnit = t[peer] / static_cast<double>(TextOf(0, size).size());
    std::printf("xml_well_formed_%zuk_us: %.1f\n", size / 1000, t[peer]);
    for (std::size_t shape = 1; shape < kShapeCount; ++shape) {
      const std::string run = RunName(shape, size);
      if (!t.count(run)) continue;
      const double perUnit = t[run] / static_cast<double>(TextOf(shape, size).size());
      std::printf("xml_%s_%zuk_to_well_formed: %.2f\n", ShapeAt(shape).name, size / 1000, perUnit / peerPerUnit);
    }
  }
  benchmark::Shutdown();
  return 0;
}

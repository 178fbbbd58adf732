// Any text as a layout entry: ParseSkinRect must stay within the record, keep both
// strings terminated, and agree with the simple facts of the value.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "quencfg/framework/text.h"
#include "quencfg/ui/skin/mask_runs.h"
#include "quencfg/ui/skin/skin_rect.h"

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "skin_rect_fuzz: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Two bytes per UTF-16 unit, so that every unit value can occur.
  std::u16string value(size / 2, u'\0');
  for (std::size_t i = 0; i < value.size(); ++i) value[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));

  const quencfg::SkinRect entry = quencfg::ParseSkinRect(value);
  const std::size_t nameLength = quencfg::FieldLength(entry.name, 40);
  const std::size_t textLength = quencfg::FieldLength(entry.text, 100);
  Check(nameLength < 40 && entry.name[nameLength] == 0, "name terminated");
  Check(textLength < 100 && entry.text[textLength] == 0, "text terminated");
  const std::size_t comma = value.find(u',');
  if (comma == std::u16string::npos) Check(nameLength == 0, "no comma, no name");
  if (value.find(u"TRUE") == std::u16string::npos) Check(!entry.flag, "flag only with TRUE");
  (void)quencfg::SkinImageName(entry);

  // The same bytes as a small 32-bit mask image: runs stay inside it.
  const std::int32_t width = size > 0 ? 1 + data[0] % 16 : 1;
  const std::int32_t height = static_cast<std::int32_t>(size / (4 * static_cast<std::size_t>(width)));
  std::size_t inside = 0;
  quencfg::FindMaskRuns(data, width, height, 4 * static_cast<std::size_t>(width),
                        [&](std::span<const quencfg::MaskRun> runs) {
                          for (const auto& r : runs) {
                            Check(r.left >= 0 && r.left < r.right && r.right <= width, "run within the row");
                            Check(r.top >= 0 && r.top < height && r.bottom == r.top + 1, "run one row high");
                            inside += static_cast<std::size_t>(r.right - r.left);
                          }
                        });
  std::size_t expected = 0;
  for (std::int32_t i = 0; i < width * height; ++i) {
    const std::uint8_t* p = data + 4 * static_cast<std::size_t>(i);
    if (!(p[0] == 255 && p[1] == 255 && p[2] == 255)) ++expected;
  }
  Check(inside == expected, "runs cover exactly the non-white pixels");
  return 0;
}

#include "quencfg/ui/skin/skin_scale.h"

#include <atomic>
#include <limits>

#include "quencfg/framework/paths.h"

namespace quencfg {
namespace {

std::atomic<int>& CurrentDpi() {
  static std::atomic<int> dpi{kSkinBaseDpi};
  return dpi;
}

int ValidDpi(int dpi) noexcept { return dpi > 0 ? dpi : kSkinBaseDpi; }

std::int32_t Saturate(std::int64_t value) noexcept {
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::int32_t ScaleToDpi(std::int32_t value, int dpi) noexcept {
  dpi = ValidDpi(dpi);
  if (dpi == kSkinBaseDpi) return value;
  const std::int64_t product = std::int64_t{value} * dpi;
  const std::int64_t magnitude = (product < 0 ? -product : product) + kSkinBaseDpi / 2;
  const std::int64_t rounded = magnitude / kSkinBaseDpi;
  return Saturate(product < 0 ? -rounded : rounded);
}

SkinRect ScaleSkinRect(const SkinRect& entry, int dpi) noexcept {
  SkinRect scaled = entry;
  scaled.left = ScaleToDpi(entry.left, dpi);
  scaled.top = ScaleToDpi(entry.top, dpi);
  scaled.right = ScaleToDpi(entry.right, dpi);
  scaled.bottom = ScaleToDpi(entry.bottom, dpi);
  return scaled;
}

PixelSize ScaledPictureSize(PixelSize base, int dpi) noexcept {
  return PixelSize{ScaleToDpi(base.width, dpi), ScaleToDpi(base.height, dpi)};
}

bool CloseEnough(PixelSize rendering, PixelSize wanted) noexcept {
  const auto near = [](int a, int b) { return a - b <= 1 && b - a <= 1; };
  return near(rendering.width, wanted.width) && near(rendering.height, wanted.height);
}

std::u16string_view RenderingFolder(int dpi) noexcept {
  dpi = ValidDpi(dpi);
  if (dpi >= 168) return u"200";
  if (dpi >= 120) return u"150";
  return u"";
}

std::u16string RenderingPath(std::u16string_view path, int dpi) {
  const std::u16string_view folder = RenderingFolder(dpi);
  if (folder.empty()) return std::u16string(path);
  const std::size_t separator = path.find_last_of(u"\\/");
  const std::size_t nameStart = separator == std::u16string_view::npos ? 0 : separator + 1;
  std::u16string result(path.substr(0, nameStart));
  result += folder;
  result += kPathSeparator;
  result += path.substr(nameStart);
  return result;
}

int RenderingResourceId(int id, int dpi) noexcept {
  const std::u16string_view folder = RenderingFolder(dpi);
  if (folder == u"200") return id + 20000;
  if (folder == u"150") return id + 10000;
  return id;
}

int SkinDpi() noexcept { return CurrentDpi().load(); }

void SetSkinDpi(int dpi) noexcept { CurrentDpi().store(ValidDpi(dpi)); }

}  // namespace quencfg

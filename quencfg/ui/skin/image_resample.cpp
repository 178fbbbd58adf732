#include "quencfg/ui/skin/image_resample.h"

#include <algorithm>
#include <cmath>

namespace quencfg {
namespace {

// The source pixels one target pixel reads along one axis, and their weights.
struct Taps {
  int first = 0;
  std::vector<float> weights;
};

std::vector<Taps> TapsOf(int sourceLength, int targetLength) {
  const double ratio = static_cast<double>(sourceLength) / targetLength;
  const double support = std::max(1.0, ratio);  // half width of the tent, in source pixels
  std::vector<Taps> all(static_cast<std::size_t>(targetLength));
  for (int t = 0; t < targetLength; ++t) {
    const double centre = (t + 0.5) * ratio - 0.5;
    const int first = std::max(0, static_cast<int>(std::ceil(centre - support)));
    const int last = std::min(sourceLength - 1, static_cast<int>(std::floor(centre + support)));
    Taps& taps = all[static_cast<std::size_t>(t)];
    taps.first = first;
    double sum = 0;
    for (int s = first; s <= last; ++s) {
      const double weight = std::max(0.0, 1.0 - std::abs(s - centre) / support);
      taps.weights.push_back(static_cast<float>(weight));
      sum += weight;
    }
    if (taps.weights.empty() || sum <= 0) {
      // A target pixel beyond every tap (only at the very edges): the nearest source pixel.
      taps.first = std::clamp(static_cast<int>(std::lround(centre)), 0, sourceLength - 1);
      taps.weights.assign(1, 1.0f);
      continue;
    }
    for (float& weight : taps.weights) weight = static_cast<float>(weight / sum);
  }
  return all;
}

std::uint8_t ToByte(float value) {
  return static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::lround(value)), 0, 255));
}

}  // namespace

std::vector<std::uint8_t> ResampleBgra(const std::uint8_t* source, int sourceWidth, int sourceHeight,
                                       std::size_t sourceLength, int width, int height) {
  if (source == nullptr || sourceWidth <= 0 || sourceHeight <= 0 || width <= 0 || height <= 0) return {};
  const std::size_t sourceRow = static_cast<std::size_t>(sourceWidth) * 4;
  if (sourceLength < sourceRow * static_cast<std::size_t>(sourceHeight)) return {};
  if (width == sourceWidth && height == sourceHeight) return {source, source + sourceRow * sourceHeight};

  // Across first (every source row to the target width), then down.
  const std::vector<Taps> across = TapsOf(sourceWidth, width);
  const std::size_t targetRow = static_cast<std::size_t>(width) * 4;
  std::vector<float> rows(targetRow * static_cast<std::size_t>(sourceHeight));
  for (int y = 0; y < sourceHeight; ++y) {
    const std::uint8_t* in = source + sourceRow * static_cast<std::size_t>(y);
    float* out = rows.data() + targetRow * static_cast<std::size_t>(y);
    for (int x = 0; x < width; ++x) {
      const Taps& taps = across[static_cast<std::size_t>(x)];
      float sum[4] = {0, 0, 0, 0};
      for (std::size_t k = 0; k < taps.weights.size(); ++k) {
        const std::uint8_t* pixel = in + (static_cast<std::size_t>(taps.first) + k) * 4;
        for (int c = 0; c < 4; ++c) sum[c] += taps.weights[k] * pixel[c];
      }
      for (int c = 0; c < 4; ++c) out[static_cast<std::size_t>(x) * 4 + c] = sum[c];
    }
  }

  const std::vector<Taps> down = TapsOf(sourceHeight, height);
  std::vector<std::uint8_t> result(targetRow * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    const Taps& taps = down[static_cast<std::size_t>(y)];
    std::uint8_t* out = result.data() + targetRow * static_cast<std::size_t>(y);
    for (std::size_t i = 0; i < targetRow; i += 4) {
      float sum[4] = {0, 0, 0, 0};
      for (std::size_t k = 0; k < taps.weights.size(); ++k) {
        const float* pixel = rows.data() + targetRow * (static_cast<std::size_t>(taps.first) + k) + i;
        for (int c = 0; c < 4; ++c) sum[c] += taps.weights[k] * pixel[c];
      }
      // Premultiplied color never exceeds its alpha.
      const std::uint8_t alpha = ToByte(sum[3]);
      for (int c = 0; c < 3; ++c) out[i + c] = std::min(ToByte(sum[c]), alpha);
      out[i + 3] = alpha;
    }
  }
  return result;
}

}  // namespace quencfg

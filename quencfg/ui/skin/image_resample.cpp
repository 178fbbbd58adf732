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

// Weights are never negative, so neither is a sum: adding a half rounds it, without a
// library call per channel.
std::uint8_t ToByte(float value) { return static_cast<std::uint8_t>(std::min(static_cast<int>(value + 0.5f), 255)); }

// One source row resampled across to the target width.
void ResampleRow(const std::uint8_t* in, const std::vector<Taps>& across, float* out) {
  for (std::size_t x = 0; x < across.size(); ++x) {
    const Taps& taps = across[x];
    float sum[4] = {0, 0, 0, 0};
    const std::uint8_t* pixel = in + static_cast<std::size_t>(taps.first) * 4;
    for (std::size_t k = 0; k < taps.weights.size(); ++k, pixel += 4) {
      for (std::size_t c = 0; c < 4; ++c) sum[c] += taps.weights[k] * pixel[c];
    }
    for (std::size_t c = 0; c < 4; ++c) out[x * 4 + c] = sum[c];
  }
}

}  // namespace

bool ResampleBgraInto(const std::uint8_t* source, int sourceWidth, int sourceHeight, std::size_t sourceLength,
                      std::uint8_t* target, int width, int height) {
  if (source == nullptr || target == nullptr || sourceWidth <= 0 || sourceHeight <= 0 || width <= 0 || height <= 0) {
    return false;
  }
  const std::size_t sourceRow = static_cast<std::size_t>(sourceWidth) * 4;
  if (sourceLength < sourceRow * static_cast<std::size_t>(sourceHeight)) return false;
  const std::size_t targetRow = static_cast<std::size_t>(width) * 4;
  if (width == sourceWidth && height == sourceHeight) {
    std::copy(source, source + sourceRow * static_cast<std::size_t>(sourceHeight), target);
    return true;
  }

  // Across first, then down. The rows a target row reads only move forward, so a few
  // rows resampled across are kept, not the whole picture.
  const std::vector<Taps> across = TapsOf(sourceWidth, width);
  const std::vector<Taps> down = TapsOf(sourceHeight, height);
  std::size_t window = 1;
  for (const Taps& taps : down) window = std::max(window, taps.weights.size());
  std::vector<float> rows(targetRow * window);
  std::vector<int> rowInSlot(window, -1);
  const auto acrossRow = [&](int sourceY) -> const float* {
    const std::size_t slot = static_cast<std::size_t>(sourceY) % window;
    float* row = rows.data() + targetRow * slot;
    if (rowInSlot[slot] != sourceY) {
      ResampleRow(source + sourceRow * static_cast<std::size_t>(sourceY), across, row);
      rowInSlot[slot] = sourceY;
    }
    return row;
  };

  std::vector<float> sum(targetRow);
  for (int y = 0; y < height; ++y) {
    const Taps& taps = down[static_cast<std::size_t>(y)];
    // Whole rows at a time: a loop the compiler can vectorise.
    std::fill(sum.begin(), sum.end(), 0.0f);
    for (std::size_t k = 0; k < taps.weights.size(); ++k) {
      const float weight = taps.weights[k];
      const float* row = acrossRow(taps.first + static_cast<int>(k));
      for (std::size_t i = 0; i < targetRow; ++i) sum[i] += weight * row[i];
    }
    std::uint8_t* out = target + targetRow * static_cast<std::size_t>(y);
    for (std::size_t i = 0; i < targetRow; i += 4) {
      // Premultiplied color never exceeds its alpha.
      const std::uint8_t alpha = ToByte(sum[i + 3]);
      for (std::size_t c = 0; c < 3; ++c) out[i + c] = std::min(ToByte(sum[i + c]), alpha);
      out[i + 3] = alpha;
    }
  }
  return true;
}

std::vector<std::uint8_t> ResampleBgra(const std::uint8_t* source, int sourceWidth, int sourceHeight,
                                       std::size_t sourceLength, int width, int height) {
  if (width <= 0 || height <= 0) return {};
  std::vector<std::uint8_t> result(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  if (!ResampleBgraInto(source, sourceWidth, sourceHeight, sourceLength, result.data(), width, height)) return {};
  return result;
}

}  // namespace quencfg

#include "quencfg/model/xml_element_index.h"

#include <algorithm>

namespace quencfg {

void ElementIndex::Reset(std::size_t textLength) {
  used_ = 0;
  const std::size_t wanted = std::min<std::size_t>(textLength / 16 + 8, kMaxRecords);
  if (segments_.size() > 1 && capacity_ > 4 * wanted + kSegmentSize) {
    // A small document after a big one gives the memory back; the first segment
    // (always full when there are more) stays, so the index is never without storage.
    segments_.resize(1);
    capacity_ = lastSegmentSize_ = kSegmentSize;
  }
  if (capacity_ < wanted) Grow(static_cast<std::uint32_t>(wanted));
  (void)Append();
}

void ElementIndex::Clear() noexcept {
  used_ = 1;
  (*this)[0] = ElementRecord{};
}

ElementNumber ElementIndex::Append() {
  if (used_ == capacity_) {
    if (capacity_ >= kMaxRecords) return 0;
    const std::uint64_t grown = std::uint64_t{capacity_} + std::max<std::uint32_t>(used_ / 2, 8);
    Grow(static_cast<std::uint32_t>(std::min<std::uint64_t>(grown, kMaxRecords)));
  }
  const ElementNumber n = used_++;
  (*this)[n] = ElementRecord{};
  return n;
}

void ElementIndex::Grow(std::uint32_t capacity) {
  while (capacity_ < capacity) {
    if (!segments_.empty() && lastSegmentSize_ < kSegmentSize) {
      // Enlarge the last segment up to the full segment size.
      const std::uint32_t size = std::min<std::uint32_t>(
          kSegmentSize, lastSegmentSize_ + (capacity - capacity_));
      auto bigger = std::make_unique_for_overwrite<ElementRecord[]>(size);
      std::copy_n(segments_.back().get(), lastSegmentSize_, bigger.get());
      segments_.back() = std::move(bigger);
      capacity_ += size - lastSegmentSize_;
      lastSegmentSize_ = size;
    } else {
      const std::uint32_t size = std::min<std::uint32_t>(kSegmentSize, capacity - capacity_);
      segments_.push_back(std::make_unique_for_overwrite<ElementRecord[]>(size));
      capacity_ += size;
      lastSegmentSize_ = size;
    }
  }
}

}  // namespace quencfg

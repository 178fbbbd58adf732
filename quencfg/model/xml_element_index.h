#pragma once
// Storage of the element records of an XmlDocument. Records live in segments of 65,536
// so that a large index never needs one huge block; only the last segment grows.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "quencfg/model/xml_document.h"

namespace quencfg {

class ElementIndex {
 public:
  static constexpr std::uint32_t kSegmentBits = 16;
  static constexpr std::uint32_t kSegmentSize = 1u << kSegmentBits;
  // Element numbers stay below this so that they fit every 32-bit field with room.
  static constexpr std::uint32_t kMaxRecords = 0x7FFFFFFF;

  // Drops every record and makes room for (textLength / 16) + 8: the data files (about
  // 25 units an element) then load without growing, and room never used is never
  // written. Record 0 (the document) is handed out already.
  void Reset(std::size_t textLength);

  // Record 0 only, describing an empty text; keeps the memory. Never allocates.
  void Clear() noexcept;

  // A new zeroed record, or 0 when the index is full.
  [[nodiscard]] ElementNumber Append();

  // Number of records handed out, record 0 included.
  [[nodiscard]] std::uint32_t Used() const noexcept { return used_; }
  [[nodiscard]] std::uint32_t Capacity() const noexcept { return capacity_; }

  ElementRecord& operator[](ElementNumber n) noexcept {
    return segments_[n >> kSegmentBits][n & (kSegmentSize - 1)];
  }
  const ElementRecord& operator[](ElementNumber n) const noexcept {
    return segments_[n >> kSegmentBits][n & (kSegmentSize - 1)];
  }

  // Calls f(record) for every record 0 .. Used()-1, segment by segment.
  template <typename F>
  void ForEach(F&& f) {
    std::uint32_t left = used_;
    for (std::size_t s = 0; left > 0; ++s) {
      const std::uint32_t n = left < kSegmentSize ? left : kSegmentSize;
      ElementRecord* records = segments_[s].get();
      for (std::uint32_t i = 0; i < n; ++i) f(records[i]);
      left -= n;
    }
  }

 private:
  void Grow(std::uint32_t capacity);

  std::vector<std::unique_ptr<ElementRecord[]>> segments_;
  std::uint32_t lastSegmentSize_ = 0;
  std::uint32_t capacity_ = 0;
  std::uint32_t used_ = 0;
};

}  // namespace quencfg

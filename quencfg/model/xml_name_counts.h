#pragma once
// How many elements of each name there are, the names being runs of one text (tag
// names in a document). The parser counts the names of its open elements with it, so
// that an end tag matching none of them is known as such at once. One flat table with
// open addressing: no allocation per name, one probe sequence per call.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quencfg {

class XmlNameCounts {
 public:
  // `text` must outlive the counts; names are given as runs of it.
  explicit XmlNameCounts(std::u16string_view text) noexcept : text_(text) {}

  // Whether the count of `name` (any text) is above 0.
  [[nodiscard]] bool Contains(std::u16string_view name) const noexcept;
  // One more of the name text[start, start + length).
  void Add(std::size_t start, std::size_t length);
  // One less of a name that was added; names keep their place at count 0, so that a
  // name that comes and goes is placed once.
  void Remove(std::size_t start, std::size_t length) noexcept;
  // Every count 0, names forgotten; the table's memory stays.
  void Clear() noexcept;

 private:
  struct Slot {
    std::uint32_t start;
    std::uint32_t length;
    std::uint32_t count;
    std::uint32_t hash;
    bool used;
  };

  [[nodiscard]] static std::uint32_t HashOf(std::u16string_view name) noexcept;
  // The slot holding `name`, or the empty slot where it would go; the table has room.
  [[nodiscard]] std::size_t Find(std::u16string_view name, std::uint32_t hash) const noexcept;
  void Grow();

  std::u16string_view text_;
  std::vector<Slot> slots_;  // a power of two in size, at most half used
  std::size_t used_ = 0;
};

}  // namespace quencfg

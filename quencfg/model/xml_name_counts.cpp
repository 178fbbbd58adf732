#include "quencfg/model/xml_name_counts.h"

#include <functional>

namespace quencfg {

namespace {
constexpr std::size_t kFirstSize = 64;
}  // namespace

std::uint32_t XmlNameCounts::HashOf(std::u16string_view name) noexcept {
  const std::size_t hash = std::hash<std::u16string_view>{}(name);
  return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

std::size_t XmlNameCounts::Find(std::u16string_view name, std::uint32_t hash) const noexcept {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (!slot.used) return i;
    if (slot.hash == hash && slot.length == name.size() && text_.substr(slot.start, slot.length) == name) return i;
  }
}

bool XmlNameCounts::Contains(std::u16string_view name) const noexcept {
  if (used_ == 0) return false;
  const Slot& slot = slots_[Find(name, HashOf(name))];
  return slot.used && slot.count > 0;
}

void XmlNameCounts::Add(std::size_t start, std::size_t length) {
  if (2 * (used_ + 1) > slots_.size()) Grow();
  const std::u16string_view name = text_.substr(start, length);
  const std::uint32_t hash = HashOf(name);
  Slot& slot = slots_[Find(name, hash)];
  if (!slot.used) {
    slot = Slot{static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(length), 0, hash, true};
    ++used_;
  }
  ++slot.count;
}

void XmlNameCounts::Remove(std::size_t start, std::size_t length) noexcept {
  if (used_ == 0) return;
  const std::u16string_view name = text_.substr(start, length);
  Slot& slot = slots_[Find(name, HashOf(name))];
  if (slot.used && slot.count > 0) --slot.count;
}

void XmlNameCounts::Clear() noexcept {
  if (used_ == 0) return;
  for (Slot& slot : slots_) slot.used = false;
  used_ = 0;
}

void XmlNameCounts::Grow() {
  std::vector<Slot> old(slots_.empty() ? kFirstSize : 2 * slots_.size(), Slot{});
  old.swap(slots_);
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (!slot.used) continue;
    std::size_t i = slot.hash & mask;
    while (slots_[i].used) i = (i + 1) & mask;
    slots_[i] = slot;
  }
}

}  // namespace quencfg

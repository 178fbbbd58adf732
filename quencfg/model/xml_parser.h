#pragma once
// Builds the element index of a text in one pass over its tokens, recovering from
// mismatched and missing end tags, and describes the first error. The time is linear in
// the text however its end tags are wrong (bench/xml_recovery_bench.cpp measures it).
#include <cstdint>
#include <string>
#include <string_view>

namespace quencfg {

class ElementIndex;

// Longest text the index can describe (offsets are 32-bit, messages print them with %d).
inline constexpr std::size_t kMaxXmlTextLength = 0x7FFFFFFE;

// Element tags may nest this deep (the depth has 16 bits).
inline constexpr std::uint32_t kMaxXmlDepth = 0xFFFF;

// Fills `index` for `text`; returns the first error message ("" when the document is
// well-formed) and sets the ill-formed bit of record 0 on any error.
std::u16string BuildElementIndex(std::u16string_view text, ElementIndex& index);

}  // namespace quencfg

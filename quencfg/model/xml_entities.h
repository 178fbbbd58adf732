#pragma once
// Character references in element text: the HTML 4.01 entity names plus apos, decimal
// and hexadecimal numeric references; and the encoding of text the layer writes.
#include <cstddef>
#include <string>
#include <string_view>

namespace quencfg {

// Code point of a named entity (exact case: "eacute" and "Eacute" differ), or 0.
[[nodiscard]] char32_t LookupEntityName(std::u16string_view name) noexcept;

// Number of names LookupEntityName knows.
[[nodiscard]] std::size_t EntityNameCount() noexcept;

// Appends `text` to `out` with every reference replaced by its character. A candidate
// that is not a known reference (too long, non-ASCII, unknown, 0 or past U+10FFFF)
// keeps its ampersand literally.
void AppendDecodedEntities(std::u16string& out, std::u16string_view text);

// `text` with < & > written as &lt; &amp; &gt; (quotes stay as they are).
[[nodiscard]] std::u16string EncodeEntities(std::u16string_view text);

}  // namespace quencfg

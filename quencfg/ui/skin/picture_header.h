#pragma once
// The width and height a picture file states in its header (PNG, JPEG, BMP, GIF),
// read without decoding: the loader needs the 96-DPI size of a picture whose sharper
// rendering it reads, and opening the imaging component for that costs several
// milliseconds per file.
#include <optional>
#include <string_view>

#include "quencfg/ui/skin/skin_scale.h"

namespace quencfg {

// Nothing for another format, a damaged header or a size that is not positive.
[[nodiscard]] std::optional<PixelSize> PictureHeaderSize(std::string_view bytes) noexcept;

}  // namespace quencfg

#pragma once
// What the header of a shipped picture says, read without decoding it: PNG (IHDR), JPEG
// (the quantisation tables and the frame header before the first scan) and BMP (the
// file and info headers).
#include <string>
#include <string_view>

namespace quencfg::testing {

struct ImageHeader {
  std::string format;  // "PNG", "JPEG" or "BMP"; empty when the file is missing or none of them
  int width = 0;
  int height = 0;
  // How the pixels are stored, comparable between two files of one format: PNG bit depth,
  // colour type and interlace; JPEG frame type, components with their sampling, and the
  // quantisation tables (the quality); BMP header size, bits per pixel and compression.
  std::string kind;
};

ImageHeader ReadImageHeader(std::u16string_view path);

// The same from bytes in memory.
ImageHeader ParseImageHeader(std::string_view bytes);

}  // namespace quencfg::testing

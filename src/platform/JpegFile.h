#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel {

// A decoded picture: 8-bit RGB, rows top to bottom, tightly packed (Width * 3 bytes a row).
struct TRgbImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels;
};

// Decodes a JPEG file. A file that is missing or not a readable JPEG raises EFileError naming it.
TRgbImage LoadJpegFile(const std::string& path);

}  // namespace vantrel

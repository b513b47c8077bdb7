#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vantrel {

// CRC-32 of IEEE 802.3 and zlib (reflected, preset to ones, complemented), continuing from
// a previous value (0 to start).
std::uint32_t Crc32Update(std::uint32_t crc, const std::uint8_t* data, std::size_t size);

// The name checksum of an .enc file: CRC-32 over the UTF-16LE form of the text (UTF-8 in).
// An empty text computes nothing: false, and checksum is left as it was.
bool StringCrc32(std::string_view text, std::uint32_t& checksum);

}  // namespace vantrel

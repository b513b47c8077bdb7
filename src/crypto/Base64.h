#pragma once

#include <cstddef>
#include <cstdint>

#include "base/SecureMemory.h"

namespace vantrel {

// Standard Base64 (RFC 4648) with a lenient decoder: groups of four are decoded one by one,
// one to three characters left at the end are ignored, and "=" shortens only its own group.
// A character outside the alphabet counts as the value 0, so decoding never fails; every
// text the program writes stays inside the alphabet.
std::size_t Base64EncodeBuffer(const std::uint8_t* in, std::uint8_t* out, std::size_t n);
std::size_t Base64DecodeBuffer(const std::uint8_t* in, std::uint8_t* out, std::size_t n);
ByteString Base64EncodeText(const ByteString& bytes);
ByteString Base64DecodeText(const ByteString& text);

}  // namespace vantrel

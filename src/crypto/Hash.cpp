#include "crypto/Hash.h"

namespace vantrel {

void TVC_hash::UpdateText(const ByteString& text) {
    // Large texts are fed in pieces so the 32-bit size of Update is never exceeded.
    const std::uint8_t* p = text.data();
    std::size_t left = text.size();
    do {
        std::uint32_t part = left > 0x40000000u ? 0x40000000u : std::uint32_t(left);
        Update(p, part);
        p += part;
        left -= part;
    } while (left > 0);
}

}  // namespace vantrel

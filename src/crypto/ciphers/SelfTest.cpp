#include "crypto/ciphers/SelfTest.h"

#include <cstring>

namespace vantrel {

std::vector<std::uint8_t> HexBytes(std::string_view hex) {
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    std::vector<std::uint8_t> out;
    int hi = -1;
    for (char c : hex) {
        int v = nibble(c);
        if (v < 0) continue;  // spaces group long keys for reading
        if (hi < 0) {
            hi = v;
        } else {
            out.push_back(std::uint8_t(hi * 16 + v));
            hi = -1;
        }
    }
    return out;
}

bool RunKnownAnswers(TVC_blockcipher& cipher, std::span<const TKnownAnswer> vectors) {
    bool ok = true;
    for (const auto& v : vectors) {
        const auto key = HexBytes(v.key), plain = HexBytes(v.plain), expected = HexBytes(v.cipher);
        const std::size_t b = std::size_t(cipher.ClassBlockSize() / 8);
        const bool roundTripOnly = expected.empty();
        if (plain.size() != b || (!roundTripOnly && expected.size() != b)) return false;
        try {
            cipher.SetKey(key.data(), std::uint32_t(key.size() * 8));
            std::vector<std::uint8_t> work(b);
            cipher.EncryptBlock(plain.data(), work.data());
            ok = ok && (roundTripOnly ? work != plain : work == expected);
            cipher.RestartChain();
            cipher.DecryptBlock(work.data(), work.data());
            ok = ok && work == plain;
            cipher.Wipe();
        } catch (const EVC_cipher&) {
            return false;
        }
    }
    return ok;
}

}  // namespace vantrel

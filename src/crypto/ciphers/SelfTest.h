#pragma once

#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "crypto/Cipher.h"

namespace vantrel {

// One known answer: hexadecimal key (its length gives the key size), plaintext, ciphertext.
// Without a ciphertext the block need only change under encryption and come back.
struct TKnownAnswer {
    std::string_view key, plain, cipher;
};

std::vector<std::uint8_t> HexBytes(std::string_view hex);

// Keys a fresh cipher with each vector (no IV), checks EncryptBlock against the ciphertext
// and DecryptBlock back to the plaintext, wipes it; true only when every check held.
bool RunKnownAnswers(TVC_blockcipher& cipher, std::span<const TKnownAnswer> vectors);

template <class Cipher>
bool RunBlockSelfTest(std::span<const TKnownAnswer> vectors) {
    auto c = std::make_unique<Cipher>();
    return RunKnownAnswers(*c, vectors);
}

}  // namespace vantrel

#pragma once

#include <memory>
#include <string>
#include <vector>

#include "crypto/Cipher.h"

namespace vantrel::test {

// Every cipher class that is built, by its ClassAlgorithm, in registry order.
std::vector<std::string> CipherNames();
std::unique_ptr<TVC_blockcipher> MakeCipher(const std::string& algorithm);

}  // namespace vantrel::test

// The lenient Base64 decoder, and that decoding what was encoded gives the bytes back.
#include <cstdlib>

#include "crypto/Base64.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    const ByteString input(data, data + size);
    const ByteString decoded = Base64DecodeText(input);
    if (decoded.size() > size / 4 * 3) std::abort();
    if (Base64DecodeText(Base64EncodeText(input)) != input) std::abort();
    return 0;
}

#include "base/SecureMemory.h"

namespace vantrel {

void SecureFill(void* data, std::size_t size, std::uint8_t value) {
    volatile auto* p = static_cast<volatile std::uint8_t*>(data);
    for (std::size_t i = 0; i < size; ++i) p[i] = value;
}

}  // namespace vantrel

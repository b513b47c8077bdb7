#include "platform/Stream.h"

#include <algorithm>
#include <cstring>

namespace vantrel {

void TStream::ReadBuffer(void* buffer, std::size_t count) {
    auto* p = static_cast<std::uint8_t*>(buffer);
    while (count > 0) {
        std::size_t got = Read(p, count);
        if (got == 0) throw EStreamError("Stream read error");
        p += got;
        count -= got;
    }
}

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
    std::size_t n = pos_ < data_.size() ? std::min(count, data_.size() - pos_) : 0;
    if (n) std::memcpy(buffer, data_.data() + pos_, n);
    pos_ += n;
    return n;
}

void TMemoryStream::Write(const void* buffer, std::size_t count) {
    if (count == 0) return;
    if (pos_ + count > writeLimit_) throw EStreamError("Stream write error");
    if (pos_ + count > data_.size()) data_.resize(pos_ + count);
    std::memcpy(data_.data() + pos_, buffer, count);
    pos_ += count;
}

}  // namespace vantrel

#include "shred/CharGenerators.h"

#include <cstring>

#include "shred/KISSRandomGenerator.h"

namespace vantrel {

void TCharGenerator::Transform(std::uint8_t* buffer, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) buffer[i] = NextChar(buffer[i]);
}

void THexGenerator::AddByte(std::uint8_t b) { Pattern_.push_back(b); }

std::uint8_t THexGenerator::NextChar(std::uint8_t) {
    const std::uint8_t b = Pattern_[static_cast<std::size_t>(Position_)];
    if (++Position_ >= Count()) Position_ = 0;
    return b;
}

void THexGenerator::Transform(std::uint8_t* buffer, std::size_t count) {
    if (Pattern_.size() == 1) {
        std::memset(buffer, Pattern_[0], count);
        return;
    }
    const std::size_t n = Pattern_.size();
    std::size_t pos = static_cast<std::size_t>(Position_);
    for (std::size_t i = 0; i < count; ++i) {
        buffer[i] = Pattern_[pos];
        if (++pos == n) pos = 0;
    }
    Position_ = static_cast<std::int32_t>(pos);
}

std::uint8_t TInvertGenerator::NextChar(std::uint8_t current) { return static_cast<std::uint8_t>(255 - current); }

void TInvertGenerator::Transform(std::uint8_t* buffer, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) buffer[i] = static_cast<std::uint8_t>(~buffer[i]);
}

TRandomCharGenerator::TRandomCharGenerator(std::uint8_t range)
    : Range_(range), Value_(static_cast<std::uint8_t>(KISSRandom(range))) {}

std::uint8_t TRandomCharGenerator::NextChar(std::uint8_t) { return Value_; }

void TRandomCharGenerator::Transform(std::uint8_t* buffer, std::size_t count) { std::memset(buffer, Value_, count); }

std::uint8_t TRandomGenerator::NextChar(std::uint8_t) { return static_cast<std::uint8_t>(KISSRandom(Range_)); }

void TRandomGenerator::Transform(std::uint8_t* buffer, std::size_t count) { KISSFill(buffer, count, Range_); }

}  // namespace vantrel

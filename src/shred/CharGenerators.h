#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantrel {

// The byte pattern of one wiping pass.
class TCharGenerator {
public:
    virtual ~TCharGenerator() = default;
    // current: what stands at the position now (the previous pass's byte, or the file's own
    // on the first pass). Returns the byte to write there.
    virtual std::uint8_t NextChar(std::uint8_t current) = 0;
    // Replaces every byte of the buffer, first to last, by NextChar of it. The generators
    // override it with a loop of their own; the result is the same as calling NextChar.
    virtual void Transform(std::uint8_t* buffer, std::size_t count);
    // Whether NextChar depends on the byte it replaces. The wipe driver reads the file
    // before overwriting it only for such passes.
    virtual bool UsesCurrentBytes() const { return false; }
};

// A fixed pattern of one or more bytes, repeated over the pass. The position carries over
// from one buffer to the next, so a pattern continues across chunks.
class THexGenerator : public TCharGenerator {
public:
    explicit THexGenerator(std::uint8_t first) : Pattern_{first} {}
    void AddByte(std::uint8_t b);
    std::uint8_t NextChar(std::uint8_t current) override;
    void Transform(std::uint8_t* buffer, std::size_t count) override;

    const std::vector<std::uint8_t>& Pattern() const { return Pattern_; }
    std::int32_t Position() const { return Position_; }
    std::int32_t Count() const { return static_cast<std::int32_t>(Pattern_.size()); }

private:
    std::vector<std::uint8_t> Pattern_;
    std::int32_t Position_ = 0;
};

// The complement of what the previous pass wrote.
class TInvertGenerator : public TCharGenerator {
public:
    std::uint8_t NextChar(std::uint8_t current) override;
    void Transform(std::uint8_t* buffer, std::size_t count) override;
    bool UsesCurrentBytes() const override { return true; }
};

// One random value below Range, drawn when the generator is built, over the whole pass.
class TRandomCharGenerator : public TCharGenerator {
public:
    explicit TRandomCharGenerator(std::uint8_t range);
    std::uint8_t NextChar(std::uint8_t current) override;
    void Transform(std::uint8_t* buffer, std::size_t count) override;

    std::uint8_t Range() const { return Range_; }
    std::uint8_t Value() const { return Value_; }

private:
    std::uint8_t Range_;
    std::uint8_t Value_;
};

// A fresh random value below Range at every position.
class TRandomGenerator : public TCharGenerator {
public:
    explicit TRandomGenerator(std::uint8_t range) : Range_(range) {}
    std::uint8_t NextChar(std::uint8_t current) override;
    void Transform(std::uint8_t* buffer, std::size_t count) override;

    std::uint8_t Range() const { return Range_; }

private:
    std::uint8_t Range_;
};

}  // namespace vantrel

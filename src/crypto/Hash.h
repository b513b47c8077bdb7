#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "base/SecureMemory.h"

namespace vantrel {

class EVC_hash : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Base of the message digests. Init, any number of Update calls, Final; Final wipes the
// object, so the next message needs Init again.
class TVC_hash {
public:
    virtual ~TVC_hash() = default;

    virtual int ClassId() const { return -1; }
    virtual std::string ClassAlgorithm() const { return {}; }
    virtual int ClassHashSize() const { return -1; }
    virtual bool RunSelfTest() const { return false; }
    virtual void Init() {}
    virtual void Final(std::uint8_t* /*digest*/) {}
    virtual void Wipe() {}
    virtual void Update(const std::uint8_t* /*data*/, std::uint32_t /*size*/) {}

    // Feeds exactly the string's bytes: no terminator, no conversion.
    void UpdateText(const ByteString& text);

    int Id() const { return ClassId(); }
    std::string Algorithm() const { return ClassAlgorithm(); }
    int HashSize() const { return ClassHashSize(); }
    bool Initialized() const { return initialized_; }

protected:
    bool initialized_ = false;
};

// How a cipher names the hash it keys itself with: a maker of fresh hash objects.
using THashClass = std::unique_ptr<TVC_hash> (*)();

}  // namespace vantrel

#pragma once

#include "crypto/Hash.h"

namespace vantrel {

// SHA-1 as published in FIPS 180-1; it turns passwords into cipher keys.
class TVC_sha1 final : public TVC_hash {
public:
    ~TVC_sha1() override;

    int ClassId() const override { return 2; }
    std::string ClassAlgorithm() const override { return "SHA1"; }
    int ClassHashSize() const override { return 160; }
    bool RunSelfTest() const override;
    void Init() override;
    void Final(std::uint8_t* digest) override;
    void Wipe() override;
    void Update(const std::uint8_t* data, std::uint32_t size) override;

    static std::unique_ptr<TVC_hash> Create() { return std::make_unique<TVC_sha1>(); }

private:
    void Compress();

    std::uint32_t lenHi_ = 0, lenLo_ = 0;
    std::uint32_t index_ = 0;
    std::uint32_t h_[5]{};
    std::uint8_t buffer_[64]{};
};

}  // namespace vantrel

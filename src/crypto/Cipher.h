#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

#include "crypto/Hash.h"
#include "base/SecureMemory.h"

namespace vantrel {

class TStream;

class EVC_cipher : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class EVC_blockcipher : public EVC_cipher {
public:
    using EVC_cipher::EVC_cipher;
};

enum TVC_ciphermode { cmCBC, cmCFB8bit, cmCFBblock, cmOFB, cmCTR };

// Base of every cipher: keying from raw bytes or from a password, and the buffer, text and
// stream operations. The class-level values are virtual so a registry can ask an unkeyed
// instance.
class TVC_cipher {
public:
    TVC_cipher() = default;
    TVC_cipher(const TVC_cipher&) = delete;
    TVC_cipher& operator=(const TVC_cipher&) = delete;
    virtual ~TVC_cipher() = default;

    virtual int ClassId() const = 0;
    virtual std::string ClassAlgorithm() const = 0;
    virtual int ClassMaxKeySize() const = 0;
    virtual bool RunSelfTest() const = 0;
    // Key size in bits; iv, when given, holds one block.
    virtual void SetKey(const std::uint8_t* key, std::uint32_t sizeBits, const std::uint8_t* iv = nullptr);
    virtual void Wipe();
    virtual void RestartChain() = 0;
    virtual void EncryptBuffer(const std::uint8_t* in, std::uint8_t* out, std::uint32_t size) = 0;
    virtual void DecryptBuffer(const std::uint8_t* in, std::uint8_t* out, std::uint32_t size) = 0;
    virtual ByteString EncryptText(const ByteString& text);
    virtual ByteString DecryptText(const ByteString& text);

    // Keys the cipher with the first min(max key, hash size) bits of the password's digest.
    void InitFromPassword(const ByteString& password, THashClass hash);
    // Process `size` bytes from in to out through EncryptBuffer/DecryptBuffer in 8192-byte
    // pieces; a short read ends early. Returns the bytes read.
    std::uint32_t EncryptStreamPart(TStream& in, TStream& out, std::uint32_t size);
    std::uint32_t DecryptStreamPart(TStream& in, TStream& out, std::uint32_t size);

    bool Initialized() const { return initialized_; }
    int Id() const { return ClassId(); }
    std::string Algorithm() const { return ClassAlgorithm(); }
    int MaxKeySize() const { return ClassMaxKeySize(); }

private:
    template <bool Encrypt>
    std::uint32_t StreamPart(TStream& in, TStream& out, std::uint32_t size);

    bool initialized_ = false;
    std::uint8_t work_[8192];
};

class TVC_blockcipher : public TVC_cipher {
public:
    TVC_ciphermode CipherMode = cmCBC;

    void EncryptBuffer(const std::uint8_t* in, std::uint8_t* out, std::uint32_t size) override;
    void DecryptBuffer(const std::uint8_t* in, std::uint8_t* out, std::uint32_t size) override;
    ByteString EncryptText(const ByteString& text) override;
    ByteString DecryptText(const ByteString& text) override;

    // Every block operation is abstract, so a cipher that leaves one out does not compile;
    // TVC_cipherImpl (CipherImpl.h) derives all of them from the two block functions.
    virtual void ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) = 0;
    virtual int ClassBlockSize() const = 0;
    virtual void SetInitVector(const std::uint8_t* iv) = 0;
    virtual void GetChainValue(std::uint8_t* out) = 0;
    virtual void EncryptBlock(const std::uint8_t* in, std::uint8_t* out) = 0;
    virtual void DecryptBlock(const std::uint8_t* in, std::uint8_t* out) = 0;
    virtual void CbcEncrypt(const std::uint8_t* in, std::uint8_t* out, std::uint32_t size) = 0;
    virtual void CbcDecrypt(const std::uint8_t* in, std::uint8_t* out, std::uint32_t size) = 0;
    virtual void Cfb8Encrypt(const std::uint8_t* in, std::uint8_t* out, std::uint32_t size) = 0;
    virtual void Cfb8Decrypt(const std::uint8_t* in, std::uint8_t* out, std::uint32_t size) = 0;
    virtual void CfbBlockEncrypt(const std::uint8_t* in, std::uint8_t* out, std::uint32_t size) = 0;
    virtual void CfbBlockDecrypt(const std::uint8_t* in, std::uint8_t* out, std::uint32_t size) = 0;
    virtual void OfbEncrypt(const std::uint8_t* in, std::uint8_t* out, std::uint32_t size) = 0;
    virtual void OfbDecrypt(const std::uint8_t* in, std::uint8_t* out, std::uint32_t size) = 0;
    virtual void CtrEncrypt(const std::uint8_t* in, std::uint8_t* out, std::uint32_t size) = 0;
    virtual void CtrDecrypt(const std::uint8_t* in, std::uint8_t* out, std::uint32_t size) = 0;

    int BlockSize() const { return ClassBlockSize(); }

protected:
    void CheckInitialized() const {
        if (!Initialized()) throw EVC_blockcipher("Cipher not initialized");
    }
};

// The initialisation vector and the running chaining value of a B-byte block cipher.
// While unkeyed both hold 0xFF bytes.
template <std::size_t B>
class TVC_blockcipherB : public TVC_blockcipher {
public:
    static constexpr std::size_t kBlockBytes = B;

    TVC_blockcipherB() {
        std::memset(InitVector, 0xFF, B);
        std::memset(ChainValue, 0xFF, B);
    }
    ~TVC_blockcipherB() override {
        SecureZero(InitVector, B);
        SecureZero(ChainValue, B);
    }

    int ClassBlockSize() const override { return int(B * 8); }

    void SetKey(const std::uint8_t* key, std::uint32_t sizeBits, const std::uint8_t* iv = nullptr) override {
        TVC_cipher::SetKey(key, sizeBits, iv);
        try {
            ScheduleKey(key, sizeBits);
        } catch (...) {
            Wipe();  // a refused key leaves the cipher unkeyed
            throw;
        }
        if (iv) {
            std::memcpy(InitVector, iv, B);
        } else {
            std::memset(InitVector, 0, B);
            EncryptBlock(InitVector, InitVector);
        }
        RestartChain();
    }
    void Wipe() override {
        SecureFill(InitVector, B, 0xFF);
        SecureFill(ChainValue, B, 0xFF);
        TVC_cipher::Wipe();
    }
    void RestartChain() override {
        CheckInitialized();
        std::memcpy(ChainValue, InitVector, B);
    }
    void SetInitVector(const std::uint8_t* iv) override {
        CheckInitialized();
        std::memcpy(InitVector, iv, B);
        RestartChain();
    }
    void GetChainValue(std::uint8_t* out) override {
        CheckInitialized();
        std::memcpy(out, ChainValue, B);
    }

protected:
    std::uint8_t InitVector[B];
    std::uint8_t ChainValue[B];
};

class TVC_blockcipher64 : public TVC_blockcipherB<8> {};
class TVC_blockcipher128 : public TVC_blockcipherB<16> {};

}  // namespace vantrel

#pragma once

#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>

#include "crypto/Cipher.h"
#include "crypto/ciphers/SelfTest.h"

namespace vantrel {

// The fixed description of one cipher: what its class-level operations answer, its block
// size, the byte its key tables hold once wiped, and the known answers of its self-test.
struct TCipherTraits {
    int classId;
    std::string_view algorithm;
    int maxKeyBits;
    std::size_t blockBytes;  // 8 or 16
    std::uint8_t wipeByte;
    std::span<const TKnownAnswer> knownAnswers;
};

// What a concrete cipher derives from, with its traits (a constant of static storage).
// Derived supplies the key schedule (ScheduleKey), its key tables as
//     auto KeyTables() { return std::tie(...); }
// (KeyTable objects or arrays of them; Wipe fills them with the wipe byte), and the raw
// block functions
//     void Encrypt(const std::uint8_t* in, std::uint8_t* out) const;
//     void Decrypt(const std::uint8_t* in, std::uint8_t* out) const;
// (in and out may be the same block). This template gives the checked EncryptBlock and
// DecryptBlock and the ten chaining modes with the block functions called directly, so the
// per-block loop has no virtual call in it.
//
// A cipher whose CBC gains from seeing many blocks at once (state kept in registers from
// one block to the next, several blocks decrypted side by side) may also supply
//     void CbcEncryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out,
//                           std::size_t blocks) const;
// and CbcDecryptBlocks of the same shape (either or both): whole blocks only, in and out the
// same or apart, chain the running chaining value, updated. CBC then runs through them.
template <class Derived>
concept HasCbcEncryptBlocks = requires(const Derived& d, std::uint8_t* p, const std::uint8_t* q, std::size_t n) {
    d.CbcEncryptBlocks(p, q, p, n);
};
template <class Derived>
concept HasCbcDecryptBlocks = requires(const Derived& d, std::uint8_t* p, const std::uint8_t* q, std::size_t n) {
    d.CbcDecryptBlocks(p, q, p, n);
};

// What a cipher class declares for TVC_cipherImpl: its key schedule, its key tables (the
// arguments) and its block functions, defined in the cipher's source file.
#define VANTREL_CIPHER_PARTS(...)                                                    \
    void ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) override;      \
    auto KeyTables() { return std::tie(__VA_ARGS__); }                               \
    void Encrypt(const std::uint8_t* in, std::uint8_t* out) const;                   \
    void Decrypt(const std::uint8_t* in, std::uint8_t* out) const;

template <class Derived, const TCipherTraits& Traits>
class TVC_cipherImpl : public TVC_blockcipherB<Traits.blockBytes> {
    using Base = TVC_blockcipherB<Traits.blockBytes>;
    static constexpr std::size_t B = Base::kBlockBytes;

public:
    int ClassId() const final { return Traits.classId; }
    std::string ClassAlgorithm() const final { return std::string(Traits.algorithm); }
    int ClassMaxKeySize() const final { return Traits.maxKeyBits; }
    // A cipher whose published test is not a list of known answers overrides this.
    bool RunSelfTest() const override { return RunBlockSelfTest<Derived>(Traits.knownAnswers); }
    void Wipe() final {
        std::apply([](auto&... table) { (WipeTable(table), ...); }, self().KeyTables());
        Base::Wipe();
    }

    void EncryptBlock(const std::uint8_t* in, std::uint8_t* out) override {
        this->CheckInitialized();
        self().Encrypt(in, out);
    }
    void DecryptBlock(const std::uint8_t* in, std::uint8_t* out) override {
        this->CheckInitialized();
        self().Decrypt(in, out);
    }

    void CbcEncrypt(const std::uint8_t* in, std::uint8_t* out, std::uint32_t n) override {
        this->CheckInitialized();
        if constexpr (HasCbcEncryptBlocks<Derived>) {
            const std::uint32_t whole = n - n % B;
            self().CbcEncryptBlocks(this->ChainValue, in, out, whole / B);
            return Tail(in + whole, out + whole, n - whole);
        }
        // The chain runs in a local block, read and written in 32-bit words: the block
        // functions store their result as such words, and a wider reload of them would wait
        // for the stores to reach the cache on every block. The compiler is kept from
        // merging the words into one vector access, which would bring that wait back.
        std::uint8_t x[B];
        std::memcpy(x, this->ChainValue, B);
        for (; n >= B; n -= B, in += B, out += B) {
            for (std::size_t i = 0; i < B; i += 4) {
                std::uint32_t a, b;
                std::memcpy(&a, x + i, 4);
                std::memcpy(&b, in + i, 4);
                a ^= b;
#if defined(__GNUC__)
                __asm__("" : "+r"(a));
#endif
                std::memcpy(x + i, &a, 4);
            }
            self().Encrypt(x, x);
            std::memcpy(out, x, B);
        }
        std::memcpy(this->ChainValue, x, B);
        Tail(in, out, n);
    }
    void CbcDecrypt(const std::uint8_t* in, std::uint8_t* out, std::uint32_t n) override {
        this->CheckInitialized();
        if constexpr (HasCbcDecryptBlocks<Derived>) {
            const std::uint32_t whole = n - n % B;
            self().CbcDecryptBlocks(this->ChainValue, in, out, whole / B);
            return Tail(in + whole, out + whole, n - whole);
        }
        std::uint8_t* cv = this->ChainValue;
        std::uint8_t x[B], y[B];
        for (; n >= B; n -= B, in += B, out += B) {
            std::memcpy(x, in, B);
            self().Decrypt(x, y);
            for (std::size_t i = 0; i < B; ++i) out[i] = y[i] ^ cv[i];
            std::memcpy(cv, x, B);
        }
        Tail(in, out, n);
    }
    void CfbBlockEncrypt(const std::uint8_t* in, std::uint8_t* out, std::uint32_t n) override {
        this->CheckInitialized();
        std::uint8_t* cv = this->ChainValue;
        for (; n >= B; n -= B, in += B, out += B) {
            self().Encrypt(cv, cv);
            for (std::size_t i = 0; i < B; ++i) cv[i] ^= in[i];
            std::memcpy(out, cv, B);
        }
        Tail(in, out, n);
    }
    void CfbBlockDecrypt(const std::uint8_t* in, std::uint8_t* out, std::uint32_t n) override {
        this->CheckInitialized();
        std::uint8_t* cv = this->ChainValue;
        std::uint8_t x[B];
        for (; n >= B; n -= B, in += B, out += B) {
            std::memcpy(x, in, B);
            self().Encrypt(cv, cv);
            for (std::size_t i = 0; i < B; ++i) out[i] = x[i] ^ cv[i];
            std::memcpy(cv, x, B);
        }
        Tail(in, out, n);
    }
    void OfbEncrypt(const std::uint8_t* in, std::uint8_t* out, std::uint32_t n) override { Ofb(in, out, n); }
    void OfbDecrypt(const std::uint8_t* in, std::uint8_t* out, std::uint32_t n) override { Ofb(in, out, n); }
    void CtrEncrypt(const std::uint8_t* in, std::uint8_t* out, std::uint32_t n) override { Ctr(in, out, n); }
    void CtrDecrypt(const std::uint8_t* in, std::uint8_t* out, std::uint32_t n) override { Ctr(in, out, n); }
    void Cfb8Encrypt(const std::uint8_t* in, std::uint8_t* out, std::uint32_t n) override { Cfb8<true>(in, out, n); }
    void Cfb8Decrypt(const std::uint8_t* in, std::uint8_t* out, std::uint32_t n) override { Cfb8<false>(in, out, n); }

private:
    Derived& self() { return static_cast<Derived&>(*this); }

    template <class Table>
    static void WipeTable(Table& table) {
        if constexpr (std::is_array_v<Table>) {
            for (auto& each : table) each.Fill(Traits.wipeByte);
        } else {
            table.Fill(Traits.wipeByte);
        }
    }

    // A trailing part shorter than a block: CV = E(CV), then the part xor CV.
    void Tail(const std::uint8_t* in, std::uint8_t* out, std::uint32_t r) {
        if (r == 0) return;
        std::uint8_t* cv = this->ChainValue;
        self().Encrypt(cv, cv);
        for (std::uint32_t i = 0; i < r; ++i) out[i] = in[i] ^ cv[i];
    }
    void Ofb(const std::uint8_t* in, std::uint8_t* out, std::uint32_t n) {
        this->CheckInitialized();
        std::uint8_t* cv = this->ChainValue;
        for (; n >= B; n -= B, in += B, out += B) {
            self().Encrypt(cv, cv);
            for (std::size_t i = 0; i < B; ++i) out[i] = in[i] ^ cv[i];
        }
        Tail(in, out, n);
    }
    void Ctr(const std::uint8_t* in, std::uint8_t* out, std::uint32_t n) {
        this->CheckInitialized();
        std::uint8_t t[B];
        while (n > 0) {
            self().Encrypt(this->ChainValue, t);
            Increment();
            std::uint32_t take = n < B ? n : std::uint32_t(B);
            for (std::uint32_t i = 0; i < take; ++i) out[i] = in[i] ^ t[i];
            in += take;
            out += take;
            n -= take;
        }
        SecureZero(t, B);
    }
    // CV as one big-endian number; all 0xFF wraps to zero.
    void Increment() {
        std::uint8_t* cv = this->ChainValue;
        for (std::size_t i = B; i-- > 0;)
            if (++cv[i] != 0) break;
    }
    template <bool Encrypt>
    void Cfb8(const std::uint8_t* in, std::uint8_t* out, std::uint32_t n) {
        this->CheckInitialized();
        std::uint8_t* cv = this->ChainValue;
        std::uint8_t t[B];
        for (std::uint32_t k = 0; k < n; ++k) {
            self().Encrypt(cv, t);
            std::uint8_t x = in[k];
            std::uint8_t y = std::uint8_t(x ^ t[0]);
            out[k] = y;
            std::memmove(cv, cv + 1, B - 1);
            cv[B - 1] = Encrypt ? y : x;
        }
        SecureZero(t, B);
    }
};

}  // namespace vantrel

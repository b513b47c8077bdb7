// The chaining modes and keying of the cipher base, on Blowfish (8-byte blocks).
#include <gtest/gtest.h>

#include <new>

#include "crypto/Sha1.h"
#include "crypto/ciphers/Blowfish.h"
#include "crypto/ciphers/SelfTest.h"
#include "platform/Stream.h"

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

class CipherModes : public ::testing::Test {
protected:
    void SetUp() override {
        const Bytes key = HexBytes("0123456789ABCDEFF0E1D2C3B4A59687");
        c.SetKey(key.data(), 128);
    }
    Bytes E(Bytes block) {
        c.EncryptBlock(block.data(), block.data());
        return block;
    }
    Bytes ChainValue() {
        Bytes cv(8);
        c.GetChainValue(cv.data());
        return cv;
    }
    TVC_blowfish c;
};

TEST_F(CipherModes, ZeroSizeDoesNothingButStillNeedsAKey) {
    const Bytes before = ChainValue();
    std::uint8_t b[1] = {};
    for (auto mode : {cmCBC, cmCFB8bit, cmCFBblock, cmOFB, cmCTR}) {
        c.CipherMode = mode;
        c.EncryptBuffer(b, b, 0);
        EXPECT_EQ(ChainValue(), before);
    }
    TVC_blowfish unkeyed;
    for (auto mode : {cmCBC, cmCFB8bit, cmCFBblock, cmOFB, cmCTR}) {
        unkeyed.CipherMode = mode;
        EXPECT_THROW(unkeyed.EncryptBuffer(b, b, 0), EVC_blockcipher);
        EXPECT_THROW(unkeyed.DecryptBuffer(b, b, 0), EVC_blockcipher);
    }
}

TEST_F(CipherModes, CbcTailIsXoredWithTheEncryptedChainValue) {
    const Bytes iv = ChainValue();
    const Bytes ecv = E(iv);
    const Bytes plain = {1, 2, 3};
    Bytes out(3);
    c.CbcEncrypt(plain.data(), out.data(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(out[i], plain[i] ^ ecv[i]);
    EXPECT_EQ(ChainValue(), ecv);
    c.RestartChain();
    Bytes back(3);
    c.CbcDecrypt(out.data(), back.data(), 3);
    EXPECT_EQ(back, plain);
}

TEST_F(CipherModes, CbcFullBlockChainsAsUsual) {
    const Bytes iv = ChainValue();
    Bytes plain = HexBytes("0011223344556677"), x(8);
    for (int i = 0; i < 8; ++i) x[i] = plain[i] ^ iv[i];
    Bytes out(8);
    c.CbcEncrypt(plain.data(), out.data(), 8);
    EXPECT_EQ(out, E(x));
    EXPECT_EQ(ChainValue(), out);
}

TEST_F(CipherModes, SplitCallsGiveADifferentChainThatOnlyTheSameSplitUndoes) {
    Bytes plain(20);
    for (int i = 0; i < 20; ++i) plain[i] = std::uint8_t(i * 7);
    Bytes whole(20), split(20);
    c.CbcEncrypt(plain.data(), whole.data(), 20);
    c.RestartChain();
    c.CbcEncrypt(plain.data(), split.data(), 10);
    c.CbcEncrypt(plain.data() + 10, split.data() + 10, 10);
    EXPECT_NE(whole, split);
    Bytes back(20);
    c.RestartChain();
    c.CbcDecrypt(split.data(), back.data(), 10);
    c.CbcDecrypt(split.data() + 10, back.data() + 10, 10);
    EXPECT_EQ(back, plain);
    c.RestartChain();
    c.CbcDecrypt(whole.data(), back.data(), 20);
    EXPECT_EQ(back, plain);
}

TEST_F(CipherModes, RestartChainRepeatsTheOutput) {
    Bytes plain(24, 0x33), first(24), again(24);
    c.CbcEncrypt(plain.data(), first.data(), 24);
    c.RestartChain();
    c.CbcEncrypt(plain.data(), again.data(), 24);
    EXPECT_EQ(first, again);
}

TEST_F(CipherModes, CounterWrapsFromAllOnesToZero) {
    const Bytes ones(8, 0xFF);
    c.SetInitVector(ones.data());
    c.CipherMode = cmCTR;
    Bytes data(8, 0), out(8);
    c.EncryptBuffer(data.data(), out.data(), 8);
    EXPECT_EQ(out, E(ones));
    EXPECT_EQ(ChainValue(), Bytes(8, 0));
}

TEST_F(CipherModes, TextsUse8BitCfbAndContinueTheChain) {
    EXPECT_TRUE(c.EncryptText(ByteString()).empty());
    const Bytes iv = ChainValue();
    EXPECT_EQ(ChainValue(), iv) << "an empty text leaves the chain alone";

    const ByteString text = ByteString::FromAscii("a name of some length.txt");
    const ByteString encoded = c.EncryptText(text);
    // After n >= B bytes the chain value is the last B ciphertext bytes.
    TVC_blowfish check;
    const Bytes key = HexBytes("0123456789ABCDEFF0E1D2C3B4A59687");
    check.SetKey(key.data(), 128);
    Bytes cipherBytes(text.size());
    check.Cfb8Encrypt(text.data(), cipherBytes.data(), std::uint32_t(text.size()));
    EXPECT_EQ(ChainValue(), Bytes(cipherBytes.end() - 8, cipherBytes.end()));

    c.RestartChain();
    EXPECT_EQ(c.DecryptText(encoded), text);
}

TEST_F(CipherModes, DefaultInitVectorAndWipe) {
    TVC_blowfish fresh;
    const Bytes key = HexBytes("0123456789ABCDEFF0E1D2C3B4A59687");
    fresh.SetKey(key.data(), 128);
    EXPECT_EQ(ChainValue(), E(Bytes(8, 0)));
    c.Wipe();
    Bytes cv(8);
    EXPECT_THROW(c.GetChainValue(cv.data()), EVC_blockcipher);
    EXPECT_THROW(c.RestartChain(), EVC_blockcipher);
}

TEST(CipherKeying, PasswordKeysWithTheDigestUpToTheMaximumKeySize) {
    const ByteString password = ByteString::FromAscii("Vantrel");
    std::uint8_t digest[20];
    TVC_sha1 h;
    h.Init();
    h.UpdateText(password);
    h.Final(digest);

    TVC_blowfish fromPassword, fromDigest;
    fromPassword.InitFromPassword(password, &TVC_sha1::Create);
    fromDigest.SetKey(digest, 160);
    Bytes a(8), b(8);
    fromPassword.GetChainValue(a.data());
    fromDigest.GetChainValue(b.data());
    EXPECT_EQ(a, b) << "Blowfish takes all 160 bits";
}

TEST(CipherKeying, SizeChecks) {
    TVC_blowfish c;
    std::uint8_t key[57] = {};
    for (std::uint32_t bits : {0u, 6u, 452u}) {
        try {
            c.SetKey(key, bits);
            FAIL() << bits;
        } catch (const EVC_cipher& e) {
            EXPECT_STREQ(e.what(), "Invalid key size");
        }
    }
    c.SetKey(key, 448);
    EXPECT_TRUE(c.Initialized());
    EXPECT_THROW(c.SetKey(key, 4), EVC_cipher) << "four bits hold no key byte";
    EXPECT_FALSE(c.Initialized());
}

// A digest of four bits (no whole byte to write): the base check lets the size through,
// Blowfish's schedule refuses it.
class FourBitHash : public TVC_hash {
public:
    int ClassHashSize() const override { return 4; }
    static std::unique_ptr<TVC_hash> Create() { return std::make_unique<FourBitHash>(); }
};
// A hash that runs out of memory as it starts.
class StarvedHash : public TVC_hash {
public:
    int ClassHashSize() const override { return 160; }
    void Init() override { throw std::bad_alloc(); }
    static std::unique_ptr<TVC_hash> Create() { return std::make_unique<StarvedHash>(); }
};

TEST(CipherKeying, PasswordKeyingReportsWhyItFailedAndLeavesTheCipherUnkeyed) {
    const struct {
        THashClass hash;
        const char* message;
    } cases[] = {
        {&FourBitHash::Create, "Invalid key size"},
        {&StarvedHash::Create, "Unable to allocate sufficient memory for hash digest"},
    };
    for (const auto& k : cases) {
        TVC_blowfish c;
        std::uint8_t key[16] = {};
        c.SetKey(key, 128);
        try {
            c.InitFromPassword(ByteString::FromAscii("pw"), k.hash);
            FAIL() << k.message;
        } catch (const EVC_cipher& e) {
            EXPECT_STREQ(e.what(), k.message);
        }
        EXPECT_FALSE(c.Initialized()) << k.message;
    }
}

TEST(CipherStreams, ProcessesInPiecesAndStopsAtAShortRead) {
    TVC_blowfish a, b;
    std::uint8_t key[20] = {9};
    a.SetKey(key, 160);
    b.SetKey(key, 160);
    std::vector<std::uint8_t> data(20000);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = std::uint8_t(i);
    TMemoryStream in(data), out;
    EXPECT_EQ(a.EncryptStreamPart(in, out, 30000), 20000u) << "a short read is not an error";
    Bytes direct(data.size());
    // Same as buffer calls of 8192, 8192 and the rest.
    b.EncryptBuffer(data.data(), direct.data(), 8192);
    b.EncryptBuffer(data.data() + 8192, direct.data() + 8192, 8192);
    b.EncryptBuffer(data.data() + 16384, direct.data() + 16384, 20000 - 16384);
    EXPECT_EQ(out.Data(), direct);
}

TEST(CipherStreams, AFullOutputIsAnError) {
    TVC_blowfish a;
    std::uint8_t key[20] = {9};
    a.SetKey(key, 160);
    TMemoryStream in(std::vector<std::uint8_t>(100, 1)), out;
    out.SetWriteLimit(50);
    EXPECT_THROW(a.EncryptStreamPart(in, out, 100), EStreamError);
}

}  // namespace
}  // namespace vantrel

#include <gtest/gtest.h>

#include <string>

#include "crypto/Sha1.h"
#include "crypto/ciphers/SelfTest.h"

namespace vantrel {
namespace {

std::vector<std::uint8_t> Digest(const std::string& message, std::size_t piece = 0) {
    TVC_sha1 h;
    h.Init();
    const auto* p = reinterpret_cast<const std::uint8_t*>(message.data());
    if (piece == 0) piece = message.size() ? message.size() : 1;
    for (std::size_t i = 0; i < message.size(); i += piece)
        h.Update(p + i, std::uint32_t(std::min(piece, message.size() - i)));
    std::vector<std::uint8_t> out(20);
    h.Final(out.data());
    return out;
}

struct Sha1Case {
    std::string message;
    const char* digest;
};

TEST(Sha1, KnownDigests) {
    const Sha1Case cases[] = {
        {"", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
        {"abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
        {std::string(1000000, 'a'), "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Digest(c.message), HexBytes(c.digest)) << c.message.size() << " bytes";
        EXPECT_EQ(Digest(c.message, 1), HexBytes(c.digest)) << "fed byte by byte";
        EXPECT_EQ(Digest(c.message, 63), HexBytes(c.digest)) << "fed in 63-byte pieces";
    }
}

// 55 bytes leave room for the length in the last block; 56 and 64 need a second one.
TEST(Sha1, MessagesAroundTheLengthBoundary) {
    EXPECT_EQ(Digest(std::string(55, 'a')), HexBytes("c1c8bbdc22796e28c0e15163d20899b65621d65a"));
    EXPECT_EQ(Digest(std::string(56, 'a')), HexBytes("c2db330f6083854c99d4b5bfb6e8f29f201be699"));
    EXPECT_EQ(Digest(std::string(64, 'a')), HexBytes("0098ba824b5c16427bd7a1122a5a442a25ec644d"));
}

TEST(Sha1, RefusesUseOutsideInitAndFinal) {
    TVC_sha1 h;
    std::uint8_t out[20];
    const std::uint8_t byte = 0;
    EXPECT_THROW(h.Update(&byte, 1), EVC_hash);
    h.Init();
    h.Final(out);
    EXPECT_FALSE(h.Initialized());
    EXPECT_THROW(h.Final(out), EVC_hash);
    try {
        h.Update(&byte, 1);
        FAIL();
    } catch (const EVC_hash& e) {
        EXPECT_STREQ(e.what(), "Hash not initialized");
    }
}

TEST(Sha1, ClassValuesAndSelfTest) {
    TVC_sha1 h;
    EXPECT_EQ(h.Id(), 2);
    EXPECT_EQ(h.Algorithm(), "SHA1");
    EXPECT_EQ(h.HashSize(), 160);
    EXPECT_TRUE(h.RunSelfTest());
}

}  // namespace
}  // namespace vantrel

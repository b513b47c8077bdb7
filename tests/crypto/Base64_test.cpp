#include <gtest/gtest.h>

#include "crypto/Base64.h"

namespace vantrel {
namespace {

std::string Encode(const std::string& s) { return std::string(Base64EncodeText(ByteString::FromAscii(s)).View()); }
std::string Decode(const std::string& s) { return std::string(Base64DecodeText(ByteString::FromAscii(s)).View()); }

TEST(Base64, RoundTripsTheExamplesOfTheStandard) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
    };
    for (const auto& [plain, encoded] : cases) {
        EXPECT_EQ(Encode(plain), encoded);
        EXPECT_EQ(Decode(encoded), plain);
    }
}

TEST(Base64, EveryByteValueRoundTrips) {
    ByteString all;
    for (int i = 0; i < 256; ++i) all.push_back(std::uint8_t(i));
    EXPECT_EQ(Base64DecodeText(Base64EncodeText(all)), all);
}

TEST(Base64, DecodesLeniently) {
    EXPECT_EQ(Decode("Zm9vYm"), "foo") << "characters after the last full group are ignored";
    EXPECT_EQ(Decode("Zm8"), "") << "shorter than one group";
    EXPECT_EQ(Decode("Zg==Zm8="), "ffo") << "groups ending in fill characters decode one by one";
    // Outside the alphabet a character counts as "A" (0): decoding never fails.
    EXPECT_EQ(Decode("Z!=="), Decode("ZA=="));
}

}  // namespace
}  // namespace vantrel

#include "shred/CharGenerators.h"

#include <gtest/gtest.h>

#include <vector>

#include "shred/KISSRandomGenerator.h"

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(KISSTest, FirstValuesFromTheInitialState) {
    TKISSState s;
    const std::vector<std::uint32_t> expected = {2079675107u, 4185567647u, 2837635843u, 1057683632u, 1715709901u};
    for (auto v : expected) EXPECT_EQ(s.Next(), v);

    TKISSState r;
    for (std::uint32_t v : {167u, 197u, 178u, 242u, 31u}) EXPECT_EQ(r.Next() % 255, v);
}

TEST(KISSTest, ProcessWideStateAdvancesLikeItsSnapshot) {
    TKISSState predicted = KISSSnapshot();
    EXPECT_EQ(KISSNext(), predicted.Next());
    EXPECT_EQ(KISSRandom(255), predicted.Next() % 255);
    EXPECT_EQ(KISSRandom(7), predicted.Next() % 7);

    // The bulk fill gives what one draw per byte would, short and long, and the next fill
    // goes on where the last one ended.
    for (std::size_t size : {1000, 4095, 4096, 4097, 65536, 100003}) {
        Bytes filled(size);
        KISSFill(filled.data(), filled.size(), 255);
        for (std::size_t i = 0; i < filled.size(); ++i)
            ASSERT_EQ(filled[i], predicted.Next() % 255) << size << " " << i;
    }
    Bytes small(50);
    KISSFill(small.data(), small.size(), 10);
    for (std::size_t i = 0; i < small.size(); ++i) ASSERT_EQ(small[i], predicted.Next() % 10) << i;
    EXPECT_EQ(KISSNext(), predicted.Next());
}

// Runs two equal generators over the bytes, one with a NextChar per byte and one with
// Transform over slices of 1, 3, 5... bytes (so any state must carry over from one call to
// the next), and checks that they agree before returning the bytes.
template <typename Make>
Bytes RunBothWays(Make make, const Bytes& current) {
    auto one = make();
    auto bulk = make();
    Bytes byByte;
    for (auto b : current) byByte.push_back(one.NextChar(b));
    Bytes sliced = current;
    for (std::size_t at = 0, step = 1; at < sliced.size(); at += step, step += 2)
        bulk.Transform(sliced.data() + at, std::min(step, sliced.size() - at));
    EXPECT_EQ(byByte, sliced);
    return byByte;
}

THexGenerator Pattern(const Bytes& bytes) {
    THexGenerator g(bytes[0]);
    for (std::size_t i = 1; i < bytes.size(); ++i) g.AddByte(bytes[i]);
    return g;
}

TEST(CharGeneratorsTest, HexPatternRepeatsAndIgnoresTheCurrentByte) {
    struct Case {
        Bytes pattern;
        std::size_t length;
        Bytes expected;
    };
    const std::vector<Case> cases = {
        {{0xFF, 0xFF, 0xFF, 0xFD}, 10, {0xFF, 0xFF, 0xFF, 0xFD, 0xFF, 0xFF, 0xFF, 0xFD, 0xFF, 0xFF}},
        {{0x00}, 6, Bytes(6, 0x00)},
        {{0x92, 0x49, 0x24}, 7, {0x92, 0x49, 0x24, 0x92, 0x49, 0x24, 0x92}},
    };
    for (const auto& c : cases) {
        Bytes current(c.length);
        for (std::size_t i = 0; i < current.size(); ++i) current[i] = std::uint8_t(i * 37 + 5);
        EXPECT_EQ(RunBothWays([&] { return Pattern(c.pattern); }, current), c.expected);
    }
}

TEST(CharGeneratorsTest, InvertGivesTheComplement) {
    EXPECT_EQ(RunBothWays([] { return TInvertGenerator(); }, Bytes{0x00, 0x5A, 0xFF}), (Bytes{0xFF, 0xA5, 0x00}));
    EXPECT_TRUE(TInvertGenerator().UsesCurrentBytes());
    EXPECT_FALSE(THexGenerator(0).UsesCurrentBytes());
}

TEST(CharGeneratorsTest, RandomCharIsOneDrawPerGeneratorInConstructionOrder) {
    TKISSState predicted = KISSSnapshot();
    TRandomCharGenerator first(255), second(255);
    EXPECT_EQ(first.Value(), predicted.Next() % 255);
    EXPECT_EQ(second.Value(), predicted.Next() % 255);
    Bytes current = {0x00, 0x7F, 0xFF, 0x12};
    Bytes out = current;
    second.Transform(out.data(), out.size());
    EXPECT_EQ(out, Bytes(4, second.Value()));
    for (auto b : current) EXPECT_EQ(first.NextChar(b), first.Value());
    EXPECT_EQ(KISSNext(), predicted.Next());  // using them drew nothing more
}

TEST(CharGeneratorsTest, RandomDrawsOncePerByteAndNeverGives255) {
    TKISSState predicted = KISSSnapshot();
    TRandomGenerator g(255);
    Bytes out(20000, 0xFF);
    g.Transform(out.data(), 10000);
    for (std::size_t i = 10000; i < out.size(); ++i) out[i] = g.NextChar(out[i]);
    bool sawHigh = false;
    for (std::size_t i = 0; i < out.size(); ++i) {
        ASSERT_EQ(out[i], predicted.Next() % 255) << i;
        sawHigh = sawHigh || out[i] == 254;
    }
    EXPECT_TRUE(sawHigh);
}

}  // namespace
}  // namespace vantrel

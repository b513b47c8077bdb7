#include "crypto/Base64.h"

namespace vantrel {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr int kFill = 64;

int Value(std::uint8_t c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    if (c == '=') return kFill;
    return 0;
}

}  // namespace

std::size_t Base64EncodeBuffer(const std::uint8_t* in, std::uint8_t* out, std::size_t n) {
    std::size_t o = 0;
    for (std::size_t i = 0; i < n; i += 3) {
        std::uint32_t v = std::uint32_t(in[i]) << 16;
        if (i + 1 < n) v |= std::uint32_t(in[i + 1]) << 8;
        if (i + 2 < n) v |= in[i + 2];
        out[o++] = std::uint8_t(kAlphabet[(v >> 18) & 63]);
        out[o++] = std::uint8_t(kAlphabet[(v >> 12) & 63]);
        out[o++] = i + 1 < n ? std::uint8_t(kAlphabet[(v >> 6) & 63]) : '=';
        out[o++] = i + 2 < n ? std::uint8_t(kAlphabet[v & 63]) : '=';
    }
    return o;
}

std::size_t Base64DecodeBuffer(const std::uint8_t* in, std::uint8_t* out, std::size_t n) {
    std::size_t o = 0;
    for (std::size_t g = 0; g + 4 <= n; g += 4) {
        int w = Value(in[g]), x = Value(in[g + 1]), y = Value(in[g + 2]), z = Value(in[g + 3]);
        // A fill marker in the first two places carries no bits of its own.
        w &= 63;
        x &= 63;
        out[o++] = std::uint8_t(w * 4 + x / 16);
        if (y == kFill) continue;
        out[o++] = std::uint8_t(x * 16 + y / 4);
        if (z == kFill) continue;
        out[o++] = std::uint8_t(y * 64 + z);
    }
    return o;
}

ByteString Base64EncodeText(const ByteString& bytes) {
    ByteString out((bytes.size() + 2) / 3 * 4);
    Base64EncodeBuffer(bytes.data(), out.data(), bytes.size());
    return out;
}

ByteString Base64DecodeText(const ByteString& text) {
    ByteString out(text.size() / 4 * 3);
    out.resize(Base64DecodeBuffer(text.data(), out.data(), text.size()));
    return out;
}

}  // namespace vantrel

#include "crypto/Cipher.h"

#include <new>

#include "crypto/Base64.h"
#include "platform/Stream.h"

namespace vantrel {

void TVC_cipher::SetKey(const std::uint8_t* /*key*/, std::uint32_t sizeBits, const std::uint8_t* /*iv*/) {
    if (initialized_) Wipe();
    if (sizeBits == 0 || (sizeBits & 3) != 0 || sizeBits > std::uint32_t(ClassMaxKeySize()))
        throw EVC_cipher("Invalid key size");
    initialized_ = true;
}

void TVC_cipher::Wipe() { initialized_ = false; }

ByteString TVC_cipher::EncryptText(const ByteString& text) {
    ByteString out(text.size());
    EncryptBuffer(text.data(), out.data(), std::uint32_t(text.size()));
    return Base64EncodeText(out);
}

ByteString TVC_cipher::DecryptText(const ByteString& text) {
    ByteString out = Base64DecodeText(text);
    DecryptBuffer(out.data(), out.data(), std::uint32_t(out.size()));
    return out;
}

void TVC_cipher::InitFromPassword(const ByteString& password, THashClass hash) {
    if (initialized_) Wipe();
    try {
        auto h = hash();
        const int hashBits = h->ClassHashSize();
        ByteString digest(std::size_t(hashBits / 8));
        h->Init();
        h->UpdateText(password);
        h->Final(digest.data());
        h.reset();
        const int bits = ClassMaxKeySize() < hashBits ? ClassMaxKeySize() : hashBits;
        SetKey(digest.data(), std::uint32_t(bits));
        SecureFill(digest.data(), digest.size(), 0xFF);
    } catch (const std::bad_alloc&) {
        if (initialized_) Wipe();
        throw EVC_cipher("Unable to allocate sufficient memory for hash digest");
    } catch (...) {
        // Any other failure, such as a key the cipher refuses ("Invalid key size"), keeps its
        // own reason.
        if (initialized_) Wipe();
        throw;
    }
}

template <bool Encrypt>
std::uint32_t TVC_cipher::StreamPart(TStream& in, TStream& out, std::uint32_t size) {
    std::uint32_t count = 0;
    while (size > 0) {
        const std::uint32_t want = size < sizeof work_ ? size : std::uint32_t(sizeof work_);
        const auto got = std::uint32_t(in.Read(work_, want));
        count += got;
        if (Encrypt)
            EncryptBuffer(work_, work_, got);
        else
            DecryptBuffer(work_, work_, got);
        out.Write(work_, got);
        if (got < want) break;
        size -= want;
    }
    return count;
}

std::uint32_t TVC_cipher::EncryptStreamPart(TStream& in, TStream& out, std::uint32_t size) {
    return StreamPart<true>(in, out, size);
}

std::uint32_t TVC_cipher::DecryptStreamPart(TStream& in, TStream& out, std::uint32_t size) {
    return StreamPart<false>(in, out, size);
}

void TVC_blockcipher::EncryptBuffer(const std::uint8_t* in, std::uint8_t* out, std::uint32_t size) {
    switch (CipherMode) {
        case cmCBC: CbcEncrypt(in, out, size); break;
        case cmCFB8bit: Cfb8Encrypt(in, out, size); break;
        case cmCFBblock: CfbBlockEncrypt(in, out, size); break;
        case cmOFB: OfbEncrypt(in, out, size); break;
        case cmCTR: CtrEncrypt(in, out, size); break;
    }
}

void TVC_blockcipher::DecryptBuffer(const std::uint8_t* in, std::uint8_t* out, std::uint32_t size) {
    switch (CipherMode) {
        case cmCBC: CbcDecrypt(in, out, size); break;
        case cmCFB8bit: Cfb8Decrypt(in, out, size); break;
        case cmCFBblock: CfbBlockDecrypt(in, out, size); break;
        case cmOFB: OfbDecrypt(in, out, size); break;
        case cmCTR: CtrDecrypt(in, out, size); break;
    }
}

ByteString TVC_blockcipher::EncryptText(const ByteString& text) {
    ByteString out(text.size());
    Cfb8Encrypt(text.data(), out.data(), std::uint32_t(text.size()));
    return Base64EncodeText(out);
}

ByteString TVC_blockcipher::DecryptText(const ByteString& text) {
    ByteString out = Base64DecodeText(text);
    Cfb8Decrypt(out.data(), out.data(), std::uint32_t(out.size()));
    return out;
}

}  // namespace vantrel

#include "CipherBench.h"
#include "crypto/ciphers/Idea.h"
#include "crypto/ciphers/Rc2.h"
#include "crypto/ciphers/Rc5.h"
#include "crypto/ciphers/Rc6.h"

#ifdef VANTREL_HAVE_CRYPTOPP
#include <cryptopp/idea.h>
#include <cryptopp/rc2.h>
#include <cryptopp/rc5.h>
#include <cryptopp/rc6.h>

namespace {

// The reference's RC5 defaults to 16 rounds; ours has 12, so the reference is keyed with 12
// and driven through an external-cipher CBC.
void Rc5ReferenceCbc12(benchmark::State& state) {
    std::vector<std::uint8_t> key(20, 0x3C), iv(8, 0), buf(vantrel::bench::kCallSize, 0xA5);
    CryptoPP::RC5::Encryption rc5(key.data(), key.size(), 12);
    CryptoPP::CBC_Mode_ExternalCipher::Encryption enc(rc5, iv.data());
    for (auto _ : state) {
        enc.ProcessData(buf.data(), buf.data(), buf.size());
        benchmark::DoNotOptimize(buf.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(buf.size()));
}

}  // namespace
#endif

void RegisterCiphers() {
    using namespace vantrel::bench;
    RegisterOurs<vantrel::TVC_idea>("IDEA");
    RegisterOurs<vantrel::TVC_rc2>("RC2");
    RegisterOurs<vantrel::TVC_rc5>("RC5");
    RegisterOurs<vantrel::TVC_rc6>("RC6");
#ifdef VANTREL_HAVE_CRYPTOPP
    RegisterReference<CryptoPP::IDEA>("IDEA", 16);
    RegisterReference<CryptoPP::RC2>("RC2", 20);
    benchmark::RegisterBenchmark("RC5/cryptopp", Rc5ReferenceCbc12);
    // Its checked keying takes no 20-byte key; the rounds do not depend on the length.
    RegisterReference<CryptoPP::RC6>("RC6", 16);
#endif
    // Debian's OpenSSL is built without IDEA and RC5; its RC2 takes the 20-byte key.
    RegisterOpenSsl("IDEA", "IDEA-CBC", 16);
    RegisterOpenSsl("RC2", "RC2-CBC", 20);
}

VANTREL_CIPHER_BENCH_MAIN()

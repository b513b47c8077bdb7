#include "CipherBench.h"
#include "crypto/ciphers/Rijndael.h"

#ifdef VANTREL_HAVE_CRYPTOPP
#include <cryptopp/aes.h>
#endif

namespace {

// The table path on its own, for processors without the AES instructions.
void TablesCbc(benchmark::State& state) {
    vantrel::TVC_rijndael::ForceTablePath(true);
    vantrel::bench::OursCbc<vantrel::TVC_rijndael>(state);
    vantrel::TVC_rijndael::ForceTablePath(false);
}

}  // namespace

void RegisterCiphers() {
    using namespace vantrel::bench;
    RegisterOurs<vantrel::TVC_rijndael>("Rijndael");
    benchmark::RegisterBenchmark("Rijndael/ours-tables", TablesCbc);
#ifdef VANTREL_HAVE_CRYPTOPP
    // Our 160-bit key runs as AES-192, so the reference gets 24 bytes: the same 12 rounds.
    RegisterReference<CryptoPP::AES>("Rijndael", 24);
#endif
    RegisterOpenSsl("Rijndael", "AES-192-CBC", 24);
}

VANTREL_CIPHER_BENCH_MAIN()

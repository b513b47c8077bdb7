#include "CipherBench.h"
#include "crypto/ciphers/Blowfish.h"

#ifdef VANTREL_HAVE_CRYPTOPP
#include <cryptopp/blowfish.h>
#endif

void RegisterCiphers() {
    using namespace vantrel::bench;
    RegisterOurs<vantrel::TVC_blowfish>("Blowfish");
#ifdef VANTREL_HAVE_CRYPTOPP
    RegisterReference<CryptoPP::Blowfish>("Blowfish", 20);
#endif
    RegisterOpenSsl("Blowfish", "BF-CBC", 20);
}

VANTREL_CIPHER_BENCH_MAIN()

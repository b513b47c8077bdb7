#include "CipherBench.h"
#include "crypto/ciphers/Mars.h"
#include "crypto/ciphers/Serpent.h"
#include "crypto/ciphers/Twofish.h"

#ifdef VANTREL_HAVE_CRYPTOPP
#include <cryptopp/mars.h>
#include <cryptopp/serpent.h>
#include <cryptopp/twofish.h>
#endif

void RegisterCiphers() {
    using namespace vantrel::bench;
    RegisterOurs<vantrel::TVC_mars>("Mars");
    RegisterOurs<vantrel::TVC_serpent>("Serpent");
    RegisterOurs<vantrel::TVC_twofish>("Twofish");
#ifdef VANTREL_HAVE_CRYPTOPP
    // Ours runs on the 160-bit key; the reference gets the length it treats the same way
    // (Serpent pads to 256 bits, Twofish to 192). The reference refuses 20-byte MARS keys; its
    // rounds do not depend on the key length.
    RegisterReference<CryptoPP::MARS>("Mars", 16);
    RegisterReference<CryptoPP::Serpent>("Serpent", 32);
    RegisterReference<CryptoPP::Twofish>("Twofish", 24);
#endif
}

VANTREL_CIPHER_BENCH_MAIN()

#include "CipherBench.h"
#include "crypto/ciphers/Cast128.h"
#include "crypto/ciphers/Cast256.h"
#include "crypto/ciphers/Des.h"

#ifdef VANTREL_HAVE_CRYPTOPP
#include <cryptopp/cast.h>
#include <cryptopp/des.h>
#endif

// Reference key lengths: DES 8 bytes; triple DES with the program's 160 bits is three-key
// (24 bytes); CAST-128 gets 16 bytes (16 rounds on both sides); CAST-256 has 48 rounds at
// every key length.
void RegisterCiphers() {
    using namespace vantrel::bench;
    RegisterOurs<vantrel::TVC_des>("DES");
    RegisterOurs<vantrel::TVC_3des>("3DES");
    RegisterOurs<vantrel::TVC_cast128>("Cast128");
    RegisterOurs<vantrel::TVC_cast256>("Cast256");
#ifdef VANTREL_HAVE_CRYPTOPP
    RegisterReference<CryptoPP::DES>("DES", 8);
    RegisterReference<CryptoPP::DES_EDE3>("3DES", 24);
    RegisterReference<CryptoPP::CAST128>("Cast128", 16);
    RegisterReference<CryptoPP::CAST256>("Cast256", 32);
#endif
    RegisterOpenSsl("DES", "DES-CBC", 8);
    RegisterOpenSsl("3DES", "DES-EDE3-CBC", 24);
    RegisterOpenSsl("Cast128", "CAST5-CBC", 16);
}

VANTREL_CIPHER_BENCH_MAIN()

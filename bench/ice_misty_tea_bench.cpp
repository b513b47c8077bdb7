// libcrypto++ has no cipher that matches these the same way (no ICE, no MISTY1, and its TEA
// is the published one), so only ours run, for the record.
#include "CipherBench.h"
#include "crypto/ciphers/Ice.h"
#include "crypto/ciphers/Misty1.h"
#include "crypto/ciphers/Tea.h"

void RegisterCiphers() {
    using namespace vantrel::bench;
    RegisterOurs<vantrel::TVC_thinice>("ThinIce");
    RegisterOurs<vantrel::TVC_ice>("Ice");
    RegisterOurs<vantrel::TVC_ice2>("Ice2");
    RegisterOurs<vantrel::TVC_misty1>("Misty1");
    RegisterOurs<vantrel::TVC_tea>("Tea");
}

VANTREL_CIPHER_BENCH_MAIN()

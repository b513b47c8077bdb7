#include "CipherCatalogue.h"

#include <functional>
#include <utility>

#include "crypto/ciphers/Blowfish.h"
#if __has_include("crypto/ciphers/Cast128.h")
#include "crypto/ciphers/Cast128.h"
#define HAVE_CAST128 1
#endif
#if __has_include("crypto/ciphers/Cast256.h")
#include "crypto/ciphers/Cast256.h"
#define HAVE_CAST256 1
#endif
#if __has_include("crypto/ciphers/Des.h")
#include "crypto/ciphers/Des.h"
#define HAVE_DES 1
#endif
#if __has_include("crypto/ciphers/Ice.h")
#include "crypto/ciphers/Ice.h"
#define HAVE_ICE 1
#endif
#if __has_include("crypto/ciphers/Idea.h")
#include "crypto/ciphers/Idea.h"
#define HAVE_IDEA 1
#endif
#if __has_include("crypto/ciphers/Mars.h")
#include "crypto/ciphers/Mars.h"
#define HAVE_MARS 1
#endif
#if __has_include("crypto/ciphers/Misty1.h")
#include "crypto/ciphers/Misty1.h"
#define HAVE_MISTY1 1
#endif
#if __has_include("crypto/ciphers/Rc2.h")
#include "crypto/ciphers/Rc2.h"
#define HAVE_RC2 1
#endif
#if __has_include("crypto/ciphers/Rc5.h")
#include "crypto/ciphers/Rc5.h"
#define HAVE_RC5 1
#endif
#if __has_include("crypto/ciphers/Rc6.h")
#include "crypto/ciphers/Rc6.h"
#define HAVE_RC6 1
#endif
#if __has_include("crypto/ciphers/Rijndael.h")
#include "crypto/ciphers/Rijndael.h"
#define HAVE_RIJNDAEL 1
#endif
#if __has_include("crypto/ciphers/Serpent.h")
#include "crypto/ciphers/Serpent.h"
#define HAVE_SERPENT 1
#endif
#if __has_include("crypto/ciphers/Tea.h")
#include "crypto/ciphers/Tea.h"
#define HAVE_TEA 1
#endif
#if __has_include("crypto/ciphers/Twofish.h")
#include "crypto/ciphers/Twofish.h"
#define HAVE_TWOFISH 1
#endif

namespace vantrel::test {
namespace {

using Maker = std::function<std::unique_ptr<TVC_blockcipher>()>;

template <class C>
std::pair<std::string, Maker> Entry() {
    return {C().ClassAlgorithm(), [] { return std::make_unique<C>(); }};
}

const std::vector<std::pair<std::string, Maker>>& Catalogue() {
    static const std::vector<std::pair<std::string, Maker>> list = {
        Entry<TVC_blowfish>(),
#ifdef HAVE_CAST128
        Entry<TVC_cast128>(),
#endif
#ifdef HAVE_CAST256
        Entry<TVC_cast256>(),
#endif
#ifdef HAVE_DES
        Entry<TVC_des>(), Entry<TVC_3des>(),
#endif
#ifdef HAVE_ICE
        Entry<TVC_ice>(), Entry<TVC_thinice>(), Entry<TVC_ice2>(),
#endif
#ifdef HAVE_IDEA
        Entry<TVC_idea>(),
#endif
#ifdef HAVE_MARS
        Entry<TVC_mars>(),
#endif
#ifdef HAVE_MISTY1
        Entry<TVC_misty1>(),
#endif
#ifdef HAVE_RC2
        Entry<TVC_rc2>(),
#endif
#ifdef HAVE_RC5
        Entry<TVC_rc5>(),
#endif
#ifdef HAVE_RC6
        Entry<TVC_rc6>(),
#endif
#ifdef HAVE_RIJNDAEL
        Entry<TVC_rijndael>(),
#endif
#ifdef HAVE_SERPENT
        Entry<TVC_serpent>(),
#endif
#ifdef HAVE_TEA
        Entry<TVC_tea>(),
#endif
#ifdef HAVE_TWOFISH
        Entry<TVC_twofish>(),
#endif
    };
    return list;
}

}  // namespace

std::vector<std::string> CipherNames() {
    std::vector<std::string> names;
    for (const auto& [name, make] : Catalogue()) names.push_back(name);
    return names;
}

std::unique_ptr<TVC_blockcipher> MakeCipher(const std::string& algorithm) {
    for (const auto& [name, make] : Catalogue())
        if (name == algorithm) return make();
    return nullptr;
}

}  // namespace vantrel::test

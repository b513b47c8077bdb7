#include "CipherCatalogue.h"

#include <functional>
#include <utility>

#include "crypto/ciphers/Blowfish.h"
#include "crypto/ciphers/Cast128.h"
#include "crypto/ciphers/Cast256.h"
#include "crypto/ciphers/Des.h"
#include "crypto/ciphers/Ice.h"
#include "crypto/ciphers/Idea.h"
#include "crypto/ciphers/Mars.h"
#include "crypto/ciphers/Misty1.h"
#include "crypto/ciphers/Rc2.h"
#include "crypto/ciphers/Rc5.h"
#include "crypto/ciphers/Rc6.h"
#include "crypto/ciphers/Rijndael.h"
#include "crypto/ciphers/Serpent.h"
#include "crypto/ciphers/Tea.h"
#include "crypto/ciphers/Twofish.h"

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
        Entry<TVC_cast128>(),
        Entry<TVC_cast256>(),
        Entry<TVC_des>(), Entry<TVC_3des>(),
        Entry<TVC_ice>(), Entry<TVC_thinice>(), Entry<TVC_ice2>(),
        Entry<TVC_idea>(),
        Entry<TVC_mars>(),
        Entry<TVC_misty1>(),
        Entry<TVC_rc2>(),
        Entry<TVC_rc5>(),
        Entry<TVC_rc6>(),
        Entry<TVC_rijndael>(),
        Entry<TVC_serpent>(),
        Entry<TVC_tea>(),
        Entry<TVC_twofish>(),
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

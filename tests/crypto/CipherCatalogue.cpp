#include "CipherCatalogue.h"

#include <functional>
#include <utility>

#include "crypto/ciphers/CipherList.h"

namespace vantrel::test {
namespace {

using Maker = std::function<std::unique_ptr<TVC_blockcipher>()>;

template <class C>
std::pair<std::string, Maker> Entry() {
    return {C().ClassAlgorithm(), [] { return std::make_unique<C>(); }};
}

const std::vector<std::pair<std::string, Maker>>& Catalogue() {
#define VANTREL_CATALOGUE_ENTRY(cls, tag, boxText) Entry<cls>(),
    static const std::vector<std::pair<std::string, Maker>> list = {VANTREL_FOR_EACH_CIPHER(VANTREL_CATALOGUE_ENTRY)};
#undef VANTREL_CATALOGUE_ENTRY
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

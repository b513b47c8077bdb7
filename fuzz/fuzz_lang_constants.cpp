// A stored message table in any of its layouts: read it or refuse it with ELangError or a
// stream error.
#include <vector>

#include "i18n/LangConstants.h"
#include "platform/Stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    TMemoryStream stream(std::vector<std::uint8_t>(data, data + size));
    TLang_Constants table;
    try {
        table.LoadFromStream(stream, 1252);
    } catch (const ELangError&) {
    } catch (const EStreamError&) {
    }
    return 0;
}

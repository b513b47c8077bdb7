// Language files: any bytes are read fully and header-only or refused with ELangError, and
// what was read applies to the built-in messages. (Reading from the file itself is left to
// the tests: the file stream's large read-ahead would make every run many times slower.)
#include <span>

#include "i18n/LangFile.h"
#include "i18n/LanguageManager.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    static const TLang_Constants builtIn = [] {
        TLang_Constants table;
        LoadBuiltInLangConstants(table);
        return table;
    }();

    const std::span<const std::uint8_t> bytes(data, size);
    TLang_CompTranslations t;
    for (bool headerOnly : {true, false}) {
        try {
            t.LoadFromBytes(bytes, headerOnly);
        } catch (const ELangError&) {
            return 0;
        }
        (void)t.LangID();
        for (const TLang_CompTranslation& section : t.Sections()) (void)t.Text(section.Name(), 1);
    }
    TLang_Constants constants = builtIn;
    ApplyLangTranslation(constants, &t);
    (void)constants.Value("Exit");
    return 0;
}

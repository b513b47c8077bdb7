// Profile files: parsing, reading every key, writing one and saving must hold for any bytes.
#include "FuzzFile.h"
#include "platform/ProfileFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    const std::string path = fuzz::WriteInput("input.ini", data, size);
    TIniFile ini(path);
    // Each read scans the lines as a lookup in a profile file does; the first and last key of
    // each section and one that is missing reach every path of it without reading keys x lines.
    for (const auto& section : ini.Sections()) {
        const auto keys = ini.Keys(section);
        if (!keys.empty()) {
            (void)ini.ReadString(section, keys.front(), "");
            (void)ini.ReadString(section, keys.back(), "");
        }
        (void)ini.ReadString(section, "no such key", "");
    }
    try {
        ini.WriteString("Options", "LanguageID", "1031");
        ini.Save();
    } catch (const EProfileError&) {
    }
    return 0;
}

// Profile files: parsing, reading every key, writing one and saving must hold for any bytes.
#include "FuzzFile.h"
#include "platform/ProfileFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    const std::string path = fuzz::WriteInput("input.ini", data, size);
    TIniFile ini(path);
    for (const auto& section : ini.Sections())
        for (const auto& key : ini.Keys(section)) (void)ini.ReadString(section, key, "");
    try {
        ini.WriteString("Options", "LanguageID", "1031");
        ini.Save();
    } catch (const EProfileError&) {
    }
    return 0;
}

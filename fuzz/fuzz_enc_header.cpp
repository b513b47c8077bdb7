// An .enc file as the decrypt operation meets it: the tag picks the algorithm (all nineteen
// entries, "ALL" included), then the header (checksum, name length, name text), the stored
// name's checks, the target's checks and the body. Any input must end in a decrypted file,
// a refusal or one of the file layer's errors, never in a crash, a hang or a huge allocation.
#include <filesystem>

#include "FuzzFile.h"
#include "encryption/CryptoAlgorithms.h"
#include "i18n/LanguageManager.h"
#include "operations/Operations.h"
#include "platform/Files.h"
#include "platform/Stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    static const bool registry = (InitCryptoAlgorithms(LanguageSetting()), true);
    (void)registry;
    const std::string enc = fuzz::WriteInput("input.enc", data, size);
    TDecrypt decrypt;
    decrypt.PasswordBytes = ByteString::FromAscii("fuzz");
    decrypt.DeleteSource = true;
    try {
        decrypt.ProcessFile(enc);
    } catch (const EStreamError&) {
    } catch (const EFileError&) {
    }
    // Whatever was decrypted lands beside the input; start each run from an empty folder.
    for (const auto& e : std::filesystem::directory_iterator(fuzz::Folder())) std::filesystem::remove_all(e.path());
    return 0;
}

// The header of an .enc file: tag, checksum, name length, name text. Any input must end in
// a clean result or one of the file layer's errors, never in a crash or a huge allocation.
#include <filesystem>

#include "FuzzFile.h"
#include "crypto/ciphers/Blowfish.h"
#include "encryption/CryptoAlgorithms.h"
#include "platform/Files.h"
#include "platform/Stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    static TCryptoAlgorithm algorithm(std::make_unique<TVC_blowfish>(), ByteString::FromAscii("BFS"));
    const std::string enc = fuzz::WriteInput("input.enc", data, size);
    try {
        algorithm.DecryptFile(enc, ByteString::FromAscii("fuzz"), nullptr, nullptr, nullptr);
    } catch (const EStreamError&) {
    } catch (const EFileError&) {
    } catch (const EUnsafeStoredName&) {
    }
    // Whatever was decrypted lands beside the input; start each run from an empty folder.
    for (const auto& e : std::filesystem::directory_iterator(fuzz::Folder())) std::filesystem::remove_all(e.path());
    return 0;
}

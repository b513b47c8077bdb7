#include "app/InitFinal.h"

#include <string>

#include "app/AppFolders.h"
#include "app/Logger.h"
#include "app/OptionsUnit.h"
#include "i18n/LangConstants.h"
#include "platform/Folders.h"
#include "platform/Registry.h"

namespace vantrel {

namespace {

constexpr int DefaultLanguageID = 1033;

std::string ProgramRegistryKey() { return "Software\\Halcorne\\" + std::string(ProductName) + "\\"; }

}  // namespace

void StartUp() {
    // 1. ProductName is a constant (InitFinal.h).

    // 2. Program and data folders; the data folder is created with its parents.
    InitAppFolders(RoamingDataRoot() + std::string(ProductName) + "/");

    // 3. Debug log, on only with the switch "-debug".
    InitLogger("-debug");

    // 4. Exception report: every raise on any thread records its stack for the log.
    InstallExceptionReport();

    // 5. "AppPath" tells programs outside this one (the context-menu hand-over) where the
    //    executable lies; rewritten on every start since the program may have moved.
    WriteRegistryString("HKEY_CURRENT_USER", ProgramRegistryKey(), "AppPath",
                        WithTrailingSeparator(GetProgramFolder()));

    // 6. Language. The built-in texts are loaded here rather than at the first message, so a
    //    broken table stops the start. Scanning "*.lng" in the program folder and SetLanguage
    //    join with the language manager; until then every language is the built-in English.
    ProcessLangConstants();
    {
        TOptions options("");
        const int languageId = options.ReadInteger("LanguageID", DefaultLanguageID);
        Log("LanguageID " + std::to_string(languageId), "StartUp");
    }

    // Reserved, in this order, for the modules that do not exist yet:
    // 7.  Path registry: CreatePathRegistry, then RegisterPath for TEncryptPath, TDecryptPath,
    //     TShredPath, THidePath (TShowPath is not registered).
    // 8.  Operation list: CreateOperationList with the localised names and the ten pictures.
    // 9.  Wiping schemes: InitShredAlgorithms.
    // 10. Algorithm registry: InitCryptoAlgorithms; ProgressPassCount := 1.
    // 11. CmdLineFiles := an empty list.
    // 12. Hidden-items store: InitHiddenConfig, loaded from its file in the data folder.
    // 13. Context-menu switches: the hand-over script's path; "/activate" and "/deactivate"
    //     run their routine and ask the application to quit.
}

void ShutDown() {
    // Releases in the order of creation, not its reverse. Reserved, in this order, for the
    // modules that do not exist yet (a worker still running is stopped and waited for first):
    // 1. FreePathRegistry.
    // 2. FreeOperationList.
    // 3. DoneShredAlgorithms.
    // 4. DoneCryptoAlgorithms.
    // 5. Release CmdLineFiles.
    // 6. DoneHiddenConfig: save the hidden-items store, even when unchanged, then release it.
}

}  // namespace vantrel

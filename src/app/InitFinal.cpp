#include "app/InitFinal.h"

#include <string>

#include "app/AppFolders.h"
#include "app/CmdLineActivate.h"
#include "app/Logger.h"
#include "encryption/CryptoAlgorithms.h"
#include "hide/HiddenConfig.h"
#include "i18n/LanguageManager.h"
#include "operations/FilesIterationThread.h"
#include "operations/Operations.h"
#include "platform/Folders.h"
#include "platform/Registry.h"
#include "shell/ContextMenuExtActivator.h"
#include "shred/ShredAlgorithms.h"

namespace vantrel {

namespace {

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

    // 6. Language: the files "*.lng" beside the program, then the one the settings ask for.
    //    A chosen file that is broken stops the start with its line message.
    //    The setting is read here once and handed to the schemes and the registry too.
    const int language = LanguageSetting();
    {
        TLanguageManager& languages = LanguageManager();
        languages.ScanLanguageFiles(GetProgramFolder(), "*.lng", false);
        languages.SetLanguage(language);
        Log("LanguageID " + std::to_string(languages.LanguageID()), "StartUp");
    }

    // 7.  The path registry of the wizards is GUI code: the wizard layer creates it (and
    //     registers TEncryptPath, TDecryptPath, TShredPath, THidePath) when it is made with the
    //     main window, right after StartUp, and frees it when it goes.

    // 8.  Operation list with the localised names (its pictures come with the main window).
    CreateOperationList();

    // 9.  Wiping schemes.
    InitShredAlgorithms(language);

    // 10. Algorithm registry with its ciphers; ProgressPassCount is 1.
    InitCryptoAlgorithms(language);

    // 11. The command-line file list starts empty.
    InitCmdLineFiles();

    // 12. Hidden-items store, loaded from its file in the data folder.
    InitHiddenConfig();

    // 13. The context-menu switches "/activate" and "/deactivate"; each asks the program to
    //     quit as soon as the event loop runs.
    CheckContextMenuSwitches(ProgramArguments());
}

void ShutDown() {
    // A run still going is stopped and waited for, so no worker outlives the registries.
    StopCurrentOperation();
    // Releases in the order of creation, not its reverse.
    // 1. The path registry went with the wizard layer.
    FreeOperationList();
    DoneShredAlgorithms();
    DoneCryptoAlgorithms();
    DoneCmdLineFiles();
    // 6. The hidden-items store is saved, even when unchanged, and released last.
    DoneHiddenConfig();
}

}  // namespace vantrel

#include "app/InitFinal.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TestFolder.h"
#include "app/AppFolders.h"
#include "encryption/CryptoAlgorithms.h"
#include "hide/HiddenConfig.h"
#include "i18n/LanguageManager.h"
#include "operations/Operations.h"
#include "shred/ShredAlgorithms.h"
#include "platform/Folders.h"
#include "platform/ProfileFile.h"
#include "platform/Registry.h"

namespace vantrel {
namespace {

constexpr const char* Root = "HKEY_CURRENT_USER";
constexpr const char* Key = "Software\\Halcorne\\Vantrel\\";

class StartUpTest : public ::testing::Test {
protected:
    ~StartUpTest() override { ResetAppFolders(); }
    test::TestFolder home;
};

TEST_F(StartUpTest, CleanStartCreatesDataFolderAndWritesAppPath) {
    ASSERT_FALSE(std::filesystem::exists(home.DataFolder()));
    StartUp();

    EXPECT_TRUE(std::filesystem::is_directory(home.DataFolder()));
    EXPECT_EQ(GetDataFolder(), home.DataFolder());
    const std::string registry = home.Read(home.DataFolder() + "registry.ini");
    EXPECT_NE(registry.find("[HKEY_CURRENT_USER\\Software\\Halcorne\\Vantrel]"), std::string::npos) << registry;

    const auto appPath = ReadRegistryString(Root, Key, "AppPath");
    ASSERT_TRUE(appPath);
    EXPECT_EQ(*appPath, ExecutableFolder());
    EXPECT_TRUE(appPath->ends_with("/"));
    // Without "-debug" there is no log.
    for (const auto& e : std::filesystem::directory_iterator(home.DataFolder()))
        EXPECT_NE(e.path().extension(), ".log") << e.path();
    ShutDown();
}

TEST_F(StartUpTest, BuildsTheRegistriesAndShutDownSavesTheStoreLast) {
    StartUp();
    EXPECT_EQ(OperationCount(), 5);
    EXPECT_EQ(ShredAlgorithmList.size(), 11u);
    EXPECT_EQ(AlgorithmCount(), 19);
    ASSERT_NE(HiddenItemsStore, nullptr);
    HiddenItemsStore->SetPassword("main");
    ShutDown();
    EXPECT_EQ(AlgorithmCount(), 0);
    EXPECT_EQ(HiddenItemsStore, nullptr);
    const std::string store = home.Read(home.DataFolder() + "base.dat");
    EXPECT_NE(store.find("[Password]"), std::string::npos) << store;
    EXPECT_EQ(store.find("main"), std::string::npos) << "only its hash";
}

TEST_F(StartUpTest, EveryStartRewritesAppPathAndKeepsOtherValues) {
    std::filesystem::create_directories(home.DataFolder());
    home.Write("Vantrel/registry.ini",
               "[HKEY_CURRENT_USER\\Software\\Halcorne\\Vantrel]\nAppPath=/old/place/\n"
               "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer]\n"
               "NoDrives=dword:0000000c\n");
    StartUp();
    EXPECT_EQ(ReadRegistryString(Root, Key, "AppPath").value_or(""), ExecutableFolder());
    EXPECT_EQ(ReadRegistryDword(Root, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", "NoDrives"),
              0x0Cu);
    ShutDown();
}

TEST_F(StartUpTest, LanguageIDGivesMessagesAndDescriptionsInThatLanguage) {
    home.Write("Vantrel/options.ini", "[Options]\nLanguageID=1031\n");
    TLang_CompTranslations german;
    german.LoadFromFile(ExecutableFolder() + "German.lng", false);

    StartUp();
    EXPECT_EQ(LanguageManager().LanguageID(), 1031);
    EXPECT_EQ(LangConstant("Please_select_files"), german.Constant("Please_select_files").value_or("?"));
    EXPECT_EQ(GetOperation(0).Name, german.Constant("Encrypt").value_or("?"));
    EXPECT_EQ(GetOperation(4).Description, german.Constant("Show_desc").value_or("?"));
    EXPECT_EQ(GetAlgorithmDescription(AlgorithmAt(0)),
              GetPrivateProfileString(ExecutableFolder() + "cryptos1031.ini", "Algos", "BFS", "?"));
    EXPECT_EQ(GetShredDescription(*ShredAlgorithmList[10]),
              GetPrivateProfileString(ExecutableFolder() + "shreds1031.ini", "Algos", "TGUTMANN", "?"));
    ShutDown();
    LanguageManager().SetLanguage(TLanguageManager::DefaultLanguageID);
    EXPECT_EQ(LangConstant("Please_select_files"), "Please select some files");
}

TEST_F(StartUpTest, UnwritableDataFolderStopsTheStart) {
    // A file where the settings root should be: the data folder cannot exist.
    const std::string blocker = home.Write("not-a-folder", "x");
    ::setenv("XDG_CONFIG_HOME", blocker.c_str(), 1);
    EXPECT_THROW(StartUp(), ERegistryError);
}

}  // namespace
}  // namespace vantrel

#include "platform/Registry.h"

#include <gtest/gtest.h>

#include "TestFolder.h"
#include "app/AppFolders.h"

namespace vantrel {
namespace {

constexpr const char* kUser = "HKEY_CURRENT_USER";
constexpr const char* kKey = "Software\\Halcorne\\Vantrel";

TEST(Registry, FileLayoutAndReadBack) {
    test::TestFolder dir;
    ResetAppFolders();
    EXPECT_EQ(RegistryFile(), dir.DataFolder() + "registry.ini");
    WriteRegistryString(kUser, kKey, "AppPath", "/opt/vantrel/");
    WriteRegistryDword(kUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", "NoDrives", 12);
    WriteRegistryDword(kUser, kKey, "Big", 0xFFFFFFFFu);
    EXPECT_EQ(dir.Read(dir.DataFolder() + "registry.ini"),
              "[HKEY_CURRENT_USER\\Software\\Halcorne\\Vantrel]\n"
              "AppPath=/opt/vantrel/\n"
              "Big=dword:ffffffff\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer]\n"
              "NoDrives=dword:0000000c\n");

    EXPECT_EQ(ReadRegistryString(kUser, kKey, "AppPath"), "/opt/vantrel/");
    EXPECT_EQ(ReadRegistryString("hkey_current_user", "\\software\\HALCORNE\\vantrel\\", "apppath"), "/opt/vantrel/");
    EXPECT_EQ(ReadRegistryDword(kUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", "NoDrives"),
              12u);
    EXPECT_EQ(ReadRegistryDword(kUser, kKey, "Big"), 0xFFFFFFFFu);
    // A value of the other type is absent, as a typed read of the registry would find it.
    EXPECT_EQ(ReadRegistryDword(kUser, kKey, "AppPath"), std::nullopt);
    EXPECT_EQ(ReadRegistryString(kUser, kKey, "Big"), std::nullopt);
    ResetAppFolders();
}

TEST(Registry, MissingReadsAsAbsent) {
    test::TestFolder dir;
    ResetAppFolders();
    EXPECT_EQ(ReadRegistryString(kUser, kKey, "AppPath"), std::nullopt);  // no file at all
    WriteRegistryString(kUser, kKey, "AppPath", "");
    EXPECT_EQ(ReadRegistryString(kUser, kKey, "AppPath"), "");  // empty, but there
    EXPECT_EQ(ReadRegistryString(kUser, kKey, "Other"), std::nullopt);
    EXPECT_EQ(ReadRegistryString(kUser, "Software\\Halcorne", "AppPath"), std::nullopt);
    ResetAppFolders();
}

TEST(Registry, DeletesValuesAndKeysWithTheirSubkeys) {
    test::TestFolder dir;
    SetDataFolder(dir.Path() + "data");
    EXPECT_EQ(RegistryFile(), dir.Path() + "data/registry.ini");
    WriteRegistryString("HKEY_CLASSES_ROOT", "Ext", "v", "1");
    WriteRegistryString("HKEY_CLASSES_ROOT", "Ext\\Sub\\Deeper", "v", "2");
    WriteRegistryString("HKEY_CLASSES_ROOT", "Extra", "v", "3");  // shares the prefix, not the key
    WriteRegistryString("HKEY_CLASSES_ROOT", "Extra", "w", "4");

    EXPECT_TRUE(DeleteRegistryValue("HKEY_CLASSES_ROOT", "extra", "W"));
    EXPECT_FALSE(DeleteRegistryValue("HKEY_CLASSES_ROOT", "Extra", "w"));
    EXPECT_TRUE(DeleteRegistryKey("HKEY_CLASSES_ROOT", "EXT"));
    EXPECT_FALSE(DeleteRegistryKey("HKEY_CLASSES_ROOT", "Ext"));
    EXPECT_EQ(dir.Read(RegistryFile()), "[HKEY_CLASSES_ROOT\\Extra]\nv=3\n");
    ResetAppFolders();
}

TEST(Registry, FailedWriteNamesTheFile) {
    test::TestFolder dir;
    dir.Write("blocker", "x");
    SetRegistryFile(dir.File("blocker/registry.ini"));
    try {
        WriteRegistryString(kUser, kKey, "AppPath", "/x/");
        FAIL() << "no error";
    } catch (const ERegistryError& e) {
        EXPECT_NE(std::string(e.what()).find(dir.File("blocker/registry.ini")), std::string::npos) << e.what();
    }
    SetRegistryFile("");
}

}  // namespace
}  // namespace vantrel

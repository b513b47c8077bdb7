#include "hide/HiddenConfig.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "TestFolder.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"

namespace vantrel {
namespace {

class HiddenConfigTest : public ::testing::Test {
protected:
    std::string Store() const { return dir.DataFolder() + "base.dat"; }
    std::string Value(const std::string& section, const std::string& key) const {
        return GetPrivateProfileString(Store(), section, key, "<missing>");
    }
    std::vector<std::string> Sections() const { return TIniFile(Store()).Sections(); }

    test::TestFolder dir;
};

TEST_F(HiddenConfigTest, StartsEmptyAndShutsDownWithAnEmptyRecord) {
    InitHiddenConfig();
    EXPECT_TRUE(FileExists(Store()));  // created empty by the first look-up
    EXPECT_EQ(HiddenItemsStore->ItemCount(), 0u);
    EXPECT_FALSE(HiddenItemsStore->HasPassword());
    EXPECT_FALSE(HiddenItemsStore->CheckPassword(""));
    DoneHiddenConfig();
    EXPECT_EQ(HiddenItemsStore, nullptr);
    EXPECT_EQ(Sections(), (std::vector<std::string>{"Password", "Count"}));
    EXPECT_EQ(Value("Password", "Password"), "");
    EXPECT_EQ(Value("Count", "Count"), "0");
}

TEST_F(HiddenConfigTest, DeletingTheMiddleItemRenumbersTheSections) {
    THiddenConfig store;
    store.AddItem(hitFile, "/home/ann/a.txt");
    store.AddItem(hitDrive, "/media/ann/USB/");
    store.AddItem(hitFolder, "/home/ann/docs/");
    store.DeleteItem(1);

    EXPECT_EQ(Sections(), (std::vector<std::string>{"Password", "Count", "Item0", "Item1"}));
    EXPECT_EQ(Value("Count", "Count"), "2");
    EXPECT_EQ(Value("Item0", "ItemType"), "0");
    EXPECT_EQ(Value("Item0", "FilePath"), "/home/ann/a.txt");
    EXPECT_EQ(Value("Item1", "ItemType"), "1");
    EXPECT_EQ(Value("Item1", "FilePath"), "/home/ann/docs/");
    EXPECT_THROW(store.DeleteItem(2), std::out_of_range);

    THiddenConfig again;  // every change reached the file at once
    again.Load();
    ASSERT_EQ(again.ItemCount(), 2u);
    EXPECT_EQ(again.Item(1).FilePath, "/home/ann/docs/");
    EXPECT_EQ(again.Item(1).ItemType, hitFolder);
}

TEST_F(HiddenConfigTest, FindItemComparesExactly) {
    THiddenConfig store;
    store.AddItem(hitDrive, "/media/ann/USB/");
    store.AddItem(hitFile, "/media/ann/USB/");
    ASSERT_TRUE(store.FindItem("/media/ann/USB/"));
    EXPECT_EQ(store.FindItem("/media/ann/USB/")->ItemType, hitDrive);  // the first one
    EXPECT_FALSE(store.FindItem("/media/ann/usb/"));
    EXPECT_FALSE(store.FindItem("/media/ann/USB"));
}

TEST_F(HiddenConfigTest, SaveReplacesItemSectionsAndKeepsOthers) {
    dir.Write("Vantrel/base.dat",
              "[Password]\nPassword=\n[Count]\nCount=1\n[Item0]\nItemType=0\nFilePath=/a\n"
              "[MyItems]\nx=1\n[Item7]\nFilePath=/stale\n[Other]\nkeep=yes\n");
    THiddenConfig store;
    store.Load();
    ASSERT_EQ(store.ItemCount(), 1u);
    store.Save();
    EXPECT_EQ(Sections(), (std::vector<std::string>{"Password", "Count", "Other", "Item0"}));
    EXPECT_EQ(Value("Other", "keep"), "yes");
    EXPECT_EQ(Value("Item0", "FilePath"), "/a");
}

TEST_F(HiddenConfigTest, DamagedValuesReadAsDefaults) {
    dir.Write("Vantrel/base.dat",
              "[Count]\nCount=3\n[Item0]\nItemType=258\nFilePath=\"  spaced  \"\n[Item1]\nItemType=two\n");
    THiddenConfig store;
    store.Load();
    ASSERT_EQ(store.ItemCount(), 3u);      // a count beyond the sections gives empty files
    EXPECT_EQ(store.Item(0).ItemType, 2);  // the low byte
    EXPECT_EQ(store.Item(0).FilePath, "  spaced  ");
    EXPECT_EQ(store.Item(1).ItemType, hitFile);
    EXPECT_EQ(store.Item(2).FilePath, "");

    THiddenConfig none;
    dir.Write("Vantrel/base.dat", "[Count]\nCount=lots\n");
    none.Load();
    EXPECT_EQ(none.ItemCount(), 0u);
}

TEST_F(HiddenConfigTest, PasswordIsStoredOnlyAsItsHash) {
    const std::string typed = "  s3cret=with equals";
    {
        THiddenConfig store;
        store.SetPassword(typed);
        EXPECT_TRUE(store.HasPassword());
        store.Save();
    }
    const std::string text = dir.Read(Store());
    EXPECT_EQ(text.find("s3cret"), std::string::npos);
    EXPECT_EQ(Value("Password", "Password").rfind("$argon2id$", 0), 0u);

    THiddenConfig store;
    store.Load();
    EXPECT_TRUE(store.CheckPassword(typed));
    EXPECT_FALSE(store.CheckPassword("s3cret=with equals"));
    store.SetPassword("");
    EXPECT_FALSE(store.HasPassword());
}

TEST_F(HiddenConfigTest, LegacyPlainPasswordIsAcceptedAndHashedAtTheNextSave) {
    dir.Write("Vantrel/base.dat", "[Password]\nPassword=old one\n[Count]\nCount=0\n");
    THiddenConfig store;
    store.Load();
    EXPECT_TRUE(store.CheckPassword("old one"));
    EXPECT_FALSE(store.CheckPassword("old"));
    EXPECT_NE(dir.Read(Store()).find("old one"), std::string::npos);  // a load writes nothing

    store.AddItem(hitFile, "/x");
    EXPECT_EQ(dir.Read(Store()).find("old one"), std::string::npos);
    THiddenConfig reloaded;
    reloaded.Load();
    EXPECT_TRUE(reloaded.CheckPassword("old one"));
}

TEST_F(HiddenConfigTest, PathWithALineBreakIsRefusedAndTheStoreStaysUsable) {
    THiddenConfig store;
    EXPECT_THROW(store.AddItem(hitFile, "/a\n[Password]\nPassword=forged"), EProfileError);
    EXPECT_EQ(store.ItemCount(), 0u);
    store.AddItem(hitFile, "/b");
    EXPECT_EQ(Value("Count", "Count"), "1");
}

TEST_F(HiddenConfigTest, TwoProcessesAddingItemsKeepEachOthersItems) {
    constexpr int kPerProcess = 25;
    pid_t children[2];
    for (int k = 0; k < 2; ++k) {
        children[k] = ::fork();
        ASSERT_GE(children[k], 0);
        if (children[k] == 0) {
            THiddenConfig store;  // loaded once, held for the whole run, as the program does
            store.Load();
            for (int i = 0; i < kPerProcess; ++i) store.AddItem(hitFile, "/p" + std::to_string(k) + "/" + std::to_string(i));
            ::_exit(0);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    THiddenConfig store;
    store.Load();
    EXPECT_EQ(store.ItemCount(), 2u * kPerProcess);
    EXPECT_TRUE(store.FindItem("/p0/24"));
    EXPECT_TRUE(store.FindItem("/p1/24"));
}

TEST_F(HiddenConfigTest, ChangesApplyToTheFileAsItIsNow) {
    THiddenConfig a, b;
    a.AddItem(hitFile, "/1");
    a.AddItem(hitFile, "/2");
    b.Load();
    a.AddItem(hitFile, "/1");
    EXPECT_EQ(a.ItemCount(), 2u) << "an item already recorded is not added twice";
    a.DeleteItem(0);
    // b still sees "/2" at index 1; it is removed wherever it stands now.
    b.DeleteItem(1);
    EXPECT_EQ(b.ItemCount(), 0u);
    EXPECT_EQ(Value("Count", "Count"), "0");

    b.SetPassword("main");  // pending until the next change, which must not lose it
    a.AddItem(hitFile, "/3");
    b.AddItem(hitFolder, "/4/");
    a.Reload();
    EXPECT_EQ(a.ItemCount(), 2u);
    EXPECT_TRUE(a.CheckPassword("main"));
}

TEST(HiddenConfigPaths, OnlyPathsThatReadBackWholeCanBeStored) {
    const std::string clef = "\xF0\x9D\x84\x9E";  // two UTF-16 units
    struct Case {
        std::string path;
        bool storable;
    };
    std::string pairs;
    for (int i = 0; i < 1024; ++i) pairs += clef;
    std::string umlauts;
    for (int i = 0; i < 2047; ++i) umlauts += "\xC3\xBC";
    const Case cases[] = {
        {"/a/b", true},
        {"/a\nb", false},
        {"/a\rb", false},
        {"/" + std::string(2046, 'x'), true},
        {"/" + std::string(2047, 'x'), false},
        {umlauts, true},
        {umlauts + "x", false},
        {pairs.substr(4), true},  // 2046 units
        {pairs, false},           // 2048 units
    };
    for (const auto& c : cases) EXPECT_EQ(THiddenConfig::CanStore(c.path), c.storable) << c.path.size();
}

TEST_F(HiddenConfigTest, WorkerAddsWhileAnotherThreadReads) {
    THiddenConfig store;
    std::thread worker([&] {
        for (int i = 0; i < 20; ++i) store.AddItem(hitFile, "/f" + std::to_string(i));
    });
    std::size_t seen = 0;
    while (seen < 20) {
        const auto items = store.Items();
        ASSERT_GE(items.size(), seen);
        seen = items.size();
        if (seen) {
            EXPECT_TRUE(store.FindItem(items.back().FilePath));
        }
    }
    worker.join();
    EXPECT_EQ(Value("Count", "Count"), "20");
}

}  // namespace
}  // namespace vantrel

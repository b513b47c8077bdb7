#include "i18n/LanguageManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFolder.h"

namespace vantrel {
namespace {

// Stands for a window: records what it was told to show.
class RecordingWindow : public TLangControllerLink {
public:
    std::string LangSectionName() const override { return "MainForm"; }
    void ApplyLanguage(const TLang_CompTranslation* section) override {
        const std::string* text = section ? section->Find(1) : nullptr;
        shown.push_back(text ? *text : "(designed)");
    }
    std::vector<std::string> shown;
};

constexpr const char* German =
    "LANGID=1031\n"
    "[$Constants]\n"
    "Exit=Beenden\n"
    "Next_=Weiter\n"
    "[mainform]\n"
    "1=Vantrel auf Deutsch\n";

class LanguageManagerTest : public ::testing::Test {
protected:
    test::TestFolder dir;
    TLanguageManager manager;
};

TEST_F(LanguageManagerTest, ScanCountsUsableFilesAndRecordsAllButTheDefault) {
    dir.Write("a-de.lng", "LANGID=1031\n");
    dir.Write("b-de.LNG", "LANGID=0x407\n");  // a later file for the same language wins
    dir.Write("en.lng", "LANGID=1033\n");
    dir.Write("wide.lng", "LANGID=65536\n");
    dir.Write("none.lng", "Name=no id\n[LANGID]\n");
    dir.Write("ru.txt", "LANGID=1049\n");
    dir.Write("sub/ru.lng", "LANGID=1049\n");

    EXPECT_EQ(manager.ScanLanguageFiles(dir.Path(), "*.lng", false), 3);
    EXPECT_EQ(manager.LanguageFile(1031), dir.File("b-de.LNG"));
    EXPECT_EQ(manager.LanguageFile(1033), "");
    EXPECT_EQ(manager.LanguageFile(65536), "");
    EXPECT_EQ(manager.LanguageFile(1049), "") << "not in subfolders unless asked";

    EXPECT_EQ(manager.ScanLanguageFiles(dir.Path().substr(0, dir.Path().size() - 1), "*.lng", true), 4);
    EXPECT_EQ(manager.LanguageFile(1049), dir.File("sub/ru.lng"));

    const std::vector<TLanguageChoice> choices = manager.Languages();
    ASSERT_EQ(choices.size(), 3u);
    EXPECT_EQ(choices[0].ID, 1033);
    EXPECT_EQ(choices[0].Name, "English");
    EXPECT_EQ(choices[1].Name, "Deutsch");
    EXPECT_EQ(choices[2].Name, "Русский");

    EXPECT_FALSE(manager.RegisterLanguageFile(dir.File("missing.lng")));
    EXPECT_EQ(manager.ScanLanguageFiles(dir.File("no-such-folder"), "*.lng", false), 0);
}

TEST_F(LanguageManagerTest, ChosenLanguageTranslatesWhatItNamesAndLeavesTheRestEnglish) {
    manager.RegisterLanguageFile(dir.Write("de.lng", German));
    manager.SetLanguage(1031);
    EXPECT_EQ(manager.LanguageID(), 1031);
    EXPECT_EQ(manager.CodePage(), 1252);
    EXPECT_EQ(manager.Constant("exit"), "Beenden");
    EXPECT_EQ(manager.Constant("Cancel"), "&Cancel") << "not in the file";

    // A language without a file runs in English, every text included.
    manager.SetLanguage(1049);
    EXPECT_EQ(manager.LanguageID(), 1033);
    EXPECT_EQ(manager.Constant("Exit"), "Exit");
    EXPECT_EQ(manager.CodePage(), 1252);

    // A file for 1033 is never used: the built-in texts are the default language's.
    manager.RegisterLanguageFile(dir.Write("en.lng", "LANGID=1033\n[$Constants]\nExit=Quit\n"));
    manager.SetLanguage(1033);
    EXPECT_EQ(manager.Constant("Exit"), "Exit");
}

TEST_F(LanguageManagerTest, SwitchingBackRestoresEveryBuiltInText) {
    manager.RegisterLanguageFile(dir.Write("de.lng", German));
    manager.RegisterLanguageFile(dir.Write("ru.lng", "\xEF\xBB\xBFLANGID=1049\n[$Constants]\nExit=Выход\n"));
    manager.SetLanguage(1031);
    manager.SetLanguage(1049);
    EXPECT_EQ(manager.CodePage(), 1251);
    EXPECT_EQ(manager.Constant("Exit"), "Выход");
    EXPECT_EQ(manager.Constant("Next_"), "Next") << "German must not linger where Russian has no text";
}

TEST_F(LanguageManagerTest, BrokenFileFailsWithItsLineAndChangesNothing) {
    manager.RegisterLanguageFile(dir.Write("de.lng", "LANGID=1031\n[$Constants]\nExit=Beenden\nExit=Ende\n"));
    try {
        manager.SetLanguage(1031);
        FAIL() << "no error";
    } catch (const ELangError& e) {
        EXPECT_STREQ(e.what(), "Loading translations failed.\r\nLine 3: Duplicate constant name (\"Exit\")");
    }
    EXPECT_EQ(manager.LanguageID(), 1033);
    EXPECT_EQ(manager.Constant("Exit"), "Exit");
}

TEST_F(LanguageManagerTest, RegisteredWindowsFollowTheLanguage) {
    const std::string file = dir.Write("de.lng", German);
    manager.RegisterLanguageFile(file);
    RecordingWindow window, gone;
    manager.RegisterController(window);
    manager.RegisterController(gone);
    manager.UnregisterController(gone);

    manager.SetLanguage(1031);
    manager.SetLanguage(1031);  // no change, nothing to redo
    manager.SetLanguage(1033);
    EXPECT_EQ(window.shown, (std::vector<std::string>{"Vantrel auf Deutsch", "(designed)"}));
    EXPECT_TRUE(gone.shown.empty());

    // A window made later reads the file of the current language again.
    manager.SetLanguage(1031);
    dir.Write("de.lng", "LANGID=1031\n[MainForm]\n1=neu gelesen\n");
    RecordingWindow later;
    manager.TranslateWindow(later);
    EXPECT_EQ(later.shown, (std::vector<std::string>{"neu gelesen"}));
    manager.UnregisterController(window);
}

TEST(LanguageDisplayNameTest, KnownIdsSublanguagesAndTheRest) {
    EXPECT_EQ(LanguageDisplayName(1031), "Deutsch");
    EXPECT_EQ(LanguageDisplayName(2055), "Deutsch") << "Swiss German takes the primary language's name";
    EXPECT_EQ(LanguageDisplayName(1049), "Русский");
    EXPECT_EQ(LanguageDisplayName(1279), "Language 1279");
}

}  // namespace
}  // namespace vantrel

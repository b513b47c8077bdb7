// The language files and description files that ship beside the program: complete, loadable,
// and with the same placeholders as the built-in texts, so that no translation can break a
// formatted message or leave a control in English by omission.
#include <gtest/gtest.h>

#include <string>

#include "i18n/LangData.h"
#include "i18n/LangFile.h"
#include "platform/ProfileFile.h"

namespace vantrel {
namespace {

const std::string BinDir = std::string(VANTREL_BIN_DIR) + "/";

// The format places of a message in order: "%s", "%d", "%%".
std::string Placeholders(const std::string& text) {
    std::string out;
    for (std::size_t at = 0; (at = text.find('%', at)) != std::string::npos && at + 1 < text.size(); ++at) {
        const char kind = text[at + 1];
        if (kind != 's' && kind != 'd' && kind != '%') continue;
        out.append({'%', kind});
        ++at;  // "%%" is one place, not the start of another
    }
    return out;
}

std::size_t LineCount(const std::string& list) {
    std::size_t lines = 1;
    for (std::size_t at = 0; (at = list.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
    return lines;
}

void CollectIds(const TLang_CompEntry& entry, std::vector<std::pair<int, std::string>>& out) {
    for (const auto& prop : entry.Props) out.emplace_back(prop.ID, entry.CompName + "." + prop.PropName);
    for (const auto& child : entry.Children) CollectIds(child, out);
}

struct Shipped {
    const char* file;
    int id;
};

class ShippedLanguageTest : public ::testing::TestWithParam<Shipped> {};

TEST_P(ShippedLanguageTest, TranslatesEveryMessageAndEveryMainWindowText) {
    TLang_CompTranslations t;
    t.LoadFromFile(BinDir + GetParam().file, false);
    EXPECT_EQ(t.LangID(), GetParam().id);

    TLang_Constants builtIn;
    LoadBuiltInLangConstants(builtIn);
    for (const TLang_Constant& c : builtIn) {
        const auto text = t.Constant(c.Name);
        ASSERT_TRUE(text) << c.Name << " is not translated";
        EXPECT_FALSE(text->empty()) << c.Name;
        EXPECT_EQ(Placeholders(*text), Placeholders(c.DefaultValue)) << c.Name << ": " << *text;
    }
    EXPECT_EQ(t.Constants().Count(), builtIn.Count()) << "a constant the program does not have";

    std::vector<std::pair<int, std::string>> ids;
    CollectIds(ReadLangData(MainFormLangData()), ids);
    const TLang_CompTranslation* section = t.Section("MainForm");
    ASSERT_NE(section, nullptr);
    for (const auto& [id, path] : ids) {
        const std::string* text = section->Find(id);
        ASSERT_NE(text, nullptr) << "ID " << id << " (" << path << ") is not translated";
        if (path.ends_with("ChangeMainPassLabel1.Caption") || path.ends_with("ChangeMainPassLabel2.Text")) {
            EXPECT_TRUE(text->starts_with("<link>") && text->ends_with("</link>")) << path;
        }
    }
    EXPECT_EQ(section->Count(), ids.size()) << "an ID the main window does not have";
    // The lists keep the number of entries the program has.
    EXPECT_EQ(LineCount(*section->Find(17)), 5u);
    EXPECT_EQ(LineCount(*section->Find(23)), 19u);
    EXPECT_EQ(LineCount(*section->Find(36)), 11u);
}

TEST_P(ShippedLanguageTest, DescribesEveryAlgorithmAndScheme) {
    for (const char* kind : {"cryptos", "shreds"}) {
        const TIniFile english(BinDir + kind + "1033.ini");
        const TIniFile translated(BinDir + kind + std::to_string(GetParam().id) + ".ini");
        const auto keys = english.Keys("Algos");
        ASSERT_FALSE(keys.empty()) << kind;
        for (const std::string& key : keys) {
            const std::string text = translated.ReadString("Algos", key, "");
            EXPECT_FALSE(text.empty()) << kind << " " << key;
            EXPECT_NE(text, english.ReadString("Algos", key, "")) << kind << " " << key << " is still English";
        }
        EXPECT_EQ(translated.Keys("Algos").size(), keys.size()) << kind;
    }
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedLanguageTest,
                         ::testing::Values(Shipped{"German.lng", 1031}, Shipped{"Russian.lng", 1049}),
                         [](const auto& param) {
                             const std::string file = param.param.file;
                             return file.substr(0, file.find('.'));
                         });

}  // namespace
}  // namespace vantrel

#include "i18n/LangData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "i18n/LangConstants.h"

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(LangDataTest, MainWindowDataHoldsEveryIdOnceUnderItsControl) {
    const std::span<const std::uint8_t> stored = MainFormLangData();
    TLang_CompEntry root = ReadLangData(stored);
    EXPECT_EQ(root.CompName, "MainForm");
    ASSERT_NE(root.FindProp("caption"), nullptr);
    EXPECT_EQ(root.FindProp("Caption")->ID, 1);

    std::set<int> ids{1};
    for (TLang_CompEntry& child : root.Children) {
        EXPECT_TRUE(child.Children.empty()) << child.CompName;
        for (const auto& prop : child.Props) EXPECT_TRUE(ids.insert(prop.ID).second) << prop.ID;
    }
    std::set<int> expected;
    for (int id = 1; id <= 44; ++id)
        if (id != 11 && id != 15 && id != 16) expected.insert(id);
    EXPECT_EQ(ids, expected);

    const auto exit = std::find_if(root.Children.begin(), root.Children.end(),
                                   [](const auto& c) { return c.CompName == "ExitButton"; });
    ASSERT_NE(exit, root.Children.end());
    ASSERT_EQ(exit->Props.size(), 2u);
    EXPECT_EQ(exit->Props[0].PropName, "Caption") << "kept sorted by name";
    EXPECT_EQ(exit->FindProp("HINT")->ID, 3);

    EXPECT_EQ(WriteLangData(root), Bytes(stored.begin(), stored.end()));
}

TEST(LangDataTest, DamagedDataIsRefused) {
    TLang_CompEntry root{"W", {}, {}};
    root.AddProp(1, "Caption");
    root.Children.push_back(TLang_CompEntry{"Button", {}, {}});
    root.Children.back().AddProp(2, "Hint");
    const Bytes good = WriteLangData(root);
    ASSERT_EQ(ReadLangData(good).Children.at(0).Props.at(0).ID, 2);

    Bytes truncated(good.begin(), good.end() - 1);
    Bytes trailing = good;
    trailing.push_back(0);
    Bytes hugeCount = good;
    hugeCount[4] = 0xFF;  // the root's property count: "W", flag, then 4 count bytes
    // Children inside children far deeper than any window nests.
    Bytes deep;
    for (int i = 0; i < 40; ++i) deep.insert(deep.end(), {0, 0, 0, 1, 1, 0, 0, 0});
    deep.insert(deep.end(), {0, 0, 0, 0});

    const Bytes* bad[] = {&truncated, &trailing, &hugeCount, &deep};
    for (std::size_t i = 0; i < std::size(bad); ++i) EXPECT_THROW(ReadLangData(*bad[i]), ELangError) << "case " << i;
}

}  // namespace
}  // namespace vantrel

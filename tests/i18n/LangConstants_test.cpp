#include "i18n/LangConstants.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/Stream.h"

namespace vantrel {
namespace {

// Builds a stored table field by field, as an older or newer program would have written it.
class StoredTable {
public:
    explicit StoredTable(int version, bool withFlagByte, bool flag = false) {
        bytes_.push_back(std::uint8_t(version));
        if (withFlagByte) bytes_.push_back(flag ? 1 : 0);
        countAt_ = bytes_.size();
        bytes_.insert(bytes_.end(), 4, 0);
    }
    // Text stored as bytes with a byte count.
    StoredTable& Bytes(std::string_view s) {
        U16(s.size());
        bytes_.insert(bytes_.end(), s.begin(), s.end());
        return *this;
    }
    // Text stored as UTF-16LE with a count of code units.
    StoredTable& Utf16(std::u16string_view s) {
        U16(s.size());
        for (char16_t c : s) U16(c);
        return *this;
    }
    // Ends an entry.
    StoredTable& Entry() {
        ++count_;
        for (int i = 0; i < 4; ++i) bytes_[countAt_ + std::size_t(i)] = std::uint8_t(count_ >> (8 * i));
        return *this;
    }
    TMemoryStream Stream() const { return TMemoryStream(bytes_); }
    std::vector<std::uint8_t>& Raw() { return bytes_; }

private:
    void U16(std::size_t v) {
        bytes_.push_back(std::uint8_t(v));
        bytes_.push_back(std::uint8_t(v >> 8));
    }
    std::vector<std::uint8_t> bytes_;
    std::size_t countAt_ = 0;
    std::uint32_t count_ = 0;
};

template <typename F>
std::string LangErrorOf(F&& f) {
    try {
        f();
    } catch (const ELangError& e) {
        return e.what();
    }
    return "(no ELangError)";
}

TEST(LangConstantTest, BuiltInTextsInEitherLetterCase) {
    struct Case {
        const char* name;
        const char* text;
    } cases[] = {
        {"Please_select_files", "Please select some files"},
        {"please_select_files", "Please select some files"},
        {"PLEASE_SELECT_FILES", "Please select some files"},
        {"Cancel", "&Cancel"},
        {"Percent_completed", "%d%% completed..."},
        {"Choose_files_to_shred_full",
         "Choose files or folders you want to shred. Shredded files and folders can''t be restored!"},
        {"Wrong_password", "You entered wrong password!"},
    };
    for (const Case& c : cases) EXPECT_EQ(LangConstant(c.name), c.text) << c.name;
}

TEST(LangConstantTest, BuiltInTableIsCompleteAndKeepsDefaults) {
    TLang_Constants table;
    LoadBuiltInLangConstants(table);
    ASSERT_EQ(table.Count(), 49u);
    EXPECT_EQ(table[0].Name, "Cancel");
    EXPECT_EQ(table[table.Count() - 1].Name, "Wrong_password");
    EXPECT_FALSE(table.StoredFlag());
    for (const TLang_Constant& c : table) {
        EXPECT_EQ(c.Value, c.DefaultValue) << c.Name;
        EXPECT_FALSE(c.Value.empty()) << c.Name;
    }
}

TEST(LangConstantTest, MissingNameRaisesWithThatName) {
    EXPECT_EQ(LangErrorOf([] { LangConstant("No_such_constant"); }), "Constant \"No_such_constant\" not found");
    // A prefix of a real name is not that name.
    EXPECT_EQ(LangErrorOf([] { LangConstant("Hid"); }), "Constant \"Hid\" not found");
}

TEST(LangConstantThreads, FirstLookupsFromManyThreadsAgree) {
    // Each test runs in a process of its own, so these are the first lookups of this one.
    std::vector<std::string> seen(8);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, i] { seen[i] = LangConstant(i % 2 ? "exit" : "Exit"); });
    for (auto& t : threads) t.join();
    for (const auto& s : seen) EXPECT_EQ(s, "Exit");
}

TEST(ConstantNameTest, SortOrderFoldsOnlyAsciiLetters) {
    struct Case {
        const char* a;
        const char* b;
        int order;
    } cases[] = {
        {"Choose_files_to_shred_full", "Choose_file_to_decrypt", -1},  // "S" before "_"
        {"hidden", "Hide", -1},
        {"Hide", "Hide_desc", -1},  // a name before the longer names it begins
        {"Showing_files_step1", "shown", -1},
        {"shown", "Show_desc", -1},
        {"Decrypt", "decrypted", -1},
        {"abc", "ABC", 0},
        {"a", "[", -1},  // folded upwards: "A" (65) before "[" (91)
        {"_", "z", 1},
        {"\xC3\xA4", "\xC3\x84", 1},  // "ä" and "Ä" differ: only A-Z fold
        {"z", "\xC3\xA4", -1},        // beyond ASCII sorts after it
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CompareConstantNames(c.a, c.b), c.order) << c.a << " vs " << c.b;
        EXPECT_EQ(CompareConstantNames(c.b, c.a), -c.order) << c.b << " vs " << c.a;
    }
}

TEST(ConstantNameTest, IdentifiersOfAnyScript) {
    for (const char* good :
         {"a", "_", "_x1", "Next_", "\xC3\xA4pfel", "\xD0\x98\xD0\xBC\xD1\x8F", "\xE4\xB8\xAD\xE6\x96\x87"})
        EXPECT_TRUE(IsConstantName(good)) << good;
    for (const char* bad : {"", "1abc", "a-b", "a b", "a.b", "x\xE2\x80\x94", "\xFF"})
        EXPECT_FALSE(IsConstantName(bad)) << bad;
}

TEST(LangConstantsTableTest, AddKeepsSortedAndRefusesBadOrRepeatedNames) {
    TLang_Constants t;
    t.Add("Zeta", "z");
    t.Add("alpha", "a");
    t.Add("Mid", "m");
    ASSERT_EQ(t.Count(), 3u);
    EXPECT_EQ(t[0].Name, "alpha");
    EXPECT_EQ(t[2].Name, "Zeta");
    EXPECT_EQ(t.Value("ZETA"), "z");

    EXPECT_EQ(LangErrorOf([&] { t.Add("MID", "again"); }), "Duplicate constant name (\"MID\")");
    EXPECT_EQ(LangErrorOf([&] { t.Add("9lives", "x"); }), "Invalid constant name (\"9lives\")");
    EXPECT_EQ(t.Count(), 3u);
    EXPECT_EQ(t.Value("mid"), "m");
}

TEST(StoredLangConstantsTest, ReadsEveryOlderVersion) {
    // 0xC0 0xE1 is "Аб" in code page 1251.
    struct Case {
        int version;
        bool flagByte;
        bool expectedFlag;
    } cases[] = {{0, false, false}, {1, false, true}};
    for (const Case& c : cases) {
        StoredTable stored(c.version, c.flagByte);
        stored.Bytes("Greeting").Bytes("\xC0\xE1").Entry().Bytes("Bye").Bytes("bye").Entry();
        TMemoryStream s = stored.Stream();
        TLang_Constants t;
        t.LoadFromStream(s, 1251);
        EXPECT_EQ(t.StoredFlag(), c.expectedFlag) << c.version;
        ASSERT_EQ(t.Count(), 2u);
        EXPECT_EQ(t.Value("greeting"), "\xD0\x90\xD0\xB1") << c.version;
        EXPECT_EQ(t.Find("Bye")->DefaultValue, "bye");
    }

    StoredTable v2(2, true, true);
    v2.Bytes("Euro").Utf16(u"\u20AC 5").Entry();
    TMemoryStream s2 = v2.Stream();
    TLang_Constants t2;
    t2.LoadFromStream(s2, 1251);
    EXPECT_TRUE(t2.StoredFlag());
    EXPECT_EQ(t2.Value("Euro"), "\xE2\x82\xAC 5");

    StoredTable v3(3, true, false);
    v3.Utf16(u"\u0418\u043C\u044F").Utf16(u"\U0001F511").Entry();
    TMemoryStream s3 = v3.Stream();
    TLang_Constants t3;
    t3.LoadFromStream(s3, 1252);
    EXPECT_EQ(t3.Value("\xD0\x98\xD0\xBC\xD1\x8F"), "\xF0\x9F\x94\x91");
}

TEST(StoredLangConstantsTest, RefusesNewerVersionDuplicatesAndShortData) {
    StoredTable v4(4, true);
    v4.Utf16(u"A").Utf16(u"a").Entry();
    TMemoryStream s4 = v4.Stream();
    TLang_Constants t;
    EXPECT_EQ(LangErrorOf([&] { t.LoadFromStream(s4, 1252); }),
              "Stream version (4) is greater than the current one (3)");

    t.Add("Kept", "k");
    StoredTable dup(3, true);
    dup.Utf16(u"Name").Utf16(u"1").Entry().Utf16(u"Other").Utf16(u"2").Entry().Utf16(u"NAME").Utf16(u"3").Entry();
    TMemoryStream sd = dup.Stream();
    EXPECT_EQ(LangErrorOf([&] { t.LoadFromStream(sd, 1252); }), "Duplicate constant name (\"NAME\")");
    EXPECT_EQ(t.Count(), 1u) << "a failed load leaves the table as it was";

    // A text length beyond the end, and a count promising more entries than there are.
    StoredTable longText(3, true);
    longText.Utf16(u"Name").Utf16(u"value").Entry();
    longText.Raw().erase(longText.Raw().end() - 2, longText.Raw().end());
    StoredTable shortCount(3, true);
    shortCount.Utf16(u"Name").Utf16(u"value").Entry();
    shortCount.Raw()[2] = 2;
    for (StoredTable* bad : {&longText, &shortCount}) {
        TMemoryStream s = bad->Stream();
        EXPECT_THROW(t.LoadFromStream(s, 1252), EStreamError);
    }
    EXPECT_EQ(t.Count(), 1u);
}

}  // namespace
}  // namespace vantrel

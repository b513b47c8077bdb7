#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ToBytes(const ByteString& b) { return Bytes(b.begin(), b.end()); }

struct AnsiCase {
    const char* utf8;
    int codePage;
    Bytes bytes;
};

TEST(CodePage, Utf8ToAnsi) {
    const AnsiCase cases[] = {
        {"\xC3\xBC", 1252, {0xFC}},                                      // ü
        {"\xE2\x82\xAC", 1252, {0x80}},                                  // €
        {"pa\xC3\x9F", 1252, {'p', 'a', 0xDF}},                          // paß
        {"\xD0\x9F\xD1\x80\xD0\xB8", 1251, {0xCF, 0xF0, 0xE8}},          // При
        {"\xC5\x82", 1250, {0xB3}},                                      // ł
        {"\xCE\xB1", 1253, {0xE1}},                                      // α
        {"\xC5\x9F", 1254, {0xFE}},                                      // ş
        {"\xE6\x97\xA5", 932, {0x93, 0xFA}},                             // 日
        {"\xE4\xB8\xAD", 936, {0xD6, 0xD0}},                             // 中
        {"a\xC5\x82" "b", 1252, {'a', '?', 'b'}},                        // ł has no byte in 1252
        {"\xD0\x9F\xF0\x9F\x98\x80", 1252, {'?', '?'}},                  // one "?" per character
        {"x\xFFy", 1252, {'x', '?', 'y'}},                               // not UTF-8 at all
        {"", 1252, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ToBytes(Utf8ToAnsi(c.utf8, c.codePage)), c.bytes) << c.utf8 << " in " << c.codePage;
}

TEST(CodePage, AnsiToUtf8) {
    EXPECT_EQ(AnsiToUtf8(ByteString{0xFC, 0x80}, 1252), "\xC3\xBC\xE2\x82\xAC");
    EXPECT_EQ(AnsiToUtf8(ByteString{0xCF}, 1251), "\xD0\x9F");
    // 0x81 is no character in 1252.
    EXPECT_EQ(AnsiToUtf8(ByteString{'a', 0x81, 'b'}, 1252), "a\xEF\xBF\xBD" "b");
    EXPECT_THROW(Utf8ToAnsi("a", 4242), std::runtime_error);
}

TEST(CodePage, LanguageIds) {
    const std::pair<int, int> cases[] = {
        {1033, 1252}, {1031, 1252}, {0x0807, 1252}, {1049, 1251}, {1058, 1251}, {1045, 1250},
        {1029, 1250}, {1032, 1253}, {1055, 1254}, {1041, 932},  {2052, 936},  {1028, 950},
        {3076, 950},  {1042, 949},  {1054, 874},  {1037, 1255}, {1025, 1256}, {1062, 1257},
        {1050, 1250}, {3098, 1251}, {2074, 1250}, {1091, 1254}, {2115, 1251}, {0x7F, 1252},
        {0x43B, 1252},  // a language the table does not know
    };
    for (const auto& [id, cp] : cases) EXPECT_EQ(CodePageOfLanguage(id), cp) << std::hex << id;
}

// Sets locale variables for one scope and puts the old values back after it.
class ScopedEnv {
public:
    explicit ScopedEnv(const std::map<std::string, const char*>& values) {
        for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG", "VANTREL_CODEPAGE"}) {
            const char* old = std::getenv(name);
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
            ::unsetenv(name);
        }
        for (const auto& [name, value] : values) ::setenv(name.c_str(), value, 1);
    }
    ~ScopedEnv() {
        for (const auto& [name, value] : saved_) {
            if (value) ::setenv(name.c_str(), value->c_str(), 1);
            else ::unsetenv(name.c_str());
        }
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

TEST(CodePage, SystemCodePageFromLocale) {
    struct Case {
        std::map<std::string, const char*> env;
        int codePage;
    };
    const Case cases[] = {
        {{}, 1252},
        {{{"LANG", "de_DE.UTF-8"}}, 1252},
        {{{"LANG", "ru_RU.UTF-8"}}, 1251},
        {{{"LANG", "pl_PL"}}, 1250},
        {{{"LANG", "cs_CZ.UTF-8"}}, 1250},
        {{{"LANG", "el_GR.UTF-8"}}, 1253},
        {{{"LANG", "tr_TR.UTF-8"}}, 1254},
        {{{"LANG", "ja_JP.UTF-8"}}, 932},
        {{{"LANG", "zh_CN.UTF-8"}}, 936},
        {{{"LANG", "zh_TW.UTF-8"}}, 950},
        {{{"LANG", "sr_RS@latin"}}, 1250},
        {{{"LANG", "C.UTF-8"}}, 1252},
        {{{"LANG", "POSIX"}}, 1252},
        {{{"LANG", "ru_RU.UTF-8"}, {"LC_CTYPE", "el_GR.UTF-8"}}, 1253},
        {{{"LANG", "ru_RU.UTF-8"}, {"LC_CTYPE", "el_GR.UTF-8"}, {"LC_ALL", "ja_JP"}}, 932},
        {{{"LANG", "ru_RU.UTF-8"}, {"LC_ALL", ""}}, 1251},
        {{{"LANG", "de_DE.UTF-8"}, {"VANTREL_CODEPAGE", "1251"}}, 1251},
        {{{"LANG", "de_DE.UTF-8"}, {"VANTREL_CODEPAGE", "CP1250"}}, 1250},
        {{{"LANG", "ru_RU.UTF-8"}, {"VANTREL_CODEPAGE", "nonsense"}}, 1251},
        {{{"LANG", "ru_RU.UTF-8"}, {"VANTREL_CODEPAGE", "4242"}}, 1251},
    };
    for (const auto& c : cases) {
        ScopedEnv env(c.env);
        std::string shown;
        for (const auto& [k, v] : c.env) shown += k + "=" + v + " ";
        EXPECT_EQ(SystemAnsiCodePage(), c.codePage) << shown;
    }
}

TEST(CodePage, DefaultConversionFollowsTheOverride) {
    ScopedEnv env({{"LANG", "de_DE.UTF-8"}, {"VANTREL_CODEPAGE", "1251"}});
    EXPECT_EQ(ToBytes(Utf8ToAnsi("\xD0\x9F\xC3\xBC")), (Bytes{0xCF, '?'}));  // П, ü
}

TEST(CodePage, Utf8ToUtf16IsExact) {
    const std::pair<std::string, std::u16string> cases[] = {
        {"", u""},
        {"abc", u"abc"},
        {"\xC3\xBC\xE2\x82\xAC", u"\u00FC\u20AC"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
        {"a\xFF" "b", u"a\uFFFD" "b"},
        {"\xC0\xAF", u"\uFFFD\uFFFD"},         // overlong "/"
        {"\xE0\x80\xAF", u"\uFFFD"},           // overlong in three bytes
        {"\xED\xA0\x80", u"\uFFFD"},           // an encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD"},       // past U+10FFFF
        {"\xE2\x82", u"\uFFFD\uFFFD"},         // cut short
    };
    for (const auto& [utf8, utf16] : cases) EXPECT_EQ(Utf8ToUtf16(utf8), utf16) << utf8;
}

TEST(CodePage, Utf16ToUtf8IsExact) {
    EXPECT_EQ(Utf16ToUtf8(u"\u00FC\u20AC\U0001F600x"), "\xC3\xBC\xE2\x82\xAC\xF0\x9F\x98\x80x");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace vantrel

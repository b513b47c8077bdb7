#include "i18n/LangFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "TestFolder.h"
#include "platform/CodePage.h"
#include "platform/Files.h"

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Raw(std::string_view s) { return Bytes(s.begin(), s.end()); }

Bytes Utf8Bom(std::string_view s) { return Raw("\xEF\xBB\xBF" + std::string(s)); }

Bytes Utf16(std::string_view s, bool bigEndian) {
    Bytes b = bigEndian ? Bytes{0xFE, 0xFF} : Bytes{0xFF, 0xFE};
    for (char16_t u : Utf8ToUtf16(s)) {
        const auto hi = std::uint8_t(u >> 8), lo = std::uint8_t(u & 0xFF);
        b.push_back(bigEndian ? hi : lo);
        b.push_back(bigEndian ? lo : hi);
    }
    return b;
}

// Everything a file gave, one line per item, so that a case states its whole result.
std::string Dump(const TLang_CompTranslations& t) {
    std::string out;
    for (const auto& [name, value] : t.Params()) out += "P " + name + "=" + value + "\n";
    for (const TLang_Constant& c : t.Constants()) out += "C " + c.Name + "=" + c.Value + "\n";
    for (const TLang_CompTranslation& s : t.Sections()) {
        out += "S [" + s.Name() + "]";
        for (const auto& [id, text] : s.Items()) out += " " + std::to_string(id) + "=" + text;
        out += "\n";
    }
    return out;
}

std::string Load(const Bytes& bytes, bool headerOnly) {
    TLang_CompTranslations t;
    try {
        t.LoadFromBytes(bytes, headerOnly);
    } catch (const ELangError& e) {
        return std::string("error: ") + e.what();
    }
    return Dump(t);
}

// One file that uses every kind of line; its result must not depend on the encoding.
constexpr std::string_view Sample =
    "; a translation for tests\r\n"
    "LANGID = 1031\r\n"
    "Author=\r\n"
    "\t Name =  Deutsch \t\r\n"
    "[ $constants ]\r\n"
    "Exit=Beenden\r\n"
    "Next_=Weiter \\n zum \\x \\\\ Ende\r\n"
    "[ MainForm ]\r\n"
    "1=Vantrel – Überblick\r\n"
    "[]\r\n"
    "[abc\r\n"
    "2=nach den verwaisten Klammern\r\n"
    "[mainform]\r\n"
    "0=null\r\n"
    "-1=negativ\r\n"
    "x=kein ID\r\n"
    "0041=Einundvierzig\r\n"
    "=kein Schlüssel\r\n"
    "ohne Gleichheitszeichen\r\n"
    "[$CONSTANTS]\r\n"
    "Cancel=&Abbrechen\r\n";

constexpr std::string_view SampleDump =
    "P LANGID=1031\n"
    "P Name=Deutsch\n"
    "C Cancel=&Abbrechen\n"
    "C Exit=Beenden\n"
    "C Next_=Weiter \r\n zum \\x \\ Ende\n"
    "S [MainForm] 1=Vantrel – Überblick 2=nach den verwaisten Klammern 41=Einundvierzig\n";

struct Case {
    const char* what;
    Bytes file;
    bool headerOnly;
    std::string expected;
};

TEST(LangFileTest, LinesSectionsAndEncodings) {
    const Case cases[] = {
        {"UTF-8 with a mark", Utf8Bom(Sample), false, std::string(SampleDump)},
        {"UTF-16 LE with a mark", Utf16(Sample, false), false, std::string(SampleDump)},
        {"UTF-16 BE with a mark", Utf16(Sample, true), false, std::string(SampleDump)},
        {"header only stops at the first '[' line", Utf16(Sample, false), true,
         "P LANGID=1031\nP Name=Deutsch\n"},
        {"header only stops even at a broken '[abc'", Raw("A=1\n[abc\nB=2\n[S]\n1=x\n"), true, "P A=1\n"},
        {"read fully, '[abc' does not end the header", Raw("A=1\n[abc\nB=2\n"), false, "P A=1\nP B=2\n"},
        {"last value wins, names in any case, an empty value removes",
         Raw("Name=a\nNAME=b\nGone=x\ngone=\nLangID=1049\nlangid=1031\n"), false, "P Name=b\nP LangID=1031\n"},
        {"header values keep their backslashes", Raw("Path=C:\\new\\tab\n"), false, "P Path=C:\\new\\tab\n"},
        {"escapes", Raw("[$constants]\nA=\\t|\\65|\\6|\\n|\\N|\\T|end\\\n"), false,
         "C A=\t|A|\\6|\r\n|\\N|\\T|end\\\n"},
        {"CR, LF and CR LF all end lines", Raw("A=1\rB=2\nC=3\r\nD=4"), false, "P A=1\nP B=2\nP C=3\nP D=4\n"},
        {"a NUL ends the text", Raw(std::string("A=1\nB=2", 7) + std::string(1, '\0') + "\nC=3\n"), false,
         "P A=1\nP B=2\n"},
        {"blank lines and comments count as lines",
         Raw("; header\n\nLANGID=1031\n[$Constants]\nExit=Beenden\n\n; again\nexit=Ende\n"), false,
         "error: Loading translations failed.\r\nLine 7: Duplicate constant name (\"exit\")"},
        {"an ID twice in one section, even across merged sections",
         Raw("[MainForm]\n5=a\n[Other]\n5=b\n[MAINFORM]\n005=c\n"), false,
         "error: Loading translations failed.\r\nLine 5: Duplicate property value translation ID (5)"},
        {"a name that is no identifier", Raw("[$constants]\r\r1abc=x\r"), false,
         "error: Loading translations failed.\r\nLine 2: Invalid constant name (\"1abc\")"},
    };
    for (const Case& c : cases) EXPECT_EQ(Load(c.file, c.headerOnly), c.expected) << c.what;
}

TEST(LangFileTest, FileWithoutMarkIsReadInTheAnsiCodePage) {
    const char* old = std::getenv("VANTREL_CODEPAGE");
    const std::string saved = old ? old : "";
    ::setenv("VANTREL_CODEPAGE", "1251", 1);
    const std::string result = Load(Raw("LANGID=1049\n[$Constants]\nExit=\xC2\xFB\xF5\xEE\xE4\n"), false);
    old ? ::setenv("VANTREL_CODEPAGE", saved.c_str(), 1) : ::unsetenv("VANTREL_CODEPAGE");
    EXPECT_EQ(result, "P LANGID=1049\nC Exit=Выход\n");
}

TEST(LangFileTest, LookupsAndLanguageOfATranslation) {
    TLang_CompTranslations t;
    t.LoadFromBytes(Utf8Bom(Sample), false);
    EXPECT_EQ(t.LangID(), 1031);
    EXPECT_EQ(t.Param("langid"), "1031");
    EXPECT_EQ(t.Param("missing"), "");
    EXPECT_EQ(t.Constant("EXIT").value_or("?"), "Beenden");
    EXPECT_FALSE(t.Constant("Hide"));
    EXPECT_EQ(t.Text("MAINFORM", 41).value_or("?"), "Einundvierzig");
    EXPECT_FALSE(t.Text("MainForm", 3));
    EXPECT_FALSE(t.Text("abc", 2)) << "'[abc' names no section";

    for (const char* header : {"", "LANGID=deutsch\n"}) {
        t.LoadFromBytes(Raw(header), true);
        EXPECT_EQ(t.LangID(), 1033) << header;
    }
    EXPECT_TRUE(t.Sections().empty()) << "loading empties the object first";
}

TEST(LangFileTest, FileThatCannotBeOpenedRaisesTheFileError) {
    test::TestFolder dir;
    TLang_CompTranslations t;
    EXPECT_THROW(t.LoadFromFile(dir.File("missing.lng"), false), EFileError);
    t.LoadFromFile(dir.Write("de.lng", "LANGID=1031\n[$Constants]\nExit=Beenden\n"), false);
    EXPECT_EQ(t.Constant("Exit").value_or("?"), "Beenden");
}

}  // namespace
}  // namespace vantrel

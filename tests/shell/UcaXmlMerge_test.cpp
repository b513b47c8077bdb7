#include <gtest/gtest.h>

#include "shell/ContextMenuExtActivator.h"

namespace vantrel {
namespace {

const std::string kOurs =
    "<action>\n\t<name>Encrypt</name>\n\t<unique-id>vantrel-encrypt</unique-id>\n</action>\n"
    "<action>\n\t<name>Hide</name>\n\t<unique-id>vantrel-hide</unique-id>\n</action>\n";

// Lists of the user's own that taking ours in and out again must give back byte for byte.
TEST(UcaXmlMerge, AddingAndRemovingOursGivesTheUsersFileBack) {
    const std::vector<std::string> files = {
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n<action>\n\t<icon>utilities-terminal</icon>\n"
        "\t<name>Open Terminal Here</name>\n\t<unique-id>1582555553223512-1</unique-id>\n"
        "\t<command>exo-open --working-directory %f --launch TerminalEmulator</command>\n"
        "\t<directories/>\n</action>\n</actions>\n",
        "<?xml version=\"1.0\"?>\r\n<!-- <action><unique-id>vantrel-encrypt</unique-id></action> -->\r\n"
        "<actions>\r\n  <action><unique-id>mine</unique-id><name>a &amp; b</name></action>\r\n  </actions>\r\n",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n</actions>\n",
    };
    for (const auto& file : files) {
        const auto merged = MergeUcaXml(file, kOurs);
        ASSERT_TRUE(merged) << file;
        EXPECT_NE(merged->find("vantrel-hide"), std::string::npos);
        const auto doc = ScanUcaXml(*merged);
        ASSERT_TRUE(doc);
        EXPECT_EQ(MergeUcaXml(*merged, ""), file);
        EXPECT_EQ(MergeUcaXml(*merged, kOurs), merged) << "merging twice leaves one set";
    }
}

TEST(UcaXmlMerge, FindsTheUniqueIdOfEachAction) {
    const auto doc = ScanUcaXml(
        "<actions><action><name>x</name><unique-id>\n  vantrel-shred </unique-id></action>"
        "<other a='>'/><action><sub><unique-id>nested</unique-id></sub></action></actions>");
    ASSERT_TRUE(doc);
    ASSERT_EQ(doc->Children.size(), 3u);
    EXPECT_EQ(doc->Children[0].UniqueId, "vantrel-shred");
    EXPECT_FALSE(doc->Children[1].IsAction);
    EXPECT_EQ(doc->Children[2].UniqueId, "");  // only a direct child names the action
}

TEST(UcaXmlMerge, AnEmptyRootTakesOurActions) {
    const auto merged = MergeUcaXml("<?xml version=\"1.0\"?>\n<actions/>\n", kOurs);
    ASSERT_TRUE(merged);
    EXPECT_EQ(*merged, "<?xml version=\"1.0\"?>\n<actions>\n" + kOurs + "</actions>\n");
}

TEST(UcaXmlMerge, ADamagedOrForeignFileIsNotTouched) {
    for (const std::string text : {"", "<actions>", "<actions><action></actions>", "<menu></menu>",
                                   "<actions></actions><actions></actions>", "<actions><!-- </actions>",
                                   "<actions><action a=\"></action></actions>", "text<actions></actions>"}) {
        EXPECT_FALSE(MergeUcaXml(text, kOurs)) << text;
        EXPECT_FALSE(MergeUcaXml(text, "")) << text;
    }
}

TEST(Quoting, CommandLinesKeepEveryCharacterOfThePath) {
    EXPECT_EQ(ShellQuote("/opt/it's here"), "'/opt/it'\\''s here'");
    EXPECT_EQ(DesktopExecQuote("/opt/vantrel/x"), "/opt/vantrel/x");
    EXPECT_EQ(DesktopExecQuote("/opt/a b/$x\"`\\"), "\"/opt/a b/\\$x\\\"\\`\\\\\"");
    EXPECT_EQ(KeyFileEscape(" a\\b\nc"), "\\sa\\\\b\\nc");
    EXPECT_EQ(XmlEscape("a<b>&\"'"), "a&lt;b&gt;&amp;&quot;&apos;");
}

}  // namespace
}  // namespace vantrel

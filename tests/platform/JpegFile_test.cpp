#include "platform/JpegFile.h"

#include <gtest/gtest.h>

#include <string>

#include "TestFolder.h"
#include "platform/Files.h"

namespace vantrel {
namespace {

// The rendered pictures beside the programs are the real input.
TEST(JpegFileTest, DecodesTheRenderedOperationPictures) {
    const TRgbImage image = LoadJpegFile(std::string(VANTREL_BIN_DIR) + "/res/0.jpg");
    EXPECT_EQ(image.Width, 96);
    EXPECT_EQ(image.Height, 96);
    EXPECT_EQ(image.Pixels.size(), 96u * 96u * 3u);
}

TEST(JpegFileTest, MissingOrDamagedPictureNamesTheFile) {
    test::TestFolder dir;
    const std::string missing = dir.File("none.jpg");
    const std::string truncatedHeader = dir.Write("bad.jpg", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10));
    const std::string text = dir.Write("text.jpg", "not a picture at all");
    for (const std::string& path : {missing, truncatedHeader, text}) {
        try {
            LoadJpegFile(path);
            ADD_FAILURE() << path << " decoded";
        } catch (const EFileError& e) {
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace vantrel

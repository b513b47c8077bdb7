// The operation list paints each entry's background itself (white, or the hover colour while the
// entry is selected) and draws the entry's picture on top of it. A JPEG has no transparency, so
// a picture whose own background differs from the one behind it shows as a box in the list.
// These tests read the pictures the build rendered, through the program's own decoder.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/JpegFile.h"

namespace vantrel {
namespace {

struct Rgb {
    int R, G, B;
};

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kHover{221, 239, 255};  // the list's selection colour
// JPEG rounding moves a flat colour by a unit or two; a wrong background is tens away.
constexpr int kTolerance = 4;

std::string PicturePath(int index) { return std::string(VANTREL_BIN_DIR) + "/res/" + std::to_string(index) + ".jpg"; }

Rgb PixelAt(const TRgbImage& image, int x, int y) {
    const std::size_t at = (std::size_t(y) * std::size_t(image.Width) + std::size_t(x)) * 3;
    return {image.Pixels[at], image.Pixels[at + 1], image.Pixels[at + 2]};
}

bool Near(Rgb a, Rgb b) {
    return std::abs(a.R - b.R) <= kTolerance && std::abs(a.G - b.G) <= kTolerance && std::abs(a.B - b.B) <= kTolerance;
}

// Every pixel of the outermost ring must be the background the list paints behind the picture.
TEST(RenderedPicturesTest, OperationPicturesBlendIntoTheListBackground) {
    for (int index = 0; index < 10; ++index) {
        SCOPED_TRACE(PicturePath(index));
        const TRgbImage image = LoadJpegFile(PicturePath(index));
        ASSERT_GT(image.Width, 2);
        ASSERT_GT(image.Height, 2);
        const Rgb expected = index < 5 ? kWhite : kHover;
        int wrong = 0;
        for (int x = 0; x < image.Width; ++x)
            for (int y : {0, image.Height - 1}) wrong += !Near(PixelAt(image, x, y), expected);
        for (int y = 0; y < image.Height; ++y)
            for (int x : {0, image.Width - 1}) wrong += !Near(PixelAt(image, x, y), expected);
        EXPECT_EQ(wrong, 0) << "border pixels off the list background";
    }
}

}  // namespace
}  // namespace vantrel

// Pictures: the JPEG codec and GX::Image read from files of every kind a
// list view may meet in the host's temporary folder.
#include "platform/gx/GXImage.hpp"
#include "platform/gx/JpegCodec.hpp"
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string>
#include <vector>

namespace {

class PictureFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/armbrix-gx-XXXXXX";
        folder = mkdtemp(pattern);
    }
    void TearDown() override { std::system(("rm -rf '" + folder + "'").c_str()); }

    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
    {
        const std::string path = folder + "/" + name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    std::string folder;
};

// A picture with a red left half and a blue right half.
GX::Jpeg::Pixels TwoColours(std::uint32_t width, std::uint32_t height)
{
    GX::Jpeg::Pixels p;
    p.width = width;
    p.height = height;
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x) {
            const bool left = x < width / 2;
            p.rgb.insert(p.rgb.end(), {std::uint8_t(left ? 255 : 0), 0, std::uint8_t(left ? 0 : 255)});
        }
    return p;
}

std::vector<std::uint8_t> EncodeOrFail(const GX::Jpeg::Pixels& pixels, bool grey = false)
{
    std::vector<std::uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(GX::Jpeg::Encode(pixels, grey, 90, bytes, &error)) << error;
    return bytes;
}

TEST_F(PictureFolder, ReadsAJpegFileWithItsSizeAndColours)
{
    const std::string path = Write("a.jpg", EncodeOrFail(TwoColours(40, 24)));
    const GX::Image image{IO::Location(path)};
    ASSERT_FALSE(image.IsEmpty()) << image.GetError();
    EXPECT_EQ(image.GetWidth(), 40u);
    EXPECT_EQ(image.GetHeight(), 24u);

    const DG::Image shown = image.ToDGPicture();
    ASSERT_FALSE(shown.IsEmpty());
    EXPECT_EQ(shown.GetWidth(), 40u);
    EXPECT_EQ(shown.GetHeight(), 24u);
    EXPECT_EQ(shown.GetSource(), path);
    const std::vector<std::uint8_t>& rgb = *shown.GetPixels();
    ASSERT_EQ(rgb.size(), 40u * 24u * 3u);
    // Lossy, but far from the other colour: a pixel well inside each half.
    const std::size_t left = (12 * 40 + 5) * 3, right = (12 * 40 + 34) * 3;
    EXPECT_GT(rgb[left], 200);
    EXPECT_LT(rgb[left + 2], 60);
    EXPECT_LT(rgb[right], 60);
    EXPECT_GT(rgb[right + 2], 200);
}

TEST_F(PictureFolder, AGreyJpegIsReadAsColour)
{
    GX::Jpeg::Pixels grey;
    grey.width = 8;
    grey.height = 8;
    grey.rgb.assign(64, 128);
    const GX::Image image{IO::Location(Write("grey.jpg", EncodeOrFail(grey, true)))};
    ASSERT_FALSE(image.IsEmpty()) << image.GetError();
    EXPECT_EQ(image.ToDGPicture().GetPixels()->size(), 8u * 8u * 3u);
}

// Whatever lies at the path, a file that is no whole JPEG picture gives an
// empty image and an empty DG::Image, and the process goes on (libjpeg's
// own error handler would end it).
TEST_F(PictureFolder, AFileThatIsNoWholePictureGivesAnEmptyImage)
{
    const std::vector<std::uint8_t> good = EncodeOrFail(TwoColours(64, 64));
    ASSERT_GT(good.size(), 400u);
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"text", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'}},
        {"start marker only", {0xFF, 0xD8, 0xFF}},
        {"cut in the header", std::vector<std::uint8_t>(good.begin(), good.begin() + 100)},
        {"cut in the data", std::vector<std::uint8_t>(good.begin(), good.begin() + good.size() / 2)},
        {"end marker missing", std::vector<std::uint8_t>(good.begin(), good.end() - 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const GX::Image image{IO::Location(Write("bad.jpg", c.bytes))};
        EXPECT_TRUE(image.IsEmpty());
        EXPECT_FALSE(image.GetError().empty());
        EXPECT_TRUE(image.ToDGPicture().IsEmpty());
    }
    for (const std::string& path : {folder + "/missing.jpg", folder, std::string()}) {
        SCOPED_TRACE(path);
        const GX::Image image{IO::Location(path)};
        EXPECT_TRUE(image.IsEmpty());
        EXPECT_TRUE(image.ToDGPicture().IsEmpty());
    }
}

TEST(JpegCodec, RefusesPixelsThatDoNotMatchTheirSize)
{
    GX::Jpeg::Pixels p = TwoColours(4, 4);
    std::vector<std::uint8_t> out;
    p.rgb.pop_back();
    EXPECT_FALSE(GX::Jpeg::Encode(p, false, 90, out));
    p = TwoColours(4, 4);
    EXPECT_FALSE(GX::Jpeg::Encode(p, true, 90, out));
    EXPECT_FALSE(GX::Jpeg::Encode(GX::Jpeg::Pixels{}, false, 90, out));
    EXPECT_TRUE(out.empty());
}

}  // namespace

// The committed flake sprite: its chunks, format and alpha profile.
#include <gtest/gtest.h>

#include <cmath>

#include "png_decode.h"
#include "platform/platform.h"

namespace {

const std::string kSpritePath = std::string(QF_SOURCE_DIR) + "/resources/sprite_123.png";

class SpritePng : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        bytes_ = ReadFileBytes(kSpritePath);
        error_ = DecodePng(bytes_, image_);
    }
    uint8_t Alpha(int x, int y) const { return image_.rgba[(y * 256 + x) * 4 + 3]; }
    static std::vector<uint8_t> bytes_;
    static PngImage image_;
    static std::string error_;
};
std::vector<uint8_t> SpritePng::bytes_;
PngImage SpritePng::image_;
std::string SpritePng::error_;

TEST_F(SpritePng, IsA256By256RgbaImageWithGammaPoint55) {
    ASSERT_EQ(error_, "");
    EXPECT_EQ(image_.width, 256u);
    EXPECT_EQ(image_.height, 256u);
    EXPECT_EQ(image_.gamma, 55000u);
#ifndef _WIN32
    EXPECT_EQ(image_.bitDepth, 8);
    EXPECT_EQ(image_.colourType, 6);
    EXPECT_EQ(image_.interlace, 0);
    EXPECT_EQ(image_.chunks, (std::vector<std::string>{"IHDR", "gAMA", "IDAT", "IEND"}));
#endif
}

TEST_F(SpritePng, IsWhiteEverywhere) {
    ASSERT_EQ(error_, "");
    for (size_t i = 0; i < image_.rgba.size(); i += 4) {
        ASSERT_EQ(image_.rgba[i], 255);
        ASSERT_EQ(image_.rgba[i + 1], 255);
        ASSERT_EQ(image_.rgba[i + 2], 255);
    }
}

TEST_F(SpritePng, AlphaFollowsTheSoftSpotProfile) {
    ASSERT_EQ(error_, "");
    struct Ring {
        double r;
        int low;
        int high;
    };
    const Ring rings[] = {{0, 225, 229},  {10, 219, 223}, {20, 203, 207}, {30, 177, 181},
                          {40, 145, 149}, {50, 109, 113}, {60, 75, 79},   {70, 45, 49},
                          {80, 24, 28},   {90, 10, 14},   {100, 3, 7},    {110, 1, 2}};
    for (const Ring& ring : rings) {
        int seen = 0;
        for (int y = 0; y < 256; ++y) {
            for (int x = 0; x < 256; ++x) {
                double d = std::hypot(x + 0.5 - 128.0, y + 0.5 - 128.0);
                // The pixels lying on the ring, and the four middle ones for r = 0.
                if (std::fabs(d - ring.r) <= (ring.r == 0 ? 0.75 : 0.25)) {
                    ++seen;
                    EXPECT_GE(Alpha(x, y), ring.low) << "r=" << ring.r << " at " << x << "," << y;
                    EXPECT_LE(Alpha(x, y), ring.high) << "r=" << ring.r << " at " << x << "," << y;
                }
            }
        }
        EXPECT_GT(seen, 0) << "r=" << ring.r;
    }
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            double d = std::hypot(x + 0.5 - 128.0, y + 0.5 - 128.0);
            if (d >= 112 && d < 120) {
                ASSERT_LE(Alpha(x, y), 1) << x << "," << y;
            } else if (d >= 120) {
                ASSERT_EQ(Alpha(x, y), 0) << x << "," << y;
            }
        }
    }
}

TEST_F(SpritePng, OutermostElevenPixelsOfEveryEdgeAreTransparent) {
    ASSERT_EQ(error_, "");
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            if (x < 11 || y < 11 || x > 244 || y > 244) {
                ASSERT_EQ(Alpha(x, y), 0) << x << "," << y;
            }
        }
    }
}

TEST_F(SpritePng, AlphaFallsSteadilyFromTheCentre) {
    ASSERT_EQ(error_, "");
    for (int x = 128; x < 255; ++x) {
        ASSERT_LE(Alpha(x + 1, 128), Alpha(x, 128)) << x;
    }
    EXPECT_EQ(Alpha(127, 128), Alpha(128, 128));
    EXPECT_EQ(Alpha(128, 127), Alpha(128, 128));
}

TEST_F(SpritePng, IsTheResourceTheProgramCarries) {
    ResourceBytes resource = PlatformResourceBytes(123);
    ASSERT_NE(resource.data, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(resource.data, resource.data + resource.size), bytes_);
}

TEST(PngDecode, RejectsDamagedFiles) {
    std::vector<uint8_t> bytes = ReadFileBytes(kSpritePath);
    ASSERT_GT(bytes.size(), 100u);
    PngImage image;
    EXPECT_NE(DecodePng(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 60), image), "");
    std::vector<uint8_t> corrupt = bytes;
    corrupt[bytes.size() - 30] ^= 0x55; // inside the compressed data
    EXPECT_NE(DecodePng(corrupt, image), "");
}

} // namespace

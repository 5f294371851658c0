#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "ico_file.h"
#include "program_icon.h"
#include "snowflake.h"

namespace {

uint32_t U16(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8);
}
uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return U16(b, at) | (U16(b, at + 2) << 16);
}

std::vector<uint8_t> ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

// Drawing the large sizes takes a while under the sanitizers; draw each once.
const IconImage& Drawn(int size) {
    static std::map<int, IconImage> cache;
    auto found = cache.find(size);
    if (found == cache.end()) {
        found = cache.emplace(size, DrawSnowflake(size)).first;
    }
    return found->second;
}

struct DirectoryEntry {
    int size;
    uint32_t bytes;
    uint32_t offset;
};

// Reads and checks the icon directory; an empty result means it is malformed.
std::vector<DirectoryEntry> ReadDirectory(const std::vector<uint8_t>& file) {
    std::vector<DirectoryEntry> entries;
    if (file.size() < 6 || U16(file, 0) != 0 || U16(file, 2) != 1) {
        ADD_FAILURE() << "not an icon file";
        return entries;
    }
    const uint32_t count = U16(file, 4);
    if (file.size() < 6 + 16 * count) {
        ADD_FAILURE() << "directory runs past the end";
        return entries;
    }
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = 6 + 16 * i;
        EXPECT_EQ(file[at], file[at + 1]) << "entry " << i << " is not square";
        EXPECT_EQ(file[at + 2], 0) << "entry " << i << " has a palette";
        EXPECT_EQ(U16(file, at + 4), 1u) << "planes of entry " << i;
        EXPECT_EQ(U16(file, at + 6), 32u) << "bits per pixel of entry " << i;
        entries.push_back({file[at] == 0 ? 256 : file[at], U32(file, at + 8), U32(file, at + 12)});
    }
    return entries;
}

class CommittedIcon : public ::testing::Test {
  protected:
    std::vector<uint8_t> file = ReadFile(QF_COMMITTED_ICON);
};

TEST_F(CommittedIcon, IsWhatTheGeneratorBuilds) {
    ASSERT_FALSE(file.empty()) << QF_COMMITTED_ICON;
    std::vector<IconImage> images;
    for (int size : kIconSizes) {
        images.push_back(Drawn(size));
    }
    EXPECT_TRUE(file == BuildIconFile(images)) << "regenerate resources/snowflake_133.ico";
}

TEST_F(CommittedIcon, ListsTheSevenSizesBackToBack) {
    const std::vector<DirectoryEntry> entries = ReadDirectory(file);
    ASSERT_EQ(entries.size(), 7u);
    uint32_t expectedOffset = 6 + 16 * 7;
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].size, kIconSizes[i]);
        EXPECT_EQ(entries[i].offset, expectedOffset) << "entry " << i;
        expectedOffset += entries[i].bytes;
    }
    EXPECT_EQ(expectedOffset, file.size());
}

TEST_F(CommittedIcon, EachEntryIsA32BitDibWhoseMaskMatchesItsAlpha) {
    const std::vector<DirectoryEntry> entries = ReadDirectory(file);
    ASSERT_EQ(entries.size(), 7u);
    for (const DirectoryEntry& e : entries) {
        SCOPED_TRACE("size " + std::to_string(e.size));
        const uint32_t side = e.size;
        const uint32_t maskRow = (side + 31) / 32 * 4;
        ASSERT_EQ(e.bytes, 40 + side * side * 4 + maskRow * side);
        ASSERT_LE(e.offset + e.bytes, file.size());
        EXPECT_EQ(U32(file, e.offset), 40u);
        EXPECT_EQ(U32(file, e.offset + 4), side);
        EXPECT_EQ(U32(file, e.offset + 8), 2 * side);
        EXPECT_EQ(U16(file, e.offset + 12), 1u);
        EXPECT_EQ(U16(file, e.offset + 14), 32u);
        EXPECT_EQ(U32(file, e.offset + 16), 0u) << "compression";

        // The stored rows are bottom first; compare them with the drawing.
        const IconImage& drawn = Drawn(e.size);
        const size_t pixels = e.offset + 40;
        const size_t mask = pixels + side * side * 4;
        int maskErrors = 0, pixelErrors = 0;
        for (uint32_t row = 0; row < side; ++row) {
            const int y = side - 1 - row;
            for (uint32_t x = 0; x < side; ++x) {
                const uint8_t* stored = &file[pixels + (row * side + x) * 4];
                const uint8_t* want = IconPixel(drawn, x, y);
                pixelErrors += !std::equal(stored, stored + 4, want);
                const bool transparent = (file[mask + row * maskRow + x / 8] >> (7 - x % 8)) & 1;
                maskErrors += transparent != (stored[3] == 0);
            }
        }
        EXPECT_EQ(pixelErrors, 0);
        EXPECT_EQ(maskErrors, 0);
    }
}

// The picture itself, at every size.
class Snowflake : public ::testing::TestWithParam<int> {};

TEST_P(Snowflake, SitsOnATransparentBackgroundWithAnOpaqueWhiteHeart) {
    const int n = GetParam();
    const IconImage& image = Drawn(n);
    ASSERT_EQ(image.size, n);
    ASSERT_EQ(image.bgra.size(), static_cast<size_t>(n) * n * 4);
    for (int c : {0, n - 1}) {
        for (int r : {0, n - 1}) {
            EXPECT_EQ(IconPixel(image, c, r)[3], 0) << c << "," << r;
        }
    }
    // No pixel of the outermost frame is touched: the drawing fits inside.
    int edgeInk = 0;
    for (int i = 0; i < n; ++i) {
        edgeInk += IconPixel(image, i, 0)[3] + IconPixel(image, i, n - 1)[3] +
                   IconPixel(image, 0, i)[3] + IconPixel(image, n - 1, i)[3];
    }
    EXPECT_EQ(edgeInk, 0);
    const uint8_t* centre = IconPixel(image, n / 2, n / 2);
    EXPECT_EQ(centre[3], 255);
    EXPECT_GE(centre[0], 240);
    EXPECT_GE(centre[1], 240);
    EXPECT_GE(centre[2], 240);
}

TEST_P(Snowflake, IsPaleBlueOrWhiteAndAntialiased) {
    const IconImage& image = Drawn(GetParam());
    int partial = 0, opaque = 0, notBluish = 0;
    for (int y = 0; y < image.size; ++y) {
        for (int x = 0; x < image.size; ++x) {
            const uint8_t* p = IconPixel(image, x, y);
            if (p[3] == 0) {
                EXPECT_EQ(p[0] | p[1] | p[2], 0) << "colour under a transparent pixel";
                continue;
            }
            partial += p[3] < 255;
            opaque += p[3] == 255;
            notBluish += !(p[0] >= p[1] && p[1] >= p[2]); // blue >= green >= red
        }
    }
    EXPECT_GT(partial, 0) << "hard edges";
    EXPECT_GT(opaque, 0);
    EXPECT_EQ(notBluish, 0);
}

TEST_P(Snowflake, HasSixArmsAndTheirMirrorSymmetry) {
    const int n = GetParam();
    const IconImage& image = Drawn(n);
    int asymmetric = 0;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const uint8_t* p = IconPixel(image, x, y);
            const uint8_t* mirrorX = IconPixel(image, n - 1 - x, y);
            const uint8_t* mirrorY = IconPixel(image, x, n - 1 - y);
            asymmetric += std::abs(p[3] - mirrorX[3]) > 1 || std::abs(p[3] - mirrorY[3]) > 1;
        }
    }
    EXPECT_EQ(asymmetric, 0);
    // Ink along each arm, none halfway between two arms near the rim.
    const double pi = std::acos(-1.0);
    const double reach = n / 2.0 * 0.7;
    for (int arm = 0; arm < 6; ++arm) {
        const double along = pi / 2 + arm * pi / 3;
        const double between = along + pi / 6;
        const int ax = static_cast<int>(n / 2.0 + reach * std::cos(along));
        const int ay = static_cast<int>(n / 2.0 - reach * std::sin(along));
        const int bx = static_cast<int>(n / 2.0 + reach * 1.25 * std::cos(between));
        const int by = static_cast<int>(n / 2.0 - reach * 1.25 * std::sin(between));
        EXPECT_GT(IconPixel(image, ax, ay)[3], 128) << "arm " << arm;
        EXPECT_EQ(IconPixel(image, bx, by)[3], 0) << "between arms " << arm;
    }
}

INSTANTIATE_TEST_SUITE_P(EverySize, Snowflake, ::testing::ValuesIn(kIconSizes));

TEST(SnowflakeSize, NoneOrNegativeGivesAnEmptyPicture) {
    for (int n : {0, -1, -256}) {
        const IconImage& image = Drawn(n);
        EXPECT_EQ(image.size, 0);
        EXPECT_TRUE(image.bgra.empty());
    }
}

TEST(IconFile, WritesTwoHundredFiftySixAsZeroInTheDirectory) {
    const std::vector<uint8_t> file = BuildIconFile({Drawn(256), Drawn(16)});
    ASSERT_GT(file.size(), 6u + 32u);
    EXPECT_EQ(U16(file, 4), 2u);
    EXPECT_EQ(file[6], 0);
    EXPECT_EQ(file[7], 0);
    EXPECT_EQ(file[6 + 16], 16);
    EXPECT_EQ(U32(file, 6 + 16 + 12), U32(file, 6 + 12) + U32(file, 6 + 8));
}

} // namespace

#include "core/wind/noise_table.h"

#include <gtest/gtest.h>

#include <string>

#include "core/wind/test_tables.h"

namespace {
// What the parser reports, line after line.
std::string gReport;
const Diagnostics kRecordReport = {[](const char* text) { gReport += text; }, nullptr};

NoiseCells Parse(const std::vector<unsigned char>& bytes) {
    return ParseNoiseData(bytes.data(), static_cast<int32_t>(bytes.size()), kRecordReport);
}

std::vector<unsigned char> Cells2345() {
    std::vector<unsigned char> cells(2 * 3 * 4 * 5);
    for (size_t i = 0; i < cells.size(); ++i) {
        cells[i] = static_cast<unsigned char>(i * 7 + 3);
    }
    return cells;
}
} // namespace

TEST(ParseNoiseData, AcceptsAConsistentFileAndCopiesItsCells) {
    std::vector<unsigned char> cells = Cells2345();
    std::vector<unsigned char> file = MakePerlinFile(2, 3, 4, 5, cells);
    ASSERT_EQ(file.size(), 146u);
    EXPECT_EQ(file[21], 147); // declaredLength

    gReport.clear();
    NoiseCells parsed = Parse(file);
    EXPECT_EQ(gReport, "[2 3 4 5] (147) 146\n147\n");

    ASSERT_NE(parsed.cells, nullptr);
    EXPECT_EQ(parsed.sizeX, 2);
    EXPECT_EQ(parsed.sizeY, 3);
    EXPECT_EQ(parsed.sizeZ, 4);
    EXPECT_EQ(parsed.sizeT, 5);
    EXPECT_EQ(std::vector<unsigned char>(parsed.cells, parsed.cells + 120), cells);
    // The last byte of the file (offset 145) is cell 119, the cell (1, 2, 3, 4).
    EXPECT_EQ(parsed.cells[119], file[145]);

    // The copy is independent of the input.
    file[26] ^= 0xFF;
    EXPECT_EQ(parsed.cells[0], cells[0]);
    ReleaseNoiseCells(parsed);
    EXPECT_EQ(parsed.cells, nullptr);
    ReleaseNoiseCells(parsed); // safe twice
}

TEST(ParseNoiseData, StoredSizesParseToTheirCells) {
    std::vector<unsigned char> cells = RandomCells(65536, 7);
    std::vector<unsigned char> file = MakePerlinFile(16, 16, 16, 16, cells);
    ASSERT_EQ(file.size(), 65562u);
    const unsigned char header[16] = {0x00, 0x10, 0x00, 0x10, 0x00, 0x10, 0x00, 0x10,
                                      0x00, 0x01, 0x00, 0x1B, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(file.data() + 10, header, 16), 0);
    NoiseCells parsed = Parse(file);
    ASSERT_NE(parsed.cells, nullptr);
    EXPECT_EQ(parsed.sizeX, 16);
    EXPECT_EQ(parsed.sizeT, 16);
    EXPECT_EQ(std::memcmp(parsed.cells, file.data() + 26, 65536), 0);
    ReleaseNoiseCells(parsed);
}

TEST(ParseNoiseData, RejectsInputsShorterThanAHeader) {
    std::vector<unsigned char> file = MakePerlinFile(1, 1, 1, 1, {9});
    ASSERT_EQ(file.size(), 27u);
    for (int32_t length = 0; length < 27; ++length) {
        // A copy of exactly that length, so that ASan sees any read beyond it.
        std::vector<unsigned char> shorter(file.begin(), file.begin() + length);
        EXPECT_EQ(ParseNoiseData(shorter.data(), length, kQuiet).cells, nullptr) << length;
    }
    EXPECT_EQ(ParseNoiseData(file.data(), -1, kQuiet).cells, nullptr);
    EXPECT_EQ(ParseNoiseData(nullptr, 27, kQuiet).cells, nullptr);

    // 27 bytes with the right magic are judged by the header: one cell.
    NoiseCells parsed = Parse(file);
    ASSERT_NE(parsed.cells, nullptr);
    EXPECT_EQ(parsed.cells[0], 9);
    ReleaseNoiseCells(parsed);
}

TEST(ParseNoiseData, RejectsAnyChangeOfTheMagic) {
    std::vector<unsigned char> file = MakePerlinFile(2, 3, 4, 5, Cells2345());
    for (size_t i = 0; i < 10; ++i) {
        std::vector<unsigned char> changed = file;
        changed[i] ^= 0x20;
        EXPECT_EQ(Parse(changed).cells, nullptr) << i;
    }
}

TEST(ParseNoiseData, RejectsInconsistentLengths) {
    std::vector<unsigned char> file = MakePerlinFile(2, 3, 4, 5, Cells2345());

    // declaredLength equal to the length, not the length plus one.
    std::vector<unsigned char> declaredIsLength = file;
    declaredIsLength[21] = 146;
    EXPECT_EQ(Parse(declaredIsLength).cells, nullptr);

    // Sizes whose product differs from declaredLength - 27.
    std::vector<unsigned char> wrongSizes = file;
    wrongSizes[17] = 6;
    EXPECT_EQ(Parse(wrongSizes).cells, nullptr);

    // One byte missing, or one too many.
    std::vector<unsigned char> truncated(file.begin(), file.end() - 1);
    EXPECT_EQ(Parse(truncated).cells, nullptr);
    std::vector<unsigned char> longer = file;
    longer.push_back(0);
    EXPECT_EQ(Parse(longer).cells, nullptr);
}

TEST(ParseNoiseData, RejectsSizesWhoseProductOnlyMatchesAfterWrapping) {
    // 65535 * 65505 * 65471 * 683 is 11 modulo 2^32: in 32-bit arithmetic this
    // header would claim 11 cells and pass, and the sampler would read far
    // beyond them.
    std::vector<unsigned char> file = MakePerlinFile(65535, 65505, 65471, 683, RandomCells(11, 3));
    ASSERT_EQ(file.size(), 37u);
    EXPECT_EQ(static_cast<uint32_t>(65535u * 65505u * 65471u * 683u), 11u);
    EXPECT_EQ(Parse(file).cells, nullptr);

    // The largest sizes, with a product beyond 32 bits.
    std::vector<unsigned char> huge = MakePerlinFile(65535, 65535, 65535, 65535, {1, 2});
    EXPECT_EQ(Parse(huge).cells, nullptr);
}

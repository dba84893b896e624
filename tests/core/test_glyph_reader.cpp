#include "core/library/glyph_reader.h"
#include "core/text/codepage.h"

#include "file_access.h"
#include "library_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <unistd.h>

namespace hz {
namespace {

using test::patternRecord;
using test::TempFolder;

const std::vector<std::uint8_t> zeros(std::size_t n) {
    return std::vector<std::uint8_t>(n, 0);
}

std::vector<std::uint8_t> expectedGlyph(long record, const FontLibrary& library) {
    auto bytes = patternRecord(record, library.recordSize);
    bytes.resize(static_cast<std::size_t>(library.GlyphBytes), 0); // 12x12: 24 bytes, then 8 zeros
    return bytes;
}

TEST(GlyphReader, LibraryTableAndPaths) {
    ASSERT_EQ(fontLibraries().size(), 6u);
    EXPECT_EQ(fontLibrary(1).name, "16*16宋体");
    EXPECT_EQ(fontLibrary(5).name, "24*24黑体");
    EXPECT_EQ(fontLibrary(0).recordSize, 24);
    EXPECT_EQ(fontLibrary(0).GlyphBytes, 32);
    EXPECT_EQ(fontLibrary(4).CellSize, 24);
    EXPECT_THROW(fontLibrary(6), std::out_of_range);
    EXPECT_THROW(fontLibrary(-1), std::out_of_range);
    EXPECT_EQ(libraryPath("/opt/hz", fontLibrary(2)), "/opt/hz/hzk16繁");
    EXPECT_EQ(libraryPath("/opt/hz/", fontLibrary(3)), "/opt/hz/hzk24宋");
    // Every 32-byte library has the half-column arrangements, the traditional one included.
    EXPECT_TRUE(hasHalfColumns(0));
    EXPECT_TRUE(hasHalfColumns(1));
    EXPECT_TRUE(hasHalfColumns(2));
    for (int position = 3; position < kLibraryCount; ++position)
        EXPECT_FALSE(hasHalfColumns(position));
}

TEST(GlyphReader, RecordNumbers) {
    EXPECT_EQ(recordNumber(0xA1A1), 0);
    EXPECT_EQ(recordNumber(0xB0A1), 1410);
    EXPECT_EQ(recordNumber(0xFEFE), 94L * 94 - 1);
    EXPECT_EQ(recordNumber(0x8140), -1);
    EXPECT_EQ(recordNumber(0xB040), -1);
    EXPECT_EQ(recordNumber(0xB0FF), -1);
    EXPECT_EQ(recordNumber(0xFFA1), -1);
}

// Each library reads the record at record number x record size: 啊 (0xB0A1) is record 1410, at
// byte 33840 of the 12x12 file, 45120 of a 16x16 file and 101520 of a 24x24 file.
TEST(GlyphReader, ReadsTheRecordOfTheCodeInEveryLibrary) {
    TempFolder dir;
    for (const FontLibrary& library : fontLibraries()) {
        SCOPED_TRACE(std::string(library.name));
        const std::string path = test::writePatternLibrary(dir.path(), library, 1500);
        Glyph glyph;
        ASSERT_EQ(GetDz(path, library, U'啊', glyph), LookupStatus::Found);
        EXPECT_EQ(glyph.GlyphBytes, library.GlyphBytes);
        EXPECT_EQ(glyph.CellSize, library.CellSize);
        EXPECT_EQ(glyph.GlyphData, expectedGlyph(1410, library));

        ASSERT_EQ(GetDz(path, library, U'\u3000', glyph), LookupStatus::Found);
        EXPECT_EQ(glyph.GlyphData, expectedGlyph(0, library));
        ASSERT_EQ(GetDz(path, library, U'，', glyph), LookupStatus::Found); // full-width punctuation
        EXPECT_EQ(glyph.GlyphData, expectedGlyph(test::recordOf(0xA3AC), library));
    }
}

TEST(GlyphReader, StatusesInOrder) {
    TempFolder dir;
    const FontLibrary& library = fontLibrary(1);
    const std::string path = libraryPath(dir.path(), library);
    Glyph glyph;

    // No file: status 1 whatever the character, and the glyph holds no dots.
    glyph.GlyphData.assign(32, 0xFF);
    EXPECT_EQ(GetDz(path, library, U'A', glyph), LookupStatus::LibraryMissing);
    EXPECT_EQ(glyph.GlyphData, zeros(32));
    EXPECT_EQ(GetDz(path, library, U'样', glyph), LookupStatus::LibraryMissing);

    // Something that is not a regular file is no library either.
    std::filesystem::create_directory(path);
    EXPECT_EQ(GetDz(path, library, U'样', glyph), LookupStatus::LibraryMissing);
    std::filesystem::remove(path);

    test::writePatternLibrary(dir.path(), library, 1411);
    for (char32_t character : {U'A', U'7', U' ', U'丂', U'😀', U'€'}) {
        glyph.GlyphData.assign(32, 0xFF);
        EXPECT_EQ(GetDz(path, library, character, glyph), LookupStatus::NotChinese)
            << std::hex << static_cast<unsigned>(character);
        EXPECT_EQ(glyph.GlyphData, zeros(32));
    }
    EXPECT_EQ(GetDz(path, library, U'啊', glyph), LookupStatus::Found); // record 1410, the last one
    glyph.GlyphData.assign(32, 0xFF);
    EXPECT_EQ(GetDz(path, library, U'样', glyph), LookupStatus::RecordOutsideFile);
    EXPECT_EQ(glyph.GlyphData, zeros(32));
}

TEST(GlyphReader, RecordPartlyOrWhollyBeyondTheEnd) {
    TempFolder dir;
    for (const FontLibrary& library : fontLibraries()) {
        SCOPED_TRACE(std::string(library.name));
        const std::string path = libraryPath(dir.path(), library);
        Glyph glyph;
        test::writeFile(path, "");
        EXPECT_EQ(GetDz(path, library, U'\u3000', glyph), LookupStatus::RecordOutsideFile);

        // All but the last byte of record 1410.
        auto bytes = std::vector<std::uint8_t>(static_cast<std::size_t>(1411 * library.recordSize - 1), 1);
        test::writeFile(path, bytes);
        EXPECT_EQ(GetDz(path, library, U'啊', glyph), LookupStatus::RecordOutsideFile);
        EXPECT_EQ(GetDz(path, library, U'─', glyph), LookupStatus::Found); // 0xA9A4, an earlier record
        bytes.push_back(1);
        test::writeFile(path, bytes);
        EXPECT_EQ(GetDz(path, library, U'啊', glyph), LookupStatus::Found);
        EXPECT_EQ(GetDz(path, library, U'齄', glyph), LookupStatus::RecordOutsideFile); // 0xF7FE, far beyond
    }
    EXPECT_STREQ(statusMessage(LookupStatus::RecordOutsideFile), "字库文件不完整，找不到该字的点阵！！！");
    EXPECT_STREQ(statusMessage(LookupStatus::LibraryMissing), "当前路径汉字库不存在！！！");
    EXPECT_STREQ(statusMessage(LookupStatus::NotChinese), "您输入的字符不是汉字！！！");
}

TEST(GlyphReader, LibraryDeletedBetweenLookups) {
    TempFolder dir;
    const FontLibrary& library = fontLibrary(3);
    const std::string path = test::writePatternLibrary(dir.path(), library, 1411);
    Glyph glyph;
    ASSERT_EQ(GetDz(path, library, U'啊', glyph), LookupStatus::Found);
    std::filesystem::remove(path);
    EXPECT_EQ(GetDz(path, library, U'啊', glyph), LookupStatus::LibraryMissing);
    EXPECT_EQ(glyph.GlyphData, zeros(72));
}

TEST(GlyphReader, ReaderKeepsItsFileForAWholeText) {
    TempFolder dir;
    const FontLibrary& library = fontLibrary(0);
    const std::string path = test::writePatternLibrary(dir.path(), library, 1411);
    GlyphReader reader(path, library);
    Glyph glyph;
    EXPECT_EQ(reader.read(U'x', glyph), LookupStatus::NotChinese);
    ASSERT_EQ(reader.read(U'啊', glyph), LookupStatus::Found);
    std::filesystem::remove(path);
    ASSERT_EQ(reader.read(U'\u3000', glyph), LookupStatus::Found); // read through the open file
    EXPECT_EQ(glyph.GlyphData, expectedGlyph(0, library));
}

// One reader through a whole library in a scattered order: records that straddle the reader's
// read-ahead windows come out whole, and every code reads its own record.
TEST(GlyphReader, EveryCodeOfAFullLibrary) {
    TempFolder dir;
    for (int position : {0, 3}) {
        const FontLibrary& library = fontLibrary(position);
        const std::string path = test::writePatternLibrary(dir.path(), library, test::kFullRecords);
        std::vector<std::uint16_t> codes;
        for (int hi = 0xA1; hi <= 0xFE; ++hi)
            for (int lo = 0xA1; lo <= 0xFE; ++lo)
                codes.push_back(static_cast<std::uint16_t>(hi << 8 | lo));
        std::mt19937 random(7);
        std::shuffle(codes.begin(), codes.end(), random);

        GlyphReader reader(path, library);
        Glyph glyph;
        int read = 0;
        for (std::uint16_t code : codes) {
            const auto character = cp936Character(code);
            if (!character)
                continue;
            ASSERT_EQ(reader.read(*character, glyph), LookupStatus::Found) << std::hex << code;
            ASSERT_EQ(glyph.GlyphData, expectedGlyph(test::recordOf(code), library)) << std::hex << code;
            ++read;
        }
        EXPECT_GT(read, 7000);
    }
}

TEST(GlyphReader, UnreadableFileIsMissing) {
    test::WithoutFileAccessOverride withoutOverride;
    ASSERT_TRUE(withoutOverride.active());
    TempFolder dir;
    const FontLibrary& library = fontLibrary(1);
    const std::string path = test::writePatternLibrary(dir.path(), library, 1411);
    std::filesystem::permissions(path, std::filesystem::perms::none);
    Glyph glyph;
    EXPECT_EQ(GetDz(path, library, U'啊', glyph), LookupStatus::LibraryMissing);
}

} // namespace
} // namespace hz

// The installed documents state exact bytes; they must be the bytes the program writes. Each table
// row of the documents is read back and checked against the core.
#include "core/glyph/glyph_record.h"
#include "core/layout/arrangements.h"
#include "core/layout/layout.h"
#include "core/layout/layout_presets.h"
#include "core/output/export_layout.h"
#include "core/text/byte_text.h"
#include "core/text/codepage.h"
#include "library_record.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> documentLines(const std::string& name) {
    std::ifstream in(std::string(HZDOT_SOURCE_DIR) + "/docs/" + name);
    EXPECT_TRUE(in) << name;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A glyph of one library with the dots given row by row (1-based row, column), leftmost dot in bit 7.
hz::Glyph glyphWithDots(int cell, const std::vector<std::pair<int, int>>& dots) {
    const int perRow = (cell + 7) / 8;
    hz::Glyph glyph;
    glyph.GlyphBytes = perRow * cell;
    glyph.CellSize = cell;
    glyph.GlyphData.assign(static_cast<std::size_t>(glyph.GlyphBytes), 0);
    for (auto [row, column] : dots)
        glyph.GlyphData[static_cast<std::size_t>(perRow * (row - 1) + (column - 1) / 8)] |=
            static_cast<std::uint8_t>(0x80 >> ((column - 1) % 8));
    return glyph;
}

TEST(ArrangementsDocument, EachDotLandsWhereTheTablesSay) {
    // "| row 9, column 2 | byte 17, 0x40 | byte 4, 0x01 | ..." : five cells for 16x16, three for 24x24.
    const std::regex rowPattern(R"(^\| row (\d+), column (\d+) \|(.*)$)");
    const std::regex cellPattern(R"(byte (\d+), 0x([0-9A-F]{2}))");
    int checked = 0;
    for (const std::string& line : documentLines("arrangements.md")) {
        std::smatch m;
        if (!std::regex_match(line, m, rowPattern))
            continue;
        const int row = std::stoi(m[1]), column = std::stoi(m[2]);
        const std::string cells = m[3];
        std::vector<std::pair<int, int>> places;
        for (std::sregex_iterator it(cells.begin(), cells.end(), cellPattern), end; it != end; ++it)
            places.emplace_back(std::stoi((*it)[1]), std::stoi((*it)[2], nullptr, 16));
        ASSERT_TRUE(places.size() == 5 || places.size() == 3) << line;
        const int cell = places.size() == 5 ? 16 : 24;
        const int position = cell == 16 ? 1 : 3;
        const hz::ArrangementTables tables = hz::MakeArrangements(glyphWithDots(cell, {{row, column}}), position, 2, 2);
        for (std::size_t a = 0; a < places.size(); ++a) {
            const auto& bytes = tables[static_cast<hz::Arrangement>(a)];
            const auto [byte, mask] = places[a];
            ASSERT_LE(static_cast<std::size_t>(byte), bytes.size()) << line;
            std::vector<std::uint8_t> expected(bytes.size(), 0);
            expected[static_cast<std::size_t>(byte - 1)] = static_cast<std::uint8_t>(mask);
            EXPECT_EQ(bytes, expected) << line << " in " << hz::arrangementName(static_cast<hz::Arrangement>(a));
            ++checked;
        }
    }
    EXPECT_EQ(checked, 3 * 5 + 4 * 3);
}

TEST(ArrangementsDocument, LayoutNamesAndPresetsAreThePrograms) {
    // "| 横排 (→ →) | `rows-msb` | ..." and "| `ssd1306`, `sh1106` | `pages-lsb` | drivers |"
    const std::regex arrangementPattern(R"(^\| (\S+) \(.*\) \| `([a-z-]+)` \|.*$)");
    const std::regex presetPattern(R"(^\| (`[a-z0-9-]+`(?:, `[a-z0-9-]+`)*) \| `([a-z-]+)` \|.*$)");
    const std::regex namePattern(R"(`([a-z0-9-]+)`)");
    std::set<std::string> documented;
    int arrangements = 0;
    for (const std::string& line : documentLines("arrangements.md")) {
        std::smatch m;
        if (std::regex_match(line, m, arrangementPattern)) {
            const auto choice = hz::parseLayoutChoice(m[1].str());
            ASSERT_TRUE(choice) << line;
            EXPECT_EQ(hz::layoutName(choice->layout), m[2].str()) << line;
            ++arrangements;
        } else if (std::regex_match(line, m, presetPattern)) {
            const std::string names = m[1];
            for (std::sregex_iterator it(names.begin(), names.end(), namePattern), end; it != end; ++it) {
                const std::string name = (*it)[1];
                documented.insert(name);
                const auto choice = hz::parseLayoutChoice(name);
                ASSERT_TRUE(choice) << name;
                EXPECT_EQ(hz::layoutName(choice->layout), m[2].str()) << name;
            }
        }
    }
    EXPECT_EQ(arrangements, 5);
    std::set<std::string> presets;
    for (const hz::LayoutPreset& preset : hz::layoutPresets())
        presets.insert(std::string(preset.name));
    EXPECT_EQ(documented, presets);
}

TEST(ExportFormatDocument, FieldsAndSizesAreThoseWritten) {
    const std::regex fieldPattern(R"(^\| 0x([0-9A-F]{2}) \| `(.{5})` \|$)");
    const std::regex sizePattern(R"(^\| export current, 横排 \| (\d+) \| (\d+) \|$)");
    int fields = 0, sizes = 0;
    for (const std::string& line : documentLines("export-format.md")) {
        std::smatch m;
        if (std::regex_match(line, m, fieldPattern)) {
            EXPECT_EQ(hz::assemblyField(static_cast<std::uint8_t>(std::stoi(m[1], nullptr, 16))), m[2].str());
            ++fields;
        } else if (std::regex_match(line, m, sizePattern)) {
            // Any dots will do: every field has the same width.
            for (int cell : {16, 24}) {
                const hz::Glyph glyph = glyphWithDots(cell, {{1, 1}, {cell, cell}});
                const hz::GlyphRecord record = hz::test::libraryRecord(U'啊', glyph.GlyphData, cell == 16 ? 1 : 3);
                const auto file = hz::utf8ToCp936(hz::exportCurrentText(record, hz::Arrangement::Rows));
                ASSERT_TRUE(file);
                EXPECT_EQ(file->size(), std::stoul(m[cell == 16 ? 1 : 2])) << cell;
            }
            ++sizes;
        }
    }
    EXPECT_EQ(fields, 5);
    EXPECT_EQ(sizes, 1);
    // "A line is therefore always 52 bytes", the C lines 42 and 39.
    const std::vector<std::uint8_t> sixteen(16, 0xE0);
    EXPECT_EQ(hz::assemblyText(sixteen).size(), 2u * 52);
    EXPECT_EQ(hz::cText(sixteen).size(), 42u + 39);
}

} // namespace

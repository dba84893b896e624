#include "cli/font_file_command.h"

#include "cli/exit_status.h"
#include "cli/print_error.h"
#include "cli/whole_output.h"

#include "core/glyph/glyph_record.h"
#include "core/output/bdf_font.h"
#include "core/output/c_header.h"
#include "core/output/u8g2_font.h"
#include "core/text/utf8.h"
#include "fontsource/module_font.h"

#include <unordered_set>

namespace hz::cli {
namespace {

std::string leftOutText(const hz::U8g2LeftOut& left, const GlyphPass& pass) {
    std::string text = pass.where(left.position) + " " + describeCharacter(left.character);
    switch (left.reason) {
    case hz::U8g2Refusal::BeyondBmp:
        text += " is beyond U+FFFF, which u8g2 fonts cannot hold";
        break;
    case hz::U8g2Refusal::TooLarge:
        text += " takes " + std::to_string(left.bytes) + " bytes coded, more than the " +
                std::to_string(hz::kU8g2MaxGlyphBytes) + " a u8g2 glyph may take";
        break;
    }
    return text + "; left out of the font";
}

// The height of the cells handed on: the 12x12 library's glyphs come in 16x16 cells, its spacing
// around them, and a font of them is a 16-dot font.
int cellHeightOf(const hz::GlyphSource& source, const std::vector<hz::FontGlyph>& glyphs) {
    return glyphs.empty() ? source.height() : glyphs.front().cell.height();
}

// Rows above the baseline: a font's own; a library's glyphs stand on the cell's bottom edge.
int baselineOf(const hz::GlyphSource& source, int cellHeight) {
    if (const auto* font = dynamic_cast<const hz::fontsource::ModuleFont*>(&source))
        return font->baseline();
    return cellHeight;
}

} // namespace

// The characters go in the order first met, each once; the font sorts them by code.
int runFontFile(const CliOptions& options, GlyphPass& pass) {
    std::vector<hz::FontGlyph> glyphs;
    std::unordered_set<char32_t> seen;
    pass.run([&](const hz::GlyphRecord& record) {
        const char32_t ch = hz::decodeUtf8(record.character).text.front();
        if (!seen.insert(ch).second)
            return;
        glyphs.push_back({pass.position(), ch, record.cell().withDepth(1)});
    });
    const hz::GlyphSource& source = pass.source();
    const std::string name = options.headerName.value_or(hz::defaultHeaderName(source.description(), source.height()));
    const bool anyInput = pass.foundCount() + pass.refusedCount() != 0;
    const int cellHeight = cellHeightOf(source, glyphs);
    const int baseline = baselineOf(source, cellHeight);
    if (options.format == OutputFormat::Bdf) {
        // A BDF font's family is a font's own name where it has one: the size is in its name anyway.
        std::string family = name;
        if (const auto* font = dynamic_cast<const hz::fontsource::ModuleFont*>(&source);
            font && !options.headerName && !font->familyName().empty())
            family = font->familyName();
        if (glyphs.empty() && anyInput) {
            printError("no character could be written; " + *options.outputFile + " was not written");
            return kSomeRefused;
        }
        const std::string text = hz::makeBdfFont(
            {std::move(glyphs), baseline, cellHeight, family, source.description()});
        return writeWholeOutput(options, pass, text);
    }

    const hz::U8g2Font font = hz::makeU8g2Font({std::move(glyphs), baseline});
    for (const auto& left : font.leftOut)
        printError(leftOutText(left, pass));
    // An empty input (a scan that found nothing) gives the empty font, which still compiles.
    if (font.glyphCount == 0 && anyInput) {
        printError("no character could be written; " + *options.outputFile + " was not written");
        return kSomeRefused;
    }
    const int status = writeWholeOutput(options, pass, hz::u8g2CText(font, name, source.description()));
    return status == kAllFound && !font.leftOut.empty() ? kSomeRefused : status;
}

} // namespace hz::cli

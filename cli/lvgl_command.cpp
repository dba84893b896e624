#include "cli/lvgl_command.h"

#include "cli/exit_status.h"
#include "cli/print_error.h"
#include "cli/whole_output.h"

#include "core/glyph/glyph_record.h"
#include "core/output/c_header.h"
#include "core/output/lvgl_font.h"
#include "core/output/lvgl_font_bin.h"
#include "core/output/lvgl_font_c.h"
#include "core/text/utf8.h"

#include <algorithm>
#include <unordered_set>

namespace hz::cli {
namespace {

std::string lvglRefusalText(const hz::LvglFont& font, std::size_t characters) {
    if (font.refusal == hz::LvglRefusal::TooManyGlyphs)
        return "an LVGL font holds at most " + std::to_string(hz::LvglFont::kMaxGlyphs) + " characters; " +
               std::to_string(characters) + " were found";
    return "the glyphs take " + std::to_string(font.bitmapBytesNeeded) +
           " bytes of bitmap, more than the 1 MiB an LVGL font can address; give fewer characters, a smaller " +
           "--size or fewer bits a dot";
}

} // namespace

// The characters go into the font in code point order, each once.
int runLvgl(const CliOptions& options, GlyphPass& pass) {
    hz::LvglFontInput in;
    std::unordered_set<char32_t> seen;
    pass.run([&](const hz::GlyphRecord& record) {
        const char32_t ch = hz::decodeUtf8(record.character).text.front();
        if (seen.insert(ch).second)
            in.glyphs.push_back({ch, record.cell()});
    });
    const hz::GlyphSource& source = pass.source();
    in.bpp = options.layout.layout.bpp;
    // A line is a cell high: the 12x12 library's glyphs stand in 16x16 cells.
    in.lineHeight = source.height();
    for (const auto& glyph : in.glyphs)
        in.lineHeight = std::max(in.lineHeight, glyph.cell.height());
    in.baseline = source.baselineRows();
    const hz::LvglFont font = hz::makeLvglFont(in);
    if (font.refusal != hz::LvglRefusal::None) {
        printError(lvglRefusalText(font, in.glyphs.size()) + "; " + *options.outputFile + " was not written");
        return kFailed;
    }
    if (in.glyphs.empty() && pass.foundCount() + pass.refusedCount() != 0) {
        printError("no character could be written; " + *options.outputFile + " was not written");
        return kSomeRefused;
    }
    std::string bytes;
    if (options.format == OutputFormat::LvglBin) {
        const std::vector<std::uint8_t> file = hz::lvglBinary(font);
        bytes.assign(file.begin(), file.end());
    } else {
        const std::string name =
            options.headerName.value_or(hz::defaultHeaderName(source.description(), source.height()));
        bytes = hz::lvglCFile(font, {name, source.description()});
    }
    return writeWholeOutput(options, pass, bytes);
}

} // namespace hz::cli

#include "cli/preview_command.h"

#include "cli/exit_status.h"
#include "cli/print_error.h"
#include "cli/whole_output.h"

#include "core/glyph/glyph_record.h"
#include "core/output/panel_picture.h"

namespace hz::cli {

// The picture is drawn from the glyphs' bytes decoded back. Only the glyphs that can reach the
// panel are kept.
int runPreview(const CliOptions& options, GlyphPass& pass) {
    const hz::PanelSize size = *hz::parsePanelSize(*options.preview);
    std::vector<hz::DotCell> cells;
    long dots = 0;
    const long room = static_cast<long>(size.width) * size.height;
    pass.run([&](const hz::GlyphRecord& record) {
        if (dots > room)
            return;
        cells.push_back(record.cell());
        dots += static_cast<long>(record.width) * record.height;
    });
    // An empty input (a scan that found nothing) gives an empty panel.
    if (cells.empty() && pass.refusedCount() != 0) {
        printError("no character was found; " + *options.outputFile + " was not written");
        return pass.refusedCount() == 0 ? kAllFound : kSomeRefused;
    }
    return writeWholeOutput(options, pass, hz::previewPng(cells, options.layout.layout, size));
}

} // namespace hz::cli

#include "cli/preview_command.h"

#include "cli/exit_status.h"
#include "cli/output_sink.h"
#include "cli/print_error.h"
#include "cli/whole_output.h"

#include "core/glyph/glyph_record.h"
#include "core/output/panel_picture.h"
#include "core/text/utf8.h"

#include <algorithm>

namespace hz::cli {

namespace {

// Colours ask for the colour-TFT look, and so do grey glyphs, which no other look shows.
hz::PanelLook previewLook(const CliOptions& options) {
    if (options.foreground || options.background || options.layout.layout.bpp > 1)
        return hz::PanelLook::ColourTft;
    return hz::kDefaultLook;
}

hz::TftColours tftColours(const CliOptions& options) {
    hz::TftColours colours;
    colours.foreground = options.foreground.value_or(colours.foreground);
    colours.background = options.background.value_or(colours.background);
    return colours;
}

} // namespace

// The picture is drawn from the glyphs' bytes decoded back. A line of the input starts a new row.
int runPreview(const CliOptions& options, GlyphPass& pass, const InputText& input, const PreviewPictures& pictures) {
    const hz::PanelSize size = *hz::parsePanelSize(*options.preview);
    const hz::Layout& layout = options.layout.layout;
    const int spacing = options.lineSpacing.value_or(0);
    // Only the glyphs that can reach the panel are kept, so a long text is never held whole. The
    // picture's rows are as tall as its tallest glyph; no glyph of a source is shorter than the
    // source's height, so rows of that height reach the panel's foot no sooner than the picture's.
    hz::PanelFlow flow(size.width, std::max(1, pass.source().height()), spacing);
    std::vector<hz::EncodedGlyph> glyphs;
    const auto keep = [&](hz::EncodedGlyph glyph) {
        if (flow.rowTop() >= size.height)
            return;
        flow.place(glyph);
        glyphs.push_back(std::move(glyph));
    };
    for (const hz::EncodedGlyph& picture : pictures.before)
        keep(picture);
    std::size_t nextLine = 1; // the first line starts at 0
    pass.run([&](const hz::GlyphRecord& record) {
        for (; nextLine < input.lineStarts.size() && input.lineStarts[nextLine] <= pass.position(); ++nextLine)
            keep(hz::lineBreakGlyph());
        if (flow.rowTop() < size.height)
            keep(hz::encodeGlyph(hz::decodeUtf8(record.character).text.front(), record.cell(), layout));
    });
    for (const hz::EncodedGlyph& picture : pictures.after)
        keep(picture);
    // An empty input (a scan that found nothing) gives an empty panel.
    if (pass.foundCount() == 0 && pass.refusedCount() != 0) {
        printError("no character was found; " + *options.outputFile + " was not written");
        return kSomeRefused;
    }
    return writeWholeOutput(
        options, pass,
        hz::previewPng(glyphs, layout, size, spacing, previewLook(options), hz::kDefaultZoom, tftColours(options)));
}

int runPicturePreview(const CliOptions& options, const std::vector<hz::EncodedGlyph>& pictures) {
    const hz::PanelSize size = *hz::parsePanelSize(*options.preview);
    const std::string png = hz::previewPng(pictures, options.layout.layout, size, options.lineSpacing.value_or(0),
                                           previewLook(options), hz::kDefaultZoom, tftColours(options));
    std::unique_ptr<OutputSink> sink = fileSink(*options.outputFile);
    auto error = sink->writeBytes(png);
    if (!error)
        error = sink->finish(true);
    if (error) {
        printError(*error);
        return kFailed;
    }
    return kAllFound;
}

} // namespace hz::cli

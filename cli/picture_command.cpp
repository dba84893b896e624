#include "cli/picture_command.h"

#include "cli/exit_status.h"
#include "cli/output_sink.h"
#include "cli/picture_problem_text.h"
#include "cli/preview_command.h"
#include "cli/print_error.h"

#include "core/output/picture_header.h"
#include "core/picture/picture_export.h"
#include "core/picture/picture_layout.h"
#include "core/picture/picture_view.h"
#include "picturesource/picture_reader.h"

namespace hz::cli {

namespace {

hz::PictureSettings pictureSettings(const CliOptions& options) {
    hz::PictureSettings settings;
    settings.fit = options.fit;
    settings.dither = options.dither.value_or(hz::kDefaultDither);
    settings.threshold = options.threshold;
    settings.invert = options.invert;
    settings.depth = options.layout.layout.bpp;
    return settings;
}

// The header's name: --name, or "image".
std::string headerName(const CliOptions& options) {
    return options.headerName.value_or("image");
}

int writeOutput(const CliOptions& options, const std::string& bytes, bool text) {
    std::unique_ptr<OutputSink> sink =
        options.outputFile ? fileSink(*options.outputFile) : standardOutputSink(options.encoding);
    auto error = text ? sink->writeText(bytes) : sink->writeBytes(bytes);
    if (!error)
        error = sink->finish(true);
    else
        sink->finish(false);
    if (error) {
        printError(*error);
        return kFailed;
    }
    return kAllFound;
}

} // namespace

std::optional<std::vector<hz::PictureRecord>> readPictures(const CliOptions& options) {
    const hz::PictureSettings settings = pictureSettings(options);
    std::vector<hz::PictureRecord> pictures;
    bool failed = false;
    for (const std::string& path : options.images) {
        auto dots = hz::picturesource::readPictureDots(path, settings);
        if (!dots) {
            printError(pictureProblemText(dots.problem()));
            failed = true;
            continue;
        }
        pictures.push_back({hz::pictureName(path), std::move(*dots)});
    }
    if (failed)
        return std::nullopt;
    return pictures;
}

std::vector<hz::EncodedGlyph> pictureGlyphs(std::span<const hz::PictureRecord> pictures, const hz::Layout& layout) {
    std::vector<hz::EncodedGlyph> glyphs;
    for (const hz::PictureRecord& picture : pictures)
        glyphs.push_back(
            {hz::encodePicture(picture.dots, layout), picture.dots.width(), picture.dots.height(), false, false});
    return glyphs;
}

int runPictures(const CliOptions& options) {
    const auto pictures = readPictures(options);
    if (!pictures) {
        if (options.outputFile)
            printError(*options.outputFile + " was not written");
        return kFailed;
    }
    if (options.preview)
        return runPicturePreview(options, pictureGlyphs(*pictures, options.layout.layout));
    if (options.view) {
        // Each picture's dots, a blank line between two, as --view draws glyphs.
        std::string text;
        for (const hz::PictureRecord& picture : *pictures) {
            if (!text.empty())
                text += "\r\n";
            text += hz::pictureDotText(picture.dots, options.marks);
        }
        return writeOutput(options, text, true);
    }
    switch (options.format) {
    case OutputFormat::Header:
        return writeOutput(options, hz::makePictureHeader({*pictures, options.layout.layout, headerName(options)}),
                           false);
    case OutputFormat::Bin: {
        const auto bytes = hz::pictureBinary(*pictures, options.layout);
        return writeOutput(options, std::string(bytes.begin(), bytes.end()), false);
    }
    case OutputFormat::Text:
        break;
    }
    return writeOutput(options, hz::pictureExportText(*pictures, options.layout), true);
}

} // namespace hz::cli

#include "cli/cli_run.h"

#include "cli/cli_options.h"
#include "cli/detect_command.h"
#include "cli/export_command.h"
#include "cli/font_file_command.h"
#include "cli/glyph_pass.h"
#include "cli/header_command.h"
#include "cli/input_text.h"
#include "cli/lvgl_command.h"
#include "cli/output_writer.h"
#include "cli/picture_command.h"
#include "cli/preview_command.h"
#include "cli/print_error.h"
#include "cli/probe_command.h"
#include "cli/scan_input.h"
#include "cli/source_choice.h"
#include "cli/usage_text.h"

#include "core/layout/layout_presets.h"

namespace hz::cli {
namespace {

// --help, --version and --list-layouts: a text of the program's own, needing no library.
int runAbout(const CliOptions& options) {
    std::string text = options.help ? usageText() : options.version ? versionText() : hz::layoutListText();
    if (auto error = writeToStandardOutput(text, OutputEncoding::Utf8)) {
        printError(*error);
        return kFailed;
    }
    return kAllFound;
}

// Every file the run reads, which its output must never replace: the library or font, the input
// text, a paste, sources named one by one (those found in folders are checked once the scan has
// found them).
std::vector<FileRead> filesRead(const CliOptions& options, const hz::GlyphSource* source) {
    std::vector<FileRead> files;
    if (source && !source->filePath().empty())
        files.push_back({source->filePath(), options.fontFile ? "font file" : "library file"});
    if (options.inputFile && *options.inputFile != "-")
        files.push_back({*options.inputFile, "input file"});
    if (options.detectFile && *options.detectFile != "-")
        files.push_back({*options.detectFile, "pasted bytes file"});
    for (const auto& path : options.scanPaths)
        files.push_back({path, "source file"});
    for (const auto& path : options.images)
        files.push_back({path, "picture"});
    return files;
}

} // namespace

int runCli(const std::vector<std::string>& args, const std::string& programDir) {
    ParsedCommandLine parsed = parseCommandLine(args);
    if (parsed.error) {
        printUsageError(*parsed.error);
        return kFailed;
    }
    const CliOptions& options = parsed.options;
    if (options.help || options.version || options.listLayouts)
        return runAbout(options);
    if (options.probe)
        return runProbe(options, programDir);
    // Pictures alone need no glyph source.
    if (!options.images.empty() && !options.text && !options.inputFile) {
        if (auto error = checkOutputTarget(options, filesRead(options, nullptr))) {
            printError(*error);
            return kFailed;
        }
        return runPictures(options);
    }

    std::string sourceError;
    std::shared_ptr<hz::GlyphSource> source = openSource(options, programDir, sourceError);
    if (!source) {
        printError(sourceError);
        return kFailed;
    }
    if (auto error = checkOutputTarget(options, filesRead(options, source.get()))) {
        printError(*error);
        return kFailed;
    }

    const bool scanning = !options.scanPaths.empty();
    ScannedText scanned;
    if (scanning) {
        scanned = textFromScan(options);
        std::vector<FileRead> sources;
        for (const auto& file : scanned.files)
            sources.push_back({file, "source file"});
        if (!scanned.input.error)
            if (auto error = checkOutputTarget(options, sources))
                scanned.input.error = *error;
    }
    InputText input = scanning            ? std::move(scanned.input)
                      : options.inputFile ? textFromFile(*options.inputFile)
                      : options.preview   ? textLinesFromArgument(*options.text)
                                          : textFromArgument(*options.text);
    if (input.error) {
        printError(*input.error);
        return kFailed;
    }
    if (options.detectFile)
        return runDetect(options, *source, input, programDir);
    // Pictures with a text are drawn on its preview panel, before and after it as given.
    PreviewPictures pictures;
    if (!options.images.empty()) {
        const auto read = readPictures(options);
        if (!read) {
            printError(*options.outputFile + " was not written");
            return kFailed;
        }
        std::vector<hz::EncodedGlyph> glyphs = pictureGlyphs(*read, options.layout.layout);
        const auto split = glyphs.begin() + static_cast<std::ptrdiff_t>(options.imagesBeforeText);
        pictures.before.assign(std::make_move_iterator(glyphs.begin()), std::make_move_iterator(split));
        pictures.after.assign(std::make_move_iterator(split), std::make_move_iterator(glyphs.end()));
    }

    // A scan that found nothing still writes its (empty) output, so that a build never keeps an
    // old font; pictures are drawn whatever the text.
    if (input.characters.empty() && !scanning && options.images.empty())
        return kAllFound;
    if (input.characters.empty() && scanning)
        printError("no characters found in the scanned sources; the output holds none");

    const bool lvgl = options.format == OutputFormat::Lvgl || options.format == OutputFormat::LvglBin;
    GlyphPass pass(std::move(source), input, [](const std::string& message) { printError(message); });
    const bool fontFile = options.format == OutputFormat::U8g2 || options.format == OutputFormat::Bdf;
    const int status = options.format == OutputFormat::Header ? runHeader(options, pass)
                       : lvgl                                 ? runLvgl(options, pass)
                       : fontFile                             ? runFontFile(options, pass)
                       : options.preview                      ? runPreview(options, pass, input, pictures)
                                                              : runExport(options, pass);
    return status == kAllFound && scanned.literalsRefused ? kSomeRefused : status;
}

} // namespace hz::cli

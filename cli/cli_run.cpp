#include "cli/cli_run.h"

#include "cli/cli_options.h"
#include "cli/detect_command.h"
#include "cli/glyph_pass.h"
#include "cli/input_text.h"
#include "cli/output_sink.h"
#include "cli/output_writer.h"
#include "cli/scan_input.h"
#include "cli/source_choice.h"
#include "cli/usage_text.h"

#include "core/glyph/glyph_record.h"
#include "core/library/font_library.h"
#include "core/output/c_header.h"
#include "core/output/export_layout.h"
#include "core/output/panel_picture.h"
#include "core/text/dot_matrix_text.h"
#include "core/text/utf8.h"

#include <cstdio>

namespace hzcli {
namespace {

void printError(const std::string& message) {
    std::fprintf(stderr, "hzdot-cli: %s\n", message.c_str());
}

// 24x24 library records have no bytes in the two half-column arrangements; say so once, and what
// gives them.
void noteMissingHalves(const CliOptions& options, const hz::GlyphSource& source) {
    const int position = source.libraryPosition();
    if (position < 0 || hz::hasHalfColumns(position))
        return;
    for (const auto& form : hz::exportForms(options.layout)) {
        if (form.choice.kind != hz::LayoutChoice::Kind::Arrangement)
            continue;
        const hz::Arrangement a = form.choice.arrangement;
        if (a != hz::Arrangement::HalfUp && a != hz::Arrangement::HalfDown)
            continue;
        printError(std::string(hz::fontLibrary(position).name.substr(0, 5)) + " records have no bytes in " +
                   std::string(hz::arrangementName(a)) + "; --layout " + hz::layoutName(hz::arrangementLayout(a)) +
                   " gives them");
    }
}

// Export all: for each arrangement of the choice, every record's assembly block, a line break, then
// every record's C block. The records are looked up again for each part rather than kept.
void writeExportAll(GlyphPass& pass, const CliOptions& options, ChunkedOutput& out) {
    for (const auto& form : hz::exportForms(options.layout)) {
        pass.run([&](const hz::GlyphRecord& record) {
            hz::appendAssemblyBlock(out.buffer(), record, form);
            out.maybeFlush();
        });
        out.buffer() += "\r\n";
        pass.run([&](const hz::GlyphRecord& record) {
            hz::appendCBlock(out.buffer(), record, form);
            out.buffer() += "\r\n";
            out.maybeFlush();
        });
    }
}

void writeView(GlyphPass& pass, const CliOptions& options, ChunkedOutput& out) {
    bool first = true;
    pass.run([&](const hz::GlyphRecord& record) {
        if (!first)
            out.buffer() += "\r\n";
        first = false;
        out.buffer() += hz::dotMatrixText(record.cell(), options.marks);
        out.maybeFlush();
    });
}

void writeBytes(GlyphPass& pass, const CliOptions& options, ChunkedOutput& out) {
    const hz::ExportForm form = hz::exportForms(options.layout).front();
    pass.run([&](const hz::GlyphRecord& record) {
        const auto bytes = hz::exportBytes(record, form);
        out.buffer().append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        out.maybeFlush();
    });
}

void writeCurrent(const hz::GlyphRecord& record, const CliOptions& options, ChunkedOutput& out) {
    if (options.view)
        out.buffer() += hz::dotMatrixText(record.cell(), options.marks);
    else if (options.format == OutputFormat::Bin) {
        const auto bytes = hz::exportBytes(record, hz::exportForms(options.layout).front());
        out.buffer().append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    } else
        out.buffer() += hz::exportCurrentText(record, options.layout);
}

// Writes a header or a picture whole, through the same file sink as the tables.
int writeWhole(const CliOptions& options, GlyphPass& pass, const std::string& bytes) {
    const int found = pass.refusedCount() == 0 ? kAllFound : kSomeRefused;
    std::unique_ptr<OutputSink> sink = fileSink(*options.outputFile);
    auto error = sink->writeBytes(bytes);
    if (!error)
        error = sink->finish(true);
    if (error) {
        printError(*error);
        return kFailed;
    }
    return found;
}

// A C header of the distinct characters found, in the order first met.
int runHeader(const CliOptions& options, GlyphPass& pass) {
    hz::CHeaderInput in;
    std::u32string seen;
    pass.run([&](const hz::GlyphRecord& record) {
        const char32_t ch = hz::decodeUtf8(record.character).text.front();
        if (seen.find(ch) != std::u32string::npos)
            return;
        seen.push_back(ch);
        in.glyphs.push_back({pass.position(), ch, record.cell()});
    });
    const hz::GlyphSource& source = pass.source();
    in.source = source.description();
    in.sourceHeight = source.height();
    in.layout = options.layout.layout;
    in.key = options.key;
    in.name = options.headerName.value_or(hz::defaultHeaderName(in.source, in.sourceHeight));
    const hz::CHeader header = hz::makeCHeader(in);
    for (const auto& left : header.leftOut)
        printError(hz::leftOutMessage(left));
    if (header.glyphCount == 0) {
        printError("no character could be written; " + *options.outputFile + " was not written");
        return kSomeRefused;
    }
    const int status = writeWhole(options, pass, header.text);
    return status == kAllFound && !header.leftOut.empty() ? kSomeRefused : status;
}

// The picture of the text on a panel, drawn from its bytes decoded back. Only the glyphs that can
// reach the panel are kept.
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
    if (cells.empty()) {
        printError("no character was found; " + *options.outputFile + " was not written");
        return pass.refusedCount() == 0 ? kAllFound : kSomeRefused;
    }
    return writeWhole(options, pass, hz::previewPng(cells, options.layout.layout, size));
}

// Every file the run reads, which its output must never replace: the library or font, the input
// text, a paste, sources named one by one.
std::vector<FileRead> filesRead(const CliOptions& options, const hz::GlyphSource& source) {
    std::vector<FileRead> files;
    if (!source.filePath().empty())
        files.push_back({source.filePath(), options.fontFile ? "font file" : "library file"});
    if (options.inputFile && *options.inputFile != "-")
        files.push_back({*options.inputFile, "input file"});
    if (options.detectFile && *options.detectFile != "-")
        files.push_back({*options.detectFile, "pasted bytes file"});
    for (const auto& path : options.scanPaths)
        files.push_back({path, "source file"});
    return files;
}

int runOutput(const CliOptions& options, GlyphPass& pass) {
    if (options.format == OutputFormat::Header)
        return runHeader(options, pass);
    if (options.preview)
        return runPreview(options, pass);
    const bool bytes = options.format == OutputFormat::Bin && !options.view;
    std::unique_ptr<OutputSink> sink =
        options.outputFile ? fileSink(*options.outputFile) : standardOutputSink(options.encoding);
    ChunkedOutput out(*sink, bytes);

    // The first pass reports the refused characters; later passes see the same found ones.
    if (options.current) {
        const auto last = pass.lastFound();
        if (last)
            writeCurrent(*last, options, out);
    } else if (options.view) {
        writeView(pass, options, out);
    } else if (bytes) {
        writeBytes(pass, options, out);
    } else {
        writeExportAll(pass, options, out);
    }
    if (!options.view)
        noteMissingHalves(options, pass.source());

    const int found = pass.refusedCount() == 0 ? kAllFound : kSomeRefused;
    if (pass.foundCount() == 0) {
        sink->finish(false);
        if (options.outputFile)
            printError("no character was found; " + *options.outputFile + " was not written");
        return found;
    }
    out.flush();
    auto error = out.error();
    if (!error)
        error = sink->finish(true);
    else
        sink->finish(false);
    if (error) {
        printError(*error);
        return kFailed;
    }
    return found;
}

} // namespace

int runCli(const std::vector<std::string>& args, const std::string& programDir) {
    ParsedCommandLine parsed = parseCommandLine(args);
    if (parsed.error) {
        printError(*parsed.error);
        std::fprintf(stderr, "Try 'hzdot-cli --help' for more information.\n");
        return kFailed;
    }
    const CliOptions& options = parsed.options;
    if (options.help || options.version || options.listLayouts) {
        std::string text = options.help ? usageText() : options.version ? versionText() : hz::layoutListText();
        if (auto error = writeToStandardOutput(text, OutputEncoding::Utf8)) {
            printError(*error);
            return kFailed;
        }
        return kAllFound;
    }

    if (options.probe) {
        const LibraryProbe probe = probeUserLibrary(options, programDir);
        if (probe.error) {
            printError(*probe.error);
            return kFailed;
        }
        return writeToStandardOutput(hz::probeReport(probe.result), OutputEncoding::Utf8) ? kFailed : kAllFound;
    }

    std::string sourceError;
    std::shared_ptr<hz::GlyphSource> source = openSource(options, programDir, sourceError);
    if (!source) {
        printError(sourceError);
        return kFailed;
    }
    if (auto error = checkOutputTarget(options, filesRead(options, *source))) {
        printError(*error);
        return kFailed;
    }

    InputText input = !options.scanPaths.empty() ? textFromScan(options)
                      : options.inputFile        ? textFromFile(*options.inputFile)
                                                 : textFromArgument(*options.text);
    if (input.error) {
        printError(*input.error);
        return kFailed;
    }
    if (options.detectFile) {
        if (input.characters.size() != 1) {
            printError("--detect needs exactly one character as TEXT, not " + std::to_string(input.characters.size()));
            return kFailed;
        }
        return runDetect(options, *source, input.characters.front());
    }
    if (input.characters.empty())
        return kAllFound;

    GlyphPass pass(std::move(source), input, [](const std::string& message) { printError(message); });
    return runOutput(options, pass);
}

} // namespace hzcli

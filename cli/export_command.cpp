#include "cli/export_command.h"

#include "cli/exit_status.h"
#include "cli/export_blocks.h"
#include "cli/output_sink.h"
#include "cli/print_error.h"

#include "core/glyph/glyph_record.h"
#include "core/library/font_library.h"
#include "core/output/export_layout.h"
#include "core/text/dot_matrix_text.h"

namespace hz::cli {
namespace {

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
// every record's C block. What a character's blocks are made of is kept the first time it comes:
// the first walk looks up only the characters not met before (and reports the refused ones), and
// later walks take the characters found by the first, looking one up again only where it was not
// kept.
void writeExportAll(GlyphPass& pass, const CliOptions& options, const OutputSink& sink, ChunkedOutput& out) {
    for (const auto& form : hz::exportForms(options.layout)) {
        ExportBlocks blocks(form, sink);
        // Whether the character can be written, kept from its record if it was not.
        const auto ready = [&](char32_t character, const hz::GlyphRecord* record, std::size_t position) {
            if (out.error())
                return false;
            if (blocks.has(character))
                return true;
            std::optional<hz::GlyphRecord> again;
            if (!record && (again = pass.recordAt(position)))
                record = &*again;
            if (!record) {
                out.fail("cannot write the output: " + pass.where(position) + " " + describeCharacter(character) +
                         " is no longer found");
                return false;
            }
            if (auto error = blocks.keep(character, *record)) {
                out.fail(std::move(*error));
                return false;
            }
            return true;
        };
        const auto assembly = [&](char32_t character) {
            blocks.appendAssembly(out.buffer(), character);
            out.maybeFlush();
        };
        if (!pass.walked())
            pass.run([&](char32_t character) { return blocks.has(character); },
                     [&](std::size_t position, char32_t character, const hz::GlyphRecord* record) {
                         if (ready(character, record, position))
                             assembly(character);
                     });
        else
            pass.runFound([&](std::size_t position, char32_t character) {
                if (ready(character, nullptr, position))
                    assembly(character);
            });
        out.buffer() += "\r\n";
        pass.runFound([&](std::size_t position, char32_t character) {
            if (ready(character, nullptr, position)) {
                blocks.appendC(out.buffer(), character);
                out.maybeFlush();
            }
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

} // namespace

int runExport(const CliOptions& options, GlyphPass& pass) {
    const bool bytes = options.format == OutputFormat::Bin && !options.view;
    std::unique_ptr<OutputSink> sink =
        options.outputFile ? fileSink(*options.outputFile) : standardOutputSink(options.encoding);
    // Export all makes its text in the sink's bytes itself.
    const bool exportAll = !options.current && !options.view && !bytes;
    ChunkedOutput out(*sink, bytes || exportAll);

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
        writeExportAll(pass, options, *sink, out);
    }
    if (!options.view)
        noteMissingHalves(options, pass.source());

    const int found = pass.refusedCount() == 0 ? kAllFound : kSomeRefused;
    // An empty input (a scan that found nothing) gives an empty output.
    if (pass.foundCount() == 0 && pass.refusedCount() != 0) {
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

} // namespace hz::cli

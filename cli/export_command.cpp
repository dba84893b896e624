#include "cli/export_command.h"

#include "cli/exit_status.h"
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

} // namespace

int runExport(const CliOptions& options, GlyphPass& pass) {
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

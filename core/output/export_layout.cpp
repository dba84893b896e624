#include "core/output/export_layout.h"

#include "core/output/column_bytes.h"
#include "core/text/byte_text.h"

namespace hz {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// ";样[16*16]横排" or "{//样[16*16]横排"
void appendHeader(std::string& out, const GlyphRecord& record, std::string_view name, bool cPart) {
    out += cPart ? "{//" : ";";
    out += record.character;
    out += '[';
    out += record.sizeText;
    out += ']';
    out += name;
}

ExportForm formOf(Arrangement arrangement) {
    return {LayoutChoice::of(arrangement), std::string(arrangementName(arrangement))};
}

// afterRecord is called after each record's block, where the text so far may be handed on.
template <typename AfterRecord>
void appendAll(std::string& out, std::span<const GlyphRecord> records, const ExportForm& form,
               AfterRecord afterRecord) {
    for (const auto& record : records) {
        appendAssemblyBlock(out, record, form);
        afterRecord();
    }
    out += kCrLf;
    for (const auto& record : records) {
        appendCBlock(out, record, form);
        out += kCrLf;
        afterRecord();
    }
}

void appendCurrent(std::string& out, const GlyphRecord& record, const ExportForm& form) {
    appendAssemblyBlock(out, record, form);
    appendCBlock(out, record, form);
}

std::size_t estimate(std::size_t records, const GlyphRecord* first, std::size_t forms) {
    const std::size_t bytes = first ? first->dots.size() : 32;
    return forms * (records * (bytes * 11 + 64) + 2);
}

} // namespace

std::vector<ExportForm> exportForms(const LayoutChoice& choice) {
    switch (choice.kind) {
    case LayoutChoice::Kind::Arrangement:
        return {formOf(choice.arrangement)};
    case LayoutChoice::Kind::All: {
        std::vector<ExportForm> forms;
        for (int a = 0; a < kArrangementCount; ++a)
            forms.push_back(formOf(static_cast<Arrangement>(a)));
        return forms;
    }
    case LayoutChoice::Kind::Layout:
        // Chosen as a layout (by its name or a preset), it is named so, even where it is one of the
        // five arrangements: ";温[20*20]pages-lsb".
        return {{choice, layoutName(choice.layout)}};
    }
    return {};
}

std::vector<std::uint8_t> exportBytes(const GlyphRecord& record, const ExportForm& form) {
    std::vector<std::uint8_t> bytes;
    exportBytes(record, form, bytes);
    return bytes;
}

void exportBytes(const GlyphRecord& record, const ExportForm& form, std::vector<std::uint8_t>& bytes) {
    const bool arrangement = form.choice.kind == LayoutChoice::Kind::Arrangement;
    if (arrangement && !record.hasBytes(form.choice.arrangement)) {
        bytes.clear();
        return;
    }
    const Layout layout = arrangement ? arrangementLayout(form.choice.arrangement) : form.choice.layout;
    if (plainColumnBytes(record, layout, bytes))
        return;
    bytes = arrangement ? record.bytes(form.choice.arrangement) : record.bytes(form.choice.layout);
}

void appendHeaderLine(std::string& out, const GlyphRecord& record, const ExportForm& form, bool cBlock) {
    appendHeader(out, record, form.name, cBlock);
    out += kCrLf;
}

void appendAssemblyBlock(std::string& out, const GlyphRecord& record, const ExportForm& form) {
    appendHeaderLine(out, record, form, false);
    appendAssemblyText(out, exportBytes(record, form)); // ends with CR LF unless empty
    out += kCrLf;
}

void appendCBlock(std::string& out, const GlyphRecord& record, const ExportForm& form) {
    appendHeaderLine(out, record, form, true);
    appendCText(out, exportBytes(record, form));
    out += "};";
}

std::string exportAllText(std::span<const GlyphRecord> records, Arrangement arrangement) {
    return exportAllText(records, LayoutChoice::of(arrangement));
}

std::string exportCurrentText(const GlyphRecord& record, Arrangement arrangement) {
    return exportCurrentText(record, LayoutChoice::of(arrangement));
}

std::string exportAllText(std::span<const GlyphRecord> records, const LayoutChoice& choice) {
    const auto forms = exportForms(choice);
    std::string out;
    out.reserve(estimate(records.size(), records.empty() ? nullptr : &records.front(), forms.size()));
    for (const auto& form : forms)
        appendAll(out, records, form, [] {});
    return out;
}

void exportAllPieces(std::span<const GlyphRecord> records, const LayoutChoice& choice,
                     const std::function<void(std::string_view)>& take, std::size_t chunk) {
    std::string out;
    out.reserve(chunk + 4096);
    const auto handOn = [&] {
        take(out);
        out.clear();
    };
    for (const auto& form : exportForms(choice))
        appendAll(out, records, form, [&] {
            if (out.size() >= chunk)
                handOn();
        });
    if (!out.empty())
        handOn();
}

std::string exportCurrentText(const GlyphRecord& record, const LayoutChoice& choice) {
    // "全部" puts a line break between the blocks, so each header starts a line.
    std::string out;
    for (const auto& form : exportForms(choice)) {
        if (!out.empty())
            out += kCrLf;
        appendCurrent(out, record, form);
    }
    return out;
}

} // namespace hz

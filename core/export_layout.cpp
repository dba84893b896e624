#include "core/export_layout.h"

namespace hz {

namespace {

constexpr std::string_view kCrLf = "\r\n";

const std::string& assemblyOf(const GlyphRecord& record, Arrangement arrangement) {
    return record.assembly[static_cast<std::size_t>(arrangement)];
}
const std::string& cOf(const GlyphRecord& record, Arrangement arrangement) {
    return record.c[static_cast<std::size_t>(arrangement)];
}

void appendHeader(std::string& out, const GlyphRecord& record, Arrangement arrangement, bool cPart) {
    const std::string_view size = std::string_view(record.tag).substr(0, 2);
    out += cPart ? "{//" : ";";
    out += record.character;
    out += '[';
    out += size;
    out += '*';
    out += size;
    out += ']';
    out += arrangementName(arrangement);
}

void appendAssemblyBlock(std::string& out, const GlyphRecord& record, Arrangement arrangement) {
    appendHeader(out, record, arrangement, false);
    out += kCrLf;
    out += assemblyOf(record, arrangement); // ends with CR LF unless empty
    out += kCrLf;
}

void appendCBlock(std::string& out, const GlyphRecord& record, Arrangement arrangement) {
    appendHeader(out, record, arrangement, true);
    out += kCrLf;
    out += cOf(record, arrangement);
    out += "};";
}

} // namespace

std::string RecordHeader(const GlyphRecord& record, Arrangement arrangement, bool cPart) {
    std::string header;
    appendHeader(header, record, arrangement, cPart);
    return header;
}

std::string exportAllText(std::span<const GlyphRecord> records, Arrangement arrangement) {
    std::size_t size = 2;
    for (const auto& record : records)
        size += assemblyOf(record, arrangement).size() + cOf(record, arrangement).size() + 64;
    std::string out;
    out.reserve(size);
    for (const auto& record : records)
        appendAssemblyBlock(out, record, arrangement);
    out += kCrLf;
    for (const auto& record : records) {
        appendCBlock(out, record, arrangement);
        out += kCrLf;
    }
    return out;
}

std::string exportCurrentText(const GlyphRecord& record, Arrangement arrangement) {
    std::string out;
    out.reserve(assemblyOf(record, arrangement).size() + cOf(record, arrangement).size() + 64);
    appendAssemblyBlock(out, record, arrangement);
    appendCBlock(out, record, arrangement);
    return out;
}

} // namespace hz

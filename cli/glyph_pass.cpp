#include "cli/glyph_pass.h"

#include "core/text/utf8.h"

#include <cstdio>

namespace hz::cli {

std::string describeCharacter(char32_t ch) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(ch));
    const bool control = ch < 0x20 || (ch >= 0x7F && ch < 0xA0);
    if (control)
        return code;
    return "'" + hz::encodeUtf8(ch) + "' (" + code + ")";
}

GlyphPass::GlyphPass(std::shared_ptr<hz::GlyphSource> source, const InputText& input, Report report)
    : glyphSource(std::move(source)), input(input), report(std::move(report)) {}

void GlyphPass::refuse(std::size_t position, char32_t character, hz::LookupStatus status) {
    std::string where = "character " + std::to_string(position + 1);
    if (auto place = input.place(position))
        where += " (line " + std::to_string(place->line) + ", column " + std::to_string(place->column) + ")";
    report(where + " " + describeCharacter(character) + ": " + hz::statusMessage(status));
}

void GlyphPass::run(const std::function<void(const hz::GlyphRecord&)>& onFound) {
    const bool first = !walked;
    hz::DotCell cell;
    hz::GlyphRecord record;
    const std::u32string& text = input.characters;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const hz::LookupStatus status = glyphSource->glyph(text[i], cell);
        if (status != hz::LookupStatus::Found) {
            if (first) {
                ++refused;
                refuse(i, text[i], status);
            }
            continue;
        }
        if (first)
            ++found;
        hz::fillRecord(record, text[i], cell, *glyphSource);
        current = i;
        onFound(record);
    }
    walked = true;
}

std::optional<hz::GlyphRecord> GlyphPass::lastFound() {
    std::optional<hz::GlyphRecord> last;
    run([&](const hz::GlyphRecord& record) { last = record; });
    return last;
}

} // namespace hz::cli

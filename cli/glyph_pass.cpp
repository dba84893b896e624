#include "cli/glyph_pass.h"

#include "core/glyph/text_walk.h"
#include "core/text/code_point_text.h"
#include "core/text/utf8.h"
#include "fontsource/module_font.h"

namespace hz::cli {

std::string describeCharacter(char32_t ch) {
    const std::string code = hz::codePointText(ch);
    const bool control = ch < 0x20 || (ch >= 0x7F && ch < 0xA0);
    if (control)
        return code;
    return "'" + hz::encodeUtf8(ch) + "' (" + code + ")";
}

GlyphPass::GlyphPass(std::shared_ptr<hz::GlyphSource> source, const InputText& input, Report report)
    : glyphSource(std::move(source)), input(input), report(std::move(report)) {}

std::string GlyphPass::where(std::size_t position) const {
    if (position < input.origins.size())
        return input.origins[position] + ":";
    std::string where = "character " + std::to_string(position + 1);
    if (auto place = input.place(position))
        where += " (line " + std::to_string(place->line) + ", column " + std::to_string(place->column) + ")";
    return where;
}

void GlyphPass::refuse(std::size_t position, char32_t character, hz::LookupStatus status) {
    report(where(position) + " " + describeCharacter(character) + ": " + hz::statusMessage(status));
}

void GlyphPass::prefetch() {
    // A font draws the glyphs of a long text on every core before the walk takes them.
    if (auto* font = dynamic_cast<hz::fontsource::ModuleFont*>(glyphSource.get()))
        font->prefetch(input.characters);
}

void GlyphPass::run(const std::function<void(const hz::GlyphRecord&)>& onFound) {
    // Refusals are told, and counts kept, on the first walk only: later walks see the same text.
    const bool first = !walkedOnce;
    if (first) {
        foundAt.assign(input.characters.size(), false);
        prefetch();
    }
    hz::walkText(
        input.characters, *glyphSource,
        [&](std::size_t position, const hz::GlyphRecord& record) {
            if (first) {
                ++found;
                foundAt[position] = true;
            }
            current = position;
            onFound(record);
        },
        [&](const hz::RefusedCharacter& refusal) {
            if (!first)
                return;
            ++refused;
            refuse(refusal.position, refusal.character, refusal.status);
        });
    walkedOnce = true;
}

void GlyphPass::run(const std::function<bool(char32_t)>& known,
                    const std::function<void(std::size_t, char32_t, const hz::GlyphRecord*)>& onFound) {
    const bool first = !walkedOnce;
    if (first) {
        foundAt.assign(input.characters.size(), false);
        prefetch();
    }
    hz::DotCell cell;
    hz::GlyphRecord record; // one for the whole walk, as walkText does
    for (std::size_t position = 0; position < input.characters.size(); ++position) {
        const char32_t character = input.characters[position];
        current = position;
        const hz::GlyphRecord* given = nullptr;
        if (!known(character)) {
            const hz::LookupStatus status = glyphSource->glyph(character, cell);
            if (status != hz::LookupStatus::Found) {
                if (first) {
                    ++refused;
                    refuse(position, character, status);
                }
                continue;
            }
            hz::fillRecord(record, character, cell, *glyphSource);
            given = &record;
        }
        if (first) {
            ++found;
            foundAt[position] = true;
        }
        onFound(position, character, given);
    }
    walkedOnce = true;
}

void GlyphPass::runFound(const std::function<void(std::size_t, char32_t)>& onFound) const {
    for (std::size_t position = 0; position < foundAt.size(); ++position)
        if (foundAt[position])
            onFound(position, input.characters[position]);
}

std::optional<hz::GlyphRecord> GlyphPass::recordAt(std::size_t position) {
    const char32_t character = input.characters.at(position);
    hz::DotCell cell;
    if (glyphSource->glyph(character, cell) != hz::LookupStatus::Found)
        return std::nullopt;
    hz::GlyphRecord record;
    hz::fillRecord(record, character, cell, *glyphSource);
    return record;
}

std::optional<hz::GlyphRecord> GlyphPass::lastFound() {
    std::optional<hz::GlyphRecord> last;
    run([&](const hz::GlyphRecord& record) { last = record; });
    return last;
}

} // namespace hz::cli

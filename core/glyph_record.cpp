#include "core/glyph_record.h"

#include "core/byte_text.h"
#include "core/utf8.h"

namespace hz {

namespace {

// Two decimal digits of the tag from index at, or 0 when they are not digits.
int tagNumber(const std::string& tag, std::size_t at) {
    if (tag.size() < at + 2)
        return 0;
    const char a = tag[at];
    const char b = tag[at + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9')
        return 0;
    return (a - '0') * 10 + (b - '0');
}

std::string twoDigits(int value) {
    return std::string{static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

} // namespace

int GlyphRecord::glyphBytes() const {
    return tagNumber(tag, 2);
}
int GlyphRecord::cellSize() const {
    return tagNumber(tag, 4);
}
std::string GlyphRecord::sizeNumber() const {
    return tag.substr(0, 2);
}

GlyphRecord buildRecord(char32_t character, const Glyph& glyph, int libraryPosition, int spaceX, int spaceY) {
    const FontLibrary& library = fontLibrary(libraryPosition);
    const ArrangementTables tables = MakeArrangements(glyph, libraryPosition, spaceX, spaceY);
    // The names begin with ASCII ("16*16宋体"), so a byte prefix is a character prefix.
    const std::string_view name = library.name;

    GlyphRecord record;
    record.character = encodeUtf8(character);
    record.sizeText = std::string(name.substr(0, 5));
    const int inPlay = hasHalfColumns(libraryPosition) ? kArrangementCount : 3;
    for (int a = 0; a < inPlay; ++a) {
        const auto& bytes = tables.tables[static_cast<std::size_t>(a)];
        record.assembly[static_cast<std::size_t>(a)] = assemblyText(bytes);
        record.c[static_cast<std::size_t>(a)] = cText(bytes);
    }
    record.tag = std::string(name.substr(0, 2)) + twoDigits(glyph.GlyphBytes) + twoDigits(glyph.CellSize);
    return record;
}

RecordLookup::RecordLookup(std::string_view programDir, const LookupSettings& settings)
    : settings(settings),
      reader(libraryPath(programDir, fontLibrary(settings.libraryPosition)), fontLibrary(settings.libraryPosition)) {}

LookupStatus RecordLookup::lookup(char32_t character, GlyphRecord& record) {
    const LookupStatus status = reader.read(character, glyph);
    if (status == LookupStatus::Found)
        record = buildRecord(character, glyph, settings.libraryPosition, settings.spaceX, settings.spaceY);
    return status;
}

LookupResult lookupText(std::u32string_view text, std::string_view programDir, const LookupSettings& settings) {
    LookupResult result;
    result.records.reserve(text.size());
    RecordLookup lookup(programDir, settings);
    for (std::size_t i = 0; i < text.size(); ++i) {
        GlyphRecord record;
        const LookupStatus status = lookup.lookup(text[i], record);
        if (status == LookupStatus::Found)
            result.records.push_back(std::move(record));
        else
            result.refused.push_back({i, text[i], status});
    }
    return result;
}

} // namespace hz

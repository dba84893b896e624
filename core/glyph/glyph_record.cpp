#include "core/glyph/glyph_record.h"

#include "core/layout/layout_presets.h"
#include "core/library/font_library.h"
#include "core/text/byte_text.h"
#include "core/text/utf8.h"

namespace hz {

namespace {

std::string twoDigits(int value) {
    return std::string{static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

} // namespace

DotCell GlyphRecord::cell() const {
    return DotCell::fromRowBytes(dots, width, height, widthClass);
}

bool GlyphRecord::hasBytes(Arrangement a) const {
    const bool half = a == Arrangement::HalfUp || a == Arrangement::HalfDown;
    return !(half && libraryPosition >= 0 && !hasHalfColumns(libraryPosition));
}

std::vector<std::uint8_t> GlyphRecord::bytes(Arrangement a) const {
    if (!hasBytes(a))
        return {};
    if (a == Arrangement::Rows)
        return dots;
    return bytes(arrangementLayout(a));
}

std::vector<std::uint8_t> GlyphRecord::bytes(const Layout& layout) const {
    return encodeCell(cell(), layout);
}

std::string GlyphRecord::assemblyText(Arrangement a) const {
    return hasBytes(a) ? hz::assemblyText(bytes(a)) : std::string();
}

std::string GlyphRecord::cText(Arrangement a) const {
    return hasBytes(a) ? hz::cText(bytes(a)) : std::string();
}

std::string GlyphRecord::tag() const {
    return sizeNumber() + twoDigits(glyphBytes()) + twoDigits(cellSize());
}

int GlyphRecord::glyphBytes() const {
    return static_cast<int>(dots.size());
}

int GlyphRecord::cellSize() const {
    return height;
}

std::string GlyphRecord::sizeNumber() const {
    return sizeText.substr(0, sizeText.find('*'));
}

GlyphRecord makeRecord(char32_t character, const DotCell& cell, const GlyphSource& source) {
    GlyphRecord record;
    fillRecord(record, character, cell, source);
    return record;
}

void fillRecord(GlyphRecord& record, char32_t character, const DotCell& cell, const GlyphSource& source) {
    record.character = encodeUtf8(character);
    record.sizeText = source.sizeText(cell);
    const auto perRow = static_cast<std::size_t>((cell.width() + 7) / 8);
    record.dots.resize(perRow * static_cast<std::size_t>(cell.height()));
    std::uint8_t* out = record.dots.data();
    for (int y = 0; y < cell.height(); ++y)
        for (std::size_t k = 0; k < perRow; ++k)
            *out++ = static_cast<std::uint8_t>(cell.row(y) >> (56 - 8 * k));
    record.width = static_cast<std::uint8_t>(cell.width());
    record.height = static_cast<std::uint8_t>(cell.height());
    record.widthClass = cell.widthClass();
    record.libraryPosition = static_cast<std::int8_t>(source.libraryPosition());
}

GlyphRecord buildRecord(char32_t character, const Glyph& glyph, int libraryPosition, int spaceX, int spaceY) {
    const ArrangementTables tables = MakeArrangements(glyph, libraryPosition, spaceX, spaceY);
    const auto& rows = tables[Arrangement::Rows];
    GlyphRecord record;
    record.character = encodeUtf8(character);
    record.sizeText = std::string(fontLibrary(libraryPosition).name.substr(0, 5));
    record.dots = rows;
    record.width = record.height = static_cast<std::uint8_t>(glyph.CellSize);
    record.libraryPosition = static_cast<std::int8_t>(libraryPosition);
    return record;
}

RecordLookup::RecordLookup(std::string_view programDir, const LookupSettings& settings)
    : source(std::make_shared<LibrarySource>(programDir, settings.libraryPosition, settings.spaceX, settings.spaceY)) {}

RecordLookup::RecordLookup(std::shared_ptr<GlyphSource> source) : source(std::move(source)) {}

LookupStatus RecordLookup::lookup(char32_t character, GlyphRecord& record) {
    const LookupStatus status = source->glyph(character, cell);
    if (status == LookupStatus::Found)
        record = makeRecord(character, cell, *source);
    return status;
}

LookupResult lookupText(std::u32string_view text, RecordLookup& lookup) {
    LookupResult result;
    result.records.reserve(text.size());
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

LookupResult lookupText(std::u32string_view text, std::string_view programDir, const LookupSettings& settings) {
    RecordLookup lookup(programDir, settings);
    return lookupText(text, lookup);
}

} // namespace hz

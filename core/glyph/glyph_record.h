#pragma once
// Glyph records: one per looked-up character. A record keeps the glyph's dots; its texts are built
// when they are shown, copied or exported, so a list of a million records stays small.

#include "core/glyph/dot_cell.h"
#include "core/glyph/glyph_source.h"
#include "core/layout/arrangements.h"
#include "core/layout/layout.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace hz {

struct GlyphRecord {
    std::string character;          // UTF-8, as typed
    std::string sizeText;           // "12*12", "16*16", "24*24", or a font's cell "10*20"
    std::vector<std::uint8_t> dots; // the cell as laid out, row by row (DotCell::rowBytes)
    std::uint8_t width = 0;         // the cell's dots across and down
    std::uint8_t height = 0;
    WidthClass widthClass = WidthClass::Full;
    std::int8_t libraryPosition = -1; // 0..5 for the six libraries, -1 for other sources
    std::uint8_t depth = 1;           // bits a dot of the cell; dots then holds its half-level shape
    std::vector<std::uint8_t> levels; // a grey cell's levels, width*height row by row; else empty

    DotCell cell() const; // at the record's depth

    // Whether the record has bytes in an arrangement: 24x24 library records have none in the two
    // half-column arrangements, whose file layout covers 32-byte glyphs only.
    bool hasBytes(Arrangement a) const;
    std::vector<std::uint8_t> bytes(Arrangement a) const; // empty where !hasBytes(a)
    std::vector<std::uint8_t> bytes(const Layout& layout) const;

    std::string assemblyText(Arrangement a) const; // "DB ..." lines; empty where !hasBytes(a)
    std::string cText(Arrangement a) const;        // "0x.." fields; empty where !hasBytes(a)
    std::string assemblyText(int a) const { return assemblyText(static_cast<Arrangement>(a)); }
    std::string cText(int a) const { return cText(static_cast<Arrangement>(a)); }

    // "163216" for a library record: the name's size, the glyph's bytes (rows) and its cell's side.
    std::string tag() const;
    int glyphBytes() const;         // bytes of the cell laid out in rows
    int cellSize() const;           // the cell's height
    std::string sizeNumber() const; // "12", "16", "24": the size before the "*"
};

// The record of one character drawn by a source, into an existing record, reusing its memory: a long
// walk over a text fills one record.
void fillRecord(GlyphRecord& record, char32_t character, const DotCell& cell, const GlyphSource& source);

} // namespace hz

#include "core/library/library_source.h"

#include "core/layout/arrangements.h"
#include "core/library/font_library.h"

#include <sys/stat.h>

namespace hz {

LibrarySource::LibrarySource(std::string_view programDir, int libraryPosition, int spaceX, int spaceY)
    : position(libraryPosition), spaceX(spaceX), spaceY(spaceY),
      file(libraryPath(programDir, fontLibrary(libraryPosition))), reader(file, fontLibrary(libraryPosition)),
      cellText(libraryPosition == kTwelvePosition ? "12*12"
                                                  : cellSizeText(fontLibrary(libraryPosition).CellSize,
                                                                 fontLibrary(libraryPosition).CellSize)) {}

LookupStatus LibrarySource::glyph(char32_t character, DotCell& cell) {
    const LookupStatus status = reader.read(character, read);
    if (status != LookupStatus::Found)
        return status;
    if (position == kTwelvePosition) {
        const Cell16 moved = shiftCell(cellFromBytes(read.GlyphData), spaceX, spaceY);
        cell = DotCell(16, 16);
        for (int y = 0; y < 16; ++y)
            cell.setRow(y, static_cast<std::uint64_t>(moved[static_cast<std::size_t>(y)]) << 48);
        return status;
    }
    // Into the cell given, row by row: a walk over a long text reuses one cell.
    const int side = read.CellSize;
    if (cell.width() != side || cell.height() != side || cell.widthClass() != WidthClass::Full)
        cell = DotCell(side, side);
    const int perRow = side / 8;
    const std::uint8_t* bytes = read.GlyphData.data();
    for (int y = 0; y < side; ++y) {
        std::uint64_t bits = 0;
        if (perRow == 2) { // the 16-dot libraries
            bits = static_cast<std::uint64_t>(bytes[0]) << 8 | bytes[1];
            bytes += 2;
        } else {
            for (int k = 0; k < perRow; ++k)
                bits = bits << 8 | *bytes++;
        }
        cell.setRow(y, bits << (64 - side));
    }
    return status;
}

std::string LibrarySource::sizeText(const DotCell& cell) const {
    const int side = fontLibrary(position).CellSize;
    if (position == kTwelvePosition || (cell.width() == side && cell.height() == side))
        return cellText;
    return GlyphSource::sizeText(cell);
}

int LibrarySource::height() const {
    return position == kTwelvePosition ? 12 : fontLibrary(position).CellSize;
}

std::string LibrarySource::description() const {
    return std::string(fontLibrary(position).fileName);
}

std::vector<DotCell> otherLibraryGlyphs(char32_t character, std::string_view folder, int exceptPosition) {
    std::vector<DotCell> faces;
    for (const FontLibrary& library : fontLibraries()) {
        if (library.position == exceptPosition)
            continue;
        struct stat info {};
        if (::stat(libraryPath(folder, library).c_str(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        LibrarySource source(folder, library.position, 2, 2);
        DotCell cell;
        if (source.glyph(character, cell) == LookupStatus::Found && cell.inkCount() > 0)
            faces.push_back(std::move(cell));
    }
    return faces;
}

} // namespace hz

#include "core/library/user_library.h"
#include "core/library/library_source.h"

#include "core/text/codepage.h"

#include <cstdio>
#include <stdexcept>

namespace hz {

namespace {

constexpr int kRowCells = 94;

} // namespace

std::string hexRow(int row) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", row);
    return text;
}

long userRecordNumber(std::uint16_t code, int firstRow) {
    const int hi = code >> 8;
    const int lo = code & 0xFF;
    if (hi < firstRow || hi > 0xFE || lo < 0xA1 || lo > 0xFE)
        return -1;
    return static_cast<long>(hi - firstRow) * kRowCells + (lo - 0xA1);
}

Result<void> checkGeometry(const LibraryGeometry& geometry) {
    if (geometry.cell < kMinLibraryCell || geometry.cell > DotCell::kMaxSide)
        return Problem{.kind = ProblemKind::CellOutOfRange, .number = geometry.cell};
    if (geometry.firstRow < 0xA1 || geometry.firstRow > 0xFE)
        return Problem{.kind = ProblemKind::FirstRowOutOfRange, .number = geometry.firstRow};
    return {};
}

UserLibrarySource::UserLibrarySource(std::string path, const LibraryGeometry& geometry)
    : path_(std::move(path)), geometry_(geometry) {
    if (!checkGeometry(geometry))
        throw std::invalid_argument("a library geometry out of range");
    record.resize(static_cast<std::size_t>(geometry.recordBytes()));
}

std::string UserLibrarySource::description() const {
    return path_ + ", " + std::to_string(geometry_.cell) + " dots from row " + hexRow(geometry_.firstRow) + ", " +
           layoutName(geometry_.recordLayout);
}

LookupStatus UserLibrarySource::glyph(char32_t character, DotCell& cell) {
    // The file first, as for the six libraries: a missing file is reported for any input.
    if (!file.isOpen() && !file.open(path_))
        return LookupStatus::LibraryMissing;
    const auto code = cp936Code(character);
    const long number = code ? userRecordNumber(*code, geometry_.firstRow) : -1;
    if (number < 0)
        return LookupStatus::NotChinese;

    const auto offset = static_cast<std::uint64_t>(number) * record.size();
    const LookupStatus status = file.read(offset, record.size(), record.data());
    if (status != LookupStatus::Found)
        return status;
    cell = decodeCell(record, geometry_.recordLayout, geometry_.cell, geometry_.cell);
    return status;
}

} // namespace hz

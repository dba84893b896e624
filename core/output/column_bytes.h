#pragma once
// The bytes of a one-bit record in a column or page layout without flags (the four column
// arrangements, and any such layout named), made straight from the record's row bytes: an export
// lays out thousands of records, and this skips the cell the general encoder works from.

#include "core/glyph/glyph_record.h"
#include "core/layout/layout.h"

#include <cstdint>
#include <vector>

namespace hz {

// Writes what encodeCell(record.cell(), layout) gives into bytes and returns true, when the record
// is one bit a dot with sides a multiple of 8 and the layout scans columns or pages, one bit a dot,
// with no flag; otherwise returns false and leaves bytes alone.
bool plainColumnBytes(const GlyphRecord& record, const Layout& layout, std::vector<std::uint8_t>& bytes);

} // namespace hz

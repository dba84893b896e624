#pragma once
// The export file's text: assembly blocks, then C blocks, CR LF line ends (UTF-8 here; the file
// itself is code page 936, see utf8ToCp936).

#include "arrangements.h"
#include "glyph_record.h"

#include <span>
#include <string>

namespace hz {

// ";样[16*16]横排" or "{//样[16*16]横排"
std::string RecordHeader(const GlyphRecord& record, Arrangement arrangement, bool cPart);

std::string exportAllText(std::span<const GlyphRecord> records, Arrangement arrangement);
std::string exportCurrentText(const GlyphRecord& record, Arrangement arrangement);

} // namespace hz

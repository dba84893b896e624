#pragma once
// The export file's text: assembly blocks, then C blocks, CR LF line ends (UTF-8 here; the file
// itself is code page 936, see utf8ToCp936).
//
// Export all, for one arrangement or layout:   ;样[16*16]横排 CRLF  DB lines  CRLF   (per record)
//                                              CRLF
//                                              {//样[16*16]横排 CRLF  C lines };  CRLF  (per record)
// Export current: the record's assembly block, then its C block with no line end after "};".
// "全部" writes the five arrangements' texts one after another, 横排 first (export current puts a
// CR LF between its five blocks). A layout other than the
// five, or any layout chosen by its name or a preset, is written in the same shapes with its name in
// the headers: ";样[16*16]pages-lsb-invert", ";温[20*20]pages-lsb".

#include "core/glyph/glyph_record.h"
#include "core/layout/arrangements.h"
#include "core/layout/layout_presets.h"

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hz {

std::string exportAllText(std::span<const GlyphRecord> records, Arrangement arrangement);
std::string exportCurrentText(const GlyphRecord& record, Arrangement arrangement);

std::string exportAllText(std::span<const GlyphRecord> records, const LayoutChoice& choice);
std::string exportCurrentText(const GlyphRecord& record, const LayoutChoice& choice);

// Export all's text as exportAllText makes it, handed to take in pieces of about chunk bytes, each
// ending where a record's block ends (so at a character's end), so that a long list is written
// without its whole text in memory. Nothing is handed on for an empty text.
void exportAllPieces(std::span<const GlyphRecord> records, const LayoutChoice& choice,
                     const std::function<void(std::string_view)>& take, std::size_t chunk = 1 << 20);

// One arrangement or layout of a choice, as the export texts write it. "全部" is five of these.
struct ExportForm {
    LayoutChoice choice; // Kind::Arrangement or Kind::Layout
    std::string name;    // in record headers: "横排", "pages-lsb-invert"
};
std::vector<ExportForm> exportForms(const LayoutChoice& choice);

// The pieces of an export, so that a long one can be written a few records at a time.
std::vector<std::uint8_t> exportBytes(const GlyphRecord& record, const ExportForm& form); // empty: none
// The same into bytes, whose memory a walk over many records reuses.
void exportBytes(const GlyphRecord& record, const ExportForm& form, std::vector<std::uint8_t>& bytes);
void appendAssemblyBlock(std::string& out, const GlyphRecord& record, const ExportForm& form);
void appendCBlock(std::string& out, const GlyphRecord& record, const ExportForm& form); // ends with "};"
// A block's first line, its line break included: ";样[16*16]横排" CR LF, or for the C block
// "{//样[16*16]横排" CR LF. What follows it is the record's bytes as appendAssemblyText or appendCText
// writes them, then CR LF after the assembly text or "};" after the C text.
void appendHeaderLine(std::string& out, const GlyphRecord& record, const ExportForm& form, bool cBlock);

} // namespace hz

#include "tools/mkfont/library_builder.h"

#include "tools/mkfont/cell_placement.h"
#include "tools/mkfont/code_table.h"
#include "tools/mkfont/dot_cell.h"
#include "tools/mkfont/font_face.h"
#include "tools/mkfont/glyph_set.h"
#include "tools/mkfont/legacy_codes.h"
#include "tools/mkfont/mkfont_error.h"
#include "tools/mkfont/traditional_map.h"

#include "core/font_library.h"
#include "core/safe_writer.h"
#include "core/utf8.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace mkfont {

namespace {

namespace fs = std::filesystem;

struct BuildStats {
    int assigned = 0;
    int missing = 0;
    int gb2312Assigned = 0; // of the above, the codes GB2312 itself assigns
    int gb2312Missing = 0;
    int moved = 0;
    int shrunk = 0;
    int cropped = 0;
    int traditionalForms = 0;
    int variant = 0;
    int ownForm = 0;
    std::vector<std::string> notes; // a line per code without a glyph and per adjusted glyph
};

// The record size the program expects for cells of this size.
int recordSizeFor(int size) {
    for (const hz::FontLibrary& library : hz::fontLibraries()) {
        if (library.recordSize == size * rowBytes(size))
            return library.recordSize;
    }
    throw MkfontError("no library has " + std::to_string(size) + "x" + std::to_string(size) + " records");
}

// Checked before any work, so that a typo costs nothing.
void checkOutput(const Options& options) {
    const fs::path output(options.outputPath);
    fs::path folder = output.parent_path();
    if (folder.empty())
        folder = ".";
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        throw MkfontError(options.outputPath + ": the folder " + folder.string() + " does not exist");
    if (fs::is_directory(output, ec))
        throw MkfontError(options.outputPath + ": is a folder; give the library file's name");
    if (fs::exists(output, ec) && fs::equivalent(output, options.fontPath, ec))
        throw MkfontError(options.outputPath + ": is the source font itself; choose another output file");
}

std::string codeText(const CodeEntry& entry) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", entry.code);
    std::string text = hex;
    if (entry.character)
        text += " " + hz::encodeUtf8(*entry.character);
    if (entry.character && entry.drawn != *entry.character)
        text += " (" + hz::encodeUtf8(entry.drawn) + ")";
    return text;
}

std::string oneDecimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string records(const std::vector<CodeEntry>& entries, const GlyphSet& set, CellOrigin origin, int cellSize,
                    BuildStats& stats) {
    std::string bytes;
    bytes.reserve(entries.size() * static_cast<std::size_t>(cellSize * rowBytes(cellSize)));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const CodeEntry& entry = entries[i];
        const std::optional<GlyphBitmap>& glyph = set.glyphs[i];
        PlacedGlyph placed{DotCell(cellSize)};
        if (entry.character) {
            const bool gb2312 = gb2312Assigns(entry.code);
            ++stats.assigned;
            stats.gb2312Assigned += gb2312;
            stats.traditionalForms += entry.drawn != *entry.character;
            // The ideographic space is the one assigned code whose glyph rightly has no ink.
            if (glyph && (glyph->inkBox() || *entry.character == U'\u3000')) {
                placed = placeGlyph(*glyph, origin, cellSize);
            } else {
                ++stats.missing;
                stats.gb2312Missing += gb2312;
                stats.notes.push_back("  no glyph: " + codeText(entry));
            }
        }
        if (entry.character && entry.drawn != *entry.character && glyph) {
            if (set.shown[i] == entry.variant) {
                ++stats.variant;
                stats.notes.push_back("  drawn as its Taiwan-standard variant " + hz::encodeUtf8(entry.variant) + ": " +
                                      codeText(entry));
            } else if (set.shown[i] == *entry.character) {
                ++stats.ownForm;
                stats.notes.push_back("  traditional form not in the font, own glyph kept: " + codeText(entry));
            }
        }
        if (set.shrunk[i]) {
            ++stats.shrunk;
            stats.notes.push_back("  drawn smaller to fit the cell: " + codeText(entry));
        }
        if (placed.placement == Placement::Moved) {
            ++stats.moved;
            stats.notes.push_back("  moved just inside the cell: " + codeText(entry));
        } else if (placed.placement == Placement::Cropped) {
            ++stats.cropped;
            stats.notes.push_back("  cropped, larger than the cell: " + codeText(entry));
        }
        appendRecord(placed.cell, bytes);
    }
    return bytes;
}

void report(std::ostream& out, const Options& options, int recordSize, const FontFace& face,
            const std::vector<InkBox>& hanzi, CellOrigin origin, const BuildStats& stats) {
    const int size = options.size;
    out << "wrote " << options.outputPath << ": " << kCodeCount << " records of " << recordSize << " bytes, " << size
        << "x" << size << " dots\n";
    out << "  from " << fs::path(options.fontPath).filename().string() << " face " << options.faceIndex;
    if (const std::string family = face.familyName(); !family.empty())
        out << " \"" << family << "\"";
    out << ", ";
    if (face.source() == GlyphSource::Strike)
        out << "its " << size << "-pixel strike";
    else
        out << "outlines rendered " << (options.threshold ? "in grey" : "monochrome") << " at " << face.pixelSize()
            << " pixels";
    out << ", " << face.charmap().name() << " character map\n";
    const MeanBox mean = meanBox(hanzi, origin);
    out << "  baseline origin at column " << origin.x << ", row " << origin.y << "; mean ink box of " << hanzi.size()
        << " hanzi: columns " << oneDecimal(mean.left) << " to " << oneDecimal(mean.right) << ", rows "
        << oneDecimal(mean.top) << " to " << oneDecimal(mean.bottom) << "\n";
    if (options.verbose) {
        for (const std::string& note : stats.notes)
            out << note << "\n";
    }
    out << "adjusted: " << stats.moved << " glyphs moved just inside the cell, " << stats.shrunk
        << " drawn smaller to fit, " << stats.cropped << " cropped\n";
    if (options.traditional) {
        out << "traditional: " << stats.traditionalForms << " characters have a traditional form; "
            << stats.traditionalForms - stats.variant - stats.ownForm << " drawn in it, " << stats.variant
            << " in its Taiwan-standard variant, " << stats.ownForm << " kept their own glyph (form not in the font)\n";
    }
    out << "no glyph for " << stats.missing << " of " << stats.assigned
        << " assigned codes (GB2312: " << stats.gb2312Missing << " of " << stats.gb2312Assigned
        << "; code page 936 additions: " << stats.missing - stats.gb2312Missing << " of "
        << stats.assigned - stats.gb2312Assigned << ")\n";
}

} // namespace

void buildLibrary(const Options& options, std::ostream& out) {
    const int cellSize = options.size;
    const int recordSize = recordSizeFor(cellSize);
    checkOutput(options);

    FontFace face(options.fontPath, options.faceIndex, cellSize);
    std::optional<TraditionalMap> traditional;
    if (options.traditional)
        traditional.emplace();
    const std::vector<CodeEntry> entries = codeTable(traditional ? &*traditional : nullptr);

    GlyphSet set = renderGlyphs(face, entries, options.threshold);
    if (set.hanziBoxes(entries).empty())
        throw MkfontError(options.fontPath + ": has no glyph for any GB2312 hanzi" +
                          (face.source() == GlyphSource::Strike ? " at " + std::to_string(cellSize) + " pixels" : ""));

    CellOrigin origin;
    std::vector<InkBox> hanzi;
    if (face.source() == GlyphSource::Outline) {
        set = fitOutlines(face, entries, options.threshold, cellSize, std::move(set));
        hanzi = set.hanziBoxes(entries);
        origin = centredOrigin(hanzi, set.allBoxes(), cellSize);
    } else {
        // A strike places its glyphs by the font's own baseline and ascent; only when that leaves
        // the hanzi cut or off-centre (a line taller than the cell) is the baseline moved.
        hanzi = set.hanziBoxes(entries);
        origin = {0, face.ascent()};
        if (!originServes(hanzi, origin, cellSize))
            origin = centredOrigin(hanzi, set.allBoxes(), cellSize);
    }

    BuildStats stats;
    const std::string bytes = records(entries, set, origin, cellSize, stats);
    if (bytes.size() != static_cast<std::size_t>(kCodeCount) * recordSize)
        throw MkfontError("internal error: " + std::to_string(bytes.size()) + " bytes made for " +
                          std::to_string(kCodeCount) + " records of " + std::to_string(recordSize));
    if (auto result = hz::writeFileSafely(options.outputPath, bytes); !result)
        throw MkfontError(result.error);
    report(out, options, recordSize, face, hanzi, origin, stats);
}

} // namespace mkfont

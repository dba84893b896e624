#include "tools/mkfont/library_builder.h"

#include "fontsource/render_rule.h"

#include "tools/mkfont/mkfont_error.h"
#include "tools/mkfont/traditional_map.h"

#include "cmdline/problem_text.h"
#include "core/layout/layout.h"
#include "core/output/bdf_font.h"
#include "core/output/c_header.h"
#include "core/output/u8g2_font.h"
#include "core/system/safe_writer.h"
#include "core/text/utf8.h"
#include "fontsource/cell_fit.h"
#include "fontsource/code_table.h"
#include "fontsource/face_pool.h"
#include "fontsource/grey_cell.h"
#include "fontsource/legacy_codes.h"
#include "fontsource/render_rule.h"
#include "fontsource/width_class.h"

#include "core/output/c_header.h"
#include "core/output/lvgl_font.h"
#include "core/output/lvgl_font_bin.h"
#include "core/output/lvgl_font_c.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unordered_set>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace hz::mkfont {

namespace {

namespace fs = std::filesystem;
namespace fsrc = hz::fontsource;

using fsrc::CodeEntry;
using fsrc::DrawnGlyph;

struct BuildStats {
    int assigned = 0;
    int missing = 0;
    int gb2312Assigned = 0; // of the above, the codes GB2312 itself assigns
    int gb2312Missing = 0;
    int unreadable = 0; // of the missing, glyphs the font maps but cannot draw
    int moved = 0;
    int shrunk = 0;
    int cropped = 0;
    int narrowed = 0;
    int traditionalForms = 0;
    int variant = 0;
    int ownForm = 0;
    std::vector<std::string> notes; // a line per code without a glyph and per adjusted glyph
    std::string fontSummary;        // --format u8g2 or bdf: what the font holds
};

// The character set's codes and the width of their cells.
struct CharsetPlan {
    std::vector<CodeEntry> entries;
    hz::WidthClass widthClass = hz::WidthClass::Full; // the set's own
    fsrc::GlyphWidths widths = fsrc::GlyphWidths::Fixed;
    fsrc::AmbiguousWidth ambiguous = fsrc::AmbiguousWidth::Full;

    hz::WidthClass classOf(const CodeEntry& entry) const {
        if (widthClass == hz::WidthClass::Full && ambiguous == fsrc::AmbiguousWidth::Half && entry.character &&
            fsrc::ambiguousWidth(*entry.character))
            return hz::WidthClass::Half;
        return widthClass;
    }
    // Whether the glyphs differ in width. Records are then as wide as the full cell, each glyph at
    // the left of its record, and its width is written beside the library.
    bool ownWidths() const {
        return widths == fsrc::GlyphWidths::Proportional ||
               (widthClass == hz::WidthClass::Full && ambiguous == fsrc::AmbiguousWidth::Half);
    }
    int recordWidth(const fsrc::CellRule& rule) const { return ownWidths() ? rule.size : rule.width(widthClass); }
};

// The library's bytes, and a byte a record for its glyph's width when the glyphs differ in width.
struct BuiltRecords {
    std::string bytes;
    std::string widths;
    std::vector<std::uint8_t> glyphWidths; // a record's glyph's cell width; 0 where the font has none
    std::vector<bool> drawn; // by record: a glyph of the font (blank by design included) was placed
};

bool writesWidths(const Options& options) {
    // A font keeps each glyph's advance itself.
    if (options.format != OutputFormat::Hzk)
        return false;
    return options.widths == fsrc::GlyphWidths::Proportional ||
           (options.charset != Charset::Ascii && options.ambiguous == fsrc::AmbiguousWidth::Half);
}

std::string widthsPath(const Options& options) {
    return options.outputPath + ".widths";
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
    if (writesWidths(options)) {
        const std::string widths = widthsPath(options);
        if (fs::is_directory(widths, ec))
            throw MkfontError(widths + ": is a folder; the glyphs' widths are written there");
        if (fs::exists(widths, ec) && fs::equivalent(widths, options.fontPath, ec))
            throw MkfontError(widths + ": is the source font itself; the glyphs' widths are written there");
    }
}

std::string codeText(const CodeEntry& entry) {
    char hex[8];
    std::snprintf(hex, sizeof hex, entry.code > 0xFF ? "%04X" : "%02X", entry.code);
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

// Characters whose glyph rightly has no ink.
bool blankByDesign(char32_t character) {
    return character == U' ' || character == U'\u3000';
}

// Draws every entry by the fitted rule. The fitting drew GB2312's characters full width: GB2312 and
// GBK's GB2312 square reuse those glyphs for their full-width cells.
std::vector<DrawnGlyph> drawSet(fsrc::FacePool& pool, fsrc::FittedSet& fitted, const CharsetPlan& plan,
                                Charset charset) {
    std::vector<DrawnGlyph> glyphs;
    if (charset == Charset::Gb2312)
        glyphs = std::move(fitted.glyphs);
    else
        glyphs.resize(plan.entries.size());
    pool.forEach(plan.entries.size(), [&](fsrc::FontFace& face, std::size_t i) {
        const CodeEntry& entry = plan.entries[i];
        const hz::WidthClass widthClass = plan.classOf(entry);
        const int row = entry.code >> 8;
        const int cell = entry.code & 0xFF;
        if (widthClass == hz::WidthClass::Full && charset == Charset::Gb2312)
            return true;
        if (widthClass == hz::WidthClass::Full && charset == Charset::Gbk && row >= fsrc::kFirstRow &&
            row <= fsrc::kLastRow && cell >= fsrc::kFirstCell && cell <= fsrc::kLastCell) {
            const auto record = static_cast<std::size_t>((row - fsrc::kFirstRow) * 94 + (cell - fsrc::kFirstCell));
            glyphs[i] = fitted.glyphs[record];
        } else {
            glyphs[i] = fsrc::drawGlyph(face, fitted.rule, entry.forms(), widthClass, plan.widths);
        }
        return true;
    });
    return glyphs;
}

// The cell at the left of a record `width` dots wide.
hz::DotCell atRecordWidth(const hz::DotCell& cell, int width) {
    if (cell.width() == width)
        return cell;
    hz::DotCell record = hz::DotCell(width, cell.height(), cell.widthClass()).withDepth(cell.depth());
    for (int y = 0; y < cell.height(); ++y) {
        if (cell.depth() == 1) {
            record.setRow(y, cell.row(y));
            continue;
        }
        for (int x = 0; x < cell.width(); ++x)
            record.setLevel(x, y, cell.level(x, y));
    }
    return record;
}

BuiltRecords records(const CharsetPlan& plan, const std::vector<DrawnGlyph>& glyphs, const fsrc::CellRule& rule,
                     const hz::Layout& layout, BuildStats& stats) {
    const std::vector<CodeEntry>& entries = plan.entries;
    const int recordWidth = plan.recordWidth(rule);
    const std::size_t recordSize = hz::encodedSize(layout, recordWidth, rule.size);
    BuiltRecords built;
    std::string& bytes = built.bytes;
    bytes.assign(entries.size() * recordSize, '\0');
    if (plan.ownWidths())
        built.widths.assign(entries.size(), '\0');
    built.glyphWidths.assign(entries.size(), 0);
    built.drawn.assign(entries.size(), false);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const CodeEntry& entry = entries[i];
        const DrawnGlyph& glyph = glyphs[i];
        const hz::WidthClass widthClass = plan.classOf(entry);
        fsrc::PlacedGlyph placed{hz::DotCell(recordWidth, rule.size, widthClass)};
        bool placedGlyph = false;
        if (entry.character) {
            const bool gb2312 = entry.code > 0xFF && fsrc::gb2312Assigns(entry.code);
            ++stats.assigned;
            stats.gb2312Assigned += gb2312;
            stats.traditionalForms += entry.drawn != *entry.character;
            if (glyph.status == fsrc::RenderStatus::Drawn && (glyph.ink || blankByDesign(*entry.character))) {
                placed = fsrc::placeDrawn(glyph, rule, widthClass, plan.widths);
                placedGlyph = true;
            } else {
                ++stats.missing;
                stats.gb2312Missing += gb2312;
                if (glyph.status == fsrc::RenderStatus::Unusable) {
                    ++stats.unreadable;
                    stats.notes.push_back("  glyph unreadable in the font, left blank: " + codeText(entry));
                } else {
                    stats.notes.push_back("  no glyph: " + codeText(entry));
                }
            }
        }
        if (entry.character && entry.drawn != *entry.character && glyph.status == fsrc::RenderStatus::Drawn) {
            if (glyph.shown == entry.variant) {
                ++stats.variant;
                stats.notes.push_back("  drawn as its Taiwan-standard variant " + hz::encodeUtf8(entry.variant) + ": " +
                                      codeText(entry));
            } else if (glyph.shown == *entry.character) {
                ++stats.ownForm;
                stats.notes.push_back("  traditional form not in the font, own glyph kept: " + codeText(entry));
            }
        }
        if (glyph.shrunk) {
            ++stats.shrunk;
            stats.notes.push_back("  drawn smaller to fit the cell: " + codeText(entry));
        }
        if (glyph.narrowed) {
            ++stats.narrowed;
            stats.notes.push_back("  drawn narrower to fit the cell's width: " + codeText(entry));
        }
        if (placed.placement == fsrc::Placement::Moved) {
            ++stats.moved;
            stats.notes.push_back("  moved just inside the cell: " + codeText(entry));
        } else if (placed.placement == fsrc::Placement::Cropped) {
            ++stats.cropped;
            stats.notes.push_back("  cropped, larger than the cell: " + codeText(entry));
        }
        built.drawn[i] = placedGlyph;
        if (placedGlyph && !built.widths.empty())
            built.widths[i] = static_cast<char>(placed.cell.width());
        if (placedGlyph)
            built.glyphWidths[i] = static_cast<std::uint8_t>(placed.cell.width());
        hz::encodeCell(atRecordWidth(placed.cell, recordWidth), layout,
                       reinterpret_cast<std::uint8_t*>(bytes.data()) + i * recordSize);
    }
    return built;
}

// The records of drawn outlines again at the layout's depth: each glyph anti-aliased in the cell and
// place its one-bit record gives it (records() has counted and placed them), on every face of the pool.
void greyRecords(fsrc::FacePool& pool, const CharsetPlan& plan, const std::vector<DrawnGlyph>& glyphs,
                 const fsrc::CellRule& rule, const hz::Layout& layout, std::string& bytes) {
    const int recordWidth = plan.recordWidth(rule);
    const std::size_t recordSize = hz::encodedSize(layout, recordWidth, rule.size);
    auto* out = reinterpret_cast<std::uint8_t*>(bytes.data());
    pool.forEach(plan.entries.size(), [&](fsrc::FontFace& face, std::size_t i) {
        const DrawnGlyph& glyph = glyphs[i];
        if (!plan.entries[i].character || glyph.status != fsrc::RenderStatus::Drawn || !glyph.ink)
            return true;
        const hz::WidthClass widthClass = plan.classOf(plan.entries[i]);
        const fsrc::PlacedGlyph placed = fsrc::placeDrawn(glyph, rule, widthClass, plan.widths);
        const hz::DotCell grey = fsrc::greyCell(face, rule, glyph, placed, layout.bpp);
        hz::encodeCell(atRecordWidth(grey, recordWidth), layout, out + i * recordSize);
        return true;
    });
}

// The one-bit records of drawn outlines again with their strokes kept, in the cells and places
// records() gave them, on every face of the pool.
void strokeRecords(fsrc::FacePool& pool, const CharsetPlan& plan, const std::vector<DrawnGlyph>& glyphs,
                   const fsrc::CellRule& rule, fsrc::RenderRule render, const hz::Layout& layout,
                   std::string& bytes) {
    const int recordWidth = plan.recordWidth(rule);
    const std::size_t recordSize = hz::encodedSize(layout, recordWidth, rule.size);
    auto* out = reinterpret_cast<std::uint8_t*>(bytes.data());
    pool.forEach(plan.entries.size(), [&](fsrc::FontFace& face, std::size_t i) {
        const DrawnGlyph& glyph = glyphs[i];
        if (!plan.entries[i].character || glyph.status != fsrc::RenderStatus::Drawn || !glyph.ink)
            return true;
        const hz::WidthClass widthClass = plan.classOf(plan.entries[i]);
        const fsrc::PlacedGlyph placed = fsrc::placeDrawn(glyph, rule, widthClass, plan.widths);
        const hz::DotCell cell = fsrc::strokeCell(face, rule, glyph, placed, render);
        hz::encodeCell(atRecordWidth(cell, recordWidth), layout, out + i * recordSize);
        return true;
    });
}

// How one-bit outlines were rendered, as the report says it.
std::string_view renderingNamed(const Options& options, fsrc::RenderRule render) {
    if (options.threshold)
        return "in grey";
    switch (render) {
    case fsrc::RenderRule::Dropouts:
        return "monochrome, thin strokes kept,";
    case fsrc::RenderRule::Autohinted:
        return "monochrome by the autohinter,";
    case fsrc::RenderRule::GreyCut:
        return "in grey, hinted lightly and cut at a third of coverage,";
    default:
        return "monochrome";
    }
}

std::string offsetFormula(Charset charset, std::size_t recordSize) {
    const std::string size = std::to_string(recordSize);
    switch (charset) {
    case Charset::Gb2312:
        return "offset of the GB2312 code HHLL (first byte HH, second LL) = ((HH - 0xA1) * 94 + (LL - 0xA1)) * " + size;
    case Charset::Gbk:
        return "offset of the GBK code LEAD,TRAIL = ((LEAD - 0x81) * 190 + (TRAIL - 0x40 - (TRAIL > 0x7F))) * " + size;
    case Charset::Ascii:
        return "offset of the character C = (C - 0x20) * " + size;
    }
    return {};
}

void report(std::ostream& out, const Options& options, const CharsetPlan& plan, const fsrc::FittedSet& fitted,
            const fsrc::FontFace& face, fsrc::RenderRule render, const BuildStats& stats) {
    const fsrc::CellRule& rule = fitted.rule;
    const int width = plan.recordWidth(rule);
    const std::size_t recordSize = hz::encodedSize(options.layout, width, rule.size);
    if (options.format != OutputFormat::Hzk)
        out << "wrote " << options.outputPath << ": " << stats.fontSummary << ", cells " << width << "x" << rule.size
            << " dots";
    else
        out << "wrote " << options.outputPath << ": " << plan.entries.size() << " records of " << recordSize
            << " bytes, " << width << "x" << rule.size << " dots";
    if (plan.widths == fsrc::GlyphWidths::Proportional)
        out << " (proportional widths, each glyph at the left of its record)";
    else if (plan.ownWidths())
        out << " (ambiguous-width characters half width, at the left of their records)";
    else if (plan.widthClass == hz::WidthClass::Half)
        out << " (half width)";
    out << "\n";
    out << "  from " << fs::path(options.fontPath).filename().string() << " face " << options.faceIndex;
    if (const std::string family = face.familyName(); !family.empty())
        out << " \"" << family << "\"";
    out << ", ";
    const int bpp = options.layout.bpp;
    if (rule.drawing == fsrc::Drawing::Strike)
        out << "its " << rule.size << "-pixel strike" << (bpp > 1 ? " (levels 0 and the top only)" : "");
    else if (bpp > 1)
        out << "outlines anti-aliased into " << bpp << " bits a dot at " << rule.pixels
            << " pixels, in the cells and places of one bit";
    else
        out << "outlines rendered " << renderingNamed(options, render) << " at " << rule.pixels << " pixels";
    out << ", " << face.charmap().name() << " character map\n";
    if (rule.fromHanzi) {
        const fsrc::MeanBox mean = fsrc::meanBox(fitted.hanzi, rule.origin);
        out << "  baseline origin at column " << rule.origin.x << ", row " << rule.origin.y << "; mean ink box of "
            << fitted.hanzi.size() << " hanzi: columns " << oneDecimal(mean.left) << " to " << oneDecimal(mean.right)
            << ", rows " << oneDecimal(mean.top) << " to " << oneDecimal(mean.bottom) << "\n";
    } else {
        out << "  baseline on row " << rule.origin.y << ", from the font's ascender and descender (it has no hanzi)\n";
    }
    if (options.verbose) {
        for (const std::string& note : stats.notes)
            out << note << "\n";
    }
    out << "adjusted: " << stats.moved << " glyphs moved just inside the cell, " << stats.shrunk
        << " drawn smaller to fit, " << stats.cropped << " cropped\n";
    out << "narrowed: " << stats.narrowed
        << " half-width glyphs wider than their cell drawn narrower to fit it, their height and baseline kept\n";
    if (options.traditional) {
        out << "traditional: " << stats.traditionalForms << " characters have a traditional form; "
            << stats.traditionalForms - stats.variant - stats.ownForm << " drawn in it, " << stats.variant
            << " in its Taiwan-standard variant, " << stats.ownForm << " kept their own glyph (form not in the font)\n";
    }
    if (options.charset == Charset::Ascii) {
        out << "no glyph for " << stats.missing << " of " << stats.assigned << " characters\n";
    } else {
        out << "no glyph for " << stats.missing << " of " << stats.assigned
            << " assigned codes (GB2312: " << stats.gb2312Missing << " of " << stats.gb2312Assigned
            << "; code page 936 additions: " << stats.missing - stats.gb2312Missing << " of "
            << stats.assigned - stats.gb2312Assigned << ")\n";
    }
    out << "blank: " << plan.entries.size() - static_cast<std::size_t>(stats.assigned) << " unassigned codes and "
        << stats.missing << " without a glyph";
    if (stats.unreadable > 0)
        out << " (" << stats.unreadable << " of them unreadable in the font)";
    out << "\n";
    if (options.format != OutputFormat::Hzk)
        return;
    out << "record size: " << recordSize << " bytes, " << hz::layoutName(options.layout);
    if (bpp > 1) {
        // Each row (column) of grey dots starts a byte of its own.
        const bool rows = options.layout.scan == hz::Scan::Rows;
        const int lines = rows ? rule.size : width;
        const int along = rows ? width : rule.size;
        out << " (" << lines << (rows ? " rows" : " columns") << " of ceil(" << along << " x " << bpp
            << " / 8) = " << (along * bpp + 7) / 8 << " bytes)";
    }
    out << "; record k at k * " << recordSize << "\n";
    out << offsetFormula(options.charset, recordSize) << "\n";
    if (plan.ownWidths()) {
        out << "widths: " << widthsPath(options) << ", a byte a record in the same order: the width of its glyph in "
            << "dots (0: a blank record)\n";
    }
}

CharsetPlan planFor(const Options& options, const std::vector<CodeEntry>& gb2312) {
    switch (options.charset) {
    case Charset::Gb2312:
        return {gb2312, hz::WidthClass::Full, options.widths, options.ambiguous};
    case Charset::Gbk:
        return {fsrc::gbkTable(), hz::WidthClass::Full, options.widths, options.ambiguous};
    case Charset::Ascii:
        return {fsrc::asciiTable(), hz::WidthClass::Half, options.widths, options.ambiguous};
    }
    return {};
}

// The library and, when the glyphs differ in width, their widths: both prepared in full before
// either replaces a file, so a failure to write leaves both as they were.
void writeOutputs(const Options& options, const BuiltRecords& built) {
    hz::SafeFileWriter widths;
    if (!built.widths.empty()) {
        if (auto opened = widths.open(widthsPath(options)); !opened)
            throw MkfontError(hz::cmdline::problemText(opened.problem()));
        if (auto written = widths.write(built.widths); !written)
            throw MkfontError(hz::cmdline::problemText(written.problem()));
    }
    if (auto result = hz::writeFileSafely(options.outputPath, built.bytes); !result)
        throw MkfontError(hz::cmdline::problemText(result.problem()));
    if (!built.widths.empty()) {
        if (auto committed = widths.commit(); !committed)
            throw MkfontError(hz::cmdline::problemText(committed.problem()) + "; " + options.outputPath +
                              " was written, its widths were not");
    }
}

// The set's glyphs as an LVGL font: each record that holds a glyph, read back at its glyph's width,
// keyed by its character (the first record of a character that two codes share).
std::string lvglBytes(const Options& options, const CharsetPlan& plan, const fsrc::CellRule& rule,
                      const BuiltRecords& built, std::size_t& glyphCount) {
    hz::LvglFontInput in;
    in.bpp = options.layout.bpp;
    in.lineHeight = rule.size;
    in.baseline = std::clamp(rule.size - rule.origin.y, 0, rule.size);
    const int recordWidth = plan.recordWidth(rule);
    const std::size_t recordSize = hz::encodedSize(options.layout, recordWidth, rule.size);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(built.bytes.data());
    std::unordered_set<char32_t> seen;
    for (std::size_t i = 0; i < plan.entries.size(); ++i) {
        const int width = built.glyphWidths[i];
        const CodeEntry& entry = plan.entries[i];
        if (width == 0 || !entry.character || !seen.insert(*entry.character).second)
            continue;
        const hz::DotCell record = hz::decodeCell({bytes + i * recordSize, recordSize}, options.layout, recordWidth,
                                                  rule.size, plan.classOf(entry));
        hz::DotCell cell = hz::DotCell(width, rule.size, record.widthClass()).withDepth(record.depth());
        for (int y = 0; y < rule.size; ++y)
            for (int x = 0; x < width; ++x)
                cell.setLevel(x, y, record.level(x, y));
        in.glyphs.push_back({*entry.character, std::move(cell)});
    }
    glyphCount = in.glyphs.size();
    const hz::LvglFont font = hz::makeLvglFont(in);
    if (font.refusal == hz::LvglRefusal::TooManyGlyphs)
        throw MkfontError("an LVGL font holds at most " + std::to_string(hz::LvglFont::kMaxGlyphs) + " characters");
    if (font.refusal == hz::LvglRefusal::BitmapTooLarge)
        throw MkfontError("the glyphs take " + std::to_string(font.bitmapBytesNeeded) +
                          " bytes of bitmap, more than the 1 MiB an LVGL font can address; give a smaller " +
                          "--size, fewer bits a dot or a smaller --charset");
    if (options.format == OutputFormat::LvglBin) {
        const std::vector<std::uint8_t> file = hz::lvglBinary(font);
        return std::string(file.begin(), file.end());
    }
    const std::string source = fs::path(options.fontPath).filename().string() + " face " +
                               std::to_string(options.faceIndex) + ", " + std::to_string(rule.size) + " dots";
    return hz::lvglCFile(font, {options.name.value_or(hz::defaultHeaderName(source, rule.size)), source});
}

// A font whose bytes are already in the file is left alone, its date too.
void writeUnlessUnchanged(const Options& options, const std::string& bytes, std::ostream& out) {
    std::error_code ec;
    if (fs::is_regular_file(options.outputPath, ec) && fs::file_size(options.outputPath, ec) == bytes.size()) {
        std::ifstream existing(options.outputPath, std::ios::binary);
        const std::string old((std::istreambuf_iterator<char>(existing)), std::istreambuf_iterator<char>());
        if (existing && old == bytes) {
            out << options.outputPath << " unchanged\n";
            return;
        }
    }
    if (auto result = hz::writeFileSafely(options.outputPath, bytes); !result)
        throw MkfontError(hz::cmdline::problemText(result.problem()));
}

// The glyphs placed, read back from their one-bit rows-msb records, each as wide as its cell, under
// its character's code point (once: a character with two codes keeps the first).
std::vector<hz::FontGlyph> fontGlyphs(const CharsetPlan& plan, const fsrc::CellRule& rule, const BuiltRecords& built) {
    const int recordWidth = plan.recordWidth(rule);
    const std::size_t recordSize = hz::encodedSize(hz::Layout{}, recordWidth, rule.size);
    std::vector<hz::FontGlyph> glyphs;
    std::vector<bool> seen;
    for (std::size_t i = 0; i < plan.entries.size(); ++i) {
        const CodeEntry& entry = plan.entries[i];
        if (!built.drawn[i] || !entry.character)
            continue;
        const char32_t ch = *entry.character;
        if (ch >= seen.size())
            seen.resize(ch + 1, false);
        if (seen[ch])
            continue;
        seen[ch] = true;
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(built.bytes.data()) + i * recordSize;
        const int width = built.widths.empty() ? recordWidth : static_cast<unsigned char>(built.widths[i]);
        if (width == 0)
            continue;
        const hz::DotCell record =
            hz::DotCell::fromRowBytes({bytes, recordSize}, recordWidth, rule.size, plan.classOf(entry));
        hz::DotCell cell(width, rule.size, plan.classOf(entry));
        for (int y = 0; y < rule.size; ++y)
            cell.setRow(y, record.row(y) & hz::rowMask(width));
        glyphs.push_back({i, ch, std::move(cell)});
    }
    return glyphs;
}

std::string codeOf(const CharsetPlan& plan, std::size_t i) {
    return codeText(plan.entries[i]);
}

// The whole set as a u8g2 or BDF font, all or nothing. A glyph a u8g2 font cannot hold is refused
// with the rest: a font with holes would draw nothing where the firmware expects a character.
void writeFont(const Options& options, const CharsetPlan& plan, const fsrc::CellRule& rule, const BuiltRecords& built,
               BuildStats& stats, std::ostream& out) {
    std::vector<hz::FontGlyph> glyphs = fontGlyphs(plan, rule, built);
    const std::size_t count = glyphs.size();
    const std::string stem = fs::path(options.outputPath).stem().string();
    std::string text;
    if (options.format == OutputFormat::Bdf) {
        text = hz::makeBdfFont({std::move(glyphs), rule.origin.y, rule.size, options.name.value_or(stem),
                                fs::path(options.fontPath).filename().string() + " face " +
                                    std::to_string(options.faceIndex) + ", " + std::to_string(rule.size) + " dots"});
        stats.fontSummary = "a BDF font of " + std::to_string(count) + " glyphs";
    } else {
        const hz::U8g2Font font = hz::makeU8g2Font({std::move(glyphs), rule.origin.y});
        if (!font.leftOut.empty()) {
            std::string message = std::to_string(font.leftOut.size()) +
                                  " glyphs take more bytes coded than the 255 a u8g2 glyph may take, such as " +
                                  codeOf(plan, font.leftOut.front().position) + " (" +
                                  std::to_string(font.leftOut.front().bytes) + " bytes); " + options.outputPath +
                                  " was not written (a smaller --size makes them fit)";
            throw MkfontError(message);
        }
        const std::string name = options.name.value_or(hz::defaultHeaderName(stem, rule.size));
        text = hz::u8g2CText(font, name, fs::path(options.fontPath).filename().string() + " face " +
                                             std::to_string(options.faceIndex));
        stats.fontSummary = "a u8g2 font of " + std::to_string(count) + " glyphs, " +
                            std::to_string(font.bytes.size()) + " bytes, array " + name;
    }
    writeUnlessUnchanged(options, text, out);
}

} // namespace

void buildLibrary(const Options& options, std::ostream& out) {
    checkOutput(options);

    auto opened = fsrc::FacePool::open(options.fontPath, options.faceIndex, options.size);
    if (!opened)
        throw MkfontError(hz::cmdline::problemText(opened.problem()));
    fsrc::FacePool& pool = *opened;
    std::vector<CodeEntry> gb2312 = fsrc::gb2312Table();
    if (options.traditional)
        drawTraditional(gb2312, TraditionalMap());

    // Every set is drawn by the rule fitted on the GB2312 hanzi, as live lookups are.
    auto fittedSet = fsrc::fitCells(pool, gb2312, options.size, options.threshold);
    if (!fittedSet)
        throw MkfontError(hz::cmdline::problemText(fittedSet.problem()));
    fsrc::FittedSet& fitted = *fittedSet;
    if (!fitted.rule.fromHanzi && options.charset != Charset::Ascii)
        throw MkfontError(
            options.fontPath + ": has no glyph for any GB2312 hanzi" +
            (fitted.rule.drawing == fsrc::Drawing::Strike ? " at " + std::to_string(options.size) + " pixels" : ""));

    const CharsetPlan plan = planFor(options, gb2312);
    const std::vector<DrawnGlyph> glyphs = drawSet(pool, fitted, plan, options.charset);
    BuildStats stats;
    BuiltRecords built = records(plan, glyphs, fitted.rule, options.layout, stats);
    // Default stands for one rule for the whole face and size, chosen once.
    const fsrc::RenderRule render = fsrc::chosenRule(options.render, pool.front(), fitted.rule);
    if (options.layout.bpp > 1 && fitted.rule.drawing == fsrc::Drawing::Outline)
        greyRecords(pool, plan, glyphs, fitted.rule, options.layout, built.bytes);
    else if (options.layout.bpp == 1 && render != fsrc::RenderRule::Classic &&
             fitted.rule.drawing == fsrc::Drawing::Outline && !fitted.rule.threshold)
        strokeRecords(pool, plan, glyphs, fitted.rule, render, options.layout, built.bytes);
    if (options.format == OutputFormat::Lvgl || options.format == OutputFormat::LvglBin) {
        std::size_t glyphCount = 0;
        const std::string bytes = lvglBytes(options, plan, fitted.rule, built, glyphCount);
        writeUnlessUnchanged(options, bytes, out);
        out << "wrote " << options.outputPath << ": an LVGL "
            << (options.format == OutputFormat::Lvgl ? "font as C" : "binary font") << " of " << glyphCount
            << " glyphs, " << fitted.rule.size << " dots a line, " << options.layout.bpp
            << (options.layout.bpp == 1 ? " bit" : " bits") << " a dot, base line "
            << std::clamp(fitted.rule.size - fitted.rule.origin.y, 0, fitted.rule.size)
            << " dots above the bottom; " << stats.missing << " characters without a glyph left out\n";
        return;
    }
    if (options.format == OutputFormat::Hzk)
        writeOutputs(options, built);
    else
        writeFont(options, plan, fitted.rule, built, stats, out);
    report(out, options, plan, fitted, pool.front(), render, stats);
}

} // namespace hz::mkfont

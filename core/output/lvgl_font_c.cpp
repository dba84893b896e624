#include "core/output/lvgl_font_c.h"

#include "core/output/c_header.h"
#include "core/text/code_point_text.h"
#include "core/text/utf8.h"

#include <cstdio>
#include <stdexcept>

namespace hz {
namespace {

constexpr char kDigits[] = "0123456789abcdef";

void appendHexByte(std::string& out, std::uint8_t b) {
    out += "0x";
    if (b >= 16)
        out += kDigits[b >> 4];
    out += kDigits[b & 15];
}

// Whether a character may stand as itself in a /* */ comment: nothing that could end the comment,
// splice a line, form a trigraph or hide.
bool plainInComment(char32_t c) {
    if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0x2028 || c == 0x2029)
        return false;
    return c != U'*' && c != U'/' && c != U'\\' && c != U'?';
}

// A text of the user's (a file name) for the opening comment, each doubtful character written as its
// code; bytes that are not UTF-8 as U+FFFD.
std::string commentSafe(std::string_view utf8) {
    std::string out;
    for (std::size_t offset = 0; offset < utf8.size();) {
        const std::optional<char32_t> c = decodeUtf8At(utf8, offset);
        if (!c)
            ++offset;
        const char32_t ch = c.value_or(U'\uFFFD');
        out += plainInComment(ch) ? encodeUtf8(ch) : codePointText(ch);
    }
    return out;
}

std::string glyphComment(char32_t c) {
    std::string text = "/* " + codePointText(c);
    if (plainInComment(c))
        text += " " + encodeUtf8(c);
    return text + " */";
}

const char* cmapTypeName(LvglCmapType type) {
    return type == LvglCmapType::Range ? "LV_FONT_FMT_TXT_CMAP_FORMAT0_TINY" : "LV_FONT_FMT_TXT_CMAP_SPARSE_TINY";
}

void writeBitmap(std::string& out, const LvglFont& font, const std::string& name) {
    out += "/* Each glyph's ink box, row after row without padding, " + std::to_string(font.bpp) +
           (font.bpp == 1 ? " bit" : " bits") + " a dot, the first dot in the top bits. */\n";
    out += "static LV_ATTRIBUTE_LARGE_CONST const uint8_t " + name + "_bitmaps[] = {\n";
    if (font.bitmap.empty())
        out += "    0x0 /* no glyph has ink */\n";
    for (std::size_t id = 1; id < font.boxes.size(); ++id) {
        const std::uint32_t from = font.boxes[id].bitmapIndex;
        const std::uint32_t to = font.bitmapEnd(id);
        if (from == to)
            continue;
        out += "    " + glyphComment(font.characters[id - 1]) + "\n";
        for (std::uint32_t i = from; i < to; ++i) {
            out += (i - from) % 16 == 0 ? "    " : " ";
            appendHexByte(out, font.bitmap[i]);
            out += ',';
            if ((i - from) % 16 == 15 || i + 1 == to)
                out += '\n';
        }
    }
    out += "};\n\n";
}

void writeGlyphs(std::string& out, const LvglFont& font, const std::string& name) {
    out += "/* bitmap_index, adv_w (1/16 dot), box_w, box_h, ofs_x, ofs_y (from the base line up to the\n"
           "   box's bottom); glyph id 0 stands for no glyph. */\n";
    out += "static const lv_font_fmt_txt_glyph_dsc_t " + name + "_glyphs[] = {\n";
    for (std::size_t id = 0; id < font.boxes.size(); ++id) {
        const LvglGlyphBox& b = font.boxes[id];
        out += "    {" + std::to_string(b.bitmapIndex) + ", " + std::to_string(b.advance16) + ", " +
               std::to_string(b.boxWidth) + ", " + std::to_string(b.boxHeight) + ", " + std::to_string(b.offsetX) +
               ", " + std::to_string(b.offsetY) + "}, ";
        out += id == 0 ? std::string("/* no glyph */") : glyphComment(font.characters[id - 1]);
        out += '\n';
    }
    out += "};\n\n";
}

void writeCmaps(std::string& out, const LvglFont& font, const std::string& name) {
    for (std::size_t i = 0; i < font.cmaps.size(); ++i) {
        const LvglCmap& cmap = font.cmaps[i];
        if (cmap.type != LvglCmapType::Sparse)
            continue;
        out += "static const uint16_t " + name + "_codes" + std::to_string(i) + "[] = {\n";
        for (std::size_t k = 0; k < cmap.offsets.size(); ++k) {
            out += k % 12 == 0 ? "    " : " ";
            out += std::to_string(cmap.offsets[k]) + ",";
            if (k % 12 == 11 || k + 1 == cmap.offsets.size())
                out += '\n';
        }
        out += "};\n";
    }
    if (font.cmaps.empty())
        return;
    out += "\n/* Code points to glyph ids: ranges of consecutive codes, and lists of codes as offsets from\n"
           "   range_start; glyph ids follow the codes in order. */\n";
    out += "static const lv_font_fmt_txt_cmap_t " + name + "_cmaps[] = {\n";
    for (std::size_t i = 0; i < font.cmaps.size(); ++i) {
        const LvglCmap& cmap = font.cmaps[i];
        const bool sparse = cmap.type == LvglCmapType::Sparse;
        const std::string list = sparse ? name + "_codes" + std::to_string(i) : "NULL";
        char start[16];
        std::snprintf(start, sizeof start, "0x%X", static_cast<unsigned>(cmap.rangeStart));
        out += "    {.range_start = " + std::string(start) +
               ", .range_length = " + std::to_string(cmap.rangeLength) +
               ", .glyph_id_start = " + std::to_string(cmap.glyphIdStart) + ", .unicode_list = " + list +
               ", .glyph_id_ofs_list = NULL, .list_length = " + std::to_string(sparse ? cmap.offsets.size() : 0) +
               ", .type = " + cmapTypeName(cmap.type) + "},\n";
    }
    out += "};\n\n";
}

} // namespace

std::string lvglCFile(const LvglFont& font, const LvglCFileInput& input) {
    if (const auto problem = checkHeaderName(input.name))
        throw std::invalid_argument(*problem);
    if (font.refusal != LvglRefusal::None)
        throw std::invalid_argument("a refused LVGL font has no C file");
    const std::string& name = input.name;
    const std::size_t count = font.characters.size();
    std::string out;
    out.reserve(font.bitmap.size() * 6 + count * 80 + 4096);
    out += "/* " + name + ": an LVGL font made by HzDot from " + commentSafe(input.source) + ".\n";
    out += "   " + std::to_string(count) + (count == 1 ? " character, " : " characters, ") +
           std::to_string(font.bpp) + (font.bpp == 1 ? " bit" : " bits") + " a dot; lines of " +
           std::to_string(font.lineHeight) + " dots with the base line " + std::to_string(font.baseLine) +
           " above their bottom.\n";
    out += "   Bitmaps uncompressed; no kerning (the font has none). For LVGL 8 and 9:\n"
           "   LV_FONT_DECLARE(" + name + ") in the files that use it. */\n\n";
    out += "#ifdef LV_LVGL_H_INCLUDE_SIMPLE\n#include \"lvgl.h\"\n#else\n#include \"lvgl/lvgl.h\"\n#endif\n\n";
    out += "#if LVGL_VERSION_MAJOR < 8\n#error \"" + name + " is a font for LVGL 8 or later\"\n#endif\n\n";
    out += "#ifndef LV_ATTRIBUTE_LARGE_CONST\n#define LV_ATTRIBUTE_LARGE_CONST\n#endif\n\n";
    writeBitmap(out, font, name);
    writeGlyphs(out, font, name);
    writeCmaps(out, font, name);
    out += "#if LVGL_VERSION_MAJOR == 8\n";
    out += "static lv_font_fmt_txt_glyph_cache_t " + name + "_cache;\n";
    out += "#endif\n\n";
    out += "static const lv_font_fmt_txt_dsc_t " + name + "_dsc = {\n";
    out += "    .glyph_bitmap = " + name + "_bitmaps,\n";
    out += "    .glyph_dsc = " + name + "_glyphs,\n";
    out += font.cmaps.empty() ? std::string("    .cmaps = NULL,\n") : "    .cmaps = " + name + "_cmaps,\n";
    out += "    .kern_dsc = NULL,\n";
    out += "    .kern_scale = 0,\n";
    out += "    .cmap_num = " + std::to_string(font.cmaps.size()) + ",\n";
    out += "    .bpp = " + std::to_string(font.bpp) + ",\n";
    out += "    .kern_classes = 0,\n";
    out += "    .bitmap_format = 0, /* plain */\n";
    out += "#if LVGL_VERSION_MAJOR == 8\n";
    out += "    .cache = &" + name + "_cache,\n";
    out += "#endif\n";
    out += "};\n\n";
    out += "const lv_font_t " + name + " = {\n";
    out += "    .get_glyph_dsc = lv_font_get_glyph_dsc_fmt_txt,\n";
    out += "    .get_glyph_bitmap = lv_font_get_bitmap_fmt_txt,\n";
    out += "    .line_height = " + std::to_string(font.lineHeight) + ",\n";
    out += "    .base_line = " + std::to_string(font.baseLine) + ",\n";
    out += "    .subpx = LV_FONT_SUBPX_NONE,\n";
    out += "    .underline_position = -1,\n";
    out += "    .underline_thickness = 1,\n";
    out += "    .dsc = &" + name + "_dsc,\n";
    out += "};\n";
    return out;
}

} // namespace hz

#include "tools/mkfont/font_face.h"

#include "tools/mkfont/mkfont_error.h"

#include FT_BITMAP_H

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace mkfont {

namespace {

std::string freetypeError(FT_Error error) {
    const char* text = FT_Error_String(error);
    return text ? std::string(text) : "FreeType error " + std::to_string(error);
}

int strikePixels(const FT_Bitmap_Size& strike) {
    return static_cast<int>((strike.y_ppem + 32) >> 6);
}

} // namespace

FontFace::FontFace(const std::string& path, int faceIndex, int cellSize) {
    openFile(path, faceIndex);
    charmap_ = FontCharmap::select(face_.get());
    if (!charmap_)
        throw MkfontError(path + ": the font has no Unicode, GB2312 or Big5 character map, so no GB2312 "
                                 "character can be found in it");
    chooseSize(path, cellSize);
}

void FontFace::openFile(const std::string& path, int faceIndex) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (!fs::exists(status))
        throw MkfontError(path + ": no such file");
    if (fs::is_directory(status))
        throw MkfontError(path + ": is a folder, not a font file");
    if (!std::ifstream(path, std::ios::binary))
        throw MkfontError(path + ": cannot be read (" + std::strerror(errno) + ")");

    FT_Library library = nullptr;
    if (FT_Error error = FT_Init_FreeType(&library))
        throw MkfontError("cannot start FreeType: " + freetypeError(error));
    library_.reset(library);

    FT_Face face = nullptr;
    if (FT_Error error = FT_New_Face(library, path.c_str(), -1, &face))
        throw MkfontError(path + ": not a font FreeType can read (" + freetypeError(error) + ")");
    const long faces = face->num_faces;
    FT_Done_Face(face);
    if (faceIndex >= faces)
        throw MkfontError(path + ": has no face " + std::to_string(faceIndex) + " (it holds " + std::to_string(faces) +
                          (faces == 1 ? " face, numbered 0)" : " faces, numbered from 0)"));

    face = nullptr;
    if (FT_Error error = FT_New_Face(library, path.c_str(), faceIndex, &face))
        throw MkfontError(path + ": face " + std::to_string(faceIndex) + " cannot be read (" + freetypeError(error) +
                          ")");
    face_.reset(face);
}

// A strike of exactly the cell size wins over the outlines: its designer drew those dots for that
// size. A bitmap-only font must have one.
void FontFace::chooseSize(const std::string& path, int cellSize) {
    FT_Face face = face_.get();
    int strike = -1;
    for (int i = 0; i < face->num_fixed_sizes && strike < 0; ++i) {
        if (strikePixels(face->available_sizes[i]) == cellSize)
            strike = i;
    }
    // Some X fonts record a nominal size that differs from their pixel height.
    for (int i = 0; i < face->num_fixed_sizes && strike < 0; ++i) {
        if (face->available_sizes[i].height == cellSize)
            strike = i;
    }

    if (FT_IS_SCALABLE(face)) {
        source_ = strike >= 0 ? GlyphSource::Strike : GlyphSource::Outline;
        setPixelSize(cellSize);
        return;
    }
    if (strike < 0) {
        std::string sizes;
        for (int i = 0; i < face->num_fixed_sizes; ++i)
            sizes += (i ? ", " : "") + std::to_string(strikePixels(face->available_sizes[i]));
        throw MkfontError(
            path + ": has no " + std::to_string(cellSize) + "-pixel strike" +
            (sizes.empty() ? std::string(" (it has no strikes at all)") : " (its strikes: " + sizes + " pixels)"));
    }
    if (FT_Error error = FT_Select_Size(face, strike))
        throw MkfontError(path + ": the " + std::to_string(cellSize) + "-pixel strike cannot be used (" +
                          freetypeError(error) + ")");
    source_ = GlyphSource::Strike;
    pixelSize_ = cellSize;
}

void FontFace::setPixelSize(int pixels) {
    if (!FT_IS_SCALABLE(face_.get()))
        return;
    if (FT_Error error = FT_Set_Pixel_Sizes(face_.get(), 0, static_cast<FT_UInt>(pixels)))
        throw MkfontError("cannot set the font to " + std::to_string(pixels) + " pixels (" + freetypeError(error) +
                          ")");
    pixelSize_ = pixels;
}

std::string FontFace::familyName() const {
    std::string name = face_->family_name ? face_->family_name : "";
    if (face_->style_name && std::strcmp(face_->style_name, "Regular") != 0)
        name += std::string(name.empty() ? "" : " ") + face_->style_name;
    return name;
}

int FontFace::ascent() const {
    return static_cast<int>((face_->size->metrics.ascender + 63) >> 6);
}

std::optional<GlyphBitmap> FontFace::render(char32_t character, std::optional<int> threshold) const {
    const auto code = charmap_->codeFor(character);
    if (!code)
        return std::nullopt;
    const FT_UInt index = FT_Get_Char_Index(face_.get(), *code);
    if (index == 0)
        return std::nullopt;
    const FT_Int32 flags = FT_LOAD_RENDER | (threshold ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO);
    if (FT_Load_Glyph(face_.get(), index, flags) != 0)
        return std::nullopt;
    return convertBitmap(face_->glyph, threshold);
}

GlyphBitmap FontFace::convertBitmap(FT_GlyphSlot slot, std::optional<int> threshold) const {
    const FT_Bitmap& source = slot->bitmap;
    GlyphBitmap glyph;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(source.width);
    glyph.rows = static_cast<int>(source.rows);
    glyph.dots.assign(static_cast<std::size_t>(glyph.width) * glyph.rows, 0);

    // The pitch may be negative (rows stored bottom-up) and includes padding, so each row's start
    // comes from it, never from the width.
    auto rowStart = [](const FT_Bitmap& bitmap, int y) {
        const int pitch = bitmap.pitch;
        const int row = pitch >= 0 ? y : static_cast<int>(bitmap.rows) - 1 - y;
        return bitmap.buffer + static_cast<std::ptrdiff_t>(row) * (pitch >= 0 ? pitch : -pitch);
    };

    if (source.pixel_mode == FT_PIXEL_MODE_MONO) {
        for (int y = 0; y < glyph.rows; ++y) {
            const unsigned char* row = rowStart(source, y);
            for (int x = 0; x < glyph.width; ++x)
                glyph.dots[static_cast<std::size_t>(y) * glyph.width + x] = (row[x >> 3] >> (7 - (x & 7))) & 1;
        }
        return glyph;
    }

    // Grey (or colour) bitmaps: bring them to one byte a dot and cut at the threshold.
    FT_Bitmap grey;
    FT_Bitmap_Init(&grey);
    if (FT_Bitmap_Convert(library_.get(), &source, &grey, 1) == 0 && grey.num_grays > 1) {
        const int cut = threshold.value_or(127);
        const int levels = grey.num_grays - 1;
        for (int y = 0; y < glyph.rows && y < static_cast<int>(grey.rows); ++y) {
            const unsigned char* row = rowStart(grey, y);
            for (int x = 0; x < glyph.width && x < static_cast<int>(grey.width); ++x)
                glyph.dots[static_cast<std::size_t>(y) * glyph.width + x] = row[x] * 255 / levels > cut;
        }
    }
    FT_Bitmap_Done(library_.get(), &grey);
    return glyph;
}

} // namespace mkfont

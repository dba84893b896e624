#include "fontsource/font_face.h"

#include "fontsource/font_failure.h"

#include FT_BITMAP_H
#include FT_BDF_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace hz::fontsource {

namespace {

// FreeType's own texts for its errors, which its library leaves out when built without them.
struct ErrorText {
    int code;
    const char* text;
};
#undef FTERRORS_H_
#define FT_ERRORDEF(e, v, s) {v, s},
#define FT_ERROR_START_LIST {
// clang-format off
#define FT_ERROR_END_LIST {0, nullptr}};
constexpr ErrorText kErrorTexts[] =
#include FT_ERRORS_H

std::string freetypeError(FT_Error error) {
    if (const char* text = FT_Error_String(error))
        return text;
    for (const ErrorText& known : kErrorTexts) {
        if (known.text && known.code == FT_ERROR_BASE(error))
            return std::string(known.text) + ", FreeType error " + std::to_string(error);
    }
    return "FreeType error " + std::to_string(error);
}
// clang-format on

int strikePixels(const FT_Bitmap_Size& strike) {
    return static_cast<int>((strike.y_ppem + 32) >> 6);
}

// Bytes a row of the bitmap needs at least, by its pixel mode; 0 for modes it cannot hold.
unsigned rowBytesNeeded(const FT_Bitmap& bitmap) {
    switch (bitmap.pixel_mode) {
    case FT_PIXEL_MODE_MONO:
        return (bitmap.width + 7) / 8;
    case FT_PIXEL_MODE_GRAY:
    case FT_PIXEL_MODE_LCD:
    case FT_PIXEL_MODE_LCD_V:
        return bitmap.width;
    case FT_PIXEL_MODE_GRAY2:
        return (bitmap.width + 3) / 4;
    case FT_PIXEL_MODE_GRAY4:
        return (bitmap.width + 1) / 2;
    case FT_PIXEL_MODE_BGRA:
        return bitmap.width * 4;
    default:
        return 0;
    }
}

// Whether the bitmap can be read as it describes itself. A BDF glyph with a BBX line but no BITMAP
// section comes back with rows and a width but no buffer; a broken font can claim any size.
bool readable(const FT_Bitmap& bitmap, int limit) {
    if (bitmap.rows == 0 || bitmap.width == 0)
        return true;
    if (bitmap.buffer == nullptr || bitmap.rows > static_cast<unsigned>(limit) ||
        bitmap.width > static_cast<unsigned>(limit))
        return false;
    const unsigned needed = rowBytesNeeded(bitmap);
    const unsigned pitch = static_cast<unsigned>(bitmap.pitch >= 0 ? bitmap.pitch : -bitmap.pitch);
    return needed != 0 && pitch >= needed;
}

} // namespace

FontFace::FontFace(const std::string& path, int faceIndex, int cellSize) {
    openFile(path, faceIndex);
    charmap_ = FontCharmap::select(face_.get());
    if (!charmap_)
        throw FontFailure({.kind = hz::ProblemKind::FontNoCharacterMap, .file = path});
    chooseSize(path, cellSize);
}

hz::Result<FontFace> FontFace::open(const std::string& path, int faceIndex, int cellSize) {
    try {
        return FontFace(path, faceIndex, cellSize);
    } catch (const FontFailure& failure) {
        return failure.problem;
    }
}

void FontFace::openFile(const std::string& path, int faceIndex) {
    namespace fs = std::filesystem;
    using Kind = hz::ProblemKind;
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (!fs::exists(status))
        throw FontFailure({.kind = Kind::FontMissing, .file = path});
    if (fs::is_directory(status))
        throw FontFailure({.kind = Kind::FontIsFolder, .file = path});
    // A FIFO would block the open below until a writer came; a device might never end.
    if (!fs::is_regular_file(status))
        throw FontFailure({.kind = Kind::FontNotAFile, .file = path});
    if (!std::ifstream(path, std::ios::binary))
        throw FontFailure({.kind = Kind::FontUnreadable, .file = path, .systemError = errno});

    FT_Library library = nullptr;
    if (FT_Error error = FT_Init_FreeType(&library))
        throw FontFailure({.kind = Kind::FreeTypeUnavailable, .value = freetypeError(error)});
    library_.reset(library);

    FT_Face face = nullptr;
    if (FT_Error error = FT_New_Face(library, path.c_str(), -1, &face))
        throw FontFailure({.kind = Kind::FontNotRecognised, .file = path, .value = freetypeError(error)});
    const long faces = face->num_faces;
    FT_Done_Face(face);
    if (faceIndex >= faces)
        throw FontFailure({.kind = Kind::FontNoSuchFace, .file = path, .number = faceIndex, .count = faces});

    face = nullptr;
    if (FT_Error error = FT_New_Face(library, path.c_str(), faceIndex, &face))
        throw FontFailure(
            {.kind = Kind::FontFaceUnreadable, .file = path, .value = freetypeError(error), .number = faceIndex});
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
        drawing_ = strike >= 0 ? Drawing::Strike : Drawing::Outline;
        if (auto set = setPixelSize(cellSize); !set)
            throw FontFailure(set.problem());
        return;
    }
    if (strike < 0) {
        std::vector<int> strikes;
        for (int i = 0; i < face->num_fixed_sizes; ++i)
            strikes.push_back(strikePixels(face->available_sizes[i]));
        throw FontFailure(
            {.kind = hz::ProblemKind::FontNoStrike, .file = path, .number = cellSize, .sizes = std::move(strikes)});
    }
    if (FT_Error error = FT_Select_Size(face, strike))
        throw FontFailure({.kind = hz::ProblemKind::FontStrikeUnusable,
                           .file = path,
                           .value = freetypeError(error),
                           .number = cellSize});
    drawing_ = Drawing::Strike;
    pixelSize_ = cellSize;
}

hz::Result<void> FontFace::setPixelSize(int pixels) {
    if (!FT_IS_SCALABLE(face_.get()) || pixels == pixelSize_)
        return {};
    if (FT_Error error = FT_Set_Pixel_Sizes(face_.get(), 0, static_cast<FT_UInt>(pixels)))
        return hz::Problem{.kind = hz::ProblemKind::FontSizeRefused, .value = freetypeError(error), .number = pixels};
    pixelSize_ = pixels;
    return {};
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

bool FontFace::placesItsOwnCells() const {
    BDF_PropertyRec property{};
    if (drawing_ != Drawing::Strike || FT_Get_BDF_Property(face_.get(), "HZDOT_CELL_SIZE", &property) != 0)
        return false;
    if (property.type == BDF_PROPERTY_TYPE_INTEGER)
        return property.u.integer == pixelSize_;
    if (property.type == BDF_PROPERTY_TYPE_CARDINAL)
        return property.u.cardinal == static_cast<FT_UInt32>(pixelSize_);
    // FreeType keeps a property it does not know as a string.
    if (property.type == BDF_PROPERTY_TYPE_ATOM && property.u.atom)
        return std::string(property.u.atom) == std::to_string(pixelSize_);
    return false;
}

double FontFace::ascenderEm() const {
    if (FT_IS_SCALABLE(face_.get()))
        return face_->units_per_EM ? static_cast<double>(face_->ascender) / face_->units_per_EM : 0.0;
    return pixelSize_ ? face_->size->metrics.ascender / 64.0 / pixelSize_ : 0.0;
}

double FontFace::descenderEm() const {
    if (FT_IS_SCALABLE(face_.get()))
        return face_->units_per_EM ? static_cast<double>(face_->descender) / face_->units_per_EM : 0.0;
    return pixelSize_ ? face_->size->metrics.descender / 64.0 / pixelSize_ : 0.0;
}

bool FontFace::maps(char32_t character) const {
    const auto code = charmap_->codeFor(character);
    return code && FT_Get_Char_Index(face_.get(), *code) != 0;
}

RenderStatus FontFace::load(char32_t character, FT_Int32 flags, double across, bool keepDropouts) const {
    const auto code = charmap_->codeFor(character);
    const FT_UInt index = code ? FT_Get_Char_Index(face_.get(), *code) : 0;
    if (index == 0)
        return RenderStatus::NotMapped;
    // The outline is hinted first and then scaled, so its rows come out as they would unscaled.
    const bool scaled = across != 1.0;
    if (scaled) {
        FT_Matrix matrix{static_cast<FT_Fixed>(std::lround(across * 0x10000)), 0, 0, 0x10000};
        FT_Set_Transform(face_.get(), &matrix, nullptr);
    }
    FT_Error loaded = FT_Load_Glyph(face_.get(), index, flags | (keepDropouts ? 0 : FT_LOAD_RENDER));
    if (scaled)
        FT_Set_Transform(face_.get(), nullptr, nullptr);
    if (loaded == 0 && keepDropouts) {
        // The hinter marks the outline to ignore dropouts when the font's instructions ask for no
        // dropout control (or give none); the scan converter then drops strokes thinner than a dot.
        FT_GlyphSlot slot = face_->glyph;
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE)
            slot->outline.flags &= ~FT_OUTLINE_IGNORE_DROPOUTS;
        loaded = FT_Render_Glyph(slot, FT_RENDER_MODE_MONO);
    }
    return loaded == 0 ? RenderStatus::Drawn : RenderStatus::Unusable;
}

RenderedGlyph FontFace::drawn(RenderStatus status, std::optional<int> threshold, bool coverage) const {
    RenderedGlyph rendered;
    rendered.status = status;
    if (rendered.status != RenderStatus::Drawn)
        return rendered;
    auto bitmap = convertBitmap(face_->glyph, threshold, coverage);
    if (!bitmap) {
        rendered.status = RenderStatus::Unusable;
        return rendered;
    }
    rendered.bitmap = std::move(*bitmap);
    rendered.advance = static_cast<int>((face_->glyph->advance.x + 32) >> 6);
    return rendered;
}

RenderedGlyph FontFace::render(char32_t character, std::optional<int> threshold, double across) const {
    return drawn(load(character, threshold ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO, across), threshold, false);
}

RenderedGlyph FontFace::renderCoverage(char32_t character, double across) const {
    return drawn(load(character, FT_LOAD_TARGET_NORMAL, across), std::nullopt, true);
}

RenderedGlyph FontFace::renderKeepingStrokes(char32_t character, double across) const {
    return drawn(load(character, FT_LOAD_TARGET_MONO, across, true), std::nullopt, false);
}

RenderedGlyph FontFace::renderAutohinted(char32_t character, double across) const {
    return drawn(load(character, FT_LOAD_TARGET_MONO | FT_LOAD_FORCE_AUTOHINT, across, true), std::nullopt, false);
}

RenderedGlyph FontFace::renderLightGrey(char32_t character, int threshold, double across) const {
    return drawn(load(character, FT_LOAD_TARGET_LIGHT, across), threshold, false);
}

long FontFace::fontProgramBytes() const {
    if (!FT_IS_SFNT(face_.get()))
        return 0;
    long bytes = 0;
    for (const FT_ULong tag : {TTAG_fpgm, TTAG_prep}) {
        FT_ULong length = 0;
        if (FT_Load_Sfnt_Table(face_.get(), tag, 0, nullptr, &length) == 0)
            bytes += static_cast<long>(length);
    }
    return bytes;
}

std::optional<GlyphBitmap> FontFace::convertBitmap(FT_GlyphSlot slot, std::optional<int> threshold,
                                                   bool coverage) const {
    // No glyph of a cell up to 64 dots is honestly this large; a broken font can claim any size.
    const int limit = 8 * std::max(pixelSize_, 32);
    const FT_Bitmap& source = slot->bitmap;
    if (!readable(source, limit))
        return std::nullopt;
    GlyphBitmap glyph;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(source.width);
    glyph.rows = static_cast<int>(source.rows);
    glyph.dots.assign(static_cast<std::size_t>(glyph.width) * glyph.rows, 0);
    if (glyph.dots.empty())
        return glyph;

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
                glyph.dots[static_cast<std::size_t>(y) * glyph.width + x] =
                    static_cast<std::uint8_t>(((row[x >> 3] >> (7 - (x & 7))) & 1) * (coverage ? 255 : 1));
        }
        return glyph;
    }

    // What an outline renders to when anti-aliased: one byte a dot already.
    if (coverage && source.pixel_mode == FT_PIXEL_MODE_GRAY && source.num_grays == 256) {
        for (int y = 0; y < glyph.rows; ++y)
            std::memcpy(&glyph.dots[static_cast<std::size_t>(y) * glyph.width], rowStart(source, y),
                        static_cast<std::size_t>(glyph.width));
        return glyph;
    }

    // Grey (or colour) bitmaps: bring them to one byte a dot and cut at the threshold, or scale to
    // coverage 0..255.
    FT_Bitmap grey;
    FT_Bitmap_Init(&grey);
    const bool converted = FT_Bitmap_Convert(library_.get(), &source, &grey, 1) == 0 && readable(grey, limit);
    if (converted && grey.num_grays > 1) {
        const int cut = threshold.value_or(127);
        const int levels = grey.num_grays - 1;
        for (int y = 0; y < glyph.rows && y < static_cast<int>(grey.rows); ++y) {
            const unsigned char* row = rowStart(grey, y);
            for (int x = 0; x < glyph.width && x < static_cast<int>(grey.width); ++x) {
                const int covered = row[x] * 255 / levels;
                glyph.dots[static_cast<std::size_t>(y) * glyph.width + x] =
                    static_cast<std::uint8_t>(coverage ? covered : covered > cut);
            }
        }
    }
    FT_Bitmap_Done(library_.get(), &grey);
    if (!converted)
        return std::nullopt;
    return glyph;
}

} // namespace hz::fontsource

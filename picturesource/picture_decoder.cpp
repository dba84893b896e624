#include "picturesource/picture_decoder.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace hz::picturesource {

namespace {

// Bytes handed to the decoder at a time: a refusal in its size callback stops the reading there.
constexpr std::size_t kChunk = 64 * 1024;
// An SVG's opening tag may follow an XML declaration, a doctype and comments.
constexpr std::size_t kSvgSniff = 4096;

// The five formats read, told by their first bytes, and the gdk-pixbuf loader of each. Only these
// loaders ever see a file: gdk-pixbuf's others (TGA, ICNS, ANI ...) are not asked to guess.
const char* loaderFor(std::span<const std::uint8_t> bytes) {
    auto starts = [&](std::string_view magic) {
        return bytes.size() >= magic.size() && std::memcmp(bytes.data(), magic.data(), magic.size()) == 0;
    };
    if (starts("\x89PNG\r\n\x1a\n"))
        return "png";
    if (starts("\xff\xd8\xff"))
        return "jpeg";
    if (starts("GIF87a") || starts("GIF89a"))
        return "gif";
    if (starts("BM"))
        return "bmp";
    const std::string_view head(reinterpret_cast<const char*>(bytes.data()), std::min(bytes.size(), kSvgSniff));
    if (head.find("<svg") != std::string_view::npos)
        return "svg";
    return nullptr;
}

std::uint32_t littleEndian32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// gdk-pixbuf's BMP loader gathers the headers and everything up to the pixels' offset in a buffer
// it grows to the sizes the file claims, before the picture's size is known, and sizes the colour
// table by the count of colours the header claims: a 200-byte file can ask for gigabytes. In any
// real BMP the header, the colour table and the pixels' offset all lie within the file, so a file
// whose claims reach past its end is refused here as damaged.
bool bmpClaimsFit(std::span<const std::uint8_t> bytes) {
    constexpr std::size_t kFileHeader = 14;
    constexpr std::size_t kColoursAt = kFileHeader + 32; // in a header of 40 bytes or more
    if (bytes.size() < kFileHeader + 4)
        return false;
    const std::uint64_t pixelsAt = littleEndian32(bytes, 10);
    const std::uint64_t infoHeader = littleEndian32(bytes, kFileHeader);
    if (pixelsAt > bytes.size() || kFileHeader + infoHeader > bytes.size())
        return false;
    if (infoHeader < 40)
        return true; // the old header of 12 bytes states no count of colours
    const std::uint64_t colours = littleEndian32(bytes, kColoursAt);
    return kFileHeader + infoHeader + 4 * colours <= bytes.size();
}

struct SizeCheck {
    bool svg = false;
    std::optional<PictureSize> svgBox;
    ReadLimits limits;
    std::optional<PictureProblem> refusal;
};

// Called by the decoder once the header is read, before any pixel is allocated: a picture above the
// limits is refused here by asking for a size of 0 x 0, which every loader takes as "stop".
void sizePrepared(GdkPixbufLoader* loader, int width, int height, gpointer data) {
    auto* check = static_cast<SizeCheck*>(data);
    auto refuse = [&](PictureProblemKind kind, std::int64_t limit) {
        check->refusal = PictureProblem{.kind = kind, .limit = limit, .width = width, .height = height};
        gdk_pixbuf_loader_set_size(loader, 0, 0);
    };
    if (width < 1 || height < 1) {
        refuse(PictureProblemKind::Broken, 0);
        return;
    }
    if (check->svg) {
        if (check->svgBox) {
            const PictureSize size = fittedSize(width, height, *check->svgBox);
            gdk_pixbuf_loader_set_size(loader, size.width, size.height);
        } else if (width > DotPicture::kMaxSide || height > DotPicture::kMaxSide) {
            refuse(PictureProblemKind::TooLargeForDots, DotPicture::kMaxSide);
        }
        return;
    }
    const std::int64_t pixels = static_cast<std::int64_t>(width) * height;
    if (width > check->limits.maxSide || height > check->limits.maxSide || pixels > check->limits.maxPixels)
        refuse(PictureProblemKind::SourceTooLarge, check->limits.maxPixels);
}

std::string errorText(GError* error) {
    std::string text = error && error->message ? error->message : "";
    if (error)
        g_error_free(error);
    return text;
}

// The pixbuf's pixels as RGBA, 8 bits a channel, whatever its channels and row stride.
Result<RgbaImage, PictureProblem> rgbaOf(GdkPixbuf* pixbuf, const std::string& name) {
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const bool alpha = gdk_pixbuf_get_has_alpha(pixbuf);
    if (gdk_pixbuf_get_colorspace(pixbuf) != GDK_COLORSPACE_RGB || gdk_pixbuf_get_bits_per_sample(pixbuf) != 8 ||
        channels != (alpha ? 4 : 3))
        return PictureProblem{.kind = PictureProblemKind::Broken, .file = name, .detail = "an unusual pixel format"};
    RgbaImage image;
    image.width = gdk_pixbuf_get_width(pixbuf);
    image.height = gdk_pixbuf_get_height(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    const guint8* pixels = gdk_pixbuf_read_pixels(pixbuf);
    image.rgba.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 4);
    std::uint8_t* out = image.rgba.data();
    for (int y = 0; y < image.height; ++y) {
        const guint8* p = pixels + static_cast<std::ptrdiff_t>(y) * stride;
        for (int x = 0; x < image.width; ++x, p += channels) {
            *out++ = p[0];
            *out++ = p[1];
            *out++ = p[2];
            *out++ = alpha ? p[3] : 0xFF;
        }
    }
    return image;
}

} // namespace

Result<RgbaImage, PictureProblem> decodePicture(std::span<const std::uint8_t> bytes, const std::string& name,
                                                std::optional<PictureSize> svgBox, const ReadLimits& limits) {
    if (bytes.empty())
        return PictureProblem{.kind = PictureProblemKind::Empty, .file = name};
    if (static_cast<std::int64_t>(bytes.size()) > limits.maxFileBytes)
        return PictureProblem{.kind = PictureProblemKind::FileTooLarge,
                              .file = name,
                              .number = static_cast<std::int64_t>(bytes.size()),
                              .limit = limits.maxFileBytes};
    const char* type = loaderFor(bytes);
    if (!type)
        return PictureProblem{.kind = PictureProblemKind::NotRecognised, .file = name};
    if (std::string_view(type) == "bmp" && !bmpClaimsFit(bytes))
        return PictureProblem{
            .kind = PictureProblemKind::Broken, .file = name, .detail = "its headers reach past the end of the file"};

    GError* error = nullptr;
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type(type, &error);
    if (!loader)
        return PictureProblem{.kind = PictureProblemKind::NoDecoder, .file = name, .detail = type};
    g_clear_error(&error);

    SizeCheck check{.svg = std::string_view(type) == "svg", .svgBox = svgBox, .limits = limits, .refusal = {}};
    g_signal_connect(loader, "size-prepared", G_CALLBACK(sizePrepared), &check);

    bool written = true;
    for (std::size_t at = 0; at < bytes.size() && written && !check.refusal; at += kChunk) {
        const std::size_t n = std::min(kChunk, bytes.size() - at);
        written = gdk_pixbuf_loader_write(loader, bytes.data() + at, n, &error);
    }
    std::string detail = errorText(error);
    error = nullptr;
    // Closing ends the decoding; a picture cut short is reported here.
    const bool closed = gdk_pixbuf_loader_close(loader, written ? &error : nullptr);
    if (written && !closed)
        detail = errorText(error);

    Result<RgbaImage, PictureProblem> result = PictureProblem{.kind = PictureProblemKind::Broken, .file = name};
    if (check.refusal) {
        check.refusal->file = name;
        result = *check.refusal;
    } else if (!written || !closed) {
        result = PictureProblem{.kind = PictureProblemKind::Broken, .file = name, .detail = detail};
    } else if (GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader)) {
        // A camera's JPEG is stored as the sensor lay and says in its EXIF how to turn it upright.
        GdkPixbuf* upright = gdk_pixbuf_apply_embedded_orientation(pixbuf);
        result = rgbaOf(upright ? upright : pixbuf, name);
        if (upright)
            g_object_unref(upright);
    } else {
        result = PictureProblem{.kind = PictureProblemKind::Broken, .file = name, .detail = "no picture in it"};
    }
    g_object_unref(loader);
    return result;
}

} // namespace hz::picturesource

#include "core/output/picture_header.h"

#include "core/output/c_header.h"
#include "core/picture/picture_layout.h"

#include <cstdio>
#include <set>
#include <stdexcept>

namespace hz {

namespace {

constexpr int kBytesPerLine = 16;

// What the header declares besides the pictures' own names.
constexpr std::string_view kTableNames[] = {"STORAGE",  "BPP",        "PICTURE_COUNT", "picture",
                                            "pictures", "picture_at", "PICTURES_H"};
constexpr std::string_view kPictureSuffixes[] = {"", "_WIDTH", "_HEIGHT", "_BYTES"};

std::string byteLines(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    char field[8];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out += i % kBytesPerLine == 0 ? "\n    " : " ";
        std::snprintf(field, sizeof field, "0x%02X,", bytes[i]);
        out += field;
    }
    return out + "\n";
}

std::string scanText(const Layout& layout) {
    const std::string first = layout.bit == BitOrder::Msb ? "the highest bits" : "the lowest bits";
    switch (layout.scan) {
    case Scan::Rows:
        return "rows top to bottom, each starting a byte; the leftmost dot in " + first;
    case Scan::Columns:
        return "columns left to right, each starting a byte; the topmost dot in " + first;
    case Scan::Pages:
        return "8-row bands top to bottom, a byte a column; the band's top dot in " + first;
    }
    return {};
}

} // namespace

std::optional<std::string> pictureHeaderClash(std::span<const PictureRecord> pictures) {
    std::set<std::string> declared(std::begin(kTableNames), std::end(kTableNames));
    for (const PictureRecord& picture : pictures)
        for (const std::string_view suffix : kPictureSuffixes)
            if (!declared.insert(picture.name + std::string(suffix)).second)
                return picture.name + std::string(suffix);
    return std::nullopt;
}

std::string makePictureHeader(const PictureHeaderInput& input) {
    if (auto problem = checkHeaderName(input.name))
        throw std::invalid_argument("a header named " + input.name + ": " + *problem);
    if (input.pictures.empty())
        throw std::invalid_argument("a header of no picture");
    if (auto clash = pictureHeaderClash(input.pictures))
        throw std::invalid_argument("two declarations of " + *clash);
    const std::string& n = input.name;
    const Layout& layout = input.layout;

    std::string out;
    out += "/* Pictures for firmware, made by HzDot. Layout " + layoutName(layout) + ": " + scanText(layout) + ".\n";
    if (layout.bpp > 1)
        out += " * " + std::to_string(layout.bpp) + " bits a dot, level 0 clear to " +
               std::to_string((1 << layout.bpp) - 1) + " full ink.\n";
    out += " * Each picture PIC: " + n + "_PIC_WIDTH, " + n + "_PIC_HEIGHT, " + n + "_PIC_BYTES and " + n +
           "_PIC[];\n * " + n + "_pictures[] lists them all in the order given. */\n";
    out += "#ifndef " + n + "_PICTURES_H\n#define " + n + "_PICTURES_H\n\n#include <stddef.h>\n#include <stdint.h>\n\n";
    out += "#ifndef " + n + "_STORAGE\n#define " + n + "_STORAGE\n#endif\n\n";
    out += "#define " + n + "_BPP " + std::to_string(layout.bpp) + "\n";

    for (const PictureRecord& picture : input.pictures) {
        const std::vector<std::uint8_t> bytes = encodePicture(picture.dots, layout);
        const std::string p = n + "_" + picture.name;
        out += "\n#define " + p + "_WIDTH " + std::to_string(picture.dots.width()) + "\n";
        out += "#define " + p + "_HEIGHT " + std::to_string(picture.dots.height()) + "\n";
        out += "#define " + p + "_BYTES " + std::to_string(bytes.size()) + "\n";
        out += "static const uint8_t " + n + "_STORAGE " + p + "[" + std::to_string(bytes.size()) + "] = {" +
               byteLines(bytes) + "};\n";
    }

    const std::size_t count = input.pictures.size();
    out += "\n#define " + n + "_PICTURE_COUNT " + std::to_string(count) + "\n\n";
    out += "typedef struct {\n    const char *name;\n    uint16_t width;\n    uint16_t height;\n"
           "    const uint8_t *bytes;\n} " +
           n + "_picture;\n\n";
    out += "static const " + n + "_picture " + n + "_pictures[" + std::to_string(count) + "] = {\n";
    for (const PictureRecord& picture : input.pictures) {
        const std::string p = n + "_" + picture.name;
        out += "    {\"" + picture.name + "\", " + p + "_WIDTH, " + p + "_HEIGHT, " + p + "},\n";
    }
    out += "};\n\n";
    out += "static inline const " + n + "_picture *" + n + "_picture_at(size_t index) {\n";
    out += "    return index < " + n + "_PICTURE_COUNT ? &" + n + "_pictures[index] : NULL;\n}\n\n";
    out += "#endif\n";
    return out;
}

} // namespace hz

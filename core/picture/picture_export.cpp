#include "core/picture/picture_export.h"

#include "core/picture/picture_layout.h"
#include "core/text/byte_text.h"

namespace hz {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// ";logo[64*32]pages-lsb" or "{//logo[64*32]pages-lsb", with its line break.
void appendHeader(std::string& out, const PictureRecord& picture, const ExportForm& form, bool cBlock) {
    out += cBlock ? "{//" : ";";
    out += picture.name;
    out += '[';
    out += std::to_string(picture.dots.width());
    out += '*';
    out += std::to_string(picture.dots.height());
    out += ']';
    out += form.name;
    out += kCrLf;
}

} // namespace

std::vector<std::uint8_t> pictureBytes(const DotPicture& picture, const ExportForm& form) {
    if (form.choice.kind == LayoutChoice::Kind::Arrangement) {
        Layout layout = arrangementLayout(form.choice.arrangement);
        layout.bpp = picture.depth();
        return encodePicture(picture, layout);
    }
    return encodePicture(picture, form.choice.layout);
}

std::string pictureExportText(std::span<const PictureRecord> pictures, const LayoutChoice& choice) {
    std::string out;
    for (const ExportForm& form : exportForms(choice)) {
        for (const PictureRecord& picture : pictures) {
            appendHeader(out, picture, form, false);
            appendAssemblyText(out, pictureBytes(picture.dots, form));
            out += kCrLf;
        }
        out += kCrLf;
        for (const PictureRecord& picture : pictures) {
            appendHeader(out, picture, form, true);
            appendCText(out, pictureBytes(picture.dots, form));
            out += "};";
            out += kCrLf;
        }
    }
    return out;
}

std::vector<std::uint8_t> pictureBinary(std::span<const PictureRecord> pictures, const LayoutChoice& choice) {
    std::vector<std::uint8_t> out;
    for (const ExportForm& form : exportForms(choice))
        for (const PictureRecord& picture : pictures) {
            const std::vector<std::uint8_t> bytes = pictureBytes(picture.dots, form);
            out.insert(out.end(), bytes.begin(), bytes.end());
        }
    return out;
}

} // namespace hz

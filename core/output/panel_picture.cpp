#include "core/output/panel_picture.h"

#include "core/picture/picture_layout.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <stdexcept>

namespace hz {

namespace {

std::optional<int> side(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || text.front() == '-' || text.front() == '+' || error != std::errc() ||
        end != text.data() + text.size() || value < 1 || value > kMaxPanelSide)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<PanelSize> parsePanelSize(std::string_view text) {
    const std::size_t by = text.find_first_of("xX");
    if (by == std::string_view::npos)
        return std::nullopt;
    const auto width = side(text.substr(0, by));
    const auto height = side(text.substr(by + 1));
    if (!width || !height)
        return std::nullopt;
    return PanelSize{*width, *height};
}

std::string_view panelLookName(PanelLook look) {
    switch (look) {
    case PanelLook::BlueOled:
        return "蓝色OLED";
    case PanelLook::GreenStn:
        return "绿色STN液晶";
    case PanelLook::WhitePaper:
        return "白色电子纸";
    case PanelLook::ColourTft:
        return "彩色TFT";
    }
    return {};
}

std::optional<Rgb> parseRgb(std::string_view text) {
    if (text.size() != 7 || text.front() != '#')
        return std::nullopt;
    std::uint8_t channels[3] = {};
    for (int k = 0; k < 3; ++k) {
        const char* first = text.data() + 1 + 2 * k;
        // from_chars would take a sign; only the two hex digits may be there.
        if (!std::isxdigit(static_cast<unsigned char>(first[0])) ||
            !std::isxdigit(static_cast<unsigned char>(first[1])))
            return std::nullopt;
        std::from_chars(first, first + 2, channels[k], 16);
    }
    return Rgb{channels[0], channels[1], channels[2]};
}

std::string rgbText(Rgb colour) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "#";
    for (std::uint8_t channel : {colour.r, colour.g, colour.b}) {
        text += kDigits[channel >> 4];
        text += kDigits[channel & 0xF];
    }
    return text;
}

Rgb blendLevel(Rgb background, Rgb foreground, int level, int maxLevel) {
    const int max = std::max(1, maxLevel);
    const int share = std::clamp(level, 0, max);
    const auto mix = [&](std::uint8_t back, std::uint8_t fore) {
        // Rounded to the nearest: (back * (max - share) + fore * share) / max, half up.
        return static_cast<std::uint8_t>((back * (max - share) + fore * share + max / 2) / max);
    };
    return {mix(background.r, foreground.r), mix(background.g, foreground.g), mix(background.b, foreground.b)};
}

PanelColours panelColours(PanelLook look) {
    switch (look) {
    case PanelLook::BlueOled: // light blue dots glowing on a black glass
        return {{0x5A, 0xC8, 0xFF}, {0x06, 0x0C, 0x16}, {0x00, 0x00, 0x00}, true};
    case PanelLook::GreenStn: // dark segments on the yellow-green of a backlit STN panel
        return {{0x1E, 0x2B, 0x12}, {0x9F, 0xC0, 0x2A}, {0x8C, 0xAB, 0x22}, true};
    case PanelLook::WhitePaper: // ink on paper, no grid to see
        return {{0x22, 0x22, 0x22}, {0xF2, 0xF1, 0xEA}, {0xF2, 0xF1, 0xEA}, false};
    case PanelLook::ColourTft: { // pixels packed edge to edge, each the colour it is given
        const TftColours colours;
        return {colours.foreground, colours.background, colours.background, false};
    }
    }
    throw std::invalid_argument("unknown panel look");
}

bool isWordSpace(char32_t character) {
    return character == U' ' || character == U'\u3000';
}

EncodedGlyph encodeGlyph(char32_t character, const DotCell& cell, const Layout& layout) {
    return {encodeCell(cell, layout), cell.width(), cell.height(), isWordSpace(character), false};
}

EncodedGlyph lineBreakGlyph() {
    return {{}, 0, 0, false, true};
}

PanelFlow::PanelFlow(int panelWidth, int rowHeight, int lineSpacing)
    : width(panelWidth), rowStep(rowHeight + lineSpacing) {}

void PanelFlow::nextRow() {
    x = 0;
    y += rowStep;
}

std::optional<PanelPoint> PanelFlow::place(const EncodedGlyph& glyph) {
    if (glyph.lineBreak) {
        nextRow();
        return std::nullopt;
    }
    // A glyph wider than the panel still gets a row of its own, cut at the edge.
    if (x > 0 && x + glyph.width > width) {
        nextRow();
        if (glyph.space)
            return std::nullopt;
    }
    const PanelPoint at{x, y};
    x += glyph.width;
    return at;
}

PanelDots layOutPanel(std::span<const EncodedGlyph> glyphs, const Layout& layout, PanelSize size, int lineSpacing) {
    if (lineSpacing < 0 || lineSpacing > kMaxLineSpacing)
        throw std::invalid_argument("line spacing " + std::to_string(lineSpacing) + " is not 0.." +
                                    std::to_string(kMaxLineSpacing));
    if (!hasGreyForm(layout))
        throw std::invalid_argument(layoutName(layout) + " has no form at " + std::to_string(layout.bpp) +
                                    " bits a dot");
    PanelDots panel;
    panel.size = size;
    const std::size_t dots = static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height);
    panel.lit.assign(dots, 0);
    const bool grey = layout.bpp > 1;
    if (grey) {
        panel.levels.assign(dots, 0);
        panel.maxLevel = (1 << layout.bpp) - 1;
    }
    int lineHeight = 0;
    for (const EncodedGlyph& glyph : glyphs)
        lineHeight = std::max(lineHeight, glyph.height);

    PanelFlow flow(size.width, lineHeight, lineSpacing);
    for (const EncodedGlyph& glyph : glyphs) {
        const std::optional<PanelPoint> at = flow.place(glyph);
        if (flow.rowTop() >= size.height)
            break;
        if (!at) {
            // A space dropped where its row wrapped is not missing from the picture.
            if (glyph.space)
                ++panel.glyphsShown;
            continue;
        }
        const int w = std::min(glyph.width, size.width - at->x);
        const int h = std::min(glyph.height, size.height - at->y);
        const auto draw = [&](const auto& shown) {
            for (int row = 0; row < h; ++row)
                for (int col = 0; col < w; ++col) {
                    const std::size_t to =
                        static_cast<std::size_t>(at->y + row) * static_cast<std::size_t>(size.width) +
                        static_cast<std::size_t>(at->x + col);
                    if (shown.dot(col, row))
                        panel.lit[to] = 1;
                    if (grey)
                        panel.levels[to] = static_cast<std::uint8_t>(shown.level(col, row));
                }
        };
        // A picture may be larger than a glyph's cell.
        if (glyph.width <= DotCell::kMaxSide && glyph.height <= DotCell::kMaxSide)
            draw(decodeCell(glyph.bytes, layout, glyph.width, glyph.height));
        else
            draw(decodePicture(glyph.bytes, layout, glyph.width, glyph.height));
        if (w == glyph.width && h == glyph.height)
            ++panel.glyphsShown;
    }
    return panel;
}

namespace {

// The colour-TFT look: every dot its level's blend, no grid. The blends of a panel's few levels are
// worked out once.
RgbImage renderTft(const PanelDots& panel, int zoom, const TftColours& tft) {
    const int max = std::max(1, panel.maxLevel);
    std::vector<Rgb> shades;
    for (int level = 0; level <= max; ++level)
        shades.push_back(blendLevel(tft.background, tft.foreground, level, max));
    RgbImage image;
    image.width = panel.size.width * zoom;
    image.height = panel.size.height * zoom;
    image.rgb.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3);
    std::uint8_t* out = image.rgb.data();
    for (int py = 0; py < image.height; ++py)
        for (int px = 0; px < image.width; ++px) {
            const Rgb c = shades[static_cast<std::size_t>(std::clamp(panel.level(px / zoom, py / zoom), 0, max))];
            *out++ = c.r;
            *out++ = c.g;
            *out++ = c.b;
        }
    return image;
}

} // namespace

RgbImage renderPanel(const PanelDots& panel, PanelLook look, int zoom, const TftColours& tft) {
    if (zoom < kMinZoom || zoom > kMaxZoom)
        throw std::invalid_argument("zoom " + std::to_string(zoom) + " is not 1..8");
    if (look == PanelLook::ColourTft)
        return renderTft(panel, zoom, tft);
    const PanelColours colours = panelColours(look);
    const bool grid = colours.grid && zoom >= kGridFromZoom;
    RgbImage image;
    image.width = panel.size.width * zoom;
    image.height = panel.size.height * zoom;
    image.rgb.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3);
    std::uint8_t* out = image.rgb.data();
    for (int py = 0; py < image.height; ++py) {
        const int y = py / zoom;
        const bool gapRow = grid && py % zoom == zoom - 1;
        for (int px = 0; px < image.width; ++px) {
            const int x = px / zoom;
            const bool gap = gapRow || (grid && px % zoom == zoom - 1);
            const Rgb c = gap ? colours.gap : panel.dot(x, y) ? colours.lit : colours.unlit;
            *out++ = c.r;
            *out++ = c.g;
            *out++ = c.b;
        }
    }
    return image;
}

std::string previewPng(std::span<const EncodedGlyph> glyphs, const Layout& layout, PanelSize size, int lineSpacing,
                       PanelLook look, int zoom, const TftColours& tft) {
    return encodePng(renderPanel(layOutPanel(glyphs, layout, size, lineSpacing), look, zoom, tft));
}

} // namespace hz

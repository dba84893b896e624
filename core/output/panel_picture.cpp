#include "core/output/panel_picture.h"

#include <algorithm>
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
    }
    return {};
}

PanelColours panelColours(PanelLook look) {
    switch (look) {
    case PanelLook::BlueOled: // light blue dots glowing on a black glass
        return {{0x5A, 0xC8, 0xFF}, {0x06, 0x0C, 0x16}, {0x00, 0x00, 0x00}, true};
    case PanelLook::GreenStn: // dark segments on the yellow-green of a backlit STN panel
        return {{0x1E, 0x2B, 0x12}, {0x9F, 0xC0, 0x2A}, {0x8C, 0xAB, 0x22}, true};
    case PanelLook::WhitePaper: // ink on paper, no grid to see
        return {{0x22, 0x22, 0x22}, {0xF2, 0xF1, 0xEA}, {0xF2, 0xF1, 0xEA}, false};
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
    PanelDots panel;
    panel.size = size;
    panel.lit.assign(static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height), 0);
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
        const DotCell shown = decodeCell(glyph.bytes, layout, glyph.width, glyph.height);
        const int w = std::min(glyph.width, size.width - at->x);
        const int h = std::min(glyph.height, size.height - at->y);
        for (int row = 0; row < h; ++row)
            for (int col = 0; col < w; ++col)
                if (shown.dot(col, row))
                    panel.lit[static_cast<std::size_t>(at->y + row) * static_cast<std::size_t>(size.width) +
                              static_cast<std::size_t>(at->x + col)] = 1;
        if (w == glyph.width && h == glyph.height)
            ++panel.glyphsShown;
    }
    return panel;
}

RgbImage renderPanel(const PanelDots& panel, PanelLook look, int zoom) {
    if (zoom < kMinZoom || zoom > kMaxZoom)
        throw std::invalid_argument("zoom " + std::to_string(zoom) + " is not 1..8");
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
                       PanelLook look, int zoom) {
    return encodePng(renderPanel(layOutPanel(glyphs, layout, size, lineSpacing), look, zoom));
}

} // namespace hz

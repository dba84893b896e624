#pragma once
// The picture of a text on a small display: glyphs one after another, left to right, in rows that wrap
// at the panel's edge and break where the text does, each drawn from its bytes in a layout decoded
// back, so the picture shows what the firmware will show from those bytes.
//
// Grey glyphs (layouts of 2, 4 or 8 bits a dot) keep their levels on the panel. The one-bit looks
// show the dots at or above half level as lit; the colour-TFT look blends every dot's level between
// a background and a foreground colour.

#include "core/glyph/dot_cell.h"
#include "core/layout/layout.h"
#include "core/output/png_writer.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hz {

struct PanelSize {
    int width = 128; // in dots
    int height = 64;
    bool operator==(const PanelSize&) const = default;
};

// The panels the preview window offers.
inline constexpr std::array<PanelSize, 4> kPanelSizes = {{{128, 32}, {128, 64}, {240, 128}, {320, 240}}};
// Any panel from the command line stays within this many dots a side.
inline constexpr int kMaxPanelSide = 1024;

// "128x64" (or "128X64"): both sides 1..kMaxPanelSide; nothing for anything else.
std::optional<PanelSize> parsePanelSize(std::string_view text);

enum class PanelLook { BlueOled, GreenStn, WhitePaper, ColourTft };
inline constexpr int kPanelLookCount = 4;
std::string_view panelLookName(PanelLook look); // "蓝色OLED", "绿色STN液晶", "白色电子纸", "彩色TFT"

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

// The colours of the colour-TFT look: a dot of level L out of max is L/max of the way from
// background to foreground.
struct TftColours {
    Rgb foreground{0xFF, 0xFF, 0xFF};
    Rgb background{0x00, 0x00, 0x00};
    bool operator==(const TftColours&) const = default;
};

// "#RRGGBB", the hex digits in either case; nothing for anything else.
std::optional<Rgb> parseRgb(std::string_view text);
// "#RRGGBB" in capitals.
std::string rgbText(Rgb colour);

// Each channel level/maxLevel of the way from background to foreground, rounded to the nearest
// value: level 0 is the background, maxLevel the foreground. level is clamped to 0..maxLevel; a
// maxLevel below 1 counts as 1.
Rgb blendLevel(Rgb background, Rgb foreground, int level, int maxLevel);

struct PanelColours {
    Rgb lit;
    Rgb unlit;
    Rgb gap; // between dots, on the looks that show a grid
    bool grid;
};
// For the colour-TFT look: the default colours, lit the foreground, no grid.
PanelColours panelColours(PanelLook look);

inline constexpr int kMinZoom = 1;
inline constexpr int kMaxZoom = 8;
// The grid between dots shows from this zoom up: below it a gap would eat half the dot.
inline constexpr int kGridFromZoom = 3;

// Which dots of the panel are lit, row by row, and their grey levels.
struct PanelDots {
    PanelSize size;
    std::vector<std::uint8_t> lit; // size.width * size.height, 1 for a lit dot (at or above half level)
    // The dots' levels 0..maxLevel when the glyphs are grey; empty for one bit a dot, where lit is
    // the level.
    std::vector<std::uint8_t> levels;
    int maxLevel = 1;
    int glyphsShown = 0; // glyphs that lie wholly on the panel, and spaces dropped on it
    bool dot(int x, int y) const { return lit[at(x, y)] != 0; }
    int level(int x, int y) const { return levels.empty() ? lit[at(x, y)] : levels[at(x, y)]; }

private:
    std::size_t at(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(size.width) + static_cast<std::size_t>(x);
    }
};

// A glyph as the firmware holds it: its bytes in some layout and its size. A line break of the text
// is one too, with no bytes.
struct EncodedGlyph {
    std::vector<std::uint8_t> bytes;
    int width = 0;
    int height = 0;
    bool space = false;     // a blank between words: dropped where the row wraps before it
    bool lineBreak = false; // no glyph: what follows starts the next row
};

// The blanks a row may wrap at: the space and the ideographic space.
bool isWordSpace(char32_t character);

// A character's glyph with its bytes in layout.
EncodedGlyph encodeGlyph(char32_t character, const DotCell& cell, const Layout& layout);
EncodedGlyph lineBreakGlyph();

// Dots between rows, at most.
inline constexpr int kMaxLineSpacing = 64;

struct PanelPoint {
    int x = 0;
    int y = 0;
};

// Where the glyphs of a text go, one after another: left to right in rows rowHeight tall and
// lineSpacing apart; a glyph that does not fit the rest of its row starts the next one (a space there
// is dropped instead, so no row starts with the blank that broke it); a line break starts the next row.
class PanelFlow {
public:
    PanelFlow(int panelWidth, int rowHeight, int lineSpacing);

    // The glyph's top left corner; nothing for a line break or a dropped space.
    std::optional<PanelPoint> place(const EncodedGlyph& glyph);
    // The top of the row the next glyph goes in.
    int rowTop() const { return y; }

private:
    void nextRow();

    int width;
    int rowStep;
    int x = 0;
    int y = 0;
};

// Lays the glyphs out as the firmware would draw them, each decoded from its bytes in layout and
// placed by a PanelFlow with rows as tall as the tallest glyph. What falls off the panel is cut off.
// A layout of more than one bit a dot keeps the levels. Throws std::invalid_argument for a
// lineSpacing outside 0..kMaxLineSpacing and for a layout without a form at its depth (hasGreyForm).
PanelDots layOutPanel(std::span<const EncodedGlyph> glyphs, const Layout& layout, PanelSize size, int lineSpacing = 0);

// The panel drawn in a look, each dot a zoom x zoom block (zoom 1..8; throws std::invalid_argument
// otherwise). From kGridFromZoom up the looks with a grid leave a 1-pixel gap right and below each dot.
// tft gives the colour-TFT look its colours; the other looks ignore it.
RgbImage renderPanel(const PanelDots& panel, PanelLook look, int zoom, const TftColours& tft = {});
// The same picture as the numbers of its colours: the gap, lit and unlit colours of a look, or the
// colour-TFT look's blend of each level. renderPanel gives this picture's colours.
IndexedImage renderPanelIndexed(const PanelDots& panel, PanelLook look, int zoom, const TftColours& tft = {});

// The look and zoom of a preview when nobody chose one.
inline constexpr PanelLook kDefaultLook = PanelLook::BlueOled;
inline constexpr int kDefaultZoom = 4;

// The PNG file of a text's preview: layOutPanel, renderPanel, encodePng.
std::string previewPng(std::span<const EncodedGlyph> glyphs, const Layout& layout, PanelSize size, int lineSpacing = 0,
                       PanelLook look = kDefaultLook, int zoom = kDefaultZoom, const TftColours& tft = {});

} // namespace hz

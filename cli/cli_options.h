#pragma once
// The command line of hzdot-cli, parsed into settings.

#include "core/layout/arrangements.h"
#include "core/layout/layout.h"
#include "core/layout/layout_presets.h"
#include "core/output/c_header.h"
#include "core/output/panel_picture.h"
#include "core/picture/picture_dots.h"
#include "core/text/dot_matrix_text.h"
#include "fontsource/render_rule_name.h"
#include "fontsource/width_class.h"

#include <optional>
#include <string>
#include <vector>

namespace hz::cli {

enum class OutputEncoding { Utf8, Cp936 };
enum class OutputFormat { Text, Bin, Header, Lvgl, LvglBin, U8g2, Bdf };

struct CliOptions {
    // Where glyphs come from: one of the six libraries (the default), a font, or a library file.
    std::optional<std::string> fontsDir; // nothing: the executable's folder
    int library = 1;
    std::optional<std::string> fontFile; // --font
    int face = 0;
    std::optional<int> size;                // --size, 8..64
    std::optional<int> threshold;           // --threshold, 0..254
    std::optional<int> bpp;                 // --bpp as given; layout.layout.bpp is the depth written
    std::optional<std::string> libraryFile; // --library FILE
    std::optional<int> cell;                // --cell N
    std::optional<int> firstRow;            // --first-row 0xA1|0xB0
    std::optional<hz::Layout> recordLayout; // --record-layout L

    std::optional<hz::fontsource::GlyphWidths> widths;       // --width
    std::optional<hz::fontsource::AmbiguousWidth> ambiguous; // --ambiguous
    std::optional<hz::fontsource::RenderRule> render;        // --render

    bool probe = false;

    hz::LayoutChoice layout = hz::LayoutChoice::of(hz::Arrangement::Rows);
    std::string layoutNamed; // "--layout rows-msb-4bpp", "-a 2": what chose the layout; empty for the default
    int spaceX = 2;
    int spaceY = 2;
    std::optional<std::string> text;      // TEXT as given
    std::optional<std::string> inputFile; // "-" is standard input
    std::vector<std::string> scanPaths;   // --scan PATH...
    bool scanAscii = false;
    bool verbose = false;
    std::optional<std::string> outputFile;
    OutputFormat format = OutputFormat::Text;
    std::optional<std::string> headerName;
    hz::HeaderKey key = hz::HeaderKey::Unicode;
    bool c89 = false;
    bool compress = false;
    std::optional<std::string> preview; // "WxH"
    std::optional<int> lineSpacing;     // dots between the preview's rows
    std::optional<hz::Rgb> foreground;  // --fg: the preview in the colour-TFT look
    std::optional<hz::Rgb> background;  // --bg
    std::optional<std::string> detectFile;
    bool current = false;
    bool view = false;
    hz::Marks marks;
    OutputEncoding encoding = OutputEncoding::Utf8;
    bool listLayouts = false;
    // --image FILE...: pictures, in the order given; with --preview the text goes between the
    // first imagesBeforeText pictures and the rest.
    std::vector<std::string> images;
    std::size_t imagesBeforeText = 0;
    std::optional<hz::PictureSize> fit; // --fit WxH
    std::optional<hz::Dither> dither;   // --dither
    bool invert = false;                // --invert
    bool help = false;
    bool version = false;
};

struct ParsedCommandLine {
    CliOptions options;
    std::optional<std::string> error; // a usage error, naming the option
};

// Accepts "-l 3", "-l3", "--library 3" and "--library=3"; "--" ends the options.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& args);

// The options' lines of --help, from the option table.
std::string optionHelp();

} // namespace hz::cli

// Finding the layout of one pasted 24x24 glyph: reading the C text and scoring all 48 layouts against
// three faces; and probing a whole library file for its cell, first row and record layout.
#include "core/glyph/glyph_source.h"
#include "core/layout/byte_paste.h"
#include "core/layout/layout_detect.h"
#include "core/library/font_library.h"
#include "core/library/library_probe.h"
#include "core/library/library_source.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// A glyph of strokes like a character's, and the same strokes as another font draws them: one dot
// lower and right, and a dot thicker.
hz::DotCell strokes(int thickness, int shift) {
    hz::DotCell cell(24, 24);
    auto bar = [&](int x0, int y0, int x1, int y1) {
        for (int y = y0; y <= y1 + thickness - 1; ++y)
            for (int x = x0; x <= x1 + thickness - 1; ++x)
                if (x + shift < 24 && y + shift < 24)
                    cell.setDot(x + shift, y + shift);
    };
    bar(2, 5, 20, 5);
    bar(4, 12, 18, 12);
    bar(11, 1, 11, 21);
    bar(5, 15, 5, 22);
    bar(16, 8, 16, 14);
    for (int i = 0; i < 8; ++i)
        bar(13 + i, 14 + i, 13 + i, 14 + i);
    return cell;
}

void BM_DetectPasted24(benchmark::State& state) {
    // Compared as three faces draw it, as the command line does with the 24-dot libraries.
    const std::vector<hz::DotCell> faces{strokes(1, 0), strokes(1, 1), strokes(3, 0)};
    const auto bytes = hz::encodeCell(strokes(2, 1), *hz::parseLayout("pages-lsb-left"));
    std::string text = "static const unsigned char glyph[72] = {\n";
    char item[8];
    for (std::uint8_t b : bytes) {
        std::snprintf(item, sizeof item, "0x%02X, ", b);
        text += item;
    }
    text += "};\n";
    for (auto _ : state) {
        const auto pasted = hz::parsePastedBytes(text);
        const auto found = hz::detectLayout(pasted ? *pasted : std::vector<std::uint8_t>{}, faces);
        if (!found || hz::layoutName(found->candidates.front().layout) != "pages-lsb-left")
            state.SkipWithError("the layout was not found");
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_DetectPasted24)->Unit(benchmark::kMillisecond);

// The 24-dot Song library the build made, probed as a user's file against the 16-dot library.
void BM_ProbeLibrary24(benchmark::State& state) {
    const std::string folder = std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
    const std::string file = hz::libraryPath(folder, hz::fontLibrary(3));
    hz::LibrarySource reference(folder, 1, 2, 2);
    for (auto _ : state) {
        const auto found = hz::probeLibrary(file, reference);
        if (!found || found->geometry.cell != 24) {
            state.SkipWithError("the library was not recognised");
            break;
        }
        benchmark::DoNotOptimize(found->score);
    }
}
BENCHMARK(BM_ProbeLibrary24)->Unit(benchmark::kMillisecond);

} // namespace

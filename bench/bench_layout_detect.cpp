// Finding the layout of one pasted 24x24 glyph: reading the C text and scoring all 48 layouts against
// three faces, and against every face the command line gathers; the trial of how often detection is
// right across fonts; and probing a whole library file for its cell, first row and record layout.
#include "core/glyph/glyph_source.h"
#include "core/layout/byte_paste.h"
#include "core/layout/layout_detect.h"
#include "core/library/font_library.h"
#include "core/library/library_probe.h"
#include "core/library/library_source.h"
#include "core/text/codepage.h"
#include "fontsource/font_source.h"
#include "fontsource/reference_fonts.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
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

std::string programFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

// As the command line does it: a Micro Hei 我 in ssd1306 bytes, compared with the six libraries and
// every installed Chinese font drawn at 24 dots (their faces opened once, as a process keeps them).
void BM_DetectPasted24AllFaces(benchmark::State& state) {
    auto font = hz::fontsource::FontSource::open({"/usr/share/fonts/truetype/wqy/wqy-microhei.ttc", 0, 24, {}});
    hz::DotCell glyph;
    if (!font || (*font)->glyph(U'我', glyph) != hz::LookupStatus::Found) {
        state.SkipWithError("the font is missing");
        return;
    }
    const auto bytes = hz::encodeCell(glyph, *hz::parseLayout("pages-lsb"));
    std::size_t faceCount = 0;
    for (auto _ : state) {
        hz::LibrarySource source(programFolder(), 3, 2, 2);
        std::vector<hz::DotCell> faces(1);
        source.glyph(U'我', faces.front());
        for (hz::DotCell& face : hz::otherLibraryGlyphs(U'我', programFolder(), 3))
            faces.push_back(std::move(face));
        for (hz::DotCell& face :
             hz::fontsource::referenceGlyphs(U'我', hz::pasteCells(bytes), hz::fontsource::referenceFonts()))
            faces.push_back(std::move(face));
        const auto found = hz::detectLayout(bytes, faces);
        if (!found || hz::layoutName(found->candidates.front().layout) != "pages-lsb")
            state.SkipWithError("the layout was not found");
        faceCount = faces.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["faces"] = static_cast<double>(faceCount);
}
BENCHMARK(BM_DetectPasted24AllFaces)->Unit(benchmark::kMillisecond);

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

// The trial of how often detection is right across faces: level-one hanzi drawn by fonts none of
// the six libraries is made from at that size, each encoded in a random layout, against the
// references the command line gathers; then random bytes, which must never be taken for a
// character. Not a timing: run it alone with --benchmark_filter=AcrossFaces. HZBENCH_MISSES=1
// prints every glyph whose best layout is wrong.
struct TrialFace {
    const char* file;
    int face;
    int size;
};

#define HZ_FONTS "/usr/share/fonts/truetype/"
constexpr const char* kMicroHei = HZ_FONTS "wqy/wqy-microhei.ttc";
constexpr const char* kDroid = HZ_FONTS "droid/DroidSansFallbackFull.ttf";
constexpr TrialFace kTrialFaces[] = {
    {kMicroHei, 0, 16},
    {kMicroHei, 0, 24},
    {HZ_FONTS "arphic/uming.ttc", 1, 24},
    {HZ_FONTS "wqy/wqy-zenhei.ttc", 0, 16},
    {HZ_FONTS "arphic-gkai00mp/gkai00mp.ttf", 0, 16},
    {HZ_FONTS "arphic-gbsn00lp/gbsn00lp.ttf", 0, 16},
    {kDroid, 0, 16},
    {kDroid, 0, 24},
};
#undef HZ_FONTS

// The installed fonts compared with a paste of `face`: all but its own file, and Micro Hei and
// Droid Sans Fallback leave each other out too (they share their hanzi).
std::vector<hz::fontsource::ReferenceFont> fontsUnlike(const std::string& file) {
    std::vector<hz::fontsource::ReferenceFont> fonts;
    const bool droidKin = file == kMicroHei || file == kDroid;
    for (const auto& font : hz::fontsource::referenceFonts())
        if (font.file != file && !(droidKin && (font.file == kMicroHei || font.file == kDroid)))
            fonts.push_back(font);
    return fonts;
}

// The character as the chosen library draws it (16- or 24-dot Song), then the other libraries,
// then the fonts at the paste's cells, as the command line gathers them.
std::vector<hz::DotCell> trialReferences(char32_t character, int size, std::span<const std::uint8_t> bytes,
                                         std::span<const hz::fontsource::ReferenceFont> fonts) {
    const int chosen = size == 24 ? 3 : 1;
    hz::LibrarySource source(programFolder(), chosen, 2, 2);
    std::vector<hz::DotCell> faces(1);
    if (source.glyph(character, faces.front()) != hz::LookupStatus::Found)
        return {};
    for (hz::DotCell& face : hz::otherLibraryGlyphs(character, programFolder(), chosen))
        faces.push_back(std::move(face));
    for (hz::DotCell& face : hz::fontsource::referenceGlyphs(character, hz::pasteCells(bytes), fonts))
        faces.push_back(std::move(face));
    return faces;
}

std::optional<char32_t> levelOneHanzi(std::mt19937& random) {
    const int row = 0xB0 + static_cast<int>(random() % 40), column = 0xA1 + static_cast<int>(random() % 94);
    return hz::cp936Character(static_cast<std::uint16_t>(row * 256 + column));
}

void BM_DetectAcrossFaces(benchmark::State& state) {
    const int perFace = static_cast<int>(state.range(0));
    const bool withFonts = state.range(1) != 0;
    const bool showMisses = std::getenv("HZBENCH_MISSES") != nullptr;
    for (auto _ : state) {
        int tried = 0, right = 0, samePicture = 0, sure = 0, wrongButSure = 0;
        for (std::size_t f = 0; f < std::size(kTrialFaces); ++f) {
            const TrialFace& face = kTrialFaces[f];
            auto opened = hz::fontsource::FontSource::open({face.file, face.face, face.size, {}});
            if (!opened) {
                state.SkipWithError("a trial font is missing");
                return;
            }
            const auto fonts = withFonts ? fontsUnlike(face.file) : std::vector<hz::fontsource::ReferenceFont>{};
            std::mt19937 random(static_cast<unsigned>(f + 1));
            for (int n = 0; n < perFace;) {
                const auto character = levelOneHanzi(random);
                hz::DotCell glyph;
                if (!character || (*opened)->glyph(*character, glyph) != hz::LookupStatus::Found ||
                    glyph.inkCount() == 0)
                    continue;
                const hz::Layout layout = hz::Layout::fromIndex(static_cast<int>(random() % hz::Layout::kCount));
                const auto bytes = hz::encodeCell(glyph, layout);
                const auto references = trialReferences(*character, face.size, bytes, fonts);
                if (references.empty())
                    continue;
                const auto found = hz::detectLayout(bytes, references);
                if (!found) {
                    state.SkipWithError("detection refused a glyph");
                    return;
                }
                ++n;
                ++tried;
                const hz::LayoutCandidate& best = found->candidates.front();
                const bool isRight = best.layout == layout;
                right += isRight;
                // A glyph the same mirrored has the same bytes in both layouts: either draws it.
                samePicture +=
                    isRight || hz::decodeCell(bytes, best.layout, best.cell.width, best.cell.height) == glyph;
                sure += found->sure();
                wrongButSure += !isRight && found->sure();
                if (!isRight && showMisses)
                    std::fprintf(stderr, "miss %s %d: U+%04X %s%s\n%s", face.file, face.size,
                                 static_cast<unsigned>(*character), hz::layoutName(layout).c_str(),
                                 found->sure() ? " (SURE)" : "", hz::detectionLines(*found, 3).c_str());
            }
        }
        // Random bytes in the counts of common cells, thin to dense.
        const std::size_t counts[] = {16, 24, 32, 36, 48, 72, 128, 288};
        std::mt19937 random(7);
        const auto fonts = withFonts ? hz::fontsource::referenceFonts() : std::vector<hz::fontsource::ReferenceFont>{};
        int pastes = 0, taken = 0;
        for (int n = 0; n < tried;) {
            const auto character = levelOneHanzi(random);
            if (!character)
                continue;
            std::vector<std::uint8_t> bytes(counts[random() % std::size(counts)]);
            const int density = static_cast<int>(random() % 3);
            for (auto& b : bytes) {
                b = static_cast<std::uint8_t>(random());
                if (density == 1)
                    b &= static_cast<std::uint8_t>(random());
                if (density == 2)
                    b |= static_cast<std::uint8_t>(random());
            }
            const auto references = trialReferences(*character, n % 2 ? 24 : 16, bytes, fonts);
            if (references.empty())
                continue;
            ++n;
            const auto found = hz::detectLayout(bytes, references);
            if (!found)
                continue;
            ++pastes;
            taken += found->sure();
            if (found->sure() && showMisses)
                std::fprintf(stderr, "random taken: %zu bytes, U+%04X\n%s", bytes.size(),
                             static_cast<unsigned>(*character), hz::detectionLines(*found, 3).c_str());
        }
        state.counters["glyphs"] = tried;
        state.counters["rightFirstPct"] = 100.0 * right / tried;
        state.counters["samePicturePct"] = 100.0 * samePicture / tried;
        state.counters["surePct"] = 100.0 * sure / tried;
        state.counters["wrongButSure"] = wrongButSure;
        state.counters["randomPastes"] = pastes;
        state.counters["randomTaken"] = taken;
    }
}
// Arguments: glyphs a face; 0 to compare with the libraries alone, 1 with the installed fonts too.
BENCHMARK(BM_DetectAcrossFaces)
    ->ArgNames({"glyphs", "fonts"})
    ->Args({875, 0})
    ->Args({875, 1})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

} // namespace

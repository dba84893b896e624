// Live fonts: the whole GB2312 set drawn from an outline font, as hzdot-mkfont builds a library
// (fitting the size and origin, then every record placed and packed), and single live lookups.
#include "core/layout/layout.h"
#include "fontsource/cell_fit.h"
#include "fontsource/code_table.h"
#include "fontsource/face_pool.h"
#include "fontsource/font_source.h"
#include "fontsource/grey_cell.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

namespace fsrc = hz::fontsource;

const std::string kFonts[] = {"/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
                              "/usr/share/fonts/truetype/arphic-gbsn00lp/gbsn00lp.ttf",
                              "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"};

// Arguments: font (0 MicroHei, 1 AR PL SungtiL, 2 Zen Hei), cell size, worker threads.
void BM_Gb2312SetFromOutlines(benchmark::State& state) {
    const std::string& font = kFonts[state.range(0)];
    const int size = static_cast<int>(state.range(1));
    const int workers = static_cast<int>(state.range(2));
    const std::vector<fsrc::CodeEntry> entries = fsrc::gb2312Table();
    const hz::Layout rows;
    for (auto _ : state) {
        auto pool = fsrc::FacePool::open(font, 0, size, workers);
        if (!pool) {
            state.SkipWithError("the font cannot be opened");
            return;
        }
        auto fitted = fsrc::fitCells(*pool, entries, size, std::nullopt);
        if (!fitted) {
            state.SkipWithError("the font cannot be fitted");
            return;
        }
        const std::size_t recordSize = hz::encodedSize(rows, size, size);
        std::vector<std::uint8_t> bytes(entries.size() * recordSize);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const auto placed = fsrc::placeDrawn(fitted->glyphs[i], fitted->rule, hz::WidthClass::Full);
            hz::encodeCell(placed.cell, rows, bytes.data() + i * recordSize);
        }
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * entries.size()));
}
BENCHMARK(BM_Gb2312SetFromOutlines)
    ->ArgNames({"font", "size", "workers"})
    ->Args({0, 16, 1})
    ->Args({0, 16, 2})
    ->Args({1, 16, 1})
    ->Args({1, 16, 2})
    ->Args({2, 16, 2})
    ->Args({0, 24, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The whole GB2312 set as hzdot-mkfont builds it at a depth: fitted, every glyph placed, drawn again
// anti-aliased above one bit, and packed, on both cores. Arguments: font (as above), cell size, bits
// a dot.
void BM_Gb2312SetAtDepth(benchmark::State& state) {
    const std::string& font = kFonts[state.range(0)];
    const int size = static_cast<int>(state.range(1));
    const int bpp = static_cast<int>(state.range(2));
    const std::vector<fsrc::CodeEntry> entries = fsrc::gb2312Table();
    hz::Layout rows;
    rows.bpp = bpp;
    for (auto _ : state) {
        auto pool = fsrc::FacePool::open(font, 0, size, 2);
        if (!pool) {
            state.SkipWithError("the font cannot be opened");
            return;
        }
        auto fitted = fsrc::fitCells(*pool, entries, size, std::nullopt);
        if (!fitted) {
            state.SkipWithError("the font cannot be fitted");
            return;
        }
        const std::size_t recordSize = hz::encodedSize(rows, size, size);
        std::vector<std::uint8_t> bytes(entries.size() * recordSize);
        pool->forEach(entries.size(), [&](fsrc::FontFace& face, std::size_t i) {
            const auto placed = fsrc::placeDrawn(fitted->glyphs[i], fitted->rule, hz::WidthClass::Full);
            const hz::DotCell cell =
                bpp == 1 ? placed.cell : fsrc::greyCell(face, fitted->rule, fitted->glyphs[i], placed, bpp);
            hz::encodeCell(cell, rows, bytes.data() + i * recordSize);
            return true;
        });
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * entries.size()));
}
BENCHMARK(BM_Gb2312SetAtDepth)
    ->ArgNames({"font", "size", "bpp"})
    ->Args({0, 16, 1})
    ->Args({0, 16, 4})
    ->Args({1, 16, 1})
    ->Args({1, 16, 4})
    ->Args({0, 24, 1})
    ->Args({0, 24, 8})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One character drawn live from an opened font, as the window and hzdot-cli look them up.
void BM_LiveGlyph(benchmark::State& state) {
    const auto opened = fsrc::FontSource::open({kFonts[0],
                                                0,
                                                static_cast<int>(state.range(0)),
                                                {},
                                                fsrc::GlyphWidths::Fixed,
                                                fsrc::AmbiguousWidth::Full,
                                                static_cast<int>(state.range(1))});
    if (!opened) {
        state.SkipWithError(opened.problem().value.c_str());
        return;
    }
    const auto& source = *opened;
    const std::u32string text = U"温度: 25.5℃ 湿度 60% 汉字点阵字库";
    for (auto _ : state) {
        for (const char32_t c : text) {
            hz::DotCell cell;
            benchmark::DoNotOptimize(source->glyph(c, cell));
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_LiveGlyph)
    ->ArgNames({"size", "bpp"})
    ->Args({16, 1})
    ->Args({16, 4})
    ->Args({32, 1})
    ->Args({32, 4})
    ->Unit(benchmark::kMicrosecond);

} // namespace

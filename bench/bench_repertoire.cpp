// The whole GB2312 repertoire: walked into records, built into records, exported.
#include "synthetic_fonts.h"

#include "core/glyph/glyph_record.h"
#include "core/glyph/glyph_source.h"
#include "core/glyph/text_walk.h"
#include "core/library/library_source.h"
#include "core/output/export_layout.h"
#include "core/system/safe_writer.h"
#include "core/text/codepage.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using benchmark::Counter;

void perRecord(benchmark::State& state, std::size_t records) {
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * records));
    state.counters["records"] = static_cast<double>(records);
    state.counters["s_per_record"] =
        Counter(static_cast<double>(records), Counter::kIsIterationInvariantRate | Counter::kInvert);
}

// Every character of the repertoire walked through one library, each record kept, as the window's
// list keeps them.
std::vector<hz::GlyphRecord> repertoireRecords(int position, std::size_t* refused = nullptr) {
    const std::u32string& text = hzbench::repertoireText();
    hz::LibrarySource source(hzbench::syntheticFontsFolder(), position, 2, 2);
    std::vector<hz::GlyphRecord> records;
    records.reserve(text.size());
    std::size_t refusals = 0;
    hz::walkText(
        text, source, [&](std::size_t, const hz::GlyphRecord& record) { records.push_back(record); },
        [&](const hz::RefusedCharacter&) { ++refusals; });
    if (refused)
        *refused = refusals;
    return records;
}

// Reading each character's record from the library file, every record kept.
void BM_LookupRepertoire(benchmark::State& state) {
    const int position = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::size_t refused = 0;
        const auto records = repertoireRecords(position, &refused);
        if (refused != 0)
            state.SkipWithError("a character of the repertoire was refused");
        benchmark::DoNotOptimize(records.data());
    }
    perRecord(state, hzbench::repertoireText().size());
}
BENCHMARK(BM_LookupRepertoire)->ArgName("library")->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

// The walk alone, nothing kept, as hzdot-cli streams its output.
void BM_WalkText(benchmark::State& state) {
    const int position = static_cast<int>(state.range(0));
    const std::u32string& text = hzbench::repertoireText();
    for (auto _ : state) {
        hz::LibrarySource source(hzbench::syntheticFontsFolder(), position, 2, 2);
        std::size_t dots = 0;
        hz::walkText(
            text, source, [&](std::size_t, const hz::GlyphRecord& record) { dots += record.dots.size(); },
            [](const hz::RefusedCharacter&) {});
        benchmark::DoNotOptimize(dots);
    }
    perRecord(state, text.size());
}
BENCHMARK(BM_WalkText)->ArgName("library")->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

// From cells already in memory: the records and their texts alone.
void BM_BuildRecords(benchmark::State& state) {
    const int position = static_cast<int>(state.range(0));
    hz::LibrarySource source(hzbench::syntheticFontsFolder(), position, 2, 2);
    std::vector<hz::DotCell> cells;
    for (char32_t ch : hzbench::repertoireText())
        if (hz::DotCell cell; source.glyph(ch, cell) == hz::LookupStatus::Found)
            cells.push_back(cell);
    hz::GlyphRecord record;
    for (auto _ : state) {
        for (const auto& cell : cells) {
            hz::fillRecord(record, U'\u554A', cell, source);
            benchmark::DoNotOptimize(record.cText(0).data());
        }
    }
    perRecord(state, cells.size());
}
BENCHMARK(BM_BuildRecords)->ArgName("library")->Arg(0)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_ExportAllText(benchmark::State& state) {
    const auto records = repertoireRecords(static_cast<int>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string text = hz::exportAllText(records, hz::Arrangement::Rows);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    perRecord(state, records.size());
}
BENCHMARK(BM_ExportAllText)->ArgName("library")->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

// The export file as the user gets it: code page 936, written all or nothing (with its fsync).
void BM_ExportAllToFile(benchmark::State& state) {
    const auto records = repertoireRecords(static_cast<int>(state.range(0)));
    const std::string path = hzbench::syntheticFontsFolder() + "/export.txt";
    for (auto _ : state) {
        auto bytes = hz::utf8ToCp936(hz::exportAllText(records, hz::Arrangement::Rows));
        if (!bytes || !hz::writeFileSafely(path, *bytes))
            state.SkipWithError("export failed");
    }
    std::filesystem::remove(path);
    perRecord(state, records.size());
}
BENCHMARK(BM_ExportAllToFile)->ArgName("library")->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

} // namespace

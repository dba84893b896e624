// The whole GB2312 repertoire: looked up into records, built into records, exported.
#include "synthetic_fonts.h"

#include "core/glyph/glyph_record.h"
#include "core/library/font_library.h"
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

// Reading each character's record from the library file and building its ten texts.
void BM_LookupRepertoire(benchmark::State& state) {
    const int position = static_cast<int>(state.range(0));
    const std::u32string& text = hzbench::repertoireText();
    const hz::LookupSettings settings{position, 2, 2};
    for (auto _ : state) {
        hz::RecordLookup lookup(hzbench::syntheticFontsFolder(), settings);
        std::vector<hz::GlyphRecord> records;
        records.reserve(text.size());
        hz::GlyphRecord record;
        for (char32_t ch : text)
            if (lookup.lookup(ch, record) == hz::LookupStatus::Found)
                records.push_back(std::move(record));
        if (records.size() != text.size())
            state.SkipWithError("a character of the repertoire was refused");
        benchmark::DoNotOptimize(records.data());
    }
    perRecord(state, text.size());
}
BENCHMARK(BM_LookupRepertoire)->ArgName("library")->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

// The same through lookupText, as hzdot-cli calls it.
void BM_LookupText(benchmark::State& state) {
    const int position = static_cast<int>(state.range(0));
    const std::u32string& text = hzbench::repertoireText();
    for (auto _ : state) {
        hz::LookupResult result = hz::lookupText(text, hzbench::syntheticFontsFolder(), {position, 2, 2});
        benchmark::DoNotOptimize(result.records.data());
    }
    perRecord(state, text.size());
}
BENCHMARK(BM_LookupText)->ArgName("library")->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

std::vector<hz::Glyph> repertoireGlyphs(int position) {
    const hz::FontLibrary& library = hz::fontLibrary(position);
    std::vector<hz::Glyph> glyphs;
    for (std::uint16_t code : hzbench::repertoireCodes()) {
        hz::Glyph glyph;
        glyph.GlyphData = hzbench::syntheticRecord(code, library.recordSize);
        glyph.GlyphData.resize(static_cast<std::size_t>(library.GlyphBytes), 0);
        glyph.GlyphBytes = library.GlyphBytes;
        glyph.CellSize = library.CellSize;
        glyphs.push_back(std::move(glyph));
    }
    return glyphs;
}

std::vector<hz::GlyphRecord> repertoireRecords(int position) {
    std::vector<hz::GlyphRecord> records;
    const auto glyphs = repertoireGlyphs(position);
    const auto& codes = hzbench::repertoireCodes();
    for (std::size_t i = 0; i < codes.size(); ++i)
        records.push_back(hz::buildRecord(hz::cp936Character(codes[i]).value_or(U'\u3000'), glyphs[i], position, 2, 2));
    return records;
}

// All 8178 codes, assigned or not, from glyph bytes already in memory: the arrangements and texts alone.
void BM_BuildRecords(benchmark::State& state) {
    const int position = static_cast<int>(state.range(0));
    const auto glyphs = repertoireGlyphs(position);
    for (auto _ : state) {
        for (const auto& glyph : glyphs) {
            hz::GlyphRecord record = hz::buildRecord(U'\u554A', glyph, position, 2, 2);
            benchmark::DoNotOptimize(record.cText(0).data());
        }
    }
    perRecord(state, glyphs.size());
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

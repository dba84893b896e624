// Encoding one cell in a layout: the step every export, header and flash image repeats per glyph.
#include "core/layout/layout.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

hz::DotCell randomCell(int side) {
    std::mt19937 random(7);
    hz::DotCell cell(side, side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            cell.setDot(x, y, random() % 3 == 0);
    return cell;
}

// range(0): the side of the cell; range(1): the layout's number 0..47.
void BM_EncodeCell(benchmark::State& state) {
    const hz::DotCell cell = randomCell(static_cast<int>(state.range(0)));
    const hz::Layout layout = hz::Layout::fromIndex(static_cast<int>(state.range(1)));
    std::vector<std::uint8_t> out(hz::encodedSize(layout, cell.width(), cell.height()));
    for (auto _ : state) {
        hz::encodeCell(cell, layout, out.data());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetLabel(hz::layoutName(layout));
}
// rows-msb, rows-lsb-up-left-invert, columns-lsb, pages-msb-up-left-invert
BENCHMARK(BM_EncodeCell)->ArgsProduct({{16, 24}, {0, 15, 24, 47}});

void BM_DecodeCell(benchmark::State& state) {
    const hz::DotCell cell = randomCell(static_cast<int>(state.range(0)));
    const hz::Layout layout = hz::Layout::fromIndex(static_cast<int>(state.range(1)));
    const auto bytes = hz::encodeCell(cell, layout);
    for (auto _ : state)
        benchmark::DoNotOptimize(hz::decodeCell(bytes, layout, cell.width(), cell.height()));
    state.SetLabel(hz::layoutName(layout));
}
BENCHMARK(BM_DecodeCell)->ArgsProduct({{16, 24}, {0, 47}});

} // namespace

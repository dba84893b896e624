// A picture into dots and bytes, the work of `hzdot-cli --image` between decoding and writing:
// scaling, dithering, the layout and the C header (bench/picture_header_end_to_end.sh times the
// whole program).
#include "core/output/picture_header.h"
#include "core/picture/picture_dots.h"
#include "core/picture/picture_layout.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

hz::RgbaImage photo(int w, int h) {
    std::mt19937 random(3);
    hz::RgbaImage image{w, h, {}};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const auto v = static_cast<std::uint8_t>((255 * x / w + static_cast<int>(random() % 40)) % 256);
            image.rgba.insert(image.rgba.end(), {v, static_cast<std::uint8_t>(255 - v), v, 255});
        }
    return image;
}

// range(0): the dither; a 128x64 picture at its own size.
void BM_PictureDots(benchmark::State& state) {
    const hz::RgbaImage image = photo(128, 64);
    hz::PictureSettings settings;
    settings.dither = hz::kDithers[static_cast<std::size_t>(state.range(0))];
    for (auto _ : state)
        benchmark::DoNotOptimize(hz::pictureDots(image, settings));
    state.SetLabel(std::string(hz::ditherName(settings.dither)));
}
BENCHMARK(BM_PictureDots)->DenseRange(0, 5);

// A 1024x768 picture scaled to fit 128x64, then Floyd-Steinberg.
void BM_PictureFit(benchmark::State& state) {
    const hz::RgbaImage image = photo(1024, 768);
    hz::PictureSettings settings;
    settings.fit = hz::PictureSize{128, 64};
    for (auto _ : state)
        benchmark::DoNotOptimize(hz::pictureDots(image, settings));
}
BENCHMARK(BM_PictureFit);

// Dots to an SSD1306 header: the layout and the text.
void BM_PictureHeader(benchmark::State& state) {
    const std::vector<hz::PictureRecord> pictures = {{"logo", *hz::pictureDots(photo(128, 64), {})}};
    const hz::Layout layout = *hz::parseLayout("pages-lsb");
    for (auto _ : state)
        benchmark::DoNotOptimize(hz::makePictureHeader({pictures, layout, "ui"}));
}
BENCHMARK(BM_PictureHeader);

} // namespace

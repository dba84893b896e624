// Layout names and choices as users type them, and the encoder and decoder behind them: whatever
// parses must print back to itself, and any cell must come back from its bytes unchanged.

#include "core/layout/layout.h"
#include "core/layout/layout_presets.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (auto layout = hz::parseLayout(text)) {
        if (hz::parseLayout(hz::layoutName(*layout)) != layout)
            __builtin_trap();
    }
    const auto choice = hz::parseLayoutChoice(text);
    if (size < 3)
        return 0;
    // The first bytes choose a cell and a layout; the rest are its dots.
    const int width = 1 + data[0] % 64;
    const int height = 1 + data[1] % 64;
    const hz::Layout layout = choice ? choice->layout : hz::Layout::fromIndex(data[2] % hz::Layout::kCount);
    hz::DotCell cell(width, height);
    std::size_t at = 3;
    for (int y = 0; y < height && at < size; ++y)
        for (int x = 0; x < width && at < size; x += 8, ++at)
            for (int b = 0; b < 8 && x + b < width; ++b)
                cell.setDot(x + b, y, (data[at] >> b) & 1);
    const auto bytes = hz::encodeCell(cell, layout);
    if (bytes.size() != hz::encodedSize(layout, width, height) ||
        !(hz::decodeCell(bytes, layout, width, height) == cell))
        __builtin_trap();
    return 0;
}

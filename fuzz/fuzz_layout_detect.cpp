// Layout detection on any glyph bytes, as a paste gives them (up to a 64 x 64 cell and a header):
// the detector must score them or say why not, never crash, with every score 0..1 and the runner-up
// among the candidates.

#include "core/layout/byte_paste.h"
#include "core/layout/layout_detect.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace {

// A fixed reference with ink in every quarter, so every cell size has something to compare.
const hz::DotCell& reference() {
    static const hz::DotCell cell = [] {
        hz::DotCell drawn(16, 16);
        for (int i = 0; i < 16; ++i) {
            drawn.setDot(i, i);
            drawn.setDot(i, 3);
            drawn.setDot(12, i);
        }
        return drawn;
    }();
    return cell;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // No paste reaches detection with more bytes than the parser lets through.
    if (size > hz::kMaxPastedBytes)
        return 0;
    const auto detection = hz::detectLayout(std::span(data, size), std::span(&reference(), 1));
    if (!detection)
        return 0;
    for (const auto& candidate : detection->candidates)
        if (candidate.score < 0 || candidate.score > 1.0000001)
            __builtin_trap();
    if (detection->runnerUp >= detection->candidates.size())
        __builtin_trap();
    (void)hz::detectionLines(*detection);
    return 0;
}

// Glyph bytes pasted from firmware sources, in any shape: the parser must refuse with a message or
// give bytes, and the detector must score them or say why not, never crash.

#include "core/layout/byte_paste.h"
#include "core/layout/layout_detect.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto pasted = hz::parsePastedBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!pasted)
        return 0;
    // A fixed reference with ink in every quarter, so every cell size has something to compare.
    hz::DotCell reference(16, 16);
    for (int i = 0; i < 16; ++i) {
        reference.setDot(i, i);
        reference.setDot(i, 3);
        reference.setDot(12, i);
    }
    const auto detection = hz::detectLayout(*pasted, std::span(&reference, 1));
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

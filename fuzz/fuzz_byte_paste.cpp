// Glyph bytes pasted from firmware sources, in any shape: the parser must refuse with a message or
// give the bytes of one glyph at most, never crash. Detection on the bytes is fuzz_layout_detect's:
// it costs milliseconds an input, which would hold the parser to a few hundred texts a second.

#include "core/layout/byte_paste.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto pasted = hz::parsePastedBytes(text);
    if (!pasted) {
        if (size > hz::kMaxPasteText && pasted.problem().kind != hz::ProblemKind::PasteTooLong)
            __builtin_trap();
        return 0;
    }
    if (pasted->empty() || pasted->size() > hz::kMaxPastedBytes || size > hz::kMaxPasteText)
        __builtin_trap();
    return 0;
}

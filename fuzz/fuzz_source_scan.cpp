// The source scanner on arbitrary bytes: never a crash, the same literals however the file is cut
// into pieces, and only characters a font can hold, each once, on lines the file has.

#include "core/scan/source_scan.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

struct Seen {
    int line;
    hz::LiteralEncoding encoding;
    std::u32string characters;
    bool operator==(const Seen&) const = default;
};

std::vector<Seen> scan(std::string_view source, std::size_t piece, bool cplusplus, bool ascii) {
    std::size_t at = 0;
    const hz::SourceRead read = [&](char* into, std::size_t room) -> long {
        const std::size_t n = std::min({piece, room, source.size() - at});
        std::memcpy(into, source.data() + at, n);
        at += n;
        return static_cast<long>(n);
    };
    std::vector<Seen> seen;
    if (hz::scanLiterals(read, cplusplus, ascii, [&](const hz::LiteralFound& literal) {
            seen.push_back({literal.line, literal.encoding, literal.characters});
        }) != 0)
        __builtin_trap();
    return seen;
}

} // namespace

// The first byte chooses C or C++, whether ASCII counts and how small the pieces are.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const bool cplusplus = data[0] & 1;
    const bool ascii = data[0] & 2;
    const std::size_t piece = 1 + (data[0] >> 2);
    const std::string_view source(reinterpret_cast<const char*>(data + 1), size - 1);

    const std::vector<Seen> whole = scan(source, source.size() + 1, cplusplus, ascii);
    if (scan(source, piece, cplusplus, ascii) != whole)
        __builtin_trap();

    const int lines = 1 + static_cast<int>(std::count(source.begin(), source.end(), '\n'));
    int last = 1;
    for (const Seen& literal : whole) {
        if (literal.line < last || literal.line > lines)
            __builtin_trap();
        last = literal.line;
        if (literal.encoding == hz::LiteralEncoding::Neither && !literal.characters.empty())
            __builtin_trap();
        for (std::size_t i = 0; i < literal.characters.size(); ++i) {
            const char32_t c = literal.characters[i];
            if (i > 0 && literal.characters[i - 1] >= c)
                __builtin_trap(); // each once, in order
            if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) || c < 0x20 || (c >= 0x7F && c < 0xA0))
                __builtin_trap();
            if (!ascii && c < 0xA0)
                __builtin_trap();
        }
    }
    return 0;
}

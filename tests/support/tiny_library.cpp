#include "tiny_library.h"

#include "temp_folder.h"

#include <stdexcept>

namespace hz::test {

const char* const kLibraryFiles[6] = {"hzk12宋", "hzk16宋", "hzk16繁", "hzk24宋", "hzk24楷", "hzk24黑"};

long recordOf(std::uint16_t code) {
    return ((code >> 8) - 0xA1) * 94L + ((code & 0xFF) - 0xA1);
}

void writeLibrary(const std::string& path, int recordSize, const std::vector<TinyGlyph>& glyphs, long recordCount) {
    std::string bytes(static_cast<std::size_t>(recordCount * recordSize), '\0');
    for (const auto& glyph : glyphs) {
        const long record = recordOf(glyph.code);
        if (record >= recordCount)
            continue; // left out on purpose: the file ends before it
        if (glyph.bytes.size() > static_cast<std::size_t>(recordSize))
            throw std::logic_error("glyph larger than its record");
        for (std::size_t i = 0; i < glyph.bytes.size(); ++i)
            bytes[static_cast<std::size_t>(record * recordSize) + i] = static_cast<char>(glyph.bytes[i]);
    }
    writeFile(path, bytes);
}

} // namespace hz::test

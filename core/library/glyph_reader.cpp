#include "core/library/glyph_reader.h"

#include "core/text/codepage.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hz {

long recordNumber(std::uint16_t code) {
    const int hi = code >> 8;
    const int lo = code & 0xFF;
    if (hi < 0xA1 || hi > 0xFE || lo < 0xA1 || lo > 0xFE)
        return -1;
    return static_cast<long>(hi - 0xA1) * 94 + (lo - 0xA1);
}

GlyphReader::GlyphReader(std::string fontFile, const FontLibrary& library)
    : FontFile(std::move(fontFile)), library(&library) {}

bool GlyphReader::libraryReadable() const {
    struct stat st {};
    return ::stat(FontFile.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(FontFile.c_str(), R_OK) == 0;
}

LookupStatus GlyphReader::read(char32_t character, Glyph& glyph) {
    // Cleared before any test, so a refused character leaves no dots of an earlier one behind.
    glyph.GlyphBytes = library->GlyphBytes;
    glyph.CellSize = library->CellSize;
    glyph.GlyphData.assign(static_cast<std::size_t>(library->GlyphBytes), 0);

    // The file is checked before the character, so a missing library is reported for any input.
    // Until the file is open only its existence is tested: a refused character never opens it.
    if (!file.isOpen() && !libraryReadable())
        return LookupStatus::LibraryMissing;

    const auto code = cp936Code(character);
    if (!code)
        return LookupStatus::NotChinese;
    const long record = recordNumber(*code);
    if (record < 0)
        return LookupStatus::NotChinese; // a code page 936 code outside the GB2312 rows and cells

    if (!file.isOpen() && !file.open(FontFile))
        return LookupStatus::LibraryMissing;

    const auto recordSize = static_cast<std::size_t>(library->recordSize);
    const auto offset = static_cast<std::uint64_t>(record) * recordSize;
    const LookupStatus status = file.read(offset, recordSize, glyph.GlyphData.data());
    if (status != LookupStatus::Found)
        glyph.GlyphData.assign(glyph.GlyphData.size(), 0);
    return status;
}

LookupStatus GetDz(const std::string& fontFile, const FontLibrary& library, char32_t character, Glyph& glyph) {
    GlyphReader reader(fontFile, library);
    return reader.read(character, glyph);
}

} // namespace hz

#include "core/glyph_reader.h"

#include "core/codepage.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hz {

const char* statusMessage(LookupStatus status) {
    switch (status) {
    case LookupStatus::Found:
        return "";
    case LookupStatus::LibraryMissing:
        return "当前路径汉字库不存在！！！";
    case LookupStatus::NotChinese:
        return "您输入的字符不是汉字！！！";
    case LookupStatus::RecordOutsideFile:
        return "字库文件不完整，找不到该字的点阵！！！";
    case LookupStatus::NotInFont:
        return "当前字体中没有该字符！！！";
    case LookupStatus::FontUnreadable:
        return "当前字体无法绘出该字符！！！";
    }
    return "";
}

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

bool GlyphReader::open() {
    UniqueFd fd(::open(FontFile.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid())
        return false;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    file = std::move(fd);
    fileSize = static_cast<std::uint64_t>(st.st_size);
    opened = true;
    return true;
}

LookupStatus GlyphReader::read(char32_t character, Glyph& glyph) {
    // Cleared before any test, so a refused character leaves no dots of an earlier one behind.
    glyph.GlyphBytes = library->GlyphBytes;
    glyph.CellSize = library->CellSize;
    glyph.GlyphData.assign(static_cast<std::size_t>(library->GlyphBytes), 0);

    // The file is checked before the character, so a missing library is reported for any input.
    // Until the file is open only its existence is tested: a refused character never opens it.
    if (!opened && !libraryReadable())
        return LookupStatus::LibraryMissing;

    const auto code = cp936Code(character);
    if (!code)
        return LookupStatus::NotChinese;
    const long record = recordNumber(*code);
    if (record < 0)
        return LookupStatus::NotChinese; // a code page 936 code outside the GB2312 rows and cells

    if (!opened && !open())
        return LookupStatus::LibraryMissing;

    // Written so that neither side can overflow, whatever the file's size.
    const auto recordSize = static_cast<std::uint64_t>(library->recordSize);
    const auto offset = static_cast<std::uint64_t>(record) * recordSize;
    if (recordSize > fileSize || offset > fileSize - recordSize)
        return LookupStatus::RecordOutsideFile;

    const LookupStatus status = readRecord(offset, glyph.GlyphData.data());
    if (status != LookupStatus::Found)
        glyph.GlyphData.assign(glyph.GlyphData.size(), 0);
    return status;
}

LookupStatus GlyphReader::readRecord(std::uint64_t offset, std::uint8_t* out) {
    const auto recordSize = static_cast<std::size_t>(library->recordSize);
    if (offset < blockStart || offset + recordSize > blockStart + block.size()) {
        // The window holds every record that starts in its first kBlock bytes.
        constexpr std::uint64_t kBlock = 64 * 1024;
        const std::uint64_t start = offset / kBlock * kBlock;
        const std::uint64_t length = std::min<std::uint64_t>(kBlock + 128, fileSize - start);
        block.resize(static_cast<std::size_t>(length));
        std::size_t done = 0;
        int readError = 0;
        while (done < block.size()) {
            const ssize_t n =
                ::pread(file.get(), block.data() + done, block.size() - done, static_cast<off_t>(start + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                readError = errno;
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        block.resize(done); // short when the file shrank since it was opened
        blockStart = start;
        if (offset + recordSize > blockStart + block.size())
            return readError ? LookupStatus::LibraryMissing : LookupStatus::RecordOutsideFile;
    }
    std::memcpy(out, block.data() + (offset - blockStart), recordSize);
    return LookupStatus::Found;
}

LookupStatus GetDz(const std::string& fontFile, const FontLibrary& library, char32_t character, Glyph& glyph) {
    GlyphReader reader(fontFile, library);
    return reader.read(character, glyph);
}

} // namespace hz

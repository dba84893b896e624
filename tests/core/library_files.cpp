#include "library_files.h"

namespace hz::test {

std::vector<std::uint8_t> patternRecord(long n, int recordSize) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(recordSize));
    for (int i = 0; i < recordSize; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((n * 37 + i * 11 + 1 + (n >> 8)) & 0xFF);
    return bytes;
}

std::string writePatternLibrary(const std::string& dir, const FontLibrary& library, long records) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(records * library.recordSize));
    for (long n = 0; n < records; ++n) {
        const auto record = patternRecord(n, library.recordSize);
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    const std::string path = libraryPath(dir, library);
    writeFile(path, bytes);
    return path;
}

} // namespace hz::test

#include "library_files.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace hz::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "hzcore-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    dir = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    // A test may have made a subfolder read-only; give it back its permissions so it can go.
    for (auto it = std::filesystem::recursive_directory_iterator(dir, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(dir, ignored);
}

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
    writeBytes(path, bytes);
    return path;
}

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

long recordOf(std::uint16_t code) {
    return ((code >> 8) - 0xA1) * 94L + ((code & 0xFF) - 0xA1);
}

} // namespace hz::test

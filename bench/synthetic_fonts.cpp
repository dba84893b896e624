#include "synthetic_fonts.h"

#include "core/library/font_library.h"
#include "core/text/codepage.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace hzbench {
namespace {

constexpr long kRecords = 94L * 94;

// The same bytes on every run, so that runs are comparable.
std::uint8_t dotByte(long record, int index) {
    std::uint32_t x = static_cast<std::uint32_t>(record) * 2654435761u + static_cast<std::uint32_t>(index) * 40503u;
    x ^= x >> 15;
    x *= 2246822519u;
    x ^= x >> 13;
    return static_cast<std::uint8_t>(x >> 8);
}

long recordOf(std::uint16_t code) {
    return ((code >> 8) - 0xA1) * 94L + ((code & 0xFF) - 0xA1);
}

class FontsFolder {
public:
    FontsFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "hzbench-fonts-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a folder for the benchmark libraries");
        path = pattern;
        for (const auto& library : hz::fontLibraries()) {
            std::string bytes(static_cast<std::size_t>(kRecords * library.recordSize), '\0');
            for (long r = 0; r < kRecords; ++r)
                for (int i = 0; i < library.recordSize; ++i)
                    bytes[r * library.recordSize + i] = static_cast<char>(dotByte(r, i));
            std::ofstream out(hz::libraryPath(path, library), std::ios::binary);
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            if (!out)
                throw std::runtime_error("cannot write a benchmark library in " + path);
        }
    }
    ~FontsFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string path;
};

} // namespace

const std::string& syntheticFontsFolder() {
    static const FontsFolder folder;
    return folder.path;
}

const std::vector<std::uint16_t>& repertoireCodes() {
    static const std::vector<std::uint16_t> codes = [] {
        std::vector<std::uint16_t> all;
        for (int hi = 0xA1; hi <= 0xF7; ++hi)
            for (int lo = 0xA1; lo <= 0xFE; ++lo)
                all.push_back(static_cast<std::uint16_t>(hi << 8 | lo));
        return all;
    }();
    return codes;
}

const std::u32string& repertoireText() {
    static const std::u32string text = [] {
        std::u32string all;
        for (std::uint16_t code : repertoireCodes())
            if (auto ch = hz::cp936Character(code))
                all.push_back(*ch);
        return all;
    }();
    return text;
}

std::vector<std::uint8_t> syntheticRecord(std::uint16_t code, int recordSize) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(recordSize));
    for (int i = 0; i < recordSize; ++i)
        bytes[static_cast<std::size_t>(i)] = dotByte(recordOf(code), i);
    return bytes;
}

} // namespace hzbench

#pragma once
// Small library files with known dots, made in a temporary folder for each test.

#include "core/library/font_library.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace hz::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return dir; }
    std::string str() const { return dir.string(); }
    std::string file(const std::string& name) const { return (dir / name).string(); }

private:
    std::filesystem::path dir;
};

// The bytes of record n in the test libraries: different for every record and every byte, and
// never all zero, so a record read from the wrong place shows.
std::vector<std::uint8_t> patternRecord(long n, int recordSize);

// Writes `records` records of patternRecord into the library's file in dir; returns its path.
std::string writePatternLibrary(const std::string& dir, const FontLibrary& library, long records);

// Writes one library file holding the given records back to back.
void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::string readFile(const std::string& path);

// The record number of a code, for tests that want to place a glyph there.
long recordOf(std::uint16_t code);

// Every record of a full GB2312 table: 94 x 94.
inline constexpr long kFullRecords = 94L * 94L;

} // namespace hz::test

#pragma once
// Library files whose every record differs, made in a temporary folder for each test.

#include "temp_folder.h"
#include "tiny_library.h"

#include "core/library/font_library.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hz::test {

// The bytes of record n in the test libraries: different for every record and every byte, and
// never all zero, so a record read from the wrong place shows.
std::vector<std::uint8_t> patternRecord(long n, int recordSize);

// Writes `records` records of patternRecord into the library's file in dir; returns its path.
std::string writePatternLibrary(const std::string& dir, const FontLibrary& library, long records);

} // namespace hz::test

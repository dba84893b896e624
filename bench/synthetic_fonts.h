#pragma once
// Library files and texts for benchmarks: the whole 94 x 94 table of every library, filled with
// pseudo-random dots, so that every GB2312 code has a record.

#include <cstdint>
#include <string>
#include <vector>

namespace hzbench {

// A folder holding all six library files, made on first use and removed when the program ends.
const std::string& syntheticFontsFolder();

// Every code 0xA1A1..0xF7FE whose bytes both lie in 0xA1..0xFE: 87 x 94 = 8178 codes.
const std::vector<std::uint16_t>& repertoireCodes();

// The characters of those codes that code page 936 assigns, in code order.
const std::u32string& repertoireText();

// The raw record of a code in a synthetic library file of the given record size.
std::vector<std::uint8_t> syntheticRecord(std::uint16_t code, int recordSize);

} // namespace hzbench

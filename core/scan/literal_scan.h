#pragma once
// The string literals of one C or C++ source, and the characters each one holds (see
// source_scan.h for what is taken and what is not).

#include <cstddef>
#include <functional>
#include <string>

namespace hz {

enum class LiteralEncoding { Utf8, Cp936, Neither };

struct LiteralFound {
    int line = 0; // where the literal opens, from 1
    LiteralEncoding encoding = LiteralEncoding::Utf8;
    std::u32string characters; // the characters taken, each once, by code point; empty for Neither
};

// Fills into with up to room bytes of a source; returns how many, 0 at its end, or -1 with errno
// set when the read failed.
using SourceRead = std::function<long(char* into, std::size_t room)>;

// Reads one source through read and calls found for each string literal, in order (character
// literals and literals of no character are not reported). cplusplus: raw strings are read; in C,
// R"..." is an identifier R before a string. Returns 0, or the errno of a failed read.
int scanLiterals(const SourceRead& read, bool cplusplus, bool ascii,
                 const std::function<void(const LiteralFound&)>& found);

} // namespace hz

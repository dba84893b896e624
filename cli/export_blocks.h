#pragma once
// What each character's blocks of an export are made of, kept once made. A long text repeats its
// characters, and a character's blocks are the same wherever it stands; so its two header lines are
// encoded and its bytes laid out once, and each block after that is a copy of its header and a byte
// text made from a table. What is kept per character is small (its bytes and two short lines), so
// that even thousands of characters in a scattered order stay in the processor's caches.

#include "cli/output_sink.h"

#include "core/glyph/glyph_record.h"
#include "core/output/export_layout.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace hz::cli {

class ExportBlocks {
public:
    ExportBlocks(hz::ExportForm form, const OutputSink& sink) : form(std::move(form)), sink(sink) {}

    // Whether the character's blocks can be appended.
    bool has(char32_t character) const { return find(character) != nullptr; }
    // Keeps what the blocks of the character's record are made of: for good while all kept take
    // less than kMostKept bytes, else until the next keep(). The sink's message when the record's
    // text cannot be written in the sink's encoding.
    std::optional<std::string> keep(char32_t character, const hz::GlyphRecord& record);

    // The character's assembly block, or its C block with "};" and a line break, in the bytes the
    // sink writes, as appendAssemblyBlock and appendCBlock make them (see appendHeaderLine). The
    // character must be kept.
    void appendAssembly(std::string& out, char32_t character) const;
    void appendC(std::string& out, char32_t character) const;

    static constexpr std::size_t kMostKept = 2 << 20;

private:
    // In its store: the assembly block's header line, the C block's, then the bytes.
    struct Entry {
        std::uint32_t start = 0;
        std::uint16_t assemblyHeader = 0;
        std::uint16_t cHeader = 0;
        std::uint16_t bytes = 0;
    };
    const Entry* find(char32_t character) const;
    // The record's two header lines in the sink's bytes, as appendHeaderLine makes them; false when
    // some piece cannot be encoded.
    bool encodeHeaderLines(const hz::GlyphRecord& record, std::string& lines);
    const char* storeOf(const Entry* entry) const { return entry == &scratchEntry ? scratch.data() : kept.data(); }

    hz::ExportForm form;
    const OutputSink& sink;
    // The characters of the Basic Multilingual Plane, which nearly every text keeps to, are found by
    // their code, in blocks of 256 made as they are needed (entry number + 1; 0 for none); the rest
    // by a map.
    using Block = std::array<std::uint32_t, 256>;
    std::array<std::unique_ptr<Block>, 256> planeZero;
    std::unordered_map<char32_t, std::uint32_t> beyond;
    std::vector<Entry> entries;
    std::string kept;
    // The one character kept past the limit.
    std::optional<char32_t> scratchCharacter;
    Entry scratchEntry;
    std::string scratch;
    std::string text;
    // The pieces of the header lines, encoded: the line after the character for records of size
    // tailSize, the two openings, and the character now being kept.
    std::string tailSize;
    std::optional<std::string> encodedTail;
    std::pair<std::string, std::string> encodedOpenings;
    std::string encodedCharacter;
    std::string headerLines; // the record's being kept
    std::vector<std::uint8_t> recordBytes; // the record's bytes in the form, while being kept
    // find's last answer (nullptr: not kept), for the character asked for last.
    mutable char32_t lastCharacter = 0xFFFFFFFF;
    mutable const Entry* lastEntry = nullptr;
};

} // namespace hz::cli

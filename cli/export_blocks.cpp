#include "cli/export_blocks.h"

#include "core/text/byte_text.h"

#include <cstring>
#include <span>
#include <string_view>

namespace hz::cli {

namespace {

constexpr char32_t kPlaneSize = 0x10000;
constexpr std::size_t kFirstStore = 1 << 20;
constexpr std::string_view kCrLf = "\r\n";

} // namespace

const ExportBlocks::Entry* ExportBlocks::find(char32_t character) const {
    // A character is asked for several times in a row (has, keep, append): the last answer is kept.
    if (lastCharacter == character)
        return lastEntry;
    const Entry* entry = nullptr;
    if (scratchCharacter == character) {
        entry = &scratchEntry;
    } else {
        std::uint32_t number = 0;
        if (character < kPlaneSize) {
            if (const auto& block = planeZero[character >> 8])
                number = (*block)[character & 0xFF];
        } else if (const auto at = beyond.find(character); at != beyond.end()) {
            number = at->second;
        }
        entry = number == 0 ? nullptr : &entries[number - 1];
    }
    lastCharacter = character;
    lastEntry = entry;
    return entry;
}

bool ExportBlocks::encodeHeaderLines(const hz::GlyphRecord& record, std::string& lines) {
    // Both encodings are made character by character, so the lines' bytes are their pieces' bytes:
    // the opening, the character, and the rest of the line, which is the same for every record of
    // a size.
    if (record.sizeText != tailSize || !encodedTail) {
        tailSize = record.sizeText;
        encodedTail.reset();
        std::string tail = "[" + record.sizeText + "]" + form.name + std::string(kCrLf);
        std::string bytes;
        if (sink.encode(tail, bytes))
            return false;
        encodedTail = std::move(bytes);
        std::string assembly, c;
        if (sink.encode(";", assembly) || sink.encode("{//", c))
            return false;
        encodedOpenings = {std::move(assembly), std::move(c)};
    }
    if (sink.encode(record.character, encodedCharacter))
        return false;
    // The two lines laid down piece by piece in one go.
    const std::string* pieces[] = {&encodedOpenings.first,  &encodedCharacter, &*encodedTail,
                                   &encodedOpenings.second, &encodedCharacter, &*encodedTail};
    std::size_t size = 0;
    for (const std::string* piece : pieces)
        size += piece->size();
    lines.resize(size);
    char* out = lines.data();
    for (const std::string* piece : pieces) {
        std::memcpy(out, piece->data(), piece->size());
        out += piece->size();
    }
    return true;
}

std::optional<std::string> ExportBlocks::keep(char32_t character, const hz::GlyphRecord& record) {
    std::string& lines = headerLines;
    if (!encodeHeaderLines(record, lines)) {
        // The two header lines, encoded in one go, for the sink's own word on what it cannot write.
        text.clear();
        hz::appendHeaderLine(text, record, form, false);
        hz::appendHeaderLine(text, record, form, true);
        if (auto failed = sink.encode(text, lines))
            return failed;
    }
    // Neither encoding has a line break inside a character.
    const std::size_t firstLine = lines.find(kCrLf) + kCrLf.size();
    std::vector<std::uint8_t>& bytes = recordBytes;
    hz::exportBytes(record, form, bytes);

    Entry entry;
    entry.assemblyHeader = static_cast<std::uint16_t>(firstLine);
    entry.cHeader = static_cast<std::uint16_t>(lines.size() - firstLine);
    entry.bytes = static_cast<std::uint16_t>(bytes.size());
    const std::size_t size = lines.size() + bytes.size();
    const bool past = kept.size() + size > kMostKept;
    std::string& store = past ? scratch : kept;
    if (past)
        store.clear();
    else if (kept.capacity() < kFirstStore)
        kept.reserve(kFirstStore); // rather than grown from a short string's room, copied each time
    entry.start = static_cast<std::uint32_t>(store.size());
    store += lines;
    store.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());

    if (past) {
        scratchCharacter = character;
        scratchEntry = entry;
        lastCharacter = character;
        lastEntry = &scratchEntry;
        return std::nullopt;
    }
    entries.push_back(entry);
    lastCharacter = character; // the entries may have moved
    lastEntry = &entries.back();
    const auto number = static_cast<std::uint32_t>(entries.size());
    if (character < kPlaneSize) {
        auto& block = planeZero[character >> 8];
        if (!block)
            block = std::make_unique<Block>(); // zeroed
        (*block)[character & 0xFF] = number;
    } else {
        beyond[character] = number;
    }
    return std::nullopt;
}

void ExportBlocks::appendAssembly(std::string& out, char32_t character) const {
    const Entry* entry = find(character);
    const char* at = storeOf(entry) + entry->start;
    out.append(at, entry->assemblyHeader);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(at + entry->assemblyHeader + entry->cHeader);
    hz::appendAssemblyText(out, std::span(bytes, entry->bytes)); // ends with CR LF unless empty
    out += kCrLf;
}

void ExportBlocks::appendC(std::string& out, char32_t character) const {
    const Entry* entry = find(character);
    const char* at = storeOf(entry) + entry->start;
    out.append(at + entry->assemblyHeader, entry->cHeader);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(at + entry->assemblyHeader + entry->cHeader);
    hz::appendCText(out, std::span(bytes, entry->bytes));
    out += "};\r\n";
}

} // namespace hz::cli

#pragma once
// A walk over the input's characters through one glyph source: each found character as a record,
// each refused one reported once (on the first walk) with its position.

#include "cli/input_text.h"

#include "core/glyph/glyph_record.h"
#include "core/glyph/glyph_source.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace hz::cli {

class GlyphPass {
public:
    using Report = std::function<void(const std::string&)>;
    GlyphPass(std::shared_ptr<hz::GlyphSource> source, const InputText& input, Report report);

    // Calls found for every found character, in order.
    void run(const std::function<void(const hz::GlyphRecord&)>& found);
    // The same for a caller that keeps what it needs of each character it is given: a character
    // for which known() is true was found before and is handed on (with no record) without being
    // looked up again. Refusals are told as by run().
    void run(const std::function<bool(char32_t character)>& known,
             const std::function<void(std::size_t position, char32_t character, const hz::GlyphRecord* record)>& found);
    // The last found character's record (after a walk over all of them, which reports refusals).
    std::optional<hz::GlyphRecord> lastFound();
    // After a first walk: the characters it found, in order, each with its position, without looking
    // them up again (for a later part of an output whose texts are already made).
    void runFound(const std::function<void(std::size_t position, char32_t character)>& found) const;
    // The record of the character at position, looked up again; nothing if it is no longer found.
    std::optional<hz::GlyphRecord> recordAt(std::size_t position);

    const hz::GlyphSource& source() const { return *glyphSource; }
    // Where a character of the input came from, for messages: "character 3 (line 1, column 3)", or
    // "src/ui.c:12:" for a character found by a scan.
    std::string where(std::size_t position) const;
    // The position in the input of the record run() hands on now.
    std::size_t position() const { return current; }
    // Whether a first walk, which reports the refused characters, has been made.
    bool walked() const { return walkedOnce; }
    std::size_t foundCount() const { return found; }
    std::size_t refusedCount() const { return refused; }

private:
    void prefetch();
    void refuse(std::size_t position, char32_t character, hz::LookupStatus status);

    std::shared_ptr<hz::GlyphSource> glyphSource;
    const InputText& input;
    Report report;
    bool walkedOnce = false;
    std::size_t current = 0;
    std::size_t found = 0;
    std::size_t refused = 0;
    std::vector<bool> foundAt; // by position, from the first walk
};

// "'样' (U+6837)", or just the code for a control character.
std::string describeCharacter(char32_t ch);

} // namespace hz::cli

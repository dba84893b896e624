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

namespace hz::cli {

class GlyphPass {
public:
    using Report = std::function<void(const std::string&)>;
    GlyphPass(std::shared_ptr<hz::GlyphSource> source, const InputText& input, Report report);

    // Calls found for every found character, in order.
    void run(const std::function<void(const hz::GlyphRecord&)>& found);
    // The last found character's record (after a walk over all of them, which reports refusals).
    std::optional<hz::GlyphRecord> lastFound();

    const hz::GlyphSource& source() const { return *glyphSource; }
    // Where a character of the input came from, for messages: "character 3 (line 1, column 3)", or
    // "src/ui.c:12:" for a character found by a scan.
    std::string where(std::size_t position) const;
    // The position in the input of the record run() hands on now.
    std::size_t position() const { return current; }
    std::size_t foundCount() const { return found; }
    std::size_t refusedCount() const { return refused; }

private:
    void refuse(std::size_t position, char32_t character, hz::LookupStatus status);

    std::shared_ptr<hz::GlyphSource> glyphSource;
    const InputText& input;
    Report report;
    bool walked = false;
    std::size_t current = 0;
    std::size_t found = 0;
    std::size_t refused = 0;
};

// "'样' (U+6837)", or just the code for a control character.
std::string describeCharacter(char32_t ch);

} // namespace hz::cli

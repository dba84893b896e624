#pragma once
// The one walk over a text: each character looked up in one source, in order, and handed on as a
// record or as a refusal. The command line and the window both walk this way; what they do with
// what is handed on (streaming it out, appending rows, telling the user) stays theirs.

#include "core/glyph/glyph_record.h"
#include "core/glyph/glyph_source.h"
#include "core/library/glyph_reader.h"

#include <cstddef>
#include <functional>
#include <string_view>

namespace hz {

struct RefusedCharacter {
    std::size_t position; // 0-based position in the text, counted in characters
    char32_t character;
    LookupStatus status;
};

// position is the character's place in the text. The record is reused for the next character:
// copy it to keep it.
using FoundCharacter = std::function<void(std::size_t position, const GlyphRecord& record)>;
using RefusedHandler = std::function<void(const RefusedCharacter& refused)>;

// One record and one cell serve the whole walk, so a long text costs no allocation per character.
void walkText(std::u32string_view text, GlyphSource& source, const FoundCharacter& found,
              const RefusedHandler& refused);

} // namespace hz

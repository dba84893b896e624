#include "core/glyph/text_walk.h"

namespace hz {

void walkText(std::u32string_view text, GlyphSource& source, const FoundCharacter& found,
              const RefusedHandler& refused) {
    DotCell cell;
    GlyphRecord record;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const LookupStatus status = source.glyph(text[i], cell);
        if (status != LookupStatus::Found) {
            refused({i, text[i], status});
            continue;
        }
        fillRecord(record, text[i], cell, source);
        found(i, record);
    }
}

} // namespace hz

#pragma once
// The window's outputs at the chosen depth: one bit a dot, or grey levels of 2, 4 or 8 bits from a
// font drawn in grey. At one bit everything is written as it always was. At more, the arrangements
// and layouts that have a grey form (rows and columns) are written at that depth, named with it
// ("rows-msb-4bpp"); the page arrangements are one-bit layouts, so they show a note instead of
// bytes and their exports are refused, as is "全部", which holds them.

#include "core/glyph/glyph_record.h"
#include "core/layout/arrangements.h"
#include "core/layout/layout.h"
#include "core/layout/layout_presets.h"

#include <QString>
#include <optional>
#include <string>

namespace hz::gui {

// What the text boxes show for a page arrangement at more than one bit.
inline const QString kPagesOneBitNote = QStringLiteral("页排列只有1位格式");

// layout at depth bits a dot.
hz::Layout layoutAtDepth(hz::Layout layout, int depth);

// The choice as it is written at depth: itself at one bit, else its layout at that depth. Nothing
// when it cannot be written at that depth (a pages layout, a page arrangement, "全部").
std::optional<hz::LayoutChoice> choiceAtDepth(const hz::LayoutChoice& choice, int depth);

// Why a choice cannot be written at depth, for a message box; the choice is one choiceAtDepth refuses.
// whereDepthIsSet names where the user turns the depth back to one bit (the font chooser by default).
QString depthRefusal(const hz::LayoutChoice& choice, int depth,
                     const QString& whereDepthIsSet = QStringLiteral("在字体选择中改回1位"));

// An arrangement's assembly or C text of a record at depth: the record's own texts at one bit, the
// arrangement's layout at that depth otherwise, kPagesOneBitNote for a page arrangement. Empty where
// the record has no bytes in the arrangement.
QString assemblyTextAt(const hz::GlyphRecord& record, hz::Arrangement arrangement, int depth);
QString cTextAt(const hz::GlyphRecord& record, hz::Arrangement arrangement, int depth);

} // namespace hz::gui

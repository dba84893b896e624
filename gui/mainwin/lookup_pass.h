#pragma once
// One lookup pass: every character of the input, in order, becomes a glyph record appended to the
// list, or a refusal reported to the window. The pass is one walk (hz::walkText) over one source, so
// the library file is opened once per pass, and appends rows in batches: one insertion for a run of
// found characters, never one per row. The progress bar is shown while the pass runs and repainted at most
// every 30 ms. Only the first few refusals of a pass are told one by one; the rest are summed up
// once at the end, so a long text of characters the library lacks cannot bury the window in boxes.

#include "core/glyph/glyph_record.h"
#include "core/glyph/text_walk.h"

#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QProgressBar;

namespace hz::gui {

class GlyphListModel;

class LookupPass {
public:
    // Called for each of the first kToldRefusals refused characters, after the rows found before it
    // have been appended.
    using RefusalHandler = std::function<void(const hz::RefusedCharacter&)>;
    // Called once at the end of a pass that refused more than kToldRefusals characters, with the
    // text that tells the user about the others.
    using MoreRefusedHandler = std::function<void(const QString&)>;
    // Called after each batch of rows has been appended.
    using AppendHandler = std::function<void()>;

    LookupPass(GlyphListModel& list, QProgressBar& progress);

    void onRefused(RefusalHandler handler) { refusedHandler = std::move(handler); }
    void onAppended(AppendHandler handler) { appendedHandler = std::move(handler); }
    void onMoreRefused(MoreRefusedHandler handler) { moreRefusedHandler = std::move(handler); }

    // Runs over the text with the glyphs of source; returns the rows appended.
    // Any length works: the counts are not limited to 16 bits.
    qsizetype run(const QString& text, std::shared_ptr<hz::GlyphSource> source);

    static constexpr int kRepaintIntervalMs = 30;
    static constexpr int kToldRefusals = 3;
    static constexpr int kNamedInSummary = 10;

    // "另有N个字符未能取出点阵：…", naming the first kNamedInSummary of the characters.
    static QString moreRefusedText(qsizetype count, const std::vector<char32_t>& firstCharacters);

private:
    GlyphListModel& list;
    QProgressBar& progress;
    RefusalHandler refusedHandler;
    AppendHandler appendedHandler;
    MoreRefusedHandler moreRefusedHandler;
};

} // namespace hz::gui

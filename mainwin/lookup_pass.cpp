#include "mainwin/lookup_pass.h"

#include "mainwin/glyph_list_model.h"

#include <QElapsedTimer>
#include <QProgressBar>
#include <limits>
#include <vector>

namespace {

// QProgressBar counts in int; a longer text is shown on a scaled bar.
class ProgressScale {
public:
    explicit ProgressScale(qsizetype total)
        : divisor(total > std::numeric_limits<int>::max() ? total / std::numeric_limits<int>::max() + 1 : 1),
          maximum(static_cast<int>(total / divisor)) {}
    int operator()(qsizetype done) const { return static_cast<int>(done / divisor); }
    const qsizetype divisor;
    const int maximum;
};

} // namespace

LookupPass::LookupPass(GlyphListModel& list, QProgressBar& progress) : list(list), progress(progress) {}

qsizetype LookupPass::run(const QString& text, std::shared_ptr<hz::GlyphSource> source) {
    const QList<uint> characters = text.toUcs4();
    if (characters.isEmpty())
        return 0;

    const auto total = characters.size();
    const ProgressScale scale(total);
    progress.setRange(0, scale.maximum);
    progress.setValue(0);
    progress.show();
    progress.repaint();

    hz::RecordLookup lookup(std::move(source));
    std::vector<hz::GlyphRecord> batch;
    qsizetype appended = 0;
    auto flush = [&] {
        if (batch.empty())
            return;
        appended += static_cast<qsizetype>(batch.size());
        list.appendRecords(std::move(batch));
        batch = {};
        if (appendedHandler)
            appendedHandler();
    };

    QElapsedTimer sinceRepaint;
    sinceRepaint.start();
    for (qsizetype i = 0; i < total; ++i) {
        hz::GlyphRecord record;
        const hz::LookupStatus status = lookup.lookup(static_cast<char32_t>(characters[i]), record);
        if (status == hz::LookupStatus::Found) {
            batch.push_back(std::move(record));
        } else {
            // The user sees the rows found so far, and the bar where the pass stands, while the
            // message waits for an answer.
            flush();
            progress.setValue(scale(i + 1));
            progress.repaint();
            sinceRepaint.restart();
            if (refusedHandler)
                refusedHandler(
                    hz::RefusedCharacter{static_cast<std::size_t>(i), static_cast<char32_t>(characters[i]), status});
        }
        if (sinceRepaint.elapsed() >= kRepaintIntervalMs) {
            progress.setValue(scale(i + 1));
            progress.repaint();
            sinceRepaint.restart();
        }
    }
    flush();

    progress.setValue(0);
    progress.hide();
    return appended;
}

#include "gui/mainwin/lookup_pass.h"

#include "gui/mainwin/glyph_list_model.h"

#include "core/text/code_point_text.h"

#include <QElapsedTimer>
#include <QProgressBar>
#include <QStringList>
#include <limits>
#include <vector>

namespace hz::gui {

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
    const std::u32string characters = text.toStdU32String();
    if (characters.empty())
        return 0;

    const auto total = static_cast<qsizetype>(characters.size());
    const ProgressScale scale(total);
    progress.setRange(0, scale.maximum);
    progress.setValue(0);
    progress.show();
    progress.repaint();

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

    qsizetype refusals = 0;
    std::vector<char32_t> untold; // the first of the refusals beyond those told one by one
    QElapsedTimer sinceRepaint;
    sinceRepaint.start();
    auto showPlace = [&](std::size_t position) {
        progress.setValue(scale(static_cast<qsizetype>(position) + 1));
        progress.repaint();
        sinceRepaint.restart();
    };
    auto tick = [&](std::size_t position) {
        if (sinceRepaint.elapsed() >= kRepaintIntervalMs)
            showPlace(position);
    };
    hz::walkText(
        characters, *source,
        [&](std::size_t position, const hz::GlyphRecord& record) {
            batch.push_back(record);
            tick(position);
        },
        [&](const hz::RefusedCharacter& refused) {
            if (++refusals > kToldRefusals) {
                if (untold.size() < kNamedInSummary)
                    untold.push_back(refused.character);
            } else {
                // The user sees the rows found so far, and the bar where the pass stands, while the
                // message waits for an answer.
                flush();
                showPlace(refused.position);
                if (refusedHandler)
                    refusedHandler(refused);
            }
            tick(refused.position);
        });
    flush();

    progress.setValue(0);
    progress.hide();
    if (refusals > kToldRefusals && moreRefusedHandler)
        moreRefusedHandler(moreRefusedText(refusals - kToldRefusals, untold));
    return appended;
}

QString LookupPass::moreRefusedText(qsizetype count, const std::vector<char32_t>& firstCharacters) {
    QStringList names;
    for (char32_t c : firstCharacters) {
        const QString one = QString::fromUcs4(&c, 1);
        // A line break or other invisible character is shown by its code.
        const bool visible = !one.isEmpty() && (one.front().isPrint() || one.front().isSurrogate()) && c != U' ';
        names << (visible ? one : QString::fromStdString(hz::codePointText(c)));
    }
    QString text = QStringLiteral("另有%1个字符未能取出点阵：%2").arg(count).arg(names.join(QStringLiteral("、")));
    text += count > static_cast<qsizetype>(names.size()) ? QStringLiteral("等。") : QStringLiteral("。");
    return text;
}

} // namespace hz::gui

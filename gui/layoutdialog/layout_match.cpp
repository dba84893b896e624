#include "gui/layoutdialog/layout_match.h"

#include "core/layout/byte_paste.h"
#include "core/layout/layout_detect.h"
#include "core/layout/layout_presets.h"

#include <QStringList>
#include <algorithm>
#include <span>

namespace hz::gui {

LayoutMatches matchPastedBytes(std::string_view paste, const hz::DotCell& reference, std::size_t count) {
    LayoutMatches matches;
    const hz::PastedBytes pasted = hz::parsePastedBytes(paste);
    if (!pasted.ok()) {
        matches.error = QStringLiteral("读不出粘贴的字节：%1").arg(QString::fromStdString(pasted.error));
        return matches;
    }
    const hz::LayoutDetection detection = hz::detectLayout(pasted.bytes, reference);
    if (!detection.ok()) {
        matches.error = QStringLiteral("无法匹配：%1").arg(QString::fromStdString(detection.error));
        return matches;
    }

    std::span<const std::uint8_t> bytes(pasted.bytes);
    if (detection.headerSkipped)
        bytes = bytes.subspan(2);
    for (const hz::LayoutCandidate& candidate : detection.candidates) {
        if (matches.best.size() >= count)
            break;
        // A layout may fit at more than one cell size; it is shown once, at its best.
        const bool listed = std::any_of(matches.best.begin(), matches.best.end(),
                                        [&](const LayoutMatch& match) { return match.layout == candidate.layout; });
        if (listed)
            continue;
        LayoutMatch match;
        match.layout = candidate.layout;
        match.decoded = hz::decodeCell(bytes, candidate.layout, candidate.cell.width, candidate.cell.height);
        match.score = candidate.score;
        match.presets = candidate.presets;
        match.drivers = hz::presetDrivers(candidate.layout);
        matches.best.push_back(std::move(match));
    }

    QStringList notes;
    if (detection.headerSkipped)
        notes << QStringLiteral("开头两个字节是宽和高，已跳过。");
    if (detection.ambiguous && detection.candidates.size() >= 2) {
        const QString pair = QStringLiteral("%1 和 %2")
                                 .arg(QString::fromStdString(hz::layoutName(detection.candidates[0].layout)),
                                      QString::fromStdString(hz::layoutName(detection.candidates[1].layout)));
        notes << (detection.mirrorAmbiguous
                      ? QStringLiteral("最好的两个排列 %1 只差一个翻转：这个字翻转后看起来一样，分不出来。").arg(pair)
                      : QStringLiteral("最好的两个排列 %1 得分相近：这个字在两种排列下看起来差不多，分不出来。")
                            .arg(pair))
              << QStringLiteral("请换一个不对称的字（如“我”“的”）的字模再试。");
    }
    matches.note = notes.join(QLatin1Char(' '));
    return matches;
}

} // namespace hz::gui

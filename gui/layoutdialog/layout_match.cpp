#include "gui/layoutdialog/layout_match.h"

#include "core/layout/byte_paste.h"
#include "core/layout/layout_detect.h"
#include "core/layout/layout_presets.h"
#include "fontsource/reference_fonts.h"

#include <QStringList>
#include <algorithm>
#include <span>

namespace hz::gui {

namespace {

// Why the paste gives no bytes, in the window's words.
QString pasteProblemText(const hz::Problem& problem) {
    const QString word = QString::fromStdString(problem.value);
    using Kind = hz::ProblemKind;
    switch (problem.kind) {
    case Kind::PasteNotAByte:
        return QStringLiteral("第 %1 行的“%2”不是字节").arg(problem.line).arg(word);
    case Kind::PasteBelowMinus128:
        return QStringLiteral("第 %1 行的“%2”小于 -128").arg(problem.line).arg(word);
    case Kind::PasteAbove255:
        return QStringLiteral("第 %1 行的“%2”大于 255").arg(problem.line).arg(word);
    case Kind::PasteOddHexDigits:
        return QStringLiteral("第 %1 行的“%2”有奇数个十六进制数字").arg(problem.line).arg(word);
    case Kind::PasteOpenComment:
        return QStringLiteral("第 %1 行开始的注释没有结尾（*/）").arg(problem.line);
    case Kind::PasteOpenString:
        return QStringLiteral("第 %1 行的字符串没有结束的引号").arg(problem.line);
    case Kind::PasteOpenCharacter:
        return QStringLiteral("第 %1 行的字符常量没有结束的引号").arg(problem.line);
    case Kind::PasteTooLong:
        return QStringLiteral("文字超过 %1 KB，一个字模的字节用不了这么多").arg(problem.number / 1024);
    case Kind::PasteTooManyBytes:
        return QStringLiteral("超过 %1 个字节，64×64 点的字模也用不了这么多").arg(problem.number);
    default:
        return QStringLiteral("没有找到字节：请粘贴十六进制（0x1F、1FH 或 1F）、二进制（0b00011111）"
                              "或写在花括号中的十进制数");
    }
}

// Why the bytes cannot be matched with the character, in the window's words.
QString matchProblemText(const hz::Problem& problem) {
    using Kind = hz::ProblemKind;
    switch (problem.kind) {
    case Kind::MatchNoBytes:
        return QStringLiteral("没有可匹配的字节");
    case Kind::MatchBlankReference:
        return QStringLiteral("这个字的字模没有点，无从比较");
    default: {
        QStringList nearest;
        for (std::size_t count : hz::nearestFittingCounts(static_cast<std::size_t>(problem.number)))
            nearest << QString::number(count);
        return QStringLiteral("%1 个字节放不进任何字模；最接近的字节数是 %2")
            .arg(problem.number)
            .arg(nearest.join(QStringLiteral(" 或 ")));
    }
    }
}

} // namespace

LayoutMatches matchPastedBytes(std::string_view paste, std::span<const hz::DotCell> faces, char32_t character,
                               std::size_t count) {
    LayoutMatches matches;
    const auto pasted = hz::parsePastedBytes(paste);
    if (!pasted) {
        matches.error = QStringLiteral("读不出粘贴的字节：%1").arg(pasteProblemText(pasted.problem()));
        return matches;
    }
    // A firmware's font is often made from a common Hei, Song or Kai face: the installed ones draw
    // the character too, at the sizes the bytes may fill.
    std::vector<hz::DotCell> allFaces(faces.begin(), faces.end());
    if (!allFaces.empty())
        for (hz::DotCell& face :
             hz::fontsource::referenceGlyphs(character, hz::pasteCells(*pasted), hz::fontsource::referenceFonts()))
            allFaces.push_back(std::move(face));
    const auto detected = hz::detectLayout(*pasted, allFaces);
    if (!detected) {
        matches.error = QStringLiteral("无法匹配：%1").arg(matchProblemText(detected.problem()));
        return matches;
    }
    const hz::LayoutDetection& detection = *detected;

    std::span<const std::uint8_t> bytes(*pasted);
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
    if (detection.unlike) {
        const hz::LayoutCandidate& best = detection.candidates.front();
        notes << QStringLiteral("没有哪种排列画出的字明显像这个字（%1×%2 点阵，最高 %3 分）："
                                "这些字节可能是别的字、别的大小，或者根本不是字模。")
                     .arg(best.cell.width)
                     .arg(best.cell.height)
                     .arg(QString::number(best.score, 'f', 3));
    } else if (detection.ambiguous) {
        const QString pair =
            QStringLiteral("%1 和 %2")
                .arg(QString::fromStdString(hz::layoutName(detection.candidates[0].layout)),
                     QString::fromStdString(hz::layoutName(detection.candidates[detection.runnerUp].layout)));
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

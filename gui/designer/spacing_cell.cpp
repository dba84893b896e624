#include "gui/designer/spacing_cell.h"

#include <array>
#include <string_view>

namespace hz::gui {

namespace {

// The sample's twelve rows, column 1 first; columns 13 to 16 and rows 13 to 16 are clear.
constexpr std::array<std::string_view, 12> kSampleRows = {
    "000000000000", "111111111111", "110000000001", "101000000001", "100100000001", "100010000001",
    "100001000001", "100000100001", "100000010001", "100000001001", "100000000101", "111111111111",
};

hz::Cell16 makeSample() {
    hz::Cell16 cell{};
    for (std::size_t r = 0; r < kSampleRows.size(); ++r)
        for (std::size_t c = 0; c < kSampleRows[r].size(); ++c)
            if (kSampleRows[r][c] == '1')
                cell[r] |= static_cast<std::uint16_t>(0x8000u >> c);
    return cell;
}

} // namespace

const hz::Cell16& sampleGlyphCell() {
    static const hz::Cell16 sample = makeSample();
    return sample;
}

hz::Cell16 placedSample(int spaceX, int spaceY) {
    return hz::shiftCell(sampleGlyphCell(), spaceX, spaceY);
}

QString cellRowText(const hz::Cell16& cell, int row) {
    QString text;
    text.reserve(16);
    for (int c = 0; c < 16; ++c)
        text += (cell[row] & (0x8000u >> c)) ? QLatin1Char('1') : QLatin1Char('0');
    return text;
}

QString designerGlyphText(const hz::Cell16& cell, const hz::Marks& marks) {
    const QString dot = QString::fromStdString(marks.DotMark);
    // Two plain spaces are as wide as one full-width mark in the preview's font.
    const QString back = marks.BackMarkOn ? QString::fromStdString(marks.BackMark) : QStringLiteral("  ");
    QString text;
    for (int r = 0; r < 16; ++r) {
        for (const QChar bit : cellRowText(cell, r))
            text += bit == QLatin1Char('0') ? back : dot;
        text += QStringLiteral("\r\n");
    }
    return text;
}

} // namespace hz::gui

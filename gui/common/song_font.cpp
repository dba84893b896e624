#include "gui/common/song_font.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <cmath>

namespace hz::gui {

const QStringList& windowFontFamilies() {
    static const QStringList families = {
        QStringLiteral("宋体"),
        QStringLiteral("SimSun"),
        QStringLiteral("AR PL UMing CN"),
        QStringLiteral("AR PL SungtiL GB"),
        QStringLiteral("WenQuanYi Zen Hei Mono"),
        QStringLiteral("WenQuanYi Zen Hei"),
        QStringLiteral("WenQuanYi Micro Hei"),
    };
    return families;
}

bool spacesMatchMarks(const QFont& font, const QStringList& marks) {
    const QFontMetricsF metrics(font);
    const double spaces = metrics.horizontalAdvance(QStringLiteral("  "));
    for (const QString& mark : marks) {
        if (std::abs(metrics.horizontalAdvance(mark) - spaces) > 0.01)
            return false;
    }
    return true;
}

namespace {

// Families fontconfig would silently replace by another face are not installed for our purpose.
QStringList installedFamilies() {
    const QStringList available = QFontDatabase::families();
    QStringList installed;
    for (const QString& family : windowFontFamilies()) {
        if (available.contains(family, Qt::CaseInsensitive))
            installed << family;
    }
    return installed;
}

QFont fontOf(const QString& family, double pointSize) {
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setStyleHint(QFont::Serif);
    return font;
}

} // namespace

QFont chooseViewFont(double pointSize, const QStringList& marks) {
    const QStringList installed = installedFamilies();
    for (const QString& family : installed) {
        const QFont font = fontOf(family, pointSize);
        if (spacesMatchMarks(font, marks))
            return font;
    }
    return installed.isEmpty() ? QFont() : fontOf(installed.first(), pointSize);
}

QFont windowFont(double pointSize) {
    const QStringList installed = installedFamilies();
    QFont font = installed.isEmpty() ? QFont() : fontOf(installed.first(), pointSize);
    font.setPointSizeF(pointSize);
    return font;
}

} // namespace hz::gui

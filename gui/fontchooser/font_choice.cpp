#include "gui/fontchooser/font_choice.h"

#include "core/layout/layout.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <algorithm>

namespace hz::gui {

namespace {
const QString kRecentKey = QStringLiteral("recentFonts");

// A library file's findings, from the current array entry; nothing for a font's entry or for one
// whose findings cannot be read as a library (hand-edited, say).
std::optional<LibraryFileFindings> readFindings(QSettings& settings) {
    if (!settings.value(QStringLiteral("library"), false).toBool())
        return std::nullopt;
    const auto layout = hz::parseLayout(settings.value(QStringLiteral("recordLayout")).toString().toStdString());
    if (!layout || layout->bpp != 1) // a user's library file holds one bit a dot
        return std::nullopt;
    LibraryFileFindings findings;
    findings.geometry = {settings.value(QStringLiteral("cell"), 0).toInt(),
                         settings.value(QStringLiteral("firstRow"), 0).toInt(), *layout};
    findings.records = settings.value(QStringLiteral("records"), 0).toLongLong();
    findings.trailingBytes = settings.value(QStringLiteral("trailingBytes"), 0).toLongLong();
    findings.score = settings.value(QStringLiteral("score"), 0.0).toDouble();
    findings.fileSize = settings.value(QStringLiteral("fileSize"), -1).toLongLong();
    findings.modifiedMs = settings.value(QStringLiteral("modified"), -1).toLongLong();
    if (!hz::checkGeometry(findings.geometry))
        return std::nullopt;
    return findings;
}

void writeFindings(QSettings& settings, const LibraryFileFindings& findings) {
    settings.setValue(QStringLiteral("library"), true);
    settings.setValue(QStringLiteral("cell"), findings.geometry.cell);
    settings.setValue(QStringLiteral("firstRow"), findings.geometry.firstRow);
    settings.setValue(QStringLiteral("recordLayout"),
                      QString::fromStdString(hz::layoutName(findings.geometry.recordLayout)));
    settings.setValue(QStringLiteral("records"), static_cast<qint64>(findings.records));
    settings.setValue(QStringLiteral("trailingBytes"), static_cast<qint64>(findings.trailingBytes));
    settings.setValue(QStringLiteral("score"), findings.score);
    settings.setValue(QStringLiteral("fileSize"), findings.fileSize);
    settings.setValue(QStringLiteral("modified"), findings.modifiedMs);
}

bool sameEntry(const FontChoice& a, const FontChoice& b) {
    return a.fontSpec == b.fontSpec || (a.library && b.library && a.fontSpec.file == b.fontSpec.file);
}
} // namespace

QString FontChoice::label() const {
    QString text = QStringLiteral("%1 %2").arg(name).arg(fontSpec.size);
    if (fontSpec.widths == hz::fontsource::GlyphWidths::Proportional)
        text += QStringLiteral(" 比例宽度");
    if (fontSpec.ambiguous == hz::fontsource::AmbiguousWidth::Half)
        text += QStringLiteral(" 符号半角");
    if (fontSpec.bpp > 1)
        text += QStringLiteral(" %1位灰度").arg(fontSpec.bpp);
    else if (fontSpec.render == hz::fontsource::RenderRule::Classic && !library)
        text += QStringLiteral(" 经典渲染");
    return text;
}

std::vector<FontChoice> loadRecentFonts(QSettings& settings) {
    std::vector<FontChoice> recent;
    const int count = settings.beginReadArray(kRecentKey);
    for (int i = 0; i < count && static_cast<int>(recent.size()) < kRecentFontCount; ++i) {
        settings.setArrayIndex(i);
        FontChoice choice;
        choice.fontSpec.file = QFile::encodeName(settings.value(QStringLiteral("file")).toString()).toStdString();
        choice.fontSpec.face = settings.value(QStringLiteral("face"), 0).toInt();
        choice.fontSpec.size = settings.value(QStringLiteral("size"), 16).toInt();
        if (settings.value(QStringLiteral("widths")).toString() == QStringLiteral("proportional"))
            choice.fontSpec.widths = hz::fontsource::GlyphWidths::Proportional;
        if (settings.value(QStringLiteral("ambiguous")).toString() == QStringLiteral("half"))
            choice.fontSpec.ambiguous = hz::fontsource::AmbiguousWidth::Half;
        choice.fontSpec.bpp = settings.value(QStringLiteral("bpp"), 1).toInt();
        // Choices kept before there was a choice of rule draw by the default one.
        if (const auto rule = hz::fontsource::parseRenderRule(
                settings.value(QStringLiteral("render"), QStringLiteral("default")).toString().toStdString()))
            choice.fontSpec.render = *rule;
        choice.name = settings.value(QStringLiteral("name")).toString();
        choice.library = readFindings(settings);
        // A hand-edited or stale entry is skipped rather than offered and refused.
        const bool libraryUsable = !settings.value(QStringLiteral("library"), false).toBool() ||
                                   (choice.library && choice.library->geometry.cell == choice.fontSpec.size);
        const bool usable = QFileInfo(settings.value(QStringLiteral("file")).toString()).isFile() &&
                            choice.fontSpec.face >= 0 && choice.fontSpec.size >= hz::fontsource::FontSource::kMinSize &&
                            choice.fontSpec.size <= hz::fontsource::FontSource::kMaxSize && !choice.name.isEmpty() &&
                            hz::DotCell::validDepth(choice.fontSpec.bpp) &&
                            (!choice.library || choice.fontSpec.bpp == 1) && libraryUsable;
        if (usable &&
            std::none_of(recent.begin(), recent.end(), [&](const FontChoice& c) { return sameEntry(c, choice); }))
            recent.push_back(std::move(choice));
    }
    settings.endArray();
    return recent;
}

void rememberFont(QSettings& settings, const FontChoice& chosen) {
    std::vector<FontChoice> recent = loadRecentFonts(settings);
    std::erase_if(recent, [&](const FontChoice& c) { return sameEntry(c, chosen); });
    recent.insert(recent.begin(), chosen);
    if (recent.size() > static_cast<std::size_t>(kRecentFontCount))
        recent.resize(static_cast<std::size_t>(kRecentFontCount));

    settings.remove(kRecentKey);
    settings.beginWriteArray(kRecentKey, static_cast<int>(recent.size()));
    for (int i = 0; i < static_cast<int>(recent.size()); ++i) {
        const FontChoice& choice = recent[static_cast<std::size_t>(i)];
        settings.setArrayIndex(i);
        settings.setValue(QStringLiteral("file"), QFile::decodeName(QByteArray::fromStdString(choice.fontSpec.file)));
        settings.setValue(QStringLiteral("face"), choice.fontSpec.face);
        settings.setValue(QStringLiteral("size"), choice.fontSpec.size);
        settings.setValue(QStringLiteral("widths"), choice.fontSpec.widths == hz::fontsource::GlyphWidths::Proportional
                                                        ? QStringLiteral("proportional")
                                                        : QStringLiteral("fixed"));
        settings.setValue(QStringLiteral("ambiguous"), choice.fontSpec.ambiguous == hz::fontsource::AmbiguousWidth::Half
                                                           ? QStringLiteral("half")
                                                           : QStringLiteral("full"));
        settings.setValue(QStringLiteral("name"), choice.name);
        settings.setValue(QStringLiteral("bpp"), choice.fontSpec.bpp);
        settings.setValue(QStringLiteral("render"),
                          QString::fromStdString(std::string(hz::fontsource::renderRuleName(choice.fontSpec.render))));
        if (choice.library)
            writeFindings(settings, *choice.library);
    }
    settings.endArray();
    settings.sync();
}

} // namespace hz::gui

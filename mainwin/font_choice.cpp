#include "mainwin/font_choice.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <algorithm>

namespace {
const QString kRecentKey = QStringLiteral("recentFonts");
} // namespace

QString FontChoice::label() const {
    return QStringLiteral("%1 %2").arg(name).arg(spec.size);
}

std::vector<FontChoice> loadRecentFonts(QSettings& settings) {
    std::vector<FontChoice> recent;
    const int count = settings.beginReadArray(kRecentKey);
    for (int i = 0; i < count && static_cast<int>(recent.size()) < kRecentFontCount; ++i) {
        settings.setArrayIndex(i);
        FontChoice choice;
        choice.spec.file = QFile::encodeName(settings.value(QStringLiteral("file")).toString()).toStdString();
        choice.spec.face = settings.value(QStringLiteral("face"), 0).toInt();
        choice.spec.size = settings.value(QStringLiteral("size"), 16).toInt();
        choice.name = settings.value(QStringLiteral("name")).toString();
        // A hand-edited or stale entry is skipped rather than offered and refused.
        const bool usable = QFileInfo(settings.value(QStringLiteral("file")).toString()).isFile() &&
                            choice.spec.face >= 0 && choice.spec.size >= hz::fontsource::FontSource::kMinSize &&
                            choice.spec.size <= hz::fontsource::FontSource::kMaxSize && !choice.name.isEmpty();
        if (usable && std::find(recent.begin(), recent.end(), choice) == recent.end())
            recent.push_back(std::move(choice));
    }
    settings.endArray();
    return recent;
}

void rememberFont(QSettings& settings, const FontChoice& chosen) {
    std::vector<FontChoice> recent = loadRecentFonts(settings);
    std::erase_if(recent, [&](const FontChoice& c) { return c.spec == chosen.spec; });
    recent.insert(recent.begin(), chosen);
    if (recent.size() > static_cast<std::size_t>(kRecentFontCount))
        recent.resize(static_cast<std::size_t>(kRecentFontCount));

    settings.remove(kRecentKey);
    settings.beginWriteArray(kRecentKey, static_cast<int>(recent.size()));
    for (int i = 0; i < static_cast<int>(recent.size()); ++i) {
        const FontChoice& choice = recent[static_cast<std::size_t>(i)];
        settings.setArrayIndex(i);
        settings.setValue(QStringLiteral("file"), QFile::decodeName(QByteArray::fromStdString(choice.spec.file)));
        settings.setValue(QStringLiteral("face"), choice.spec.face);
        settings.setValue(QStringLiteral("size"), choice.spec.size);
        settings.setValue(QStringLiteral("name"), choice.name);
    }
    settings.endArray();
    settings.sync();
}

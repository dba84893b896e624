#include "gui/common/qt_chinese.h"

#include <QCoreApplication>
#include <QLocale>

namespace hz::gui {

std::unique_ptr<QTranslator> installQtChinese(const QString& folder) {
    auto translator = std::make_unique<QTranslator>();
    // Whatever the desktop's language: the windows speak Chinese, so Qt's dialogs inside them do too.
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    if (!translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"), folder) ||
        !QCoreApplication::installTranslator(translator.get()))
        return nullptr;
    return translator;
}

} // namespace hz::gui

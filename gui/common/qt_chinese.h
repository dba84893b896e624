#pragma once
// Qt's own texts in Chinese, as the windows' own are: the file dialog ("另存为", "查找范围"), the
// standard buttons of message boxes ("确定", "取消") and the colour dialog.

#include <QString>
#include <QTranslator>
#include <memory>

namespace hz::gui {

// Installs Qt's Chinese translation (qtbase_zh_CN.qm) from folder, Qt's translations folder for the
// program (Debian's qt6-translations-l10n fills it). It stays installed as long as the translator
// returned lives. Nothing when the file is missing or unreadable: Qt's texts then stay in English and
// the program goes on.
std::unique_ptr<QTranslator> installQtChinese(const QString& folder);

} // namespace hz::gui

#include "gui/common/prompter.h"

#include "gui/common/document_window.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace hz::gui {

bool Prompter::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

void Prompter::showDocument(QWidget* parent, const QString& title, const QString& text) {
    hz::gui::DocumentWindow window(title, text, parent);
    window.exec();
}

std::optional<QString> Prompter::openFileName(QWidget* parent, const QString& title, const QStringList& filters) {
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

void QtPrompter::critical(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, kPromptTitle, text, QMessageBox::Ok);
}

bool QtPrompter::question(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Information, kPromptTitle, text, QMessageBox::Ok | QMessageBox::Cancel, parent);
    return box.exec() == QMessageBox::Ok;
}

std::optional<QString> QtPrompter::saveFileName(QWidget* parent, const QString& suggested, const QStringList& filters) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    // The overwrite question is the program's own, asked after the dialog.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDefaultSuffix(QString());
    if (!suggested.isEmpty())
        dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QColor> QtPrompter::chooseColor(QWidget* parent, const QColor& initial) {
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

} // namespace hz::gui

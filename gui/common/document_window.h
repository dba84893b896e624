#pragma once
// A plain read-only window showing a document's text: what the links show when the desktop has no
// program for the file.

#include <QDialog>

class QPlainTextEdit;

namespace hz::gui {

class DocumentWindow : public QDialog {
    Q_OBJECT
public:
    DocumentWindow(const QString& title, const QString& text, QWidget* parent = nullptr);

private:
    QPlainTextEdit* DocumentText = nullptr;
};

} // namespace hz::gui

#pragma once
// The documents the main window's links lead to, and how a link opens one.

#include <QString>

class QWidget;

namespace hz::gui {

class Prompter;

enum class Document { Readme, Arrangements, ExportFormat };

// "README.md", "arrangements.md", "export-format.md": the names beside the program and installed.
QString documentFileName(Document document);
// The window title when the text is shown by the program itself.
QString documentTitle(Document document);

// Opens the first copy of a document (beside the program, then the installed one) with the desktop's
// program for it. When the desktop cannot, shows its text in a read-only window; when there is no
// copy, or it cannot be read, says so.
void openDocument(QWidget* parent, const QString& programDir, Document document, Prompter& prompter);

} // namespace hz::gui

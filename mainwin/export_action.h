#pragma once
// Exporting glyph records to a text file: the save-file dialog, the overwrite question, and the file
// in code page 936, written whole or not at all. Every failure is told to the user; the file that was
// there before stays as it was.

#include "core/arrangements.h"
#include "core/glyph_record.h"

#include <QString>
#include <optional>
#include <span>
#include <string>
#include <vector>

class Prompter;
class QWidget;

class ExportAction {
public:
    // readFiles are the files the window reads (its libraries): an export never lands on one.
    ExportAction(Prompter& prompter, QWidget* parent, std::vector<std::string> readFiles = {});

    // An empty list, or no current record, does nothing.
    void exportAll(std::span<const hz::GlyphRecord> records, hz::Arrangement arrangement);
    void exportCurrent(const hz::GlyphRecord* current, hz::Arrangement arrangement);

    // The name the dialog offers next time: the last one chosen.
    const QString& lastFileName() const { return lastName; }

private:
    std::optional<QString> chooseFile();
    void writeExport(const QString& path, const std::string& utf8Text);
    void reportFailure(const QString& path, const QString& reason);

    Prompter& prompter;
    QWidget* parent;
    QString lastName;
    std::vector<std::string> readFiles;
};

#pragma once
// Saving the picture window's result: the save-file dialog, the same guards as every export (no
// folder, no file the program reads, no read-only file, the overwrite question), and the file
// written whole or not at all. What is written follows the name's extension:
//
//   .bin   the raw bytes of the chosen layout, nothing else
//   .h     a C header of the picture (NAME_pic_WIDTH, NAME_pic_HEIGHT, its bytes and the table of
//          pictures), NAME the file's base name when that is a C name, else "image"
//   else   the export file's text, in code page 936 with CR LF, as the main window exports glyphs

#include "core/layout/layout_presets.h"
#include "core/picture/picture_record.h"

#include <QString>
#include <string>
#include <vector>

class QWidget;

namespace hz::gui {

class Prompter;

class ImageExport {
public:
    // readFiles are files the program reads (its libraries, the picture): an export never lands on one.
    ImageExport(Prompter& prompter, QWidget* parent, std::vector<std::string> readFiles = {});

    // The picture in the choice's layout, to a file the user names; the picture file itself is read
    // too, so the export never replaces it.
    void exportPicture(const hz::PictureRecord& picture, const hz::LayoutChoice& choice,
                       const std::string& pictureFile);

    // The name the dialog offered last time, or will offer: the last one chosen.
    const QString& lastFileName() const { return lastName; }

private:
    bool mayWrite(const QString& path, const std::string& pictureFile);
    void reportFailure(const QString& path, const QString& reason);

    Prompter& prompter;
    QWidget* parent;
    std::vector<std::string> readFiles;
    QString lastName;
};

} // namespace hz::gui

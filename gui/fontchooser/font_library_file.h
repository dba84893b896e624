#pragma once
// A library file of the user's own, offered in the font chooser beside the fonts: an HZK-style file
// whose cell, first row and record layout are found by probing it against our own Song library.
// What the probe found is kept with the file's size and time, so that a file changed since is
// probed again rather than read with a geometry that no longer fits it.

#include "core/library/user_library.h"

#include <QString>
#include <optional>
#include <string>

namespace hz::gui {

struct LibraryFileFindings {
    hz::LibraryGeometry geometry;
    long records = 0;       // whole records in the file
    long trailingBytes = 0; // bytes after the last whole record
    double score = 0;       // how well the sample characters matched our own library, 0..1
    qint64 fileSize = -1;   // the file as it was probed
    qint64 modifiedMs = -1; // its modification time then, in ms since the epoch

    bool operator==(const LibraryFileFindings&) const = default;
};

// What probing a file gave: the findings, or why the file cannot be read as a library (with the
// candidates the probe tried, when it got that far).
struct LibraryFileProbe {
    std::optional<LibraryFileFindings> findings;
    QString error;
};

// Probes the file against hzk24宋 in libraryFolder, or hzk16宋 when that is missing.
LibraryFileProbe probeLibraryFile(const QString& path, const std::string& libraryFolder);

// Whether the file still has the size and time it had when it was probed.
bool stillAsProbed(const QString& path, const LibraryFileFindings& findings);

// The findings as the chooser shows them, one per line.
QString findingsText(const LibraryFileFindings& findings);

// Whether a file is by its name a font for FreeType rather than a library file: a font file that
// cannot be opened is reported as a broken font, never probed as a library.
bool namedAsFont(const QString& path);
// The open-file dialog's filter for those fonts: "字体文件 (*.ttf *.ttc …)".
QString fontFileFilter();

} // namespace hz::gui

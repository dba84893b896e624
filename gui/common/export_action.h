#pragma once
// Exporting glyph records to a text file: the save-file dialog, the overwrite question, and the file
// in code page 936, written whole or not at all. Every failure is told to the user; the file that was
// there before stays as it was. C headers (UTF-8) and preview pictures are saved the same way.

#include "core/glyph/glyph_record.h"
#include "core/layout/arrangements.h"
#include "core/layout/layout.h"
#include "core/layout/layout_presets.h"

#include <QString>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace hz::gui {

class Prompter;

class ExportAction {
public:
    // readFiles are the files the window reads (its libraries): an export never lands on one.
    ExportAction(Prompter& prompter, QWidget* parent, std::vector<std::string> readFiles = {});
    // Files read besides those, asked for at each export: the font or library file chosen now.
    void setChosenFile(std::function<std::string()> chosen) { chosenFile = std::move(chosen); }

    // An empty list, or no current record, does nothing. The choice is one arrangement, all five
    // one after another ("全部"), or a layout.
    void exportAll(std::span<const hz::GlyphRecord> records, const hz::LayoutChoice& choice);
    void exportCurrent(const hz::GlyphRecord* current, const hz::LayoutChoice& choice);
    void exportAll(std::span<const hz::GlyphRecord> records, hz::Arrangement arrangement) {
        exportAll(records, hz::LayoutChoice::of(arrangement));
    }
    void exportCurrent(const hz::GlyphRecord* current, hz::Arrangement arrangement) {
        exportCurrent(current, hz::LayoutChoice::of(arrangement));
    }

    // A C header of the records, each character once, in layout, keyed by Unicode code point. The
    // header's name is the chosen file's base name when that is a C identifier, otherwise one made
    // from the records' library. compress codes the glyphs small, with a decoder. The save dialog's
    // file type names the font data's size in bytes. An empty list does nothing.
    void exportHeader(std::span<const hz::GlyphRecord> records, const hz::Layout& layout, bool compress = false);

    // An LVGL font of the records, each character once, bpp bits a dot, as a C file or LVGL's binary
    // font file (1, 2 or 4 bits only); baselineRows as GlyphSource::baselineRows gives it. The C
    // font's name is the chosen file's base name when that is a C identifier, as for the header.
    void exportLvgl(std::span<const hz::GlyphRecord> records, int bpp, bool binary, int baselineRows);

    // A u8g2 font (a C file, one bit a dot) or a BDF font of the records, each character once;
    // baselineRows as for exportLvgl. The u8g2 array is named after the chosen file as the header
    // is. Glyphs a u8g2 font cannot hold are named and the font is not written.
    void exportFontFile(std::span<const hz::GlyphRecord> records, bool bdf, int baselineRows);

    // A PNG picture, as it is.
    void savePicture(const std::string& pngBytes);

    // The name the dialog offers next time: the last one chosen.
    const QString& lastFileName() const { return lastName; }

private:
    // Hands a text's pieces, in UTF-8, to the function it is given.
    using TextPieces = std::function<void(const std::function<void(std::string_view)>&)>;

    std::optional<QString> chooseFile(const QStringList& filters, QString& remembered);
    void writeExport(const QString& path, const TextPieces& pieces);
    void writeBytes(const QString& path, std::string_view bytes);
    void reportFailure(const QString& path, const QString& reason);
    // Whether the records are of one size; if not, tells the user that `what` holds one only.
    bool oneSize(std::span<const hz::GlyphRecord> records, const QString& what);

    Prompter& prompter;
    QWidget* parent;
    QString lastName;
    QString lastHeaderName;
    QString lastLvglName;
    QString lastFontFileName;
    QString lastPictureName;
    std::vector<std::string> readFiles;
    std::function<std::string()> chosenFile;
};

} // namespace hz::gui

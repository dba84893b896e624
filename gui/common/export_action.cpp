#include "gui/common/export_action.h"

#include "core/library/font_library.h"
#include "core/output/bdf_font.h"
#include "core/output/c_header.h"
#include "core/output/export_layout.h"
#include "core/output/lvgl_font.h"
#include "core/output/lvgl_font_bin.h"
#include "core/output/lvgl_font_c.h"
#include "core/output/u8g2_font.h"
#include "core/system/safe_writer.h"
#include "core/system/same_file.h"
#include "core/text/codepage.h"
#include "gui/common/prompter.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#include <cstring>
#include <vector>

namespace hz::gui {

namespace {
const QString kOverwriteQuestion = QStringLiteral("该文件已经存在是否覆盖？");

QStringList exportFilters() {
    return {QStringLiteral(" 导出文件(*.TXT)"), QStringLiteral("所有文件(*.*)")};
}

// The libraries the records came from, for the header's comment: "hzk16宋", "hzk16宋, hzk24黑".
// Records from other sources have no library to name.
std::string sourceOf(std::span<const hz::GlyphRecord> records, int& height) {
    std::string names;
    std::vector<int> seen;
    height = 0;
    for (const hz::GlyphRecord& record : records) {
        const int position = record.libraryPosition;
        if (std::find(seen.begin(), seen.end(), position) != seen.end())
            continue;
        seen.push_back(position);
        const std::string name = position >= 0 ? std::string(hz::fontLibrary(position).fileName) : std::string("font");
        names += (names.empty() ? "" : ", ") + name;
        // 12x12 glyphs are laid out in 16x16 cells; their library is named for 12.
        height = std::max(height, position == hz::kTwelvePosition ? 12 : static_cast<int>(record.height));
    }
    return names;
}

// The file as the writer was given it, then what stopped the writer: the system's own words for
// its error, or the refusal to replace a read-only file.
// The export file, written through the safe writer a piece at a time: texts in code page 936, each
// piece converted on its own (pieces end at a record's end, so at a character's), bytes as they
// are. The first problem is kept and nothing more is written after it. A character the code page
// lacks is told before a write failure, as it was when the whole text was converted before
// writing: after a write failure the rest is still converted, only to find one.
class ExportFile {
public:
    explicit ExportFile(const std::string& path) {
        if (auto opened = writer.open(path); !opened)
            writeProblem = opened.problem();
    }
    void text(std::string_view utf8) {
        if (unconvertible)
            return;
        auto converted = hz::utf8ToCp936(utf8);
        if (!converted) {
            unconvertible = converted.problem();
            return;
        }
        bytes(*converted);
    }
    void bytes(std::string_view piece) {
        if (writeProblem || unconvertible)
            return;
        if (auto written = writer.write(piece); !written)
            writeProblem = written.problem();
    }
    // Puts the file in place when all went well; until then the old file stays as it was.
    void commit() {
        if (writeProblem || unconvertible)
            return;
        if (auto committed = writer.commit(); !committed)
            writeProblem = committed.problem();
    }

    std::optional<hz::Problem> unconvertible;
    std::optional<hz::Problem> writeProblem;

private:
    hz::SafeFileWriter writer;
};

// Pictures and headers are written in pieces of this size, so that each goes the way an export does.
constexpr std::size_t kPieceBytes = 1 << 20;

QString writeProblemText(const hz::Problem& problem) {
    const QString file =
        problem.file.empty() ? QStringLiteral("\"\"") : QFile::decodeName(QByteArray::fromStdString(problem.file));
    if (problem.kind == hz::ProblemKind::WriteProtected)
        return QStringLiteral("%1: 该文件是只读文件，不能覆盖。").arg(file);
    return QStringLiteral("%1: %2").arg(file, QString::fromLocal8Bit(std::strerror(problem.systemError)));
}
} // namespace

ExportAction::ExportAction(Prompter& prompter, QWidget* parent, std::vector<std::string> readFiles)
    : prompter(prompter), parent(parent), readFiles(std::move(readFiles)) {}

void ExportAction::exportAll(std::span<const hz::GlyphRecord> records, const hz::LayoutChoice& choice) {
    if (records.empty())
        return;
    if (const auto path = chooseFile(exportFilters(), lastName))
        writeExport(*path, [&](const auto& take) { hz::exportAllPieces(records, choice, take); });
}

void ExportAction::exportCurrent(const hz::GlyphRecord* current, const hz::LayoutChoice& choice) {
    if (!current)
        return;
    if (const auto path = chooseFile(exportFilters(), lastName))
        writeExport(*path, [&](const auto& take) { take(hz::exportCurrentText(*current, choice)); });
}

void ExportAction::exportHeader(std::span<const hz::GlyphRecord> records, const hz::Layout& layout, bool compress) {
    if (records.empty())
        return;
    // A header holds glyphs of one size, each character once: from a list of two sizes it would keep
    // whichever came first of a character drawn in both, and name one height for all.
    if (!oneSize(records, QStringLiteral("C头文件")))
        return;
    hz::CHeaderInput input;
    input.source = sourceOf(records, input.sourceHeight);
    input.layout = layout;
    input.glyphs = hz::headerGlyphs(records);
    input.compress = compress;
    const std::string defaultName = hz::defaultHeaderName(input.source, input.sourceHeight);
    if (lastHeaderName.isEmpty())
        lastHeaderName = QString::fromStdString(defaultName) + QStringLiteral(".h");
    // Made before the dialog, to show what the font takes in flash; the name changes only the text.
    input.name = defaultName;
    hz::CHeader header = hz::makeCHeader(input);
    const QString size = QLocale(QLocale::English).toString(static_cast<qulonglong>(header.dataBytes));
    const QStringList filters{
        QStringLiteral("C头文件，%1 个字，字库数据 %2 字节(*.h)").arg(header.glyphCount).arg(size),
        QStringLiteral("所有文件(*.*)")};
    const auto path = chooseFile(filters, lastHeaderName);
    if (!path)
        return;
    const std::string baseName = QFileInfo(*path).completeBaseName().toStdString();
    if (!hz::checkHeaderName(baseName) && baseName != defaultName) {
        input.name = baseName;
        header = hz::makeCHeader(input);
    }
    writeBytes(*path, header.text);
}

bool ExportAction::oneSize(std::span<const hz::GlyphRecord> records, const QString& what) {
    std::vector<int> sizes;
    for (const hz::GlyphRecord& record : records) {
        const int size = record.libraryPosition == hz::kTwelvePosition ? 12 : static_cast<int>(record.height);
        if (std::find(sizes.begin(), sizes.end(), size) == sizes.end())
            sizes.push_back(size);
    }
    if (sizes.size() <= 1)
        return true;
    std::sort(sizes.begin(), sizes.end());
    QStringList named;
    for (int size : sizes)
        named << QString::number(size);
    prompter.critical(parent, QStringLiteral("%1只能容纳一种大小的点阵，而列表中有 %2 点的字。\n"
                                             "请删去其他大小的字，只留一种再导出。")
                                  .arg(what, named.join(QStringLiteral("、"))));
    return false;
}

void ExportAction::exportFontFile(std::span<const hz::GlyphRecord> records, bool bdf, int baselineRows) {
    const QString what = bdf ? QStringLiteral("BDF字体") : QStringLiteral("u8g2字体");
    if (records.empty() || !oneSize(records, what))
        return;
    int height = 0;
    const std::string source = sourceOf(records, height);
    std::vector<hz::FontGlyph> glyphs;
    for (const hz::HeaderGlyph& glyph : hz::headerGlyphs(records)) {
        height = std::max(height, glyph.cell.height());
        glyphs.push_back({glyphs.size(), glyph.character, glyph.cell.withDepth(1)});
    }
    // Rows above the baseline, counted from the top of the cell.
    const int baseline = height - baselineRows;
    const std::string defaultName = hz::defaultHeaderName(source, height);
    std::optional<hz::U8g2Font> font;
    if (!bdf) {
        font = hz::makeU8g2Font({glyphs, baseline});
        if (!font->leftOut.empty()) {
            const hz::U8g2LeftOut& first = font->leftOut.front();
            prompter.critical(parent, QStringLiteral("有%1个字无法放进u8g2字体（如 U+%2：字模超过%3字节，或超出U+FFFF），"
                                                     "未导出。\n请减小点阵。")
                                          .arg(font->leftOut.size())
                                          .arg(static_cast<uint>(first.character), 4, 16, QLatin1Char('0'))
                                          .arg(hz::kU8g2MaxGlyphBytes));
            return;
        }
    }
    const QString suffix = bdf ? QStringLiteral(".bdf") : QStringLiteral(".c");
    if (lastFontFileName.isEmpty() || !lastFontFileName.endsWith(suffix))
        lastFontFileName = (lastFontFileName.isEmpty()
                                ? QString::fromStdString(defaultName)
                                : lastFontFileName.left(lastFontFileName.lastIndexOf(QLatin1Char('.')))) +
                           suffix;
    const QStringList filters = bdf ? QStringList{QStringLiteral("BDF字体(*.bdf)"), QStringLiteral("所有文件(*.*)")}
                                    : QStringList{QStringLiteral("u8g2字体(*.c)"), QStringLiteral("所有文件(*.*)")};
    const auto path = chooseFile(filters, lastFontFileName);
    if (!path)
        return;
    const std::string baseName = QFileInfo(*path).completeBaseName().toStdString();
    const std::string name = hz::checkHeaderName(baseName) ? defaultName : baseName;
    if (bdf)
        writeBytes(*path, hz::makeBdfFont({std::move(glyphs), baseline, height, name, source}));
    else
        writeBytes(*path, hz::u8g2CText(*font, name, source));
}

void ExportAction::exportLvgl(std::span<const hz::GlyphRecord> records, int bpp, bool binary, int baselineRows) {
    if (records.empty() || !oneSize(records, QStringLiteral("LVGL字体")))
        return;
    if (binary && !hz::lvglBinaryDepth(bpp)) {
        prompter.critical(parent, QStringLiteral("LVGL二进制字体只能是每点1、2或4位，当前是%1位。\n"
                                                 "请改选灰度，或导出LVGL C。")
                                      .arg(bpp));
        return;
    }
    hz::LvglFontInput input;
    input.bpp = bpp;
    input.baseline = baselineRows;
    int height = 0;
    const std::string source = sourceOf(records, height);
    input.lineHeight = height;
    for (const hz::HeaderGlyph& glyph : hz::headerGlyphs(records)) {
        input.glyphs.push_back({glyph.character, glyph.cell});
        input.lineHeight = std::max(input.lineHeight, glyph.cell.height());
    }
    const hz::LvglFont font = hz::makeLvglFont(input);
    if (font.refusal != hz::LvglRefusal::None) {
        prompter.critical(parent, font.refusal == hz::LvglRefusal::TooManyGlyphs
                                      ? QStringLiteral("LVGL字体最多容纳%1个字。").arg(hz::LvglFont::kMaxGlyphs)
                                      : QStringLiteral("这些字的点阵共%1字节，超出LVGL字体能寻址的1 MiB。\n"
                                                       "请减少字数、减小点阵或降低灰度。")
                                            .arg(font.bitmapBytesNeeded));
        return;
    }
    const std::string defaultName = hz::defaultHeaderName(source, height);
    const QString suffix = binary ? QStringLiteral(".bin") : QStringLiteral(".c");
    if (lastLvglName.isEmpty() || !lastLvglName.endsWith(suffix))
        lastLvglName = (lastLvglName.isEmpty() ? QString::fromStdString(defaultName)
                                               : lastLvglName.left(lastLvglName.lastIndexOf(QLatin1Char('.')))) +
                       suffix;
    const QStringList filters = binary ? QStringList{QStringLiteral("LVGL二进制字体(*.bin)"), QStringLiteral("所有文件(*.*)")}
                                       : QStringList{QStringLiteral("LVGL C字体(*.c)"), QStringLiteral("所有文件(*.*)")};
    const auto path = chooseFile(filters, lastLvglName);
    if (!path)
        return;
    if (binary) {
        const std::vector<std::uint8_t> bytes = hz::lvglBinary(font);
        writeBytes(*path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        return;
    }
    const std::string baseName = QFileInfo(*path).completeBaseName().toStdString();
    writeBytes(*path, hz::lvglCFile(font, {hz::checkHeaderName(baseName) ? defaultName : baseName, source}));
}

void ExportAction::savePicture(const std::string& pngBytes) {
    if (lastPictureName.isEmpty())
        lastPictureName = QStringLiteral("preview.png");
    const QStringList filters{QStringLiteral("PNG图片(*.png)"), QStringLiteral("所有文件(*.*)")};
    if (const auto path = chooseFile(filters, lastPictureName))
        writeBytes(*path, pngBytes);
}

std::optional<QString> ExportAction::chooseFile(const QStringList& filters, QString& remembered) {
    const auto chosen = prompter.saveFileName(parent, remembered, filters);
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    // Offered again next time, even if this export goes no further.
    remembered = *chosen;
    if (QFileInfo(*chosen).isDir()) {
        reportFailure(*chosen, QStringLiteral("这是一个文件夹，不是文件。"));
        return std::nullopt;
    }
    const std::string file = QFile::encodeName(*chosen).toStdString();
    std::vector<std::string> reading = readFiles;
    if (chosenFile && !chosenFile().empty())
        reading.push_back(chosenFile());
    if (const auto library = hz::sameFileAs(file, reading)) {
        reportFailure(*chosen, QStringLiteral("这是程序正在读取的字库文件（%1），导出会毁掉它。")
                                   .arg(QFile::decodeName(QByteArray::fromStdString(*library))));
        return std::nullopt;
    }
    if (hz::writeProtected(file)) {
        reportFailure(*chosen, QStringLiteral("该文件是只读文件，不能覆盖。"));
        return std::nullopt;
    }
    if (QFileInfo::exists(*chosen) && !prompter.question(parent, kOverwriteQuestion))
        return std::nullopt;
    return chosen;
}

void ExportAction::writeExport(const QString& path, const TextPieces& pieces) {
    ExportFile file(QFile::encodeName(path).toStdString());
    pieces([&file](std::string_view utf8) { file.text(utf8); });
    file.commit();
    if (file.unconvertible) {
        // The texts are made by the program, so always UTF-8: the problem names the character.
        reportFailure(path, QStringLiteral("字符“%1”在GB2312（代码页936）中没有编码，无法写入。")
                                .arg(QString::fromStdString(file.unconvertible->value)));
    } else if (file.writeProblem) {
        reportFailure(path, writeProblemText(*file.writeProblem));
    }
}

void ExportAction::writeBytes(const QString& path, std::string_view bytes) {
    ExportFile file(QFile::encodeName(path).toStdString());
    for (std::size_t at = 0; at < bytes.size(); at += kPieceBytes)
        file.bytes(bytes.substr(at, kPieceBytes));
    file.commit();
    if (file.writeProblem)
        reportFailure(path, writeProblemText(*file.writeProblem));
}

void ExportAction::reportFailure(const QString& path, const QString& reason) {
    prompter.critical(parent, QStringLiteral("无法导出到文件“%1”。\n%2").arg(path, reason));
}

} // namespace hz::gui

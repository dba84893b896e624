#pragma once
// A main window on a folder of tiny synthetic library files with known dots, and what the window's
// tests need to read it by control name.

#include "file_bytes.h"
#include "scripted_prompter.h"
#include "tiny_library.h"

#include "core/library/font_library.h"
#include "gui/mainwin/form1.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace hz::gui {

namespace form1test {

constexpr std::uint16_t kYang = 0xD1F9;  // 样
constexpr std::uint16_t kZi = 0xD7D6;    // 字
constexpr std::uint16_t kComma = 0xA3AC; // ，

using hz::test::recordOf;

// A library file of `records` records, all blank but the given ones.
inline void writeLibrary(const QString& folder, int position,
                         const std::map<std::uint16_t, std::vector<std::uint8_t>>& dots,
                         long records = hz::test::kFullRecords) {
    const hz::FontLibrary& library = hz::fontLibrary(position);
    std::vector<hz::test::TinyGlyph> glyphs;
    for (const auto& [code, recordBytes] : dots)
        glyphs.push_back({code, recordBytes});
    hz::test::writeLibrary(hz::libraryPath(folder.toStdString(), library), library.recordSize, glyphs, records);
}

// One set dot at the top left and one at the bottom right of a record of n bytes.
inline std::vector<std::uint8_t> cornerDots(std::size_t n) {
    std::vector<std::uint8_t> bytes(n, 0);
    bytes.front() = 0x80;
    bytes.back() = 0x01;
    return bytes;
}

// A 16 x 16 diagonal: row r has its dot in column r.
inline std::vector<std::uint8_t> diagonalDots() {
    std::vector<std::uint8_t> bytes(32, 0);
    for (int r = 0; r < 16; ++r)
        bytes[static_cast<std::size_t>(2 * r + r / 8)] = static_cast<std::uint8_t>(0x80 >> (r % 8));
    return bytes;
}

// What the view shows for a cell of side n with dots at (row, column), both from 0.
inline QString expectedView(int n, const std::set<std::pair<int, int>>& dots, const QString& dot = QStringLiteral("■"),
                            const QString& clear = QStringLiteral("□")) {
    QString text;
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c)
            text += dots.count({r, c}) ? dot : clear;
        text += QStringLiteral("\r\n");
    }
    return text;
}

inline std::set<std::pair<int, int>> diagonal() {
    std::set<std::pair<int, int>> dots;
    for (int r = 0; r < 16; ++r)
        dots.insert({r, r});
    return dots;
}

enum class Libraries { All, None };

// The window, made after its library folder: 样 a diagonal and 字 two corner dots in every library,
// 24*24楷体 missing and 24*24黑体 cut short before the characters' records.
struct Window {
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<Form1> form;

    explicit Window(Libraries libraries = Libraries::All) {
        if (libraries == Libraries::All) {
            for (int position : {0, 1, 2, 3}) {
                const std::size_t n = static_cast<std::size_t>(hz::fontLibrary(position).recordSize);
                writeLibrary(
                    dir.path(), position,
                    {{kYang, n == 32 ? diagonalDots() : cornerDots(n)}, {kZi, cornerDots(n)}, {kComma, cornerDots(n)}});
            }
            writeLibrary(dir.path(), 5, {}, 100);
        }
        form = std::make_unique<Form1>(dir.path(), &prompter);
    }

    template <typename T = QWidget> T* find(const QString& name) const { return form->findChild<T*>(name); }
    QLineEdit* Text3() const { return find<QLineEdit>(QStringLiteral("Text3")); }
    QComboBox* Combo1() const { return find<QComboBox>(QStringLiteral("Combo1")); }
    QString label(const char* name) const { return find<QLabel>(QString::fromUtf8(name))->text(); }
    QPlainTextEdit* box(const char* name) const { return find<QPlainTextEdit>(QString::fromUtf8(name)); }

    void lookUp(int library, const QString& text) {
        Combo1()->setCurrentIndex(library);
        Text3()->setText(text);
        form->runLookup();
    }
};

// A record's text as a text box shows it.
inline QString shown(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace form1test

} // namespace hz::gui

#pragma once
// What the layout window tests share: records of known dots in several cell sizes, and a way to
// work in a modal dialog that a call opens.

#include "core/glyph/dot_cell.h"
#include "core/glyph/glyph_record.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <random>
#include <string>

namespace hz::gui {

namespace layouttest {

// A record of a cell's dots, as a glyph source gives it.
inline hz::GlyphRecord cellRecord(const std::string& character, const hz::DotCell& cell) {
    hz::GlyphRecord record;
    record.character = character;
    record.sizeText = std::to_string(cell.width()) + "*" + std::to_string(cell.height());
    record.dots = cell.rowBytes();
    record.width = static_cast<std::uint8_t>(cell.width());
    record.height = static_cast<std::uint8_t>(cell.height());
    record.widthClass = cell.widthClass();
    return record;
}

// A record whose cell has about a third of its dots set, the same ones every run.
inline hz::GlyphRecord randomRecord(const std::string& character, int width, int height, unsigned seed,
                                    hz::WidthClass widthClass = hz::WidthClass::Full) {
    hz::DotCell cell(width, height, widthClass);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            cell.setDot(x, y, random() % 3 == 0);
    return cellRecord(character, cell);
}

// Runs open(), which shows a modal dialog (at once or from a queued call); act() works in the
// dialog once it is up.
// A dialog still open afterwards is rejected. False when no modal dialog came up within 3 s.
inline bool inModal(const std::function<void()>& open, const std::function<void(QDialog*)>& act) {
    bool seen = false;
    int ticks = 0;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (++ticks > 300)
                poll.stop();
            return;
        }
        poll.stop();
        seen = true;
        act(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    poll.start();
    open();
    // The dialog may open from a queued call, after open() has returned.
    static_cast<void>(QTest::qWaitFor([&] { return seen || !poll.isActive(); }, 4000));
    poll.stop();
    return seen;
}

} // namespace layouttest

} // namespace hz::gui

#pragma once
// Drives the font chooser that the main window opens modally: once it is up, the test's steps run
// on it (pick a font, set the size, press OK or Cancel), as a user would.

#include "gui/fontchooser/font_chooser.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <functional>

namespace hz::gui {

class ChooserDriver : public QObject {
public:
    using Steps = std::function<void(FontChooser&)>;

    explicit ChooserDriver(Steps steps) : steps(std::move(steps)) {
        connect(&poll, &QTimer::timeout, this, &ChooserDriver::look);
        poll.start(5);
    }

    // Whether the chooser was found and driven.
    bool drove = false;

private:
    void look() {
        auto* chooser = qobject_cast<FontChooser*>(QApplication::activeModalWidget());
        if (!chooser) {
            // Never more than a few seconds: a chooser that does not open must fail the test, not stall it.
            if (++tries > kMaxTries)
                poll.stop();
            return;
        }
        poll.stop();
        drove = true;
        steps(*chooser);
    }

    static constexpr int kMaxTries = 1000;
    Steps steps;
    QTimer poll;
    int tries = 0;
};

namespace chooser {

inline QListWidget* list(FontChooser& c) {
    return c.findChild<QListWidget*>(QStringLiteral("FontList"));
}
inline QSpinBox* sizeBox(FontChooser& c) {
    return c.findChild<QSpinBox*>(QStringLiteral("SizeBox"));
}
inline QPushButton* button(FontChooser& c, QDialogButtonBox::StandardButton which) {
    return c.findChild<QDialogButtonBox*>()->button(which);
}

// The first shown entry whose text begins with `text`; -1 when there is none.
inline int rowStartingWith(FontChooser& c, const QString& text) {
    QListWidget* fonts = list(c);
    for (int row = 0; row < fonts->count(); ++row) {
        if (!fonts->item(row)->isHidden() && fonts->item(row)->text().startsWith(text))
            return row;
    }
    return -1;
}

// Chooses the entry beginning with `text` at `size` and presses OK.
inline ChooserDriver::Steps pick(const QString& text, int size) {
    return [text, size](FontChooser& c) {
        list(c)->setCurrentRow(rowStartingWith(c, text));
        sizeBox(c)->setValue(size);
        button(c, QDialogButtonBox::Ok)->click();
    };
}

inline ChooserDriver::Steps cancel() {
    return [](FontChooser& c) { button(c, QDialogButtonBox::Cancel)->click(); };
}

} // namespace chooser

} // namespace hz::gui

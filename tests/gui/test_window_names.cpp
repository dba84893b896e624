// Tools and tests find every window by its own object name.

#include "gui_test_registry.h"

#include "gui/designer/form3.h"
#include "gui/help/form13.h"
#include "gui/meters/form14.h"

#include <QTest>

using namespace hz::gui;

class WindowNamesTest : public QObject {
    Q_OBJECT

private slots:
    void sideWindowsHaveTheirNames() {
        QCOMPARE(Form3().objectName(), QStringLiteral("Form3"));
        QCOMPARE(Form13().objectName(), QStringLiteral("Form13"));
        QCOMPARE(Form14().objectName(), QStringLiteral("Form14"));
    }
};

static GuiTestRegistration<WindowNamesTest> registration;
#include "test_window_names.moc"

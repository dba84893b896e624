#pragma once
// The program's settings are one instance for the whole run (Module1()). A test class whose tests
// change them derives from FreshSettingsTest: each of its tests starts from the start values, and
// the class leaves them so for the next one.

#include "gui/common/module1.h"

#include <QObject>

namespace hz::gui {

class FreshSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { Module1() = ProgramSettings{}; }
    void cleanupTestCase() { Module1() = ProgramSettings{}; }
};

} // namespace hz::gui

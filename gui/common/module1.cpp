#include "gui/common/module1.h"

namespace hz::gui {

hz::Marks ProgramSettings::marks() const {
    return hz::Marks{DotMark.toStdString(), BackMark.toStdString(), BackMarkOn};
}

ProgramSettings& Module1() {
    static ProgramSettings settings;
    return settings;
}

} // namespace hz::gui

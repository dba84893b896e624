#include "gui/common/module1.h"

hz::Marks ProgramSettings::marks() const {
    return hz::Marks{DotMark.toStdString(), BackMark.toStdString(), BackMarkOn};
}

ProgramSettings& Module1() {
    static ProgramSettings settings;
    return settings;
}

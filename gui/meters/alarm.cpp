#include "gui/meters/alarm.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

namespace hz::gui {

bool isAlarmValue(float value) {
    return value >= kUpperAlarmLimit || value <= kLowerAlarmLimit;
}

void AlarmCheck(float value, QTimer& blinkTimer, const QList<QLabel*>& labels) {
    if (isAlarmValue(value)) {
        if (!blinkTimer.isActive())
            blinkTimer.start();
        return;
    }
    for (QLabel* label : labels)
        label->setVisible(true);
    blinkTimer.stop();
}

void blinkLabels(const QList<QLabel*>& labels) {
    if (labels.isEmpty())
        return;
    // The label's own visibility flag, not whether it is on screen: the window may be hidden.
    const bool show = labels.first()->isHidden();
    for (QLabel* label : labels)
        label->setVisible(show);
    QApplication::beep();
}

QTimer* makeBlinkTimer(QObject* parent, const char* name) {
    auto* timer = new QTimer(parent);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(kBlinkIntervalMs);
    return timer;
}

} // namespace hz::gui

#pragma once
// The meters' alarm: a value at or above 0.9 V or at or below 0.1 V makes the meter's value text
// blink with a beep until a value inside the band arrives. The limits are single-precision
// constants compared in single precision, so exactly 0.9 and exactly 0.1 both alarm.

#include <QList>

class QLabel;
class QObject;
class QTimer;

namespace hz::gui {

inline constexpr float kUpperAlarmLimit = 0.9f;
inline constexpr float kLowerAlarmLimit = 0.1f;
inline constexpr int kBlinkIntervalMs = 400;

bool isAlarmValue(float value);

// Starts the blink timer for an alarming value, leaving the labels as they are; otherwise shows the
// labels and stops the timer.
void AlarmCheck(float value, QTimer& blinkTimer, const QList<QLabel*>& labels);

// One blink: every label takes the opposite of the first label's visibility, then the system beeps.
void blinkLabels(const QList<QLabel*>& labels);

// A stopped, repeating timer at the blink interval, owned by `parent`.
QTimer* makeBlinkTimer(QObject* parent, const char* name);

} // namespace hz::gui

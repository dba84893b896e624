#pragma once
// The meter demonstration window: one voltage between 0 and 1 V shown at once on an analog dial, a
// digital read-out and a bar meter, each with its own alarm. "点我" feeds a random test value.

#include <QDialog>
#include <random>

class QLabel;
class QPushButton;

namespace hz::gui {
class BarMeter;
class DialMeter;
class DigitalMeter;
class FrameShape;
} // namespace hz::gui

class Form14 : public QDialog {
    Q_OBJECT
public:
    explicit Form14(QWidget* parent = nullptr);

    // Shows one value on all three meters and checks their alarms, as a click of "点我" does.
    void showTestValue(float value);
    // The next test value, in [0, 1).
    float nextTestValue();

    hz::gui::DialMeter* dial() const { return Biao1; }
    hz::gui::DigitalMeter* digital() const { return Digital1; }
    hz::gui::BarMeter* bar() const { return progress1; }

public slots:
    void Command1_Click();
    // However the window goes away, its timers stop with it: nothing blinks or beeps afterwards.
    void done(int result) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void placeControls();
    void connectSignals();
    void Form_Load();
    void stopTimers();

    QLabel* addLabel(const QString& name, const QString& text, const QFont& font);
    hz::gui::FrameShape* addFrame(const QString& name);

    // One generator for the window's life, seeded once.
    std::mt19937 generator;

    hz::gui::DialMeter* Biao1 = nullptr;
    hz::gui::DigitalMeter* Digital1 = nullptr;
    hz::gui::BarMeter* progress1 = nullptr;
    QPushButton* Command1 = nullptr;
    hz::gui::FrameShape* BiaoShape1 = nullptr;
    hz::gui::FrameShape* BiaoShape2 = nullptr;
    hz::gui::FrameShape* DigitalShape1 = nullptr;
    hz::gui::FrameShape* DigitalShape2 = nullptr;
    hz::gui::FrameShape* progressShape1 = nullptr;
    hz::gui::FrameShape* progressShape2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label6_0 = nullptr;
    QLabel* Label6_1 = nullptr;
};

// The meter window: needle animation, alarms and blinking, the bar's column, and the kept pictures.

#include "gui_test_registry.h"

#include "gui/meters/alarm.h"
#include "gui/meters/bar_meter.h"
#include "gui/meters/bar_tube.h"
#include "gui/meters/dial_meter.h"
#include "gui/meters/digital_meter.h"
#include "gui/meters/form14.h"
#include "gui/meters/frame_shape.h"
#include "gui/meters/line_shape.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cmath>

using namespace hz::gui;

namespace {

// Steps the needle as its timer would until the timer stops; the number of steps taken.
int runNeedle(DialMeter& dial, int limit = 400) {
    int steps = 0;
    while (dial.needleTimer()->isActive() && steps < limit) {
        dial.BiaoTimer1_Timer();
        ++steps;
    }
    return steps;
}

QList<QLabel*> allValueLabels(const Form14& form) {
    return {form.dial()->valueLabel(), form.digital()->valueLabels()[0], form.digital()->valueLabels()[1],
            form.bar()->valueLabel()};
}

QList<QTimer*> blinkTimers(const Form14& form) {
    return {form.dial()->blinkTimer(), form.digital()->blinkTimer(), form.bar()->blinkTimer()};
}

QColor pixelAt(const QImage& image, QPointF twips) {
    return image.pixelColor(static_cast<int>(twips.x() / 15), static_cast<int>(twips.y() / 15));
}

} // namespace

class MeterTests : public QObject {
    Q_OBJECT
private slots:
    void opensAtZero() {
        Form14 form;
        QCOMPARE(form.windowTitle(), QStringLiteral("ads"));
        auto* button = form.findChild<QPushButton*>(QStringLiteral("Command1"));
        QVERIFY(button);
        QCOMPARE(button->text(), QStringLiteral("点我"));
        QCOMPARE(form.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("上限报警:0.9v"));
        QCOMPARE(form.findChild<QLabel*>(QStringLiteral("Label2"))->text(), QStringLiteral("下限报警:0.1v"));
        QVERIFY(form.findChild<QLabel*>(QStringLiteral("Label6(0)")));
        QVERIFY(form.findChild<QLabel*>(QStringLiteral("Label6(1)")));

        for (QLabel* label : allValueLabels(form)) {
            QCOMPARE(label->text(), QStringLiteral("0.00"));
            QVERIFY(!label->isHidden());
        }
        QCOMPARE(form.dial()->angle(), 30);
        for (QTimer* timer : form.findChildren<QTimer*>())
            QVERIFY2(!timer->isActive(), qPrintable(timer->objectName()));

        // The needle rests on whole twips at the left end of the scale.
        const QLineF needle = form.dial()->needle()->line();
        QCOMPARE(needle.p1(), QPointF(1944, 2110));
        QCOMPARE(needle.p2(), QPointF(480, 1265));

        // An empty tube in its back colour.
        const QImage& tube = form.bar()->tube()->keptImage();
        QCOMPARE(tube.size(), QSize(33, 333));
        for (int y = 0; y < tube.height(); y += 7)
            QCOMPARE(tube.pixelColor(16, y), BarTube::kBack);

        // Every box shows whole inside the window, each with its two frames on its bounds.
        const QList<std::pair<QWidget*, QString>> boxes{
            {form.dial(), "Biao"}, {form.digital(), "Digital"}, {form.bar(), "progress"}};
        for (const auto& [box, prefix] : boxes) {
            QVERIFY2(form.rect().contains(box->geometry()), qPrintable(box->objectName()));
            for (const QString& suffix : {QStringLiteral("Shape1"), QStringLiteral("Shape2")}) {
                auto* frame = form.findChild<FrameShape*>(prefix + suffix);
                QVERIFY(frame);
                QCOMPARE(frame->box(), box->geometry());
            }
        }
        QCOMPARE(form.dial()->size(), QSize(280, 153));
        QCOMPARE(form.digital()->size(), QSize(280, 113));
        QCOMPARE(form.bar()->size(), QSize(100, 400));
    }

    void needleTargets_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("target");
        QTest::newRow("half: straight up") << 0.5f << 90;
        QTest::newRow("just below full") << 0.999f << 149;
        QTest::newRow("full") << 1.0f << 150;
        QTest::newRow("past full") << 2.5f << 150;
        QTest::newRow("zero") << 0.0f << 30;
        QTest::newRow("negative") << -0.4f << 30;
        QTest::newRow("under one degree") << 0.0083f << 30;
    }
    void needleTargets() {
        QFETCH(float, value);
        QFETCH(int, target);
        Form14 form;
        DialMeter& dial = *form.dial();
        const QLineF restLine = dial.needle()->line();
        form.showTestValue(value);
        QVERIFY(dial.needleTimer()->isActive());
        QCOMPARE(dial.needleTimer()->interval(), 50);

        // One degree per tick, and the timer stops on arrival (at once when there is nowhere to go).
        QCOMPARE(runNeedle(dial), std::max(1, target - 30));
        QVERIFY(!dial.needleTimer()->isActive());
        QCOMPARE(dial.angle(), target);
        QCOMPARE(dial.target(), target);
        // A needle that never moved keeps its whole-twip rest position.
        QCOMPARE(dial.needle()->line(), target == 30 ? restLine : DialMeter::needleLine(target));
    }

    void needleTurnsMidSwing() {
        Form14 form;
        DialMeter& dial = *form.dial();
        form.showTestValue(1.0f);
        for (int i = 0; i < 40; ++i)
            dial.BiaoTimer1_Timer();
        QCOMPARE(dial.angle(), 70);

        // Back down without a jump: the next step is one degree from where it stood.
        form.showTestValue(0.2f);
        dial.BiaoTimer1_Timer();
        QCOMPARE(dial.angle(), 69);
        QCOMPARE(runNeedle(dial), 69 - 54);
        QCOMPARE(dial.angle(), 54);

        // And on again past where the first swing was heading from.
        form.showTestValue(0.75f);
        QCOMPARE(runNeedle(dial), 120 - 54);
        QCOMPARE(dial.angle(), 120);

        // The needle's far end follows the 3.14-based angle without rounding.
        const QLineF needle = dial.needle()->line();
        QVERIFY(qAbs(needle.x2() - (2100 - 1870 * std::cos(120 * 3.14 / 180))) < 1e-9);
        QVERIFY(qAbs(needle.y2() - (2200 - 1870 * std::sin(120 * 3.14 / 180))) < 1e-9);
    }

    void alarmLimits_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<bool>("alarms");
        QTest::newRow("upper limit") << 0.9f << true;
        QTest::newRow("just under the upper limit") << 0.8999999f << false;
        QTest::newRow("lower limit") << 0.1f << true;
        QTest::newRow("just over the lower limit") << 0.1000001f << false;
        QTest::newRow("zero") << 0.0f << true;
        QTest::newRow("above full") << 1.25f << true;
        QTest::newRow("middle") << 0.5f << false;
    }
    void alarmLimits() {
        QFETCH(float, value);
        QFETCH(bool, alarms);
        QCOMPARE(isAlarmValue(value), alarms);
        Form14 form;
        form.showTestValue(value);
        for (QTimer* timer : blinkTimers(form)) {
            QCOMPARE(timer->isActive(), alarms);
            QCOMPARE(timer->interval(), 400);
        }
    }

    void blinkingTogglesAndABandValueStopsIt() {
        Form14 form;
        form.showTestValue(0.95f);
        const QList<QLabel*> labels = allValueLabels(form);

        auto blinkAll = [&] {
            form.dial()->BiaoBJTimer1_Timer();
            form.digital()->DigitalBJTimer1_Timer();
            form.bar()->progressBJTimer1_Timer();
        };
        blinkAll();
        for (QLabel* label : labels)
            QVERIFY2(label->isHidden(), qPrintable(label->objectName()));
        blinkAll();
        for (QLabel* label : labels)
            QVERIFY2(!label->isHidden(), qPrintable(label->objectName()));

        // A second alarming value leaves the labels as they are mid-blink.
        blinkAll();
        form.showTestValue(0.05f);
        QVERIFY(form.dial()->valueLabel()->isHidden());
        QVERIFY(form.digital()->valueLabels()[1]->isHidden());

        // A value inside the band ends every alarm with every text showing.
        form.showTestValue(0.5f);
        for (QTimer* timer : blinkTimers(form))
            QVERIFY(!timer->isActive());
        for (QLabel* label : labels)
            QVERIFY2(!label->isHidden(), qPrintable(label->objectName()));
    }

    void barRedrawsFromScratchOnEachValue() {
        Form14 form;
        form.showTestValue(0.97f);
        form.bar()->progressBJTimer1_Timer();
        QVERIFY(form.bar()->valueLabel()->isHidden());

        form.bar()->InitProgress1();
        QVERIFY(!form.bar()->blinkTimer()->isActive());
        QCOMPARE(form.bar()->valueLabel()->text(), QStringLiteral("0.00"));
        QCOMPARE(form.bar()->tube()->keptImage().pixelColor(16, 330), BarTube::kBack);
        // The other meters' alarms are not the bar's to reset.
        QVERIFY(form.dial()->blinkTimer()->isActive());
        QVERIFY(form.digital()->blinkTimer()->isActive());
    }

    void valueTexts() {
        Form14 form;
        form.showTestValue(0.5f);
        for (QLabel* label : allValueLabels(form))
            QCOMPARE(label->text(), QStringLiteral("0.500"));
        // No end stop on the texts, though the needle and the column stop at full.
        form.showTestValue(1.25f);
        for (QLabel* label : allValueLabels(form))
            QCOMPARE(label->text(), QStringLiteral("1.250"));
        QCOMPARE(form.bar()->percent(), 100);

        // A click shows one random value in [0, 1) on every meter.
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
        const float v = form.dial()->value();
        QVERIFY(v >= 0 && v < 1);
        QCOMPARE(form.bar()->value(), v);
        for (QLabel* label : allValueLabels(form))
            QCOMPARE(label->text(), QString::number(v, 'f', 3));

        float lowest = 1, highest = 0;
        for (int i = 0; i < 20000; ++i) {
            const float r = form.nextTestValue();
            QVERIFY(r >= 0 && r < 1);
            lowest = std::min(lowest, r);
            highest = std::max(highest, r);
        }
        QVERIFY(lowest < 0.01f && highest > 0.99f);
    }

    void barColumn_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("level");
        QTest::newRow("zero") << 0.0f << 0 << 333;
        QTest::newRow("negative") << -0.3f << 0 << 333;
        QTest::newRow("half") << 0.505f << 50 << 167;
        QTest::newRow("nearly full") << 0.999f << 99 << 3;
        QTest::newRow("full") << 1.0f << 100 << 0;
        QTest::newRow("past full") << 4.0f << 100 << 0;
    }
    void barColumn() {
        QFETCH(float, value);
        QFETCH(int, percent);
        QFETCH(int, level);
        QCOMPARE(BarMeter::percentFor(value), percent);
        QCOMPARE(BarTube::columnExtent(percent), (BarTube::Extent{level, 333}));

        Form14 form;
        form.showTestValue(value);
        QCOMPARE(form.bar()->percent(), percent);
        QCOMPARE(form.bar()->valueLabel()->text(), QString::number(value, 'f', 3));
        const QImage& tube = form.bar()->tube()->keptImage();
        for (int y = 0; y < tube.height(); ++y) {
            const QColor c = tube.pixelColor(16, y);
            const bool inColumn = c.green() == 255 && c.red() == c.blue() && c.red() > 0;
            // The 2-pixel pens reach a row past each end of the column.
            if (y < level - 1 || percent == 0)
                QVERIFY2(c == BarTube::kBack, qPrintable(QStringLiteral("row %1").arg(y)));
            else if (y > level && y < 332)
                QVERIFY2(inColumn, qPrintable(QStringLiteral("row %1").arg(y)));
        }
        if (percent > 0) {
            // Pale green at the edges, white in the middle.
            const int row = (level + 333) / 2;
            QVERIFY(tube.pixelColor(1, row).red() < 60);
            QVERIFY(tube.pixelColor(16, row).red() > 200);
            QVERIFY(tube.pixelColor(31, row).red() < 60);
        }
    }

    void keptPictures() {
        Form14 form;
        // The grey background of each box: darkest band at the top, white at the bottom.
        for (const QImage* image :
             {&form.dial()->keptImage(), &form.digital()->keptImage(), &form.bar()->keptImage()}) {
            QCOMPARE(image->pixelColor(2, 0), QColor(82, 82, 82));
            QCOMPARE(image->pixelColor(2, image->height() - 1), QColor(255, 255, 255));
            // Band 24 sits on a tie (132.5) that rounds to even.
            const int row = static_cast<int>(image->height() * 23.5 / 80);
            QCOMPARE(image->pixelColor(2, row), QColor(132, 132, 132));
        }

        // The dial's five colour bands, sampled between ticks near the outer edge of the band.
        const QList<QColor> dialBands{{51, 204, 255}, {102, 153, 255}, {153, 102, 255}, {204, 51, 255}, {255, 0, 255}};
        for (int band = 1; band <= 5; ++band) {
            const QPointF at = DialMeter::pointAt(1900, 30 + 24 * (band - 1) + 12);
            QCOMPARE(pixelAt(form.dial()->keptImage(), at), dialBands[band - 1]);
        }

        // The bar scale's colour boxes, top to bottom, between the major tick and the first minor one.
        const QList<QColor> barFifths{{204, 51, 255}, {153, 102, 255}, {102, 153, 255}, {51, 204, 255}, {0, 255, 255}};
        for (int j = 1; j <= 5; ++j)
            QCOMPARE(pixelAt(form.bar()->keptImage(), QPointF(735, (j - 1) * 1000 + 510 + 100)), barFifths[j - 1]);
    }

    void closingStopsEveryTimer() {
        for (bool viaCloseBox : {true, false}) {
            Form14 form;
            form.show();
            form.showTestValue(0.99f);
            QVERIFY(form.dial()->needleTimer()->isActive());
            for (QTimer* timer : blinkTimers(form))
                QVERIFY(timer->isActive());
            if (viaCloseBox)
                form.close();
            else
                form.reject();
            for (QTimer* timer : form.findChildren<QTimer*>())
                QVERIFY2(!timer->isActive(), qPrintable(timer->objectName()));
        }
    }
};

static GuiTestRegistration<MeterTests> registration;

#include "test_meters.moc"

#include "gui/meters/form14.h"

#include "gui/meters/alarm.h"
#include "gui/meters/bar_meter.h"
#include "gui/meters/dial_meter.h"
#include "gui/meters/digital_meter.h"
#include "gui/meters/frame_shape.h"
#include "gui/meters/meter_drawing.h"

#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

using namespace hz::gui;

using namespace meters;

namespace {
// The window is taller than its first design so the bar meter's box shows whole.
constexpr double kClientWidth = 13410, kClientHeight = 9900;

const QString kPromoText = QStringLiteral("HzDot：汉字点阵取模，一键生成汇编与C数组");
// Rich text only for the line spacing: the CJK fallback glyphs are taller than the face's own lines.
const QString kAboutText = QStringLiteral("<div style=\"line-height:125%\">"
                                          "这里演示三种仪表：指针表、数字表和柱状表。<br>"
                                          "点击“点我”产生0到1伏之间的随机电压，<br>"
                                          "三块表同时显示。电压不低于0.9v或不高于<br>"
                                          "0.1v时，表上的数值闪烁并鸣响报警，直到<br>"
                                          "下一个电压落回正常范围。</div>");
} // namespace

Form14::Form14(QWidget* parent) : QDialog(parent), generator(std::random_device{}()) {
    setObjectName(QStringLiteral("Form14"));
    setWindowTitle(QStringLiteral("ads"));
    setWindowIcon(QIcon());
    createControls();
    placeControls();
    connectSignals();
    Form_Load();
}

QLabel* Form14::addLabel(const QString& name, const QString& text, const QFont& font) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setFont(font);
    return label;
}

FrameShape* Form14::addFrame(const QString& name) {
    auto* frame = new FrameShape(this);
    frame->setObjectName(name);
    return frame;
}

void Form14::createControls() {
    // Frames first, so the boxes they outline lie over them.
    BiaoShape1 = addFrame(QStringLiteral("BiaoShape1"));
    BiaoShape2 = addFrame(QStringLiteral("BiaoShape2"));
    DigitalShape1 = addFrame(QStringLiteral("DigitalShape1"));
    DigitalShape2 = addFrame(QStringLiteral("DigitalShape2"));
    progressShape1 = addFrame(QStringLiteral("progressShape1"));
    progressShape2 = addFrame(QStringLiteral("progressShape2"));

    Biao1 = new DialMeter(this);
    Biao1->setFrames(BiaoShape1, BiaoShape2);
    Digital1 = new DigitalMeter(this);
    Digital1->setFrames(DigitalShape1, DigitalShape2);
    progress1 = new BarMeter(this);
    progress1->setFrames(progressShape1, progressShape2);

    Command1 = new QPushButton(QStringLiteral("点我"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setFont(songTiPixels(10.5, false));
    Command1->setAutoDefault(false);

    const QFont heading = songTiPixels(26.25, false);
    Label1 = addLabel(QStringLiteral("Label1"), QStringLiteral("上限报警:0.9v"), heading);
    Label2 = addLabel(QStringLiteral("Label2"), QStringLiteral("下限报警:0.1v"), heading);
    Label3 = addLabel(QStringLiteral("Label3"), QStringLiteral("数字表"), heading);
    Label4 = addLabel(QStringLiteral("Label4"), QStringLiteral("模拟表"), heading);
    const QFont small = songTiPixels(10.5, false);
    Label6_0 = addLabel(QStringLiteral("Label6(0)"), kPromoText, small);
    Label6_1 = addLabel(QStringLiteral("Label6(1)"), kAboutText, small);
}

void Form14::placeControls() {
    setFixedSize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight));
    // The meters take their run-time sizes when they are set up; only their places are fixed here.
    Biao1->move(twipsToPixels(240), twipsToPixels(840));
    Digital1->move(twipsToPixels(6000), twipsToPixels(840));
    progress1->move(twipsToPixels(4800), twipsToPixels(3720));
    Command1->setGeometry(twipsRect(7680, 4080, 1215, 495));

    struct Place {
        QLabel* label;
        double left, top;
    };
    for (const Place& place : {Place{Label1, 720, 6600}, Place{Label2, 720, 7320}, Place{Label3, 7080, 240},
                               Place{Label4, 1560, 120}, Place{Label6_0, 7800, 5280}, Place{Label6_1, 7800, 5760}}) {
        place.label->move(twipsToPixels(place.left), twipsToPixels(place.top));
        place.label->adjustSize();
    }
}

void Form14::connectSignals() {
    connect(Command1, &QPushButton::clicked, this, &Form14::Command1_Click);
}

void Form14::Form_Load() {
    Biao1->InitBiao1();
    Digital1->InitDigital1();
    progress1->InitProgress1();
}

float Form14::nextTestValue() {
    // 24 random bits scaled by 2^-24: every float this gives is below 1.
    return static_cast<float>(generator() >> 8) * (1.0f / 16777216.0f);
}

void Form14::Command1_Click() {
    showTestValue(nextTestValue());
}

void Form14::showTestValue(float value) {
    progress1->InitProgress1();

    Biao1->showValue(value);
    AlarmCheck(value, *Biao1->blinkTimer(), {Biao1->valueLabel()});

    Digital1->showValue(value);
    AlarmCheck(value, *Digital1->blinkTimer(), Digital1->valueLabels());

    progress1->setValue(value);
    progress1->progressShow1();
    AlarmCheck(value, *progress1->blinkTimer(), {progress1->valueLabel()});
}

void Form14::stopTimers() {
    for (QTimer* timer : findChildren<QTimer*>())
        timer->stop();
}

void Form14::done(int result) {
    stopTimers();
    QDialog::done(result);
}

void Form14::closeEvent(QCloseEvent* event) {
    stopTimers();
    QDialog::closeEvent(event);
}

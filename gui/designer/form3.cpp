#include "gui/designer/form3.h"

#include "gui/common/gradient.h"
#include "gui/common/module1.h"
#include "gui/common/rain_button.h"
#include "gui/common/song_font.h"
#include "gui/common/twips.h"
#include "gui/common/wait_cursor.h"
#include "gui/designer/button_pictures.h"
#include "gui/designer/spacing_cell.h"

#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QPlainTextEdit>
#include <algorithm>

using namespace hz::gui;

namespace {

const QColor kButtonColor(130, 240, 217);

} // namespace

Form3::Form3(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("设计12*12字符按照16*16字符处理的方案"));
    createControls();
    placeControls();
    connectSignals();
    load();
}

void Form3::createControls() {
    Picture1 = new GradientPanel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));

    Shape1 = new QFrame(Picture1);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setFrameShadow(QFrame::Plain);

    Text1 = new QPlainTextEdit(Picture1);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setFont(chooseViewFont(10.5, {QStringLiteral("■"), QStringLiteral("□")}));
    Text1->setReadOnly(true);
    Text1->setFocusPolicy(Qt::NoFocus);
    Text1->setTextInteractionFlags(Qt::NoTextInteraction);
    // A wrapped or scrolled row would break the picture; sixteen marks fit the box exactly.
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setFrameShape(QFrame::Box);
    Text1->setLineWidth(1);
    Text1->document()->setDocumentMargin(1);

    const std::array<ArrowDirection, 4> arrows = {ArrowDirection::Left, ArrowDirection::Up, ArrowDirection::Right,
                                                  ArrowDirection::Down};
    for (int i = 0; i < 4; ++i) {
        RainButton1[i] = new RainButton(QString(), Picture1);
        RainButton1[i]->setObjectName(QStringLiteral("RainButton1(%1)").arg(i));
        RainButton1[i]->setPicture(arrowPicture(arrows[i]));
    }
    const std::array<QString, 2> choiceTips = {QStringLiteral("确定"), QStringLiteral("取消")};
    for (int i = 0; i < 2; ++i) {
        RainButton2[i] = new RainButton(QString(), Picture1);
        RainButton2[i]->setObjectName(QStringLiteral("RainButton2(%1)").arg(i));
        RainButton2[i]->setToolTip(choiceTips[i]);
    }
    RainButton2[0]->setPicture(tickPicture());
    RainButton2[1]->setPicture(crossPicture());

    Label1 = new QLabel(Picture1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(Picture1);
    Label2->setObjectName(QStringLiteral("Label2"));
    for (QLabel* label : {Label1, Label2})
        label->setFont(windowFont(9));
}

void Form3::placeControls() {
    setFixedSize(fromTwips(0, 0, 6270, 5430).size());
    Picture1->setGeometry(fromTwips(0, 0, 6255, 5415));
    Text1->setGeometry(fromTwips(840, 960, 3435, 3435));
    RainButton1[0]->setGeometry(fromTwips(120, 2280, 615, 615));
    RainButton1[1]->setGeometry(fromTwips(2280, 240, 615, 615));
    RainButton1[2]->setGeometry(fromTwips(4400, 2280, 615, 615));
    RainButton1[3]->setGeometry(fromTwips(2280, 4500, 615, 615));
    RainButton2[0]->setGeometry(fromTwips(5160, 3600, 735, 615));
    RainButton2[1]->setGeometry(fromTwips(5160, 4440, 735, 615));
    Label1->setGeometry(fromTwips(4440, 240, 840, 210));
    Label2->setGeometry(fromTwips(4440, 600, 840, 210));
    Shape1->setGeometry(fromTwips(4320, 120, 1695, 855));
}

void Form3::connectSignals() {
    for (int i = 0; i < 4; ++i)
        connect(RainButton1[i], &QPushButton::clicked, this, [this, i] { arrowClick(i); });
    for (int i = 0; i < 2; ++i)
        connect(RainButton2[i], &QPushButton::clicked, this, [this, i] { choiceClick(i); });
}

void Form3::load() {
    const ProgramSettings& settings = Module1();
    QPalette palette = Text1->palette();
    palette.setColor(QPalette::Base, settings.ViewBackColor);
    palette.setColor(QPalette::Text, settings.ViewForeColor);
    Text1->setPalette(palette);
    // The window is modal, so the marks cannot change while it is open; keeping a copy makes the
    // preview independent of the settings' later life all the same.
    marks = settings.marks();

    Picture1->paintGradient();
    for (RainButton* button : RainButton1)
        button->applyStyle(kButtonColor);
    for (RainButton* button : RainButton2)
        button->applyStyle(kButtonColor);

    // Out-of-range settings would push dots out of the cell; they never occur, but hold the line here.
    X = std::clamp<int>(settings.SpaceX, 0, kMaxSpace);
    Y = std::clamp<int>(settings.SpaceY, 0, kMaxSpace);
    writeLabels();
    CellRows = placedSample(X, Y);
    ShowGlyph();
}

void Form3::writeLabels() {
    Label1->setText(QStringLiteral("X间隔 : %1").arg(X));
    Label2->setText(QStringLiteral("Y间隔 : %1").arg(Y));
}

void Form3::ShowGlyph() {
    WaitCursor hourglass;
    shownText = designerGlyphText(CellRows, marks);
    // The box shows lines, not line ends: the closing CR LF would only add an empty line.
    QString shown = shownText;
    shown.chop(2);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Text1->setPlainText(shown);
}

void Form3::arrowClick(int index) {
    int newX = X;
    int newY = Y;
    switch (index) {
    case 0:
        --newX;
        break;
    case 1:
        --newY;
        break;
    case 2:
        ++newX;
        break;
    case 3:
        ++newY;
        break;
    default:
        return;
    }
    if (newX >= 0 && newX <= kMaxSpace && newY >= 0 && newY <= kMaxSpace) {
        X = newX;
        Y = newY;
        // The sample is placed afresh rather than nudged, by the very rule lookups use; within
        // 0..4 the two are the same, as no dot ever leaves the cell.
        CellRows = placedSample(X, Y);
        ShowGlyph();
    }
    writeLabels();
}

void Form3::choiceClick(int index) {
    if (index == 0) {
        Module1().SpaceX = static_cast<qint16>(X);
        Module1().SpaceY = static_cast<qint16>(Y);
        accept();
    } else if (index == 1) {
        reject();
    }
}

#include "gui/mainwin/text_panel.h"

#include "core/layout/layout_presets.h"
#include "core/output/export_layout.h"
#include "core/text/byte_text.h"
#include "gui/common/grey_depth.h"
#include "gui/common/song_font.h"
#include "gui/common/text_copy.h"
#include "gui/mainwin/link_label.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace hz::gui {

namespace {

// The boxes' names: Text2, Text4 .. Text7 for assembly, Text8 .. Text12 for C.
QString assemblyBoxName(int k) {
    return k == 0 ? QStringLiteral("Text2") : QStringLiteral("Text%1").arg(k + 3);
}
QString cBoxName(int k) {
    return QStringLiteral("Text%1").arg(k + 8);
}

constexpr int kScrollBarWidth = 17;
constexpr int kLabelWidth = 64;
// The chosen layout's box holds an assembly block and a C block: it is two boxes high.
constexpr int kChosenTop = hz::kArrangementCount * TextPanel::kBoxPitch;
constexpr int kChosenHeight = 2 * TextPanel::kBoxPitch + 1;
constexpr int kFiveScrollSteps = 2;   // the five boxes, three at a time
constexpr int kChosenScrollSteps = 4; // and the chosen layout's box below them

QPlainTextEdit* makeBox(const QString& name, const QFont& font, QWidget* parent) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFont(font);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette colours = box->palette();
    colours.setColor(QPalette::Base, Qt::white);
    box->setPalette(colours);
    return box;
}

} // namespace

TextPanel::TextPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Picture3"));
    setFrameShape(QFrame::NoFrame);

    Picture5 = new QWidget(this);
    Picture5->setObjectName(QStringLiteral("Picture5"));
    VScroll1 = new QScrollBar(Qt::Vertical, this);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    VScroll1->setRange(0, 2);
    VScroll1->setSingleStep(1);
    VScroll1->setPageStep(1);

    // An assembly line is 50 characters; at 9 pt it fits the box beside its scroll bar.
    const QFont boxFont = windowFont(9);
    static const char* const names[] = {"横排", "下上列排", "上下列排", "下半列排", "上半列排"};
    static const char* const arrows[] = {"→→→→", "↑↑↑↑", "↓↓↓↓", "↑↘↑↘", "↓↗↓↗"};
    for (int k = 0; k < hz::kArrangementCount; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const int top = k * kBoxPitch;
        nameLabels[i] = new QLabel(QString::fromUtf8(names[k]), Picture5);
        nameLabels[i]->setObjectName(QStringLiteral("Label4(%1)").arg(k));
        nameLabels[i]->setGeometry(2, top + 14, kLabelWidth - 4, 22);
        nameLabels[i]->setAlignment(Qt::AlignCenter);
        arrowLabels[i] = new LinkLabel(QString::fromUtf8(arrows[k]), Picture5);
        arrowLabels[i]->setObjectName(QStringLiteral("Label5(%1)").arg(k));
        arrowLabels[i]->setGeometry(2, top + 42, kLabelWidth - 4, 22);
        arrowLabels[i]->setAlignment(Qt::AlignCenter);

        assemblyBoxes[i] = makeBox(assemblyBoxName(k), boxFont, Picture5);
        cBoxes[i] = makeBox(cBoxName(k), boxFont, Picture5);
        for (QPlainTextEdit* box : {assemblyBoxes[i], cBoxes[i]}) {
            box->setGeometry(kLabelWidth, top, kBoxWidth, kBoxHeight);
            hz::gui::addCopyAction(box);
        }
        QPlainTextEdit* cBox = cBoxes[i];
        hz::gui::addArrayCopyAction(cBox, [cBox] { return cBox->toPlainText(); });
    }

    chosenLabel = new QLabel(Picture5);
    chosenLabel->setObjectName(QStringLiteral("ChosenLayoutName"));
    chosenLabel->setGeometry(2, kChosenTop + 14, kLabelWidth - 4, kChosenHeight - 28);
    chosenLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    chosenLabel->setWordWrap(true); // a long name breaks after its hyphens
    chosenBox = makeBox(QStringLiteral("ChosenLayoutText"), boxFont, Picture5);
    chosenBox->setGeometry(kLabelWidth, kChosenTop, kBoxWidth, kChosenHeight);
    hz::gui::addCopyAction(chosenBox);
    hz::gui::addArrayCopyAction(chosenBox, [this] { return chosenCFields; });
    chosenLabel->hide();
    chosenBox->hide();

    Picture5->resize(kLabelWidth + kBoxWidth + 2, (hz::kArrangementCount - 1) * kBoxPitch + kBoxHeight);
    resize(417, 3 * kBoxPitch + 1);
    connect(VScroll1, &QScrollBar::valueChanged, this, &TextPanel::scrollTo);
    showAssemblySet();
}

void TextPanel::showTexts(const hz::GlyphRecord& record, int depth) {
    for (std::size_t i = 0; i < assemblyBoxes.size(); ++i) {
        const auto arrangement = static_cast<hz::Arrangement>(i);
        assemblyBoxes[i]->setPlainText(assemblyTextAt(record, arrangement, depth));
        cBoxes[i]->setPlainText(cTextAt(record, arrangement, depth));
    }
    if (chosen) {
        // The chosen layout as an export at the window's depth writes it, or why it has no such form.
        const auto choice = choiceAtDepth(hz::LayoutChoice::of(*chosen), depth);
        if (!choice) {
            chosenBox->setPlainText(kPagesOneBitNote);
            chosenCFields.clear();
            return;
        }
        chosenBox->setPlainText(QString::fromStdString(hz::exportCurrentText(record, *choice)));
        chosenCFields = QString::fromStdString(hz::cText(hz::exportBytes(record, hz::exportForms(*choice).front())));
    }
}

void TextPanel::clearTexts() {
    for (std::size_t i = 0; i < assemblyBoxes.size(); ++i) {
        assemblyBoxes[i]->clear();
        cBoxes[i]->clear();
    }
    chosenBox->clear();
    chosenCFields.clear();
}

void TextPanel::setChosenLayout(const std::optional<hz::Layout>& layout) {
    chosen = layout;
    chosenBox->clear();
    chosenCFields.clear();
    const int fiveHeight = (hz::kArrangementCount - 1) * kBoxPitch + kBoxHeight;
    if (!layout) {
        chosenBox->hide();
        chosenLabel->hide();
        Picture5->resize(Picture5->width(), fiveHeight);
        VScroll1->setRange(0, kFiveScrollSteps);
        return;
    }
    chosenLabel->setText(QStringLiteral("所选排列\n") + QString::fromStdString(hz::layoutName(*layout)));
    chosenBox->show();
    chosenLabel->show();
    Picture5->resize(Picture5->width(), kChosenTop + kChosenHeight);
    VScroll1->setRange(0, kChosenScrollSteps);
    // The user has just chosen it: it comes into view.
    VScroll1->setValue(kChosenScrollSteps);
}

void TextPanel::showAssemblySet() {
    cSetShown = false;
    for (std::size_t i = 0; i < assemblyBoxes.size(); ++i) {
        cBoxes[i]->hide();
        assemblyBoxes[i]->show();
    }
}

void TextPanel::showCSet() {
    cSetShown = true;
    for (std::size_t i = 0; i < assemblyBoxes.size(); ++i) {
        assemblyBoxes[i]->hide();
        cBoxes[i]->show();
    }
}

void TextPanel::scrollTo(int value) {
    Picture5->move(0, -value * kBoxPitch);
}

void TextPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    Picture5->resize(width() - kScrollBarWidth, Picture5->height());
    VScroll1->setGeometry(width() - kScrollBarWidth, 0, kScrollBarWidth, height());
}

} // namespace hz::gui

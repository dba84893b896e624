#include "gui/mainwin/key_panel.h"

#include "gui/common/module1.h"
#include "gui/common/song_font.h"

#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <algorithm>

namespace hz::gui {

namespace {
constexpr QSize kPanelSize{220, 249};
constexpr QSize kShadowSize{217, 249};
constexpr QPoint kShadowOffset{8, 7};
constexpr int kTop = 136;
constexpr int kInsertLeft = 112;
constexpr int kMarkLeft = 264;

constexpr int kKeyColumns = 9;
constexpr int kKeySide = 25;
constexpr int kKeyPitch = 24;
constexpr int kKeysTop = 32;
constexpr int kTopRowHeight = 25;

// The keys as they stand on the panel, nine to a row.
constexpr char16_t kSymbols[] = u"＋－×÷■？／￥＄"
                                u"◆◇○●∑℃％‰￡"
                                u"★☆〈〉《》『』【"
                                u"】〖〗：；①②③④"
                                u"⑤⑥⑦⑧⑨⑩１２３"
                                u"４５６７８９０ＡＢ"
                                u"ＣＤＥＦＧＨＩＪＫ"
                                u"ＬＭＮＯＰＱＲＳＴ"
                                u"ＵＶＷＸＹＺ，。！";
static_assert(std::size(kSymbols) - 1 == KeyPanel::kKeyCount);

struct CaretKey {
    const char16_t* caption;
    int x;
    int width;
};
// By index: backspace, caret back, caret forward.
constexpr CaretKey kCaretKeys[] = {{u"退格←", 128, 89}, {u"前移<<", 0, 57}, {u"后移>>", 64, 57}};

const QString kLabelPrompt = QStringLiteral("请输入字符 : ");

} // namespace

QString KeyPanel::keySymbol(int key) {
    if (key < 0 || key >= kKeyCount)
        return {};
    return QString(QChar(kSymbols[key]));
}

KeyPanel::KeyPanel(QLineEdit* Text3, QWidget* parent) : GradientPanel(parent), Text3(Text3) {
    Q_ASSERT(parent);
    setObjectName(QStringLiteral("Picture1"));
    setFixedSize(kPanelSize);
    setFont(windowFont(10.5));
    createKeys();
    createCaretKeys();
    createLabel();
    createShadow(parent);
    paintGradient();
    setLayoutFor(InsertMode, kInsertLeft);
    hide();
}

KeyPanel::~KeyPanel() {
    // The shadow belongs to the parent; don't leave it behind if the panel goes first.
    if (shadow)
        shadow->deleteLater();
}

void KeyPanel::createKeys() {
    for (int k = 0; k < kKeyCount; ++k) {
        auto* key = new QPushButton(keySymbol(k), this);
        key->setObjectName(QStringLiteral("Command4(%1)").arg(k));
        key->setGeometry(k % kKeyColumns * kKeyPitch, kKeysTop + k / kKeyColumns * kKeyPitch, kKeySide, kKeySide);
        // Keys never take the focus: a click must not clear the input box's selection or caret.
        key->setFocusPolicy(Qt::NoFocus);
        key->setMouseTracking(true);
        key->installEventFilter(this);
        connect(key, &QPushButton::clicked, this, [this, k] { keyClicked(k); });
        keys[k] = key;
    }
}

void KeyPanel::createCaretKeys() {
    for (int i = 0; i < 3; ++i) {
        const CaretKey& caretKey = kCaretKeys[i];
        auto* key = new QPushButton(QString::fromUtf16(caretKey.caption), this);
        key->setObjectName(QStringLiteral("Command5(%1)").arg(i));
        key->setGeometry(caretKey.x, 0, caretKey.width, kTopRowHeight);
        key->setFocusPolicy(Qt::NoFocus);
        caretKeys[i] = key;
    }
    connect(caretKeys[0], &QPushButton::clicked, this, &KeyPanel::backspace);
    connect(caretKeys[1], &QPushButton::clicked, this, &KeyPanel::caretBack);
    connect(caretKeys[2], &QPushButton::clicked, this, &KeyPanel::caretForward);
}

void KeyPanel::createLabel() {
    Label7 = new QLabel(kLabelPrompt, this);
    Label7->setObjectName(QStringLiteral("Label7"));
    QFont bold = font();
    bold.setBold(true);
    Label7->setFont(bold);
    Label7->setGeometry(4, 0, kPanelSize.width() - 4, kTopRowHeight);
}

void KeyPanel::createShadow(QWidget* parent) {
    shadow = new QWidget(parent);
    shadow->setObjectName(QStringLiteral("Picture2"));
    shadow->setFixedSize(kShadowSize);
    QPalette palette = shadow->palette();
    palette.setColor(QPalette::Window, QColor(0, 128, 128));
    shadow->setPalette(palette);
    shadow->setAutoFillBackground(true);
    shadow->hide();
}

void KeyPanel::toggleInsertMode() {
    setLayoutFor(InsertMode, kInsertLeft);
    toggleVisible();
    if (Text3)
        Text3->setFocus();
}

void KeyPanel::toggleMarkMode() {
    setLayoutFor(MarkMode, kMarkLeft);
    toggleVisible();
}

void KeyPanel::hidePanel() {
    hide();
    if (shadow)
        shadow->hide();
}

void KeyPanel::setLayoutFor(Mode newMode, int left) {
    mode = newMode;
    for (QPushButton* key : caretKeys)
        key->setVisible(mode == InsertMode);
    Label7->setVisible(mode == MarkMode);
    move(left, kTop);
    if (shadow)
        shadow->move(QPoint(left, kTop) + kShadowOffset);
}

void KeyPanel::toggleVisible() {
    if (isOpen()) {
        hidePanel();
        return;
    }
    if (shadow)
        shadow->show();
    show();
    // Above the window's other controls, with the shadow directly beneath.
    raise();
    if (shadow)
        shadow->stackUnder(this);
}

void KeyPanel::keyClicked(int key) {
    const QString symbol = keys[key]->text();
    if (mode == MarkMode) {
        Module1().DotMark = symbol;
        emit dotMarkChosen(symbol);
        return;
    }
    if (!Text3)
        return;
    // The symbol follows a selection rather than replacing it; the caret ends up after the symbol,
    // so that the next key continues from there.
    if (Text3->hasSelectedText()) {
        const int end = Text3->selectionEnd();
        Text3->deselect();
        Text3->setCursorPosition(end);
    }
    Text3->insert(symbol);
    Text3->setFocus();
}

void KeyPanel::keyHovered(int key) {
    if (mode != MarkMode || key == lastHoverKey)
        return;
    Label7->setText(kLabelPrompt + keys[key]->text());
    lastHoverKey = key;
}

// The caret keys act at the caret; a selection is ignored. The edit box's own steps keep a
// surrogate pair together.
void KeyPanel::backspace() {
    if (!Text3)
        return;
    if (Text3->cursorPosition() > 0) {
        Text3->deselect();
        Text3->backspace();
    }
    Text3->setFocus();
}

void KeyPanel::caretBack() {
    if (!Text3)
        return;
    Text3->cursorBackward(false);
    Text3->setFocus();
}

void KeyPanel::caretForward() {
    if (!Text3)
        return;
    Text3->cursorForward(false);
    Text3->setFocus();
}

bool KeyPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
        const auto found = std::find(keys.begin(), keys.end(), watched);
        if (found != keys.end())
            keyHovered(static_cast<int>(found - keys.begin()));
    }
    return GradientPanel::eventFilter(watched, event);
}

} // namespace hz::gui

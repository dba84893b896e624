#include "gui/help/form13.h"

#include "gui/common/song_font.h"
#include "gui/common/twips.h"
#include "gui/help/help_icons.h"
#include "gui/help/help_topics.h"
#include "gui/help/splitter_bar.h"

#include <QHash>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <algorithm>

using namespace hz::gui;

namespace {

constexpr int kBarWidth = 12; // 180 twips
constexpr int kKeyRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;

} // namespace

Form13::Form13(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form13"));
    setWindowTitle(QStringLiteral("帮助"));
    createControls();
    placeControls();
    connectSignals();
    load();
}

void Form13::createControls() {
    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setColumnCount(1);
    TreeView1->setIconSize(QSize(kHelpIconSide, kHelpIconSide));
    TreeView1->setFont(windowFont());
    TreeView1->setRootIsDecorated(true);

    Command1 = new SplitterBar(this);
    Command1->setObjectName(QStringLiteral("Command1"));

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    // The diagrams line up only where two spaces are as wide as one mark.
    Text1->setFont(chooseViewFont(10.5, {QStringLiteral("■"), QStringLiteral("□")}));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette palette = Text1->palette();
    palette.setColor(QPalette::Base, QColor(0, 192, 192));
    palette.setColor(QPalette::Text, Qt::black);
    Text1->setPalette(palette);
}

void Form13::placeControls() {
    setFixedSize(fromTwips(0, 0, 10950, 6540).size());
    TreeView1->setGeometry(fromTwips(0, 0, 4095, 6495));
    Command1->setGeometry(fromTwips(4080, 0, 180, 6615));
    Text1->setGeometry(fromTwips(4200, 0, 6735, 6495));
}

void Form13::connectSignals() {
    connect(TreeView1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* node) { nodeClick(node); });
    // Choosing a node with the keyboard opens its topic as a click does.
    connect(TreeView1, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* node) { nodeClick(node); });
    connect(Command1, &SplitterBar::dragMoved, this, &Form13::followPointer);
}

void Form13::load() {
    addTopics();
    Text1->setPlainText(helpNotice());
}

void Form13::addTopics() {
    QHash<QString, QTreeWidgetItem*> byKey;
    for (const HelpTopic& topic : helpTopics()) {
        const QString key = QString::fromUtf8(topic.key);
        QTreeWidgetItem* parent = byKey.value(QString::fromUtf8(topic.parentKey));
        auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(TreeView1);
        node->setText(0, QString::fromUtf8(topic.title));
        node->setIcon(0, QIcon(helpImage(topic.image)));
        node->setData(0, kKeyRole, key);
        node->setData(0, kImageRole, topic.image);
        byKey.insert(key, node);
    }
    TreeView1->collapseAll();
}

void Form13::nodeClick(QTreeWidgetItem* node) {
    if (!node)
        return;
    const int number = helpTextNumber(node->data(0, kKeyRole).toString());
    if (number == 0)
        return;
    Text1->setPlainText(helpText(number));
}

int Form13::treeWidth() const {
    return TreeView1->width();
}

void Form13::setTreeWidth(int width) {
    // The tree keeps at least one pixel and the text never goes below nothing.
    const int tree = std::clamp(width, 1, this->width() - kBarWidth);
    TreeView1->resize(tree, TreeView1->height());
    Command1->move(TreeView1->x() + tree, Command1->y());
    // The text runs from the bar's right edge to the window's right edge.
    Text1->setGeometry(TreeView1->x() + tree + kBarWidth, Text1->y(), this->width() - tree - kBarWidth,
                       Text1->height());
}

void Form13::dragOverTree(int x, int state) {
    if (state == DragOver && x > 0)
        setTreeWidth(x);
}

void Form13::dragOverText(int x, int state) {
    if (state == DragOver)
        setTreeWidth(treeWidth() + x);
}

void Form13::followPointer(QPointF globalPosition) {
    const QPoint global = globalPosition.toPoint();
    // Whatever lies on top takes the drag; over the bar itself nothing happens.
    if (Command1->rect().contains(Command1->mapFromGlobal(global)))
        return;
    const QPoint inTree = TreeView1->mapFromGlobal(global);
    if (TreeView1->rect().contains(inTree)) {
        dragOverTree(inTree.x(), DragOver);
        return;
    }
    const QPoint inText = Text1->mapFromGlobal(global);
    if (Text1->rect().contains(inText))
        dragOverText(inText.x(), DragOver);
}

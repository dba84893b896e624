// The help window: its topic tree, its texts, the splitter bar, and diagrams that must agree with
// the arrangements the program really writes. The documents the main window's links open.

#include "gui_test_registry.h"
#include "test_form1_fixture.h"

#include "core/layout/arrangements.h"
#include "core/library/font_library.h"
#include "gui/common/document_window.h"
#include "gui/help/document_links.h"
#include "gui/help/form13.h"
#include "gui/help/help_icons.h"
#include "gui/help/help_topics.h"
#include "gui/mainwin/glyph_list_model.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <array>

using namespace hz::gui;

namespace {

using Dots = std::array<std::array<int, 16>, 16>;

bool isMark(QChar ch) {
    return ch == QChar(0x25A0) || ch == QChar(0x25A1);
} // ■ □

// A diagram of a 16x16 example: its rows, what stands left and right of each, and the label lines
// above and below the rows (the lines that start with the four-character margin).
struct Diagram {
    Dots dots{};
    QStringList prefixes, suffixes, above, below;
    int rowCount = 0;
};

Diagram parseDiagram(const QString& text) {
    Diagram d;
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    int first = -1, last = -1;
    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        int start = 0;
        while (start < line.size() && !isMark(line[start]))
            ++start;
        if (start + 16 > line.size())
            continue;
        bool row = true;
        for (int c = 0; c < 16; ++c)
            row = row && isMark(line[start + c]);
        if (!row || (start + 16 < line.size() && isMark(line[start + 16])))
            continue;
        if (first < 0)
            first = i;
        last = i;
        if (d.rowCount < 16)
            for (int c = 0; c < 16; ++c)
                d.dots[d.rowCount][c] = line[start + c] == QChar(0x25A0) ? 1 : 0;
        ++d.rowCount;
        d.prefixes << line.left(start).trimmed();
        d.suffixes << line.mid(start + 16).trimmed();
    }
    for (int i = first - 1; i >= 0 && lines[i].startsWith(QStringLiteral("    ")); --i)
        d.above.prepend(lines[i]);
    for (int i = last + 1; i >= 1 && i < lines.size() && lines[i].startsWith(QStringLiteral("    ")); ++i)
        d.below << lines[i];
    return d;
}

// The label written downwards over (or under) column c: one character per line, two per column.
QString columnLabel(const QStringList& lines, int c) {
    QString label;
    for (const QString& line : lines) {
        const int at = 4 + 2 * c;
        if (at < line.size() && line[at] != QLatin1Char(' '))
            label += line[at];
    }
    return label;
}

// "B17" -> 17; 0 for anything else.
int byteNumber(const QString& label) {
    if (!label.startsWith(QLatin1Char('B')))
        return 0;
    return label.mid(1).toInt();
}

std::vector<std::uint8_t> rowBytes(const Dots& dots) {
    std::vector<std::uint8_t> bytes(32, 0);
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c)
            if (dots[r][c])
                bytes[2 * r + c / 8] |= static_cast<std::uint8_t>(0x80 >> (c % 8));
    return bytes;
}

hz::ArrangementTables arrangementsOf(const Dots& dots) {
    hz::Glyph glyph;
    glyph.GlyphData = rowBytes(dots);
    glyph.GlyphBytes = 32;
    glyph.CellSize = 16;
    return hz::MakeArrangements(glyph, 1, 2, 2);
}

int setDotCount(const Dots& dots) {
    int n = 0;
    for (const auto& row : dots)
        for (int dot : row)
            n += dot;
    return n;
}

QTreeWidgetItem* findNode(QTreeWidget* tree, const QString& key) {
    QTreeWidgetItemIterator it(tree);
    for (; *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toString() == key)
            return *it;
    return nullptr;
}

} // namespace

class HelpTest : public QObject {
    Q_OBJECT

private slots:
    void treeHoldsTheTopicsInOrder() {
        Form13 form;
        QCOMPARE(form.windowTitle(), QStringLiteral("帮助"));
        QCOMPARE(form.size(), QSize(730, 436));
        auto* tree = form.findChild<QTreeWidget*>("TreeView1");
        QVERIFY(tree);
        QCOMPARE(tree->topLevelItemCount(), 1);
        QTreeWidgetItem* root = tree->topLevelItem(0);
        QCOMPARE(root->data(0, Qt::UserRole).toString(), QStringLiteral("Main"));
        QCOMPARE(root->text(0), QStringLiteral("程序帮助"));

        const QList<QPair<QString, QStringList>> expected = {
            {QStringLiteral("简  介"), {"程 序 简 介"}},
            {QStringLiteral("名  词"),
             {"横 排 → →", "下上列排↑↑", "上下列排↓↓", "下半列排↑↘", "上半列排↓↗", "12*12变16*16"}},
            {QStringLiteral("功  能"),
             {"导出汉字点阵", "删除汉字点阵", "复制汉字点阵", "点阵图显示字符", "点阵图有无背景字符", "点阵图字符颜色",
              "点阵图背景颜色", "设计12*12变16*16方案"}},
            {QStringLiteral("帮  助"), {"技 术 支 持", "新 增 功 能"}},
        };
        const QStringList branchKeys = {"Main1", "Main4", "Main2", "Main3"};
        QCOMPARE(root->childCount(), 4);
        int key = 2;
        for (int b = 0; b < 4; ++b) {
            QTreeWidgetItem* branch = root->child(b);
            QCOMPARE(branch->data(0, Qt::UserRole).toString(), branchKeys[b]);
            QCOMPARE(branch->text(0), expected[b].first);
            QCOMPARE(branch->childCount(), expected[b].second.size());
            for (int t = 0; t < branch->childCount(); ++t, ++key) {
                QCOMPARE(branch->child(t)->text(0), expected[b].second[t]);
                QCOMPARE(branch->child(t)->data(0, Qt::UserRole).toString(),
                         QStringLiteral("K%1").arg(key, 2, 10, QLatin1Char('0')));
            }
        }
        QCOMPARE(key, 19);

        QTreeWidgetItemIterator it(tree);
        for (; *it; ++it) {
            QVERIFY(!(*it)->isExpanded());
            QVERIFY(!(*it)->icon(0).isNull());
        }
    }

    void iconsAreThreeDistinctPictures() {
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(helpImage(i).size(), QSize(32, 32));
        QVERIFY(helpImage(1).toImage() != helpImage(2).toImage());
        QVERIFY(helpImage(2).toImage() != helpImage(3).toImage());
        QVERIFY(helpImage(0).isNull());
        QVERIFY(helpImage(4).isNull());
    }

    void keysNameTheirTexts_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("number");
        QTest::newRow("root") << "Main" << 0;
        QTest::newRow("branch") << "Main4" << 0;
        QTest::newRow("first topic") << "K02" << 1;
        QTest::newRow("designer topic") << "K16" << 15;
        QTest::newRow("last topic") << "K18" << 17;
        QTest::newRow("past the texts") << "K19" << 0;
        QTest::newRow("no number") << "Kxy" << 0;
    }
    void keysNameTheirTexts() {
        QFETCH(QString, key);
        QFETCH(int, number);
        QCOMPARE(helpTextNumber(key), number);
    }

    void textsLoadWithTheirHeadings() {
        QVERIFY(!helpNotice().isEmpty());
        QVERIFY(!helpNotice().trimmed().contains(QLatin1Char('\n')));
        for (const HelpTopic& topic : helpTopics()) {
            const int n = helpTextNumber(QString::fromUtf8(topic.key));
            if (n == 0)
                continue;
            const QString text = helpText(n);
            QVERIFY2(text.size() > 20, topic.key);
            // CR LF between lines, never a bare LF or CR.
            QCOMPARE(text.count(QLatin1Char('\n')), text.count(QStringLiteral("\r\n")));
            QCOMPARE(text.count(QLatin1Char('\r')), text.count(QStringLiteral("\r\n")));
            QString heading = text.section(QStringLiteral("\r\n"), 0, 0);
            QCOMPARE(heading.remove(QLatin1Char(' ')), QString::fromUtf8(topic.title).remove(QLatin1Char(' ')));
        }
        QVERIFY(helpText(0).isEmpty());
        QVERIFY(helpText(18).isEmpty());
    }

    void clicksReplaceTheText() {
        Form13 form;
        form.show();
        auto* tree = form.findChild<QTreeWidget*>("TreeView1");
        auto* text = form.findChild<QPlainTextEdit*>("Text1");
        const QString notice = text->toPlainText();
        QVERIFY(!notice.isEmpty());

        for (const QString key : {"Main", "Main1", "Main2", "Main3", "Main4"}) {
            form.nodeClick(findNode(tree, key));
            QCOMPARE(text->toPlainText(), notice);
        }
        const QString exportText = helpText(8).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        form.nodeClick(findNode(tree, "K09"));
        QCOMPARE(text->toPlainText(), exportText);
        form.nodeClick(findNode(tree, "K09"));
        QCOMPARE(text->toPlainText(), exportText);
        form.nodeClick(findNode(tree, "Main2"));
        QCOMPARE(text->toPlainText(), exportText);

        // And with the mouse, as a user does it.
        tree->expandAll();
        QTreeWidgetItem* node = findNode(tree, "K17");
        tree->scrollToItem(node);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
        QVERIFY(text->toPlainText().startsWith(QStringLiteral("技 术 支 持\n")));
    }

    void textPaneLooksAsItShould() {
        Form13 form;
        auto* text = form.findChild<QPlainTextEdit*>("Text1");
        QCOMPARE(text->palette().color(QPalette::Base), QColor(0, 192, 192));
        // The diagrams keep their columns only if two ASCII characters are as wide as one mark.
        const QFontMetricsF metrics(text->font());
        QCOMPARE(metrics.horizontalAdvance(QStringLiteral("B1")), metrics.horizontalAdvance(QStringLiteral("■")));
        QCOMPARE(metrics.horizontalAdvance(QStringLiteral("高")), metrics.horizontalAdvance(QStringLiteral("□")));
        QCOMPARE(form.findChild<QPushButton*>("Command1")->text(), QString(39, QLatin1Char('|')));
    }

    void splitterSharesTheWidth() {
        Form13 form;
        auto* tree = form.findChild<QTreeWidget*>("TreeView1");
        auto* bar = form.findChild<QPushButton*>("Command1");
        auto* text = form.findChild<QPlainTextEdit*>("Text1");
        QCOMPARE(tree->geometry(), QRect(0, 0, 273, 433));
        QCOMPARE(bar->geometry(), QRect(272, 0, 12, 441));
        QCOMPARE(text->geometry(), QRect(280, 0, 449, 433));

        auto expectTree = [&](int width) {
            QCOMPARE(tree->width(), width);
            QCOMPARE(bar->x(), width);
            QCOMPARE(text->x(), width + 12);
            QCOMPARE(text->width(), 730 - width - 12);
        };
        form.dragOverTree(100, Form13::DragOver);
        expectTree(100);
        form.dragOverTree(0, Form13::DragOver); // never down to nothing
        expectTree(100);
        form.dragOverTree(-8, Form13::DragOver);
        expectTree(100);
        form.dragOverTree(1, Form13::DragOver);
        expectTree(1);
        form.dragOverTree(60, Form13::DragEnter);
        form.dragOverText(60, Form13::DragLeave);
        expectTree(1);
        form.dragOverText(99, Form13::DragOver);
        expectTree(100);
        form.dragOverText(text->width(), Form13::DragOver); // at the text's right edge it closes
        expectTree(718);
        QCOMPARE(text->width(), 0);
        form.dragOverText(50, Form13::DragOver); // nothing left to give
        expectTree(718);
        QCOMPARE(text->width(), 0);
    }

    void barFollowsTheMouse() {
        Form13 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* tree = form.findChild<QTreeWidget*>("TreeView1");
        auto* bar = form.findChild<QPushButton*>("Command1");
        auto* text = form.findChild<QPlainTextEdit*>("Text1");
        auto send = [&](QEvent::Type type, QPoint inWindow, Qt::MouseButtons buttons) {
            const QPointF local = bar->mapFrom(&form, inWindow);
            const QPointF global = form.mapToGlobal(inWindow);
            QMouseEvent event(type, local, global, Qt::LeftButton, buttons, Qt::NoModifier);
            QApplication::sendEvent(bar, &event);
        };
        send(QEvent::MouseButtonPress, QPoint(277, 200), Qt::LeftButton);
        send(QEvent::MouseMove, QPoint(150, 200), Qt::LeftButton); // over the tree
        QCOMPARE(tree->width(), 150);
        send(QEvent::MouseMove, QPoint(400, 200), Qt::LeftButton); // over the text: 400 - 162 = 238 more
        QCOMPARE(tree->width(), 388);
        QCOMPARE(text->x(), 400);
        send(QEvent::MouseButtonRelease, QPoint(400, 200), Qt::NoButton);
        send(QEvent::MouseMove, QPoint(100, 200), Qt::NoButton); // released: the bar stays
        QCOMPARE(tree->width(), 388);
    }

    // Each diagram's byte labels name the bytes in which the program's own arrangement puts the dots.
    void rowDiagramNamesTheBytes() {
        const Diagram d = parseDiagram(helpText(2));
        QCOMPARE(d.rowCount, 16);
        QVERIFY(setDotCount(d.dots) > 20);
        const auto tables = arrangementsOf(d.dots);
        const auto& rows = tables[hz::Arrangement::Rows];
        QVERIFY(!d.above.isEmpty());
        const QString bitLine = d.above.last();
        QVERIFY(d.above.first().contains(QStringLiteral("高")) && d.above.first().contains(QStringLiteral("低")));
        int labelled = 0;
        for (int r = 0; r < 16; ++r) {
            const int left = byteNumber(d.prefixes[r]);
            const int right = byteNumber(d.suffixes[r]);
            if (left == 0 && right == 0) {
                QCOMPARE(d.prefixes[r], QStringLiteral("."));
                continue;
            }
            ++labelled;
            std::uint8_t leftByte = 0, rightByte = 0;
            for (int c = 0; c < 16; ++c) {
                const int bit = bitLine[4 + 2 * c].digitValue();
                QVERIFY(bit >= 0 && bit <= 7);
                if (d.dots[r][c])
                    (c < 8 ? leftByte : rightByte) |= static_cast<std::uint8_t>(1 << bit);
            }
            QCOMPARE(rows[left - 1], leftByte);
            QCOMPARE(rows[right - 1], rightByte);
        }
        QVERIFY(labelled >= 2);
        QVERIFY(byteNumber(d.prefixes[0]) == 1 && byteNumber(d.suffixes[15]) == 32);
    }

    void columnDiagramsNameTheBytes_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("arrangement");
        QTest::newRow("下上列排") << 3 << int(hz::Arrangement::ColsUp);
        QTest::newRow("上下列排") << 4 << int(hz::Arrangement::ColsDown);
        QTest::newRow("下半列排") << 5 << int(hz::Arrangement::HalfUp);
        QTest::newRow("上半列排") << 6 << int(hz::Arrangement::HalfDown);
    }
    void columnDiagramsNameTheBytes() {
        QFETCH(int, number);
        QFETCH(int, arrangement);
        const Diagram d = parseDiagram(helpText(number));
        QCOMPARE(d.rowCount, 16);
        QVERIFY(setDotCount(d.dots) > 20);
        const hz::ArrangementTables tables = arrangementsOf(d.dots);
        const auto& table = tables[static_cast<hz::Arrangement>(arrangement)];
        std::array<int, 16> rowBit{};
        for (int r = 0; r < 16; ++r) {
            QVERIFY(!d.prefixes[r].isEmpty());
            rowBit[r] = d.prefixes[r].back().digitValue();
            QVERIFY(rowBit[r] >= 0 && rowBit[r] <= 7);
        }
        QSet<int> named;
        for (int c = 0; c < 16; ++c) {
            const int upper = byteNumber(columnLabel(d.above, c));
            const int lower = byteNumber(columnLabel(d.below, c));
            QVERIFY2(upper >= 1 && upper <= 32 && lower >= 1 && lower <= 32, qPrintable(QString::number(c)));
            named << upper << lower;
            std::uint8_t upperByte = 0, lowerByte = 0;
            for (int r = 0; r < 16; ++r)
                if (d.dots[r][c])
                    (r < 8 ? upperByte : lowerByte) |= static_cast<std::uint8_t>(1 << rowBit[r]);
            QCOMPARE(table[upper - 1], upperByte);
            QCOMPARE(table[lower - 1], lowerByte);
        }
        QCOMPARE(named.size(), 32);
    }

    // The 16x16 picture of the placement topic is its 12x12 example placed as a lookup would place it.
    void placementDiagramIsTheCentredPlacement() {
        const QStringList lines = helpText(7).split(QStringLiteral("\r\n"));
        QList<QString> twelve, sixteen;
        for (const QString& line : lines) {
            if (line.size() == 12 && std::all_of(line.begin(), line.end(), isMark))
                twelve << line;
            if (line.size() == 16 && std::all_of(line.begin(), line.end(), isMark))
                sixteen << line;
        }
        QCOMPARE(twelve.size(), 12);
        QCOMPARE(sixteen.size(), 16);
        QVERIFY(!twelve[0].contains(QChar(0x25A0))); // the example's own first row is clear
        hz::Glyph glyph;
        glyph.GlyphData.assign(32, 0);
        glyph.GlyphBytes = 32;
        glyph.CellSize = 16;
        for (int r = 0; r < 12; ++r)
            for (int c = 0; c < 12; ++c)
                if (twelve[r][c] == QChar(0x25A0))
                    glyph.GlyphData[2 * r + c / 8] |= static_cast<std::uint8_t>(0x80 >> (c % 8));
        const hz::Cell16 placed =
            hz::cellFromBytes(hz::MakeArrangements(glyph, hz::kTwelvePosition, 2, 2)[hz::Arrangement::Rows]);
        for (int r = 0; r < 16; ++r)
            for (int c = 0; c < 16; ++c)
                QCOMPARE(sixteen[r][c] == QChar(0x25A0), bool(placed[r] & (0x8000 >> c)));
    }
};

static GuiTestRegistration<HelpTest> helpTestRegistration;

namespace {

// Answers as a desktop would, or as one with no program for the file; records what was shown.
class DocumentPrompter : public ScriptedPrompter {
public:
    bool desktopOpens = true;
    QList<QUrl> opened;
    QStringList shownTitles, shownTexts;

    bool openUrl(const QUrl& url) override {
        opened << url;
        return desktopOpens;
    }
    void showDocument(QWidget*, const QString& title, const QString& text) override {
        shownTitles << title;
        shownTexts << text;
    }
};

// A tree shaped like an install: <root>/bin beside <root>/share/{doc/hzdot,hzdot/fonts}.
struct InstalledTree {
    QTemporaryDir root;
    QString bin() const { return root.filePath(QStringLiteral("bin")); }
    QString docs() const { return root.filePath(QStringLiteral("share/doc/hzdot")); }
    QString fonts() const { return root.filePath(QStringLiteral("share/hzdot/fonts")); }
    InstalledTree() {
        QDir(root.path()).mkpath(QStringLiteral("bin"));
        QDir(root.path()).mkpath(QStringLiteral("share/doc/hzdot"));
        QDir(root.path()).mkpath(QStringLiteral("share/hzdot/fonts"));
    }
    static void write(const QString& path, const QString& text) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }
};

} // namespace

// The main window's links lead to the README and the two documents, wherever they were installed,
// and show the text themselves when the desktop cannot.
class DocumentLinksTest : public QObject {
    Q_OBJECT

private slots:
    void linksFindTheCopyBesideTheProgramFirst() {
        InstalledTree tree;
        tree.write(tree.docs() + QStringLiteral("/README.md"), QStringLiteral("installed"));
        tree.write(tree.bin() + QStringLiteral("/README.md"), QStringLiteral("beside"));
        tree.write(tree.docs() + QStringLiteral("/export-format.md"), QStringLiteral("installed"));
        DocumentPrompter prompter;
        hz::gui::openDocument(nullptr, tree.bin(), hz::gui::Document::Readme, prompter);
        hz::gui::openDocument(nullptr, tree.bin(), hz::gui::Document::ExportFormat, prompter);
        QCOMPARE(prompter.opened.size(), 2);
        QCOMPARE(prompter.opened[0], QUrl::fromLocalFile(tree.bin() + QStringLiteral("/README.md")));
        // The installed copy is reached through bin/../share; the URL names the file itself.
        QVERIFY(prompter.opened[1].isLocalFile());
        QCOMPARE(QFileInfo(prompter.opened[1].toLocalFile()).canonicalFilePath(),
                 QFileInfo(tree.docs() + QStringLiteral("/export-format.md")).canonicalFilePath());
        QVERIFY(prompter.shownTexts.isEmpty());
        QVERIFY(prompter.criticals.isEmpty());
    }

    void withoutADesktopHandlerTheTextIsShown() {
        InstalledTree tree;
        const QString text = QStringLiteral("# 五种排列\n\n横排 = rows-msb\n");
        tree.write(tree.docs() + QStringLiteral("/arrangements.md"), text);
        DocumentPrompter prompter;
        prompter.desktopOpens = false;
        hz::gui::openDocument(nullptr, tree.bin(), hz::gui::Document::Arrangements, prompter);
        QCOMPARE(prompter.opened.size(), 1);
        QCOMPARE(prompter.shownTitles, QStringList{QStringLiteral("五种排列的用法")});
        QCOMPARE(prompter.shownTexts, QStringList{text});
        QVERIFY(prompter.criticals.isEmpty());
    }

    void aMissingDocumentIsNamed() {
        InstalledTree tree;
        DocumentPrompter prompter;
        hz::gui::openDocument(nullptr, tree.bin(), hz::gui::Document::ExportFormat, prompter);
        QVERIFY(prompter.opened.isEmpty());
        QVERIFY(prompter.shownTexts.isEmpty());
        QCOMPARE(prompter.criticals.size(), 1);
        QVERIFY2(prompter.criticals[0].contains(QStringLiteral("export-format.md")), qPrintable(prompter.criticals[0]));
    }

    void theBuildFolderHoldsEveryDocument() {
        // The build copies them beside the programs, which is where a program started from it looks.
        for (auto document :
             {hz::gui::Document::Readme, hz::gui::Document::Arrangements, hz::gui::Document::ExportFormat}) {
            DocumentPrompter prompter;
            prompter.desktopOpens = false;
            hz::gui::openDocument(nullptr, QCoreApplication::applicationDirPath(), document, prompter);
            QCOMPARE(prompter.shownTexts.size(), 1);
            QVERIFY(prompter.shownTexts[0].startsWith(QLatin1Char('#')));
            QVERIFY(prompter.criticals.isEmpty());
        }
    }

    void theDocumentWindowIsPlainAndReadOnly() {
        hz::gui::DocumentWindow window(QStringLiteral("导出文件的格式"), QStringLiteral("第一行\n  ■□\n"));
        QCOMPARE(window.windowTitle(), QStringLiteral("导出文件的格式"));
        auto* text = window.findChild<QPlainTextEdit*>(QStringLiteral("DocumentText"));
        QVERIFY(text);
        QVERIFY(text->isReadOnly());
        QCOMPARE(text->toPlainText(), QStringLiteral("第一行\n  ■□\n"));
        auto* buttons = window.findChild<QDialogButtonBox*>(QStringLiteral("DocumentButtons"));
        QVERIFY(buttons);
        window.show();
        QVERIFY(window.isVisible());
        QTest::mouseClick(buttons->button(QDialogButtonBox::Close), Qt::LeftButton);
        QVERIFY(!window.isVisible());
    }

    void theMainWindowsLinksOpenTheirDocuments() {
        InstalledTree tree;
        for (const char* name : {"README.md", "arrangements.md", "export-format.md"})
            tree.write(tree.docs() + QLatin1Char('/') + QLatin1String(name), QString::fromUtf8(name));
        DocumentPrompter prompter;
        Form1 form(tree.bin(), &prompter);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QStringList names;
        for (const char* label : {"Label5(5)", "Label5(6)", "Label5(7)", "Label5(8)"}) {
            auto* link = form.findChild<QWidget*>(QString::fromUtf8(label));
            QVERIFY2(link, label);
            QTest::mouseClick(link, Qt::LeftButton);
        }
        for (const QUrl& url : prompter.opened)
            names << url.fileName();
        QCOMPARE(names, (QStringList{"README.md", "README.md", "arrangements.md", "export-format.md"}));
        form.hide();
    }

    void theMainWindowReadsInstalledLibraries() {
        // No library beside the program: the installed ones are read, as from /usr/bin.
        InstalledTree tree;
        form1test::writeLibrary(tree.fonts(), 1, {{form1test::kYang, form1test::diagonalDots()}});
        DocumentPrompter prompter;
        Form1 form(tree.bin(), &prompter);
        const int before = form.glyphList().count();
        form.libraryChooser()->setCurrentIndex(1);
        form.inputBox()->setText(QStringLiteral("样"));
        form.runLookup();
        QVERIFY2(prompter.criticals.isEmpty(), qPrintable(prompter.criticals.join(QLatin1Char('\n'))));
        QCOMPARE(form.glyphList().count(), before + 1);
        QCOMPARE(form.glyphList().record(before).character, std::string("样"));
    }
};

static GuiTestRegistration<DocumentLinksTest> documentLinksTestRegistration;

#include "test_help.moc"

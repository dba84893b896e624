// The main window's controls: what there is, and where it stands. Positions are in pixels of the
// window's 1016 x 741 client area (the top band's children in pixels of the band).

#include "gui/common/export_format.h"
#include "gui/common/rain_button.h"
#include "gui/common/song_font.h"
#include "gui/imagewin/image_pictures.h"
#include "gui/mainwin/dot_view.h"
#include "gui/mainwin/form1.h"
#include "gui/mainwin/glyph_list_model.h"
#include "gui/mainwin/input_box.h"
#include "gui/mainwin/layout_chooser.h"
#include "gui/mainwin/link_label.h"
#include "gui/mainwin/pictures.h"
#include "gui/mainwin/text_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeView>
#include <limits>

using namespace hz::gui;

namespace {

constexpr QSize kClientSize(1016, 741);
// Wide enough for four characters a line at the buttons' 9 points, so that most captions need two lines.
constexpr QSize kGroupButtonSize(56, 41);

QLabel* makeLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

LinkLabel* makeLinkLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new LinkLabel(text, parent);
    label->setObjectName(name);
    return label;
}

// Captions of the button group by Index, "|" between the words a caption may break between;
// Index 9 shows a picture instead.
const char* const kGroupCaptions[12] = {
    "",
    "删除|全部|汉字|点阵",
    "导出|全部|汉字|点阵",
    "导出|当前|汉字|点阵",
    "点阵图|前景色",
    "点阵图|背景色",
    "退出|程序",
    "点阵图|背景|字符",
    "删除|当前|汉字|点阵",
    "",
    "设计|12*12|变|16*16|方案",
    "程序|帮助",
};

// A caption with its breaks: RainButton::setCaptionWords' words.
QStringList captionWords(const char* caption) {
    return QString::fromUtf8(caption).split(QLatin1Char('|'), Qt::SkipEmptyParts);
}

struct ButtonPlace {
    int index; // Index of the group; 0 stands for Command21
    int x;
    int y;
};

// Two rows of six at x 360 .. 680.
constexpr ButtonPlace kButtonPlaces[] = {
    {10, 360, 24}, {7, 424, 24}, {3, 488, 24}, {8, 552, 24}, {5, 616, 24}, {11, 680, 24},
    {9, 360, 72},  {0, 424, 72}, {2, 488, 72}, {1, 552, 72}, {4, 616, 72}, {6, 680, 72},
};

} // namespace

void Form1::createControls() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("HzDot 汉字点阵"));
    setFont(windowFont());

    createTopBand();

    Frame2 = new QGroupBox(QStringLiteral("最近输入的汉字"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    list = new GlyphListModel(this);
    ListView1 = new QTreeView(Frame2);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setModel(list);
    ListView1->setRootIsDecorated(false);
    ListView1->setItemsExpandable(false);
    ListView1->setUniformRowHeights(true); // a long list lays out in constant time
    ListView1->setAllColumnsShowFocus(true);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setTextElideMode(Qt::ElideRight);
    ListView1->header()->setStretchLastSection(false);
    ListView1->header()->setSectionsMovable(false);
    for (int column = 0; column < GlyphListModel::kColumnCount; ++column)
        ListView1->setColumnWidth(column, GlyphListModel::columnWidth(column));
    Label2 = makeLabel(QStringLiteral("Label2"), QString(), Frame2);

    Text1 = new DotView(this);
    Text1->setObjectName(QStringLiteral("Text1"));

    Picture4 = new QWidget(this);
    Picture4->setObjectName(QStringLiteral("Picture4"));
    Command6 = new QPushButton(QStringLiteral("汇编格式"), Picture4);
    Command6->setObjectName(QStringLiteral("Command6"));
    Command2 = new QPushButton(QStringLiteral("C格式"), Picture4);
    Command2->setObjectName(QStringLiteral("Command2"));
    Label6 = makeLabel(QStringLiteral("Label6"), QStringLiteral("当前汉字点阵:"), Picture4);

    Picture3 = new TextPanel(this);
}

void Form1::createTopBand() {
    Picture6 = new GradientPanel(this);
    Picture6->setObjectName(QStringLiteral("Picture6"));

    makeLabel(QStringLiteral("Label1(2)"), QStringLiteral("当前汉字:"), Picture6);
    Label3 = makeLabel(QStringLiteral("Label3"), QString(), Picture6);
    makeLabel(QStringLiteral("Label1(3)"), QStringLiteral("操作排列:"), Picture6);
    Combo2 = new QComboBox(Picture6);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    layoutChooser = new LayoutChooser(Combo2);
    makeLabel(QStringLiteral("Label1(0)"), QStringLiteral("选择字库:"), Picture6);
    Combo1 = new QComboBox(Picture6);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    for (const hz::FontLibrary& library : hz::fontLibraries())
        Combo1->addItem(fromUtf8(library.name));
    makeLabel(QStringLiteral("Label1(1)"), QStringLiteral("输入汉字:"), Picture6);
    Text3 = new InputBox(Picture6);
    Text3->setObjectName(QStringLiteral("Text3"));
    // A pasted text of any length is looked up whole; the edit box's own limit would cut it silently.
    Text3->setMaxLength(std::numeric_limits<int>::max());

    // Too small for their captions: they show a picture and say their caption as a tooltip.
    Command1 = new RainButton(QStringLiteral("查找"), Picture6);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setPicture(searchPicture());
    Command1->setToolTip(Command1->text());
    Command3 = new RainButton(QStringLiteral("常用字符"), Picture6);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setPicture(keysPicture());
    Command3->setToolTip(Command3->text());

    const QFont buttonFont = windowFont(9);
    for (int index = 1; index <= 11; ++index) {
        auto* button = new RainButton(QString(), Picture6);
        button->setCaptionWords(captionWords(kGroupCaptions[index]));
        button->setObjectName(QStringLiteral("Command20(%1)").arg(index));
        button->setFont(buttonFont);
        button->setToolTip(button->text());
        Command20[static_cast<std::size_t>(index)] = button;
    }
    Command20[9]->setPicture(meterPicture());
    Command20[9]->setToolTip(QStringLiteral("打开仪表演示窗口：指针表、数字表和条形表"));
    Command21 = new RainButton(QString(), Picture6);
    Command21->setCaptionWords(captionWords("输入|显示|字符"));
    Command21->setObjectName(QStringLiteral("Command21"));
    Command21->setFont(buttonFont);
    Command21->setToolTip(Command21->text());

    createOutputButtons();

    ProgressBar1 = new QProgressBar(Picture6);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();

    // The program's name and version, and the lines that lead to its home page.
    QLabel* name = makeLabel(QStringLiteral("Label1(4)"), QStringLiteral("HzDot 汉字点阵"), Picture6);
    QFont nameFont = font();
    nameFont.setPointSizeF(16);
    nameFont.setBold(true);
    name->setFont(nameFont);
    makeLabel(QStringLiteral("Label1(5)"),
              QStringLiteral("液晶汉字点阵提取  版本 %1").arg(QStringLiteral(HZDOT_VERSION)), Picture6);
    makeLabel(QStringLiteral("Label8"), QStringLiteral("主页:"), Picture6);
    makeLabel(QStringLiteral("Label9"), QStringLiteral("反馈:"), Picture6);
    const QString contactTexts[4] = {QStringLiteral("README.md（程序说明）"), QStringLiteral("问题与建议见程序主页"),
                                     QStringLiteral("五种排列的用法"), QStringLiteral("导出文件的格式")};
    for (int i = 0; i < 4; ++i) {
        contactLabels[static_cast<std::size_t>(i)] =
            makeLinkLabel(QStringLiteral("Label5(%1)").arg(i + 5), contactTexts[i], Picture6);
    }
    for (LinkLabel* label : contactLabels) {
        QPalette colours = label->palette();
        colours.setColor(QPalette::WindowText, QColor(0, 0, 192));
        label->setPalette(colours);
    }
}

// The outputs for firmware: a C header of the list, and the list on a simulated display.
void Form1::createOutputButtons() {
    const QFont buttonFont = windowFont(9);
    ExportHeader = new RainButton(QString(), Picture6);
    ExportHeader->setCaptionWords(captionWords("导出|C头文件"));
    ExportHeader->setObjectName(QStringLiteral("ExportHeader"));
    OpenPreview = new RainButton(QString(), Picture6);
    OpenPreview->setCaptionWords(captionWords("液晶|预览"));
    OpenPreview->setObjectName(QStringLiteral("OpenPreview"));
    for (RainButton* button : {ExportHeader, OpenPreview}) {
        button->setFont(buttonFont);
        button->setToolTip(button->text());
    }
    FormatChoice = new QComboBox(Picture6);
    FormatChoice->setObjectName(QStringLiteral("FormatChoice"));
    FormatChoice->setFont(buttonFont);
    for (const hz::gui::ExportFormatEntry& entry : hz::gui::kExportFormats)
        FormatChoice->addItem(QString::fromUtf8(entry.label), static_cast<int>(entry.format));
    FormatChoice->setToolTip(QStringLiteral("导出的格式"));
    CompressCheck = new QCheckBox(QStringLiteral("压缩"), Picture6);
    CompressCheck->setObjectName(QStringLiteral("CompressCheck"));
    CompressCheck->setFont(buttonFont);
    CompressCheck->setToolTip(QStringLiteral("导出的C头文件压缩字模，附带逐字解压的函数"));
    // Pictures (icons, logos) to bytes: too small for its caption, like the search buttons.
    OpenImageWindow = new RainButton(QStringLiteral("图片取模"), Picture6);
    OpenImageWindow->setObjectName(QStringLiteral("OpenImageWindow"));
    OpenImageWindow->setPicture(picturePicture());
    OpenImageWindow->setToolTip(QStringLiteral("图片取模：把图标、标志等图片转成点阵字节"));
}

void Form1::placeControls() {
    setFixedSize(kClientSize);

    Picture6->setGeometry(8, 8, 1004, 153);
    auto place = [this](const char* name, int x, int y, int w, int h) {
        if (auto* widget = Picture6->findChild<QWidget*>(QString::fromUtf8(name), Qt::FindDirectChildrenOnly))
            widget->setGeometry(x, y, w, h);
    };
    // Four label-and-field rows.
    place("Label1(2)", 24, 8, 80, 24);
    place("Label3", 104, 8, 169, 24);
    place("Label1(3)", 24, 40, 80, 24);
    place("Combo2", 104, 40, 169, 24);
    place("Label1(0)", 24, 72, 80, 24);
    place("Combo1", 104, 72, 169, 24);
    place("Label1(1)", 24, 104, 80, 24);
    place("Text3", 104, 104, 161, 24);
    place("Command1", 272, 104, 24, 24);
    place("Command3", 296, 104, 24, 24);

    for (const ButtonPlace& at : kButtonPlaces) {
        RainButton* button = at.index == 0 ? Command21 : Command20[static_cast<std::size_t>(at.index)];
        button->setGeometry(QRect(QPoint(at.x, at.y), kGroupButtonSize));
    }
    ProgressBar1->setGeometry(360, 120, 369, 9);
    // Between the choosers and the button group, clear of the search buttons below.
    FormatChoice->setGeometry(276, 0, 80, 21);
    CompressCheck->setGeometry(214, 1, 60, 20);
    ExportHeader->setGeometry(296, 22, 49, 38);
    OpenPreview->setGeometry(296, 64, 49, 38);
    OpenImageWindow->setGeometry(324, 104, 24, 24);

    place("Label1(4)", 752, 10, 244, 30);
    place("Label1(5)", 752, 42, 244, 20);
    place("Label8", 752, 68, 40, 20);
    place("Label5(5)", 792, 68, 204, 20);
    place("Label9", 752, 90, 40, 20);
    place("Label5(6)", 792, 90, 204, 20);
    place("Label5(7)", 752, 112, 120, 20);
    place("Label5(8)", 876, 112, 120, 20);

    Frame2->setGeometry(8, 152, 417, 313);
    ListView1->setGeometry(8, 22, 401, 262);
    Label2->setGeometry(10, 288, 397, 20);

    Text1->setGeometry(432, 152, 581, 581);

    Picture4->setGeometry(8, 464, 417, 33);
    Command6->setGeometry(4, 4, 81, 25);
    Command2->setGeometry(90, 4, 81, 25);
    Label6->setGeometry(184, 4, 229, 25);

    Picture3->setGeometry(8, 496, 417, 241);
}

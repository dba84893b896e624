// The picture window's controls and where they stand: the options and the texts on the left, the
// dots on the right, growing with the window.

#include "gui/common/song_font.h"
#include "gui/common/text_copy.h"
#include "gui/imagewin/image_choices.h"
#include "gui/imagewin/image_view.h"
#include "gui/imagewin/image_window.h"
#include "gui/mainwin/text_panel.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace hz::gui {

namespace {

constexpr QSize kStartSize(1040, 660);
constexpr int kSmallestView = 480;

template <typename Widget> Widget* named(Widget* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QSpinBox* sideBox(const QString& name, QWidget* parent) {
    auto* box = named(new QSpinBox(parent), name);
    box->setRange(1, hz::DotPicture::kMaxSide);
    box->setSuffix(QStringLiteral(" 点"));
    // Typing "128" asks for 128, not for 1, then 12, then 128 on the way.
    box->setKeyboardTracking(false);
    return box;
}

} // namespace

void ImageWindow::createControls() {
    setObjectName(QStringLiteral("ImageWindow"));
    setWindowTitle(QStringLiteral("图片取模"));
    setFont(windowFont());
    setAcceptDrops(true);

    ImageOpen = named(new QPushButton(QStringLiteral("打开图片…"), this), QStringLiteral("ImageOpen"));
    ImageOpen->setToolTip(QStringLiteral("PNG、BMP、JPEG、GIF或SVG图片；也可以把图片文件拖到窗口里"));
    ImageName = named(new QLabel(QStringLiteral("（把图片文件拖到这里，或点“打开图片…”）"), this), QStringLiteral("ImageName"));

    FitWidth = sideBox(QStringLiteral("FitWidth"), this);
    FitHeight = sideBox(QStringLiteral("FitHeight"), this);
    FitWidth->setToolTip(QStringLiteral("图片按原比例缩放到宽×高之内"));
    FitHeight->setToolTip(FitWidth->toolTip());

    DitherChoice = named(new QComboBox(this), QStringLiteral("DitherChoice"));
    for (hz::Dither dither : hz::kDithers)
        DitherChoice->addItem(ditherLabel(dither));
    DitherChoice->setCurrentIndex(static_cast<int>(hz::kDefaultDither));

    ThresholdSlider = named(new QSlider(Qt::Horizontal, this), QStringLiteral("ThresholdSlider"));
    ThresholdSlider->setRange(0, 255);
    ThresholdSlider->setValue(128);
    ThresholdSlider->setToolTip(QStringLiteral("比阈值暗的像素成为点；打开图片时按Otsu方法从直方图选定"));
    ThresholdValue = named(new QLabel(this), QStringLiteral("ThresholdValue"));
    ThresholdValue->setMinimumWidth(ThresholdValue->fontMetrics().horizontalAdvance(QStringLiteral("0000")));

    InvertCheck = named(new QCheckBox(QStringLiteral("反色（亮的像素成为点）"), this), QStringLiteral("InvertCheck"));

    ImageLayout = named(new QComboBox(this), QStringLiteral("ImageLayout"));
    ImageDepth = named(new QComboBox(this), QStringLiteral("ImageDepth"));
    for (int bits : kImageDepths)
        ImageDepth->addItem(depthLabel(bits));

    View = named(new ImageView(this), QStringLiteral("ImageView"));
    View->setMinimumSize(kSmallestView, kSmallestView);

    AssemblySet = named(new QPushButton(QStringLiteral("汇编格式"), this), QStringLiteral("ImageAssemblySet"));
    CSet = named(new QPushButton(QStringLiteral("C格式"), this), QStringLiteral("ImageCSet"));
    SizeLabel = named(new QLabel(QStringLiteral("图片点阵:"), this), QStringLiteral("ImageSize"));
    Texts = new TextPanel(this);
    Texts->setObjectName(QStringLiteral("ImageTexts"));
    Texts->setFixedSize(Texts->size());
    // The chosen layout's box copies its fields as array elements from this window's texts.
    QPlainTextEdit* chosenBox = Texts->chosenLayoutBox();
    for (QAction* action : chosenBox->actions()) {
        if (action->objectName() == QStringLiteral("CopyArrayElements")) {
            chosenBox->removeAction(action);
            delete action;
        }
    }
    addArrayCopyAction(chosenBox, [this] { return chosenCFields; });

    ImageExportButton = named(new QPushButton(QStringLiteral("导出点阵…"), this), QStringLiteral("ImageExport"));
    ImageExportButton->setToolTip(QStringLiteral("按所选排列导出：文件名以 .h 结尾写C头文件，.bin 写原始字节，其他写导出文件"));

    // Enter in a size box takes the size; it must not press a button as well.
    for (QPushButton* button : {ImageOpen, AssemblySet, CSet, ImageExportButton})
        button->setAutoDefault(false);

    ImageMessage = named(new QLabel(this), QStringLiteral("ImageMessage"));
    ImageMessage->setWordWrap(true);
    QPalette red = ImageMessage->palette();
    red.setColor(QPalette::WindowText, QColor(192, 0, 0));
    ImageMessage->setPalette(red);
}

void ImageWindow::placeControls() {
    auto* file = new QHBoxLayout;
    file->addWidget(ImageOpen);
    file->addWidget(ImageName, 1);

    auto* size = new QHBoxLayout;
    size->addWidget(FitWidth);
    size->addWidget(new QLabel(QStringLiteral("×"), this));
    size->addWidget(FitHeight);
    size->addStretch();

    auto* threshold = new QHBoxLayout;
    threshold->addWidget(ThresholdSlider, 1);
    threshold->addWidget(ThresholdValue);

    auto* options = new QFormLayout;
    options->addRow(QStringLiteral("最大宽×高:"), size);
    options->addRow(QStringLiteral("抖动:"), DitherChoice);
    options->addRow(QStringLiteral("阈值:"), threshold);
    options->addRow(QString(), InvertCheck);
    options->addRow(QStringLiteral("操作排列:"), ImageLayout);
    options->addRow(QStringLiteral("每点位数:"), ImageDepth);
    optionBox = named(new QGroupBox(QStringLiteral("取模选项"), this), QStringLiteral("ImageOptions"));
    optionBox->setLayout(options);

    auto* textButtons = new QHBoxLayout;
    textButtons->addWidget(AssemblySet);
    textButtons->addWidget(CSet);
    textButtons->addWidget(SizeLabel, 1);

    auto* left = new QVBoxLayout;
    left->addLayout(file);
    left->addWidget(optionBox);
    left->addLayout(textButtons);
    left->addWidget(Texts);
    left->addWidget(ImageExportButton);
    left->addWidget(ImageMessage);
    left->addStretch();

    auto* whole = new QHBoxLayout(this);
    auto* leftSide = new QWidget(this);
    leftSide->setLayout(left);
    leftSide->setFixedWidth(Texts->width() + left->contentsMargins().left() + left->contentsMargins().right());
    whole->addWidget(leftSide);
    whole->addWidget(View, 1);
    resize(kStartSize);
}

} // namespace hz::gui

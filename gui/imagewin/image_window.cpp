#include "gui/imagewin/image_window.h"

#include "core/layout/layout.h"
#include "core/picture/picture_layout.h"
#include "core/text/byte_text.h"
#include "gui/common/grey_depth.h"
#include "gui/common/prompter.h"
#include "gui/common/text_copy.h"
#include "gui/imagewin/image_choices.h"
#include "gui/imagewin/image_export.h"
#include "gui/imagewin/image_view.h"
#include "gui/imagewin/picture_problem_text.h"
#include "gui/mainwin/text_panel.h"
#include "picturesource/picture_reader.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QUrl>
#include <algorithm>
#include <exception>
#include <new>

namespace hz::gui {

namespace {

// The text boxes show this many bytes of a picture at most; the export has them all. A 256 x 256
// one-bit picture fits, or a 128 x 64 one at 8 bits; a larger one would make each box hundreds of
// kilobytes of text, too slow to show again at each move of the threshold.
constexpr std::size_t kShownBytes = 8 * 1024;

std::string localName(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// The bytes as the boxes show them: assembly and C, cut at kShownBytes with a line that says so.
std::pair<QString, QString> boxTexts(const std::vector<std::uint8_t>& bytes) {
    const std::span<const std::uint8_t> shownBytes(bytes.data(), std::min(bytes.size(), kShownBytes));
    QString assembly = QString::fromStdString(hz::assemblyText(shownBytes));
    QString c = QString::fromStdString(hz::cText(shownBytes));
    if (shownBytes.size() < bytes.size()) {
        const QString note = QStringLiteral("……只显示前 %1 字节，共 %2 字节；导出的文件里是全部字节。")
                                 .arg(shownBytes.size())
                                 .arg(bytes.size());
        assembly += QStringLiteral("; ") + note;
        c += QStringLiteral("\r\n// ") + note;
    }
    return {assembly, c};
}

QString failureText(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return QStringLiteral("内存不足，操作没有完成。");
    return QStringLiteral("程序内部出错，操作没有完成。\n（%1）").arg(QString::fromUtf8(error.what()));
}

// The local picture files among dropped addresses.
QStringList droppedFiles(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}

bool isSvgFile(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QStringLiteral("svg") || suffix == QStringLiteral("svgz");
}

} // namespace

ImageWindow::ImageWindow(Prompter& prompter, const hz::LayoutChoice& layout, int depth,
                         std::vector<std::string> readFiles, QWidget* parent)
    : QDialog(parent), prompter(prompter),
      exporter(std::make_unique<ImageExport>(prompter, this, std::move(readFiles))) {
    createControls();
    placeControls();

    for (const LayoutItem& item : layoutItems(layout)) {
        ImageLayout->addItem(item.label);
        layoutChoices.push_back(item.choice);
    }
    const auto chosen = std::find(layoutChoices.begin(), layoutChoices.end(), layout);
    ImageLayout->setCurrentIndex(chosen == layoutChoices.end() ? 0 : static_cast<int>(chosen - layoutChoices.begin()));
    const auto* deepest = std::find(std::begin(kImageDepths), std::end(kImageDepths), depth);
    ImageDepth->setCurrentIndex(deepest == std::end(kImageDepths) ? 0 : static_cast<int>(deepest - std::begin(kImageDepths)));

    connectSignals();
    showThreshold();
    showMessage(QString());
    // Nothing to choose or export before there is a picture.
    optionBox->setEnabled(false);
    ImageExportButton->setEnabled(false);
}

ImageWindow::~ImageWindow() = default;

hz::PictureSettings ImageWindow::settings() const {
    hz::PictureSettings chosen;
    chosen.fit = hz::PictureSize{FitWidth->value(), FitHeight->value()};
    chosen.dither = hz::kDithers[static_cast<std::size_t>(std::max(0, DitherChoice->currentIndex()))];
    chosen.invert = InvertCheck->isChecked();
    chosen.depth = depth();
    // The threshold cuts one-bit dots; "不抖动" cuts at the middle.
    if (chosen.depth == 1 && chosen.dither != hz::Dither::None)
        chosen.threshold = ThresholdSlider->value();
    return chosen;
}

hz::LayoutChoice ImageWindow::layoutChoice() const {
    const int index = ImageLayout->currentIndex();
    return index >= 0 ? layoutChoices[static_cast<std::size_t>(index)] : hz::LayoutChoice::of(hz::Arrangement::Rows);
}

int ImageWindow::depth() const {
    return kImageDepths[std::max(0, ImageDepth->currentIndex())];
}

QString ImageWindow::message() const {
    return ImageMessage->text();
}

bool ImageWindow::isScalable() const {
    return isSvgFile(path);
}

void ImageWindow::choosePicture() {
    const QStringList filters{QStringLiteral("图片(*.png *.bmp *.jpg *.jpeg *.gif *.svg)"),
                              QStringLiteral("所有文件(*.*)")};
    if (const auto chosen = prompter.openFileName(this, QStringLiteral("打开图片"), filters))
        openPicture(*chosen);
}

bool ImageWindow::openPicture(const QString& file) {
    // Everything is made before anything shown changes: a picture that fails on the way leaves the
    // one before as it was.
    try {
        auto read = hz::picturesource::readPicture(localName(file));
        // An SVG whose own size is too large to draw is drawn at the largest size instead: it has
        // no pixels of its own to be too many.
        if (!read && isSvgFile(file) && (read.problem().kind == hz::PictureProblemKind::TooLargeForDots ||
                                         read.problem().kind == hz::PictureProblemKind::SourceTooLarge))
            read = hz::picturesource::readPicture(localName(file),
                                                  hz::PictureSize{hz::DotPicture::kMaxSide, hz::DotPicture::kMaxSide});
        if (!read) {
            showMessage(pictureProblemText(read.problem()));
            return false;
        }
        // Its own size, fitted inside the largest when it is larger.
        const int width = read->width;
        const int height = read->height;
        const hz::PictureSize fit = hz::fittedSize(
            width, height, {std::min(width, hz::DotPicture::kMaxSide), std::min(height, hz::DotPicture::kMaxSide)});
        hz::PictureSettings first = settings();
        first.fit = fit;
        const int threshold = otsuOf(*read, first);
        if (first.threshold)
            first.threshold = threshold;
        hz::RgbaImage drawn;
        if (isSvgFile(file)) {
            auto atFit = hz::picturesource::readPicture(localName(file), fit);
            if (!atFit) {
                showMessage(pictureProblemText(atFit.problem()));
                return false;
            }
            drawn = std::move(*atFit);
        }
        auto dots = hz::pictureDots(isSvgFile(file) ? drawn : *read, first);
        if (!dots) {
            showMessage(pictureProblemText(dots.problem()));
            return false;
        }

        path = file;
        picture = std::move(*read);
        ownSize = {width, height};
        drawnSvg = std::move(drawn);
        drawnSvgBox = isSvgFile(file) ? std::optional(fit) : std::nullopt;
        quiet = true;
        FitWidth->setValue(fit.width);
        FitHeight->setValue(fit.height);
        ThresholdSlider->setValue(threshold);
        thresholdChosen = false;
        quiet = false;
        ImageName->setText(QStringLiteral("%1（%2×%3）").arg(QFileInfo(path).fileName()).arg(width).arg(height));
        ImageName->setToolTip(path);
        showPicture(hz::PictureRecord{hz::pictureName(localName(path)), std::move(*dots)});
        return true;
    } catch (const std::exception& error) {
        showMessage(failureText(error));
        return false;
    }
}

int ImageWindow::otsuOf(const hz::RgbaImage& image, hz::PictureSettings chosen) {
    chosen.threshold.reset();
    if (chosen.dither == hz::Dither::None)
        chosen.dither = hz::Dither::Threshold;
    const hz::PictureSize size = hz::fittedSize(image.width, image.height, *chosen.fit);
    return hz::pictureThreshold(hz::pictureGrey(hz::scalePicture(image, size), chosen.invert), chosen);
}

int ImageWindow::otsuChoice() const {
    return picture.width == 0 ? 128 : otsuOf(picture, settings());
}

void ImageWindow::followOtsu() {
    if (quiet || thresholdChosen || picture.width == 0)
        return;
    const bool wasQuiet = quiet;
    quiet = true;
    ThresholdSlider->setValue(otsuChoice());
    quiet = wasQuiet;
}

void ImageWindow::showThreshold() {
    const hz::PictureSettings now = settings();
    const bool cuts = now.depth == 1 && now.dither != hz::Dither::None;
    ThresholdSlider->setEnabled(cuts);
    ThresholdValue->setText(cuts ? QString::number(ThresholdSlider->value()) : QStringLiteral("—"));
}

void ImageWindow::redraw() {
    showThreshold();
    if (quiet || picture.width == 0)
        return;
    try {
        const hz::PictureSettings now = settings();
        if (isScalable() && drawnSvgBox != now.fit) {
            // Drawn afresh at the size asked for, so that its edges stay sharp.
            auto drawn = hz::picturesource::readPicture(localName(path), now.fit);
            if (!drawn) {
                showMessage(pictureProblemText(drawn.problem()));
                return;
            }
            drawnSvg = std::move(*drawn);
            drawnSvgBox = now.fit;
        }
        auto dots = hz::pictureDots(isScalable() ? drawnSvg : picture, now);
        if (!dots) {
            showMessage(pictureProblemText(dots.problem()));
            return;
        }
        showPicture(hz::PictureRecord{hz::pictureName(localName(path)), std::move(*dots)});
    } catch (const std::exception& error) {
        showMessage(failureText(error));
    }
}

void ImageWindow::showPicture(hz::PictureRecord record) {
    shown = std::move(record);
    optionBox->setEnabled(true);
    ImageExportButton->setEnabled(true);
    View->showDots(shown->dots);
    SizeLabel->setText(QStringLiteral("图片点阵:%1*%2").arg(shown->dots.width()).arg(shown->dots.height()));
    showThreshold();
    showTexts();
    showMessage(QString());
}

void ImageWindow::showTexts() {
    if (!shown)
        return;
    // Only the set of boxes in view is filled; the other when it is chosen (fillBoxes).
    filledSet.reset();
    fillBoxes();
    showChosenText();
}

void ImageWindow::showChosenText() {
    // A layout other than the five gets the box below them, as in the main window.
    const hz::LayoutChoice choice = layoutChoice();
    chosenCFields.clear();
    if (choice.kind != hz::LayoutChoice::Kind::Layout) {
        if (Texts->chosenLayout())
            Texts->setChosenLayout(std::nullopt);
        return;
    }
    const hz::Layout layout = layoutAtDepth(choice.layout, depth());
    if (!shown)
        return;
    if (Texts->chosenLayout() != layout)
        Texts->setChosenLayout(layout);
    if (!hz::hasGreyForm(layout)) {
        Texts->chosenLayoutBox()->setPlainText(kPagesOneBitNote);
        return;
    }
    const auto [assembly, c] = boxTexts(hz::encodePicture(shown->dots, layout));
    Texts->chosenLayoutBox()->setPlainText(assembly + QStringLiteral("\r\n") + c);
    chosenCFields = c;
}

void ImageWindow::fillBoxes() {
    const bool cSet = Texts->showsCSet();
    if (!shown || filledSet == cSet)
        return;
    const int bits = depth();
    for (int k = 0; k < hz::kArrangementCount; ++k) {
        QPlainTextEdit* box = cSet ? Texts->cBox(k) : Texts->assemblyBox(k);
        const hz::Layout layout = layoutAtDepth(hz::arrangementLayout(static_cast<hz::Arrangement>(k)), bits);
        if (!hz::hasGreyForm(layout)) {
            box->setPlainText(kPagesOneBitNote);
            continue;
        }
        const auto [assembly, c] = boxTexts(hz::encodePicture(shown->dots, layout));
        box->setPlainText(cSet ? c : assembly);
    }
    // What the other set held is of another picture now.
    for (int k = 0; k < hz::kArrangementCount; ++k)
        (cSet ? Texts->assemblyBox(k) : Texts->cBox(k))->clear();
    filledSet = cSet;
}

void ImageWindow::exportPicture() {
    if (!shown)
        return;
    try {
        const auto choice = choiceAtDepth(layoutChoice(), depth());
        if (!choice) {
            prompter.critical(this, depthRefusalText(layoutChoice(), depth()));
            return;
        }
        exporter->exportPicture(*shown, *choice, localName(path));
    } catch (const std::exception& error) {
        prompter.critical(this, failureText(error));
    }
}

void ImageWindow::showMessage(const QString& text) {
    ImageMessage->setText(text);
    ImageMessage->setVisible(!text.isEmpty());
}

void ImageWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void ImageWindow::dragMoveEvent(QDragMoveEvent* event) {
    if (!droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void ImageWindow::dropEvent(QDropEvent* event) {
    const QStringList files = droppedFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    // One picture at a time: the first one dropped.
    if (openPicture(files.first()) && files.size() > 1)
        showMessage(QStringLiteral("一次只取模一张图片：已打开“%1”，其余 %2 个文件没有打开。")
                        .arg(QFileInfo(files.first()).fileName())
                        .arg(files.size() - 1));
}

void ImageWindow::connectSignals() {
    connect(ImageOpen, &QPushButton::clicked, this, &ImageWindow::choosePicture);
    connect(ImageExportButton, &QPushButton::clicked, this, &ImageWindow::exportPicture);
    // A new size or inversion changes the grey Otsu's choice is taken from.
    for (QSpinBox* side : {FitWidth, FitHeight})
        connect(side, &QSpinBox::valueChanged, this, [this] {
            followOtsu();
            redraw();
        });
    connect(InvertCheck, &QCheckBox::toggled, this, [this] {
        followOtsu();
        redraw();
    });
    connect(DitherChoice, &QComboBox::currentIndexChanged, this, &ImageWindow::redraw);
    connect(ImageDepth, &QComboBox::currentIndexChanged, this, &ImageWindow::redraw);
    connect(ImageLayout, &QComboBox::currentIndexChanged, this, &ImageWindow::showChosenText);
    connect(ThresholdSlider, &QSlider::valueChanged, this, [this] {
        if (!quiet)
            thresholdChosen = true;
        redraw();
    });
    connect(AssemblySet, &QPushButton::clicked, this, [this] {
        Texts->showAssemblySet();
        fillBoxes();
    });
    connect(CSet, &QPushButton::clicked, this, [this] {
        Texts->showCSet();
        fillBoxes();
    });
}

} // namespace hz::gui

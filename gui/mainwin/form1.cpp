#include "gui/mainwin/form1.h"
#include "core/library/library_source.h"

#include "core/layout/layout_presets.h"
#include "core/library/font_library.h"
#include "core/library/glyph_reader.h"
#include "core/system/install_paths.h"
#include "core/text/code_point_text.h"
#include "gui/common/export_action.h"
#include "gui/common/export_format.h"
#include "gui/common/grey_depth.h"
#include "gui/common/module1.h"
#include "gui/common/prompter.h"
#include "gui/common/rain_button.h"
#include "gui/designer/form3.h"
#include "gui/fontchooser/other_font_item.h"
#include "gui/help/document_links.h"
#include "gui/help/form13.h"
#include "gui/imagewin/image_window.h"
#include "gui/layoutdialog/layout_dialog.h"
#include "gui/mainwin/dot_view.h"
#include "gui/mainwin/glyph_list_model.h"
#include "gui/mainwin/key_panel.h"
#include "gui/mainwin/layout_chooser.h"
#include "gui/mainwin/link_label.h"
#include "gui/mainwin/lookup_pass.h"
#include "gui/mainwin/text_panel.h"
#include "gui/meters/form14.h"
#include "gui/preview/lcd_preview.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTreeView>
#include <QUrl>
#include <algorithm>
#include <exception>
#include <new>

using namespace hz::gui;

namespace {

// A font's refusal names the character, as a font may lack any character at all: "“A”(U+0041)：…".
QString fontRefusalText(const hz::RefusedCharacter& refused) {
    const char32_t c = refused.character;
    return QStringLiteral("“%1”(%2)：%3")
        .arg(QString::fromUcs4(&c, 1), QString::fromStdString(hz::codePointText(c)),
             QString::fromUtf8(hz::statusMessage(refused.status)));
}

// An action that stopped on an exception, in the window's words; the exception's own (English) words
// follow for a report of the fault.
QString failureText(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return QStringLiteral("内存不足，操作没有完成。");
    return QStringLiteral("程序内部出错，操作没有完成。\n（%1）").arg(QString::fromUtf8(error.what()));
}

// Every library the window may read: an export must never replace one.
std::vector<std::string> libraryFiles(const std::string& folder) {
    std::vector<std::string> files;
    for (const hz::FontLibrary& library : hz::fontLibraries())
        files.push_back(hz::libraryPath(folder, library));
    return files;
}

} // namespace

Form1::Form1(const QString& programDir, Prompter* prompter, QWidget* parent)
    : GradientPanel(parent), folder(programDir) {
    if (prompter == nullptr) {
        ownPrompter = std::make_unique<QtPrompter>();
        prompter = ownPrompter.get();
    }
    prompts = prompter;
    exporter = std::make_unique<ExportAction>(*prompts, this, libraryFiles(folder.toStdString()));
    // A font or library file of the user's own is read too: an export must not replace it either.
    exporter->setChosenFile([this] {
        const auto source = glyphSource();
        return source ? source->filePath() : std::string();
    });

    createControls();
    fontItem = new OtherFontItem(*Combo1, *prompts, this, hz::libraryFolder(folder.toStdString()));
    // Made last so that it opens above every other control.
    Picture1 = new KeyPanel(Text3, this);
    placeControls();
    connectSignals();
    startUp();
}

Form1::~Form1() = default;

void Form1::connectSignals() {
    connect(Command1, &QPushButton::clicked, this, &Form1::runLookup);
    connect(Text3, &QLineEdit::returnPressed, this, &Form1::runLookup);
    for (int index = 1; index <= 11; ++index)
        connect(Command20[static_cast<std::size_t>(index)], &QPushButton::clicked, this,
                [this, index] { Command20Click(index); });

    connect(ListView1, &QTreeView::clicked, this, [this](const QModelIndex& index) { showRecord(index.row()); });
    // Moving through the list with the keyboard shows each row too. Queued, so that rows being
    // removed are gone before the new current row is read.
    connect(ListView1->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &Form1::followCurrentRow,
            Qt::QueuedConnection);

    connect(Command3, &QPushButton::clicked, Picture1, &KeyPanel::toggleInsertMode);
    connect(Command21, &QPushButton::clicked, this, [this] {
        if (!list->isEmpty())
            Picture1->toggleMarkMode();
    });
    connect(this, &Form1::keyPanelHideRequested, Picture1, &KeyPanel::hidePanel);
    connect(Picture1, &KeyPanel::dotMarkChosen, this, &Form1::redrawCurrentGlyph);

    connect(Combo1, &QComboBox::currentIndexChanged, this, &Form1::followDepth);
    connect(fontItem, &OtherFontItem::fontTaken, this, &Form1::followDepth);

    connect(ExportHeader, &QPushButton::clicked, this, &Form1::exportHeaderFile);
    // Only a C header is compressed.
    connect(FormatChoice, &QComboBox::currentIndexChanged, this, [this] {
        CompressCheck->setEnabled(static_cast<hz::gui::ExportFormat>(FormatChoice->currentData().toInt()) ==
                                  hz::gui::ExportFormat::CHeader);
    });
    connect(OpenPreview, &QPushButton::clicked, this, &Form1::openPreview);
    connect(OpenImageWindow, &QPushButton::clicked, this, &Form1::openImageWindow);

    // Queued: the dialog's own event loop runs after Combo2 has finished its change, not inside it.
    connect(layoutChooser, &LayoutChooser::customLayoutRequested, this, &Form1::openLayoutDialog, Qt::QueuedConnection);
    connect(layoutChooser, &LayoutChooser::choiceChanged, this, &Form1::followLayoutChoice);
    connect(Command6, &QPushButton::clicked, Picture3, &TextPanel::showAssemblySet);
    connect(Command2, &QPushButton::clicked, Picture3, &TextPanel::showCSet);

    connect(contactLabels[0], &LinkLabel::clicked, this, &Form1::openHomePage);
    connect(contactLabels[1], &LinkLabel::clicked, this, &Form1::openHomePage);
    connect(contactLabels[2], &LinkLabel::clicked, this,
            [this] { hz::gui::openDocument(this, folder, hz::gui::Document::Arrangements, prompter()); });
    connect(contactLabels[3], &LinkLabel::clicked, this,
            [this] { hz::gui::openDocument(this, folder, hz::gui::Document::ExportFormat, prompter()); });
    for (int k = 0; k < hz::kArrangementCount; ++k)
        connect(Picture3->arrowLabel(k), &LinkLabel::clicked, this, &Form1::openHomePage);

    // Clicks elsewhere in the window close the key panel.
    QList<QObject*> closers = {Text1->viewport(), ListView1->viewport(), Frame2, Label2, Picture3->innerPanel()};
    for (int k = 0; k < hz::kArrangementCount; ++k)
        closers << Picture3->assemblyBox(k)->viewport() << Picture3->cBox(k)->viewport();
    closers << Picture3->chosenLayoutBox()->viewport();
    for (QObject* closer : closers)
        closer->installEventFilter(this);
}

void Form1::startUp() {
    Text3->setText(QStringLiteral("样字"));
    Combo1->setCurrentIndex(1);
    Combo2->setCurrentIndex(0);

    ProgramSettings& settings = Module1();
    settings.BackMarkOn = true;
    settings.ViewBackColor = Text1->backColor();
    settings.ViewForeColor = Text1->textColor();
    settings.BackMark = QStringLiteral("□");
    settings.DotMark = QStringLiteral("■");

    Picture6->paintGradient();
    Picture1->paintGradient();
    paintGradient();

    settings.SpaceX = 2;
    settings.SpaceY = 2;

    for (int index = 1; index <= 11; ++index)
        Command20[static_cast<std::size_t>(index)]->applyStyle();
    Picture3->showAssemblySet();
    Command21->applyStyle();
    ExportHeader->applyStyle();
    OpenPreview->applyStyle();

    updateCountLabel();
    runLookup();
    ProgressBar1->hide();

    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

int Form1::libraryPosition() const {
    const int index = Combo1->currentIndex();
    return index == OtherFontItem::kIndex ? -1 : index;
}

std::shared_ptr<hz::GlyphSource> Form1::glyphSource() const {
    if (libraryPosition() < 0)
        return fontItem->source();
    const ProgramSettings& settings = Module1();
    return std::make_shared<hz::LibrarySource>(hz::libraryFolder(folder.toStdString()), libraryPosition(),
                                               settings.SpaceX, settings.SpaceY);
}

hz::LayoutChoice Form1::layoutChoice() const {
    return layoutChooser->choice();
}

hz::Layout Form1::chosenLayout() const {
    return layoutChoice().layout;
}

QString Form1::librariesMissingText() const {
    const std::string programDir = folder.toStdString();
    if (hz::holdsAnyLibrary(hz::libraryFolder(programDir)))
        return {};
    const auto places = hz::libraryPlaces(programDir);
    return QStringLiteral("程序所在的文件夹（%1）和安装的字库文件夹（%2）里都没有字库文件。")
        .arg(QFile::decodeName(QByteArray::fromStdString(places[0])),
             QFile::decodeName(QByteArray::fromStdString(places[1])));
}

void Form1::followLayoutChoice() {
    const hz::LayoutChoice choice = layoutChoice();
    Picture3->setChosenLayout(choice.kind == hz::LayoutChoice::Kind::Layout ? std::optional(choice.layout)
                                                                            : std::nullopt);
    if (const hz::GlyphRecord* record = currentRecord())
        Picture3->showTexts(*record, chosenDepth());
}

int Form1::chosenDepth() const {
    if (libraryPosition() >= 0 || !fontItem->choice())
        return 1;
    return fontItem->choice()->fontSpec.bpp;
}

void Form1::followDepth() {
    const int depth = chosenDepth();
    if (depth == list->depth())
        return;
    list->setDepth(depth);
    if (const hz::GlyphRecord* record = currentRecord())
        Picture3->showTexts(*record, depth);
}

hz::LayoutChoice Form1::singleChoice() const {
    const hz::LayoutChoice choice = layoutChoice();
    return choice.kind == hz::LayoutChoice::Kind::All ? hz::LayoutChoice::of(hz::Arrangement::Rows) : choice;
}

std::optional<hz::LayoutChoice> Form1::writableChoice(const hz::LayoutChoice& choice) {
    const int depth = chosenDepth();
    auto written = choiceAtDepth(choice, depth);
    if (!written)
        prompter().critical(this, depthRefusal(choice, depth));
    return written;
}

void Form1::runLookup() {
    const std::shared_ptr<hz::GlyphSource> source = glyphSource();
    if (!source)
        return;
    // A library file of the user's own refuses with the six libraries' words.
    const bool fromFont = source->libraryPosition() < 0 && !fontItem->readsLibraryFile();
    const QString missingWhere = source->libraryPosition() >= 0 ? librariesMissingText() : QString();
    WaitCursor hourglass;
    LookupPass pass(*list, *ProgressBar1);
    pass.onRefused([this, fromFont, missingWhere](const hz::RefusedCharacter& refused) {
        QString text = fromFont ? fontRefusalText(refused) : QString::fromUtf8(hz::statusMessage(refused.status));
        if (refused.status == hz::LookupStatus::LibraryMissing && !missingWhere.isEmpty())
            text += QLatin1Char('\n') + missingWhere;
        {
            ArrowCursor pointer;
            prompter().critical(this, text);
        }
        if (refused.status == hz::LookupStatus::LibraryMissing)
            Combo1->setFocus();
        else
            Text3->setFocus();
    });
    pass.onMoreRefused([this](const QString& text) {
        {
            ArrowCursor pointer;
            prompter().critical(this, text);
        }
        Text3->setFocus();
    });
    pass.onAppended([this] {
        const int last = list->count() - 1;
        selectRow(last);
        showRecord(last);
        updateCountLabel();
        emit keyPanelHideRequested();
    });
    pass.run(Text3->text(), source);
}

void Form1::showRecord(int row) {
    if (row < 0 || row >= list->count())
        return;
    const hz::GlyphRecord& record = list->record(row);
    Label3->setText(QString::fromStdString(record.character));
    Picture3->showTexts(record, chosenDepth());
    CurrentIndex = row + 1;
    Label6->setText(QStringLiteral("当前汉字点阵:") + QString::fromStdString(record.sizeText));
    drawGlyph(record);
}

void Form1::drawGlyph(const hz::GlyphRecord& record) {
    // The six libraries' records are drawn as they always were; a font's from its cell, any size.
    if (record.libraryPosition >= 0)
        Text1->ShowGlyph(record.assemblyText(static_cast<std::size_t>(hz::Arrangement::Rows)), record.cellSize(),
                         record.glyphBytes());
    else
        Text1->ShowGlyph(record.cell());
}

void Form1::selectRow(int row) {
    if (row < 0 || row >= list->count())
        return;
    const QModelIndex index = list->index(row, 0);
    ListView1->selectionModel()->setCurrentIndex(index,
                                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ListView1->scrollTo(index);
}

void Form1::followCurrentRow() {
    const int row = ListView1->currentIndex().row();
    if (row >= 0 && row != CurrentIndex - 1)
        showRecord(row);
}

void Form1::blankView() {
    Picture3->clearTexts();
    Text1->blank();
    CurrentIndex = 0;
    Label3->clear();
}

const hz::GlyphRecord* Form1::currentRecord() const {
    if (CurrentIndex < 1 || CurrentIndex > list->count())
        return nullptr;
    return &list->record(CurrentIndex - 1);
}

void Form1::redrawCurrentGlyph() {
    if (const hz::GlyphRecord* record = currentRecord())
        drawGlyph(*record);
}

void Form1::updateCountLabel() {
    Label2->setText(QStringLiteral("最近输入共： %1个汉字").arg(list->count()));
}

void Form1::Command20Click(int index) {
    emit keyPanelHideRequested();
    // A cancelled dialog ends an action quietly; anything that really fails is told to the user.
    try {
        switch (index) {
        case 1:
            deleteAllRecords();
            break;
        case 2:
            exportAllRecords();
            break;
        case 3:
            exportCurrentRecord();
            break;
        case 4:
            chooseViewForeColor();
            break;
        case 5:
            chooseViewBackColor();
            break;
        case 6:
            close();
            break;
        case 7:
            toggleBackMark();
            break;
        case 8:
            deleteCurrentRecord();
            break;
        case 9:
            openMeters();
            break;
        case 10:
            openDesigner();
            break;
        case 11:
            openHelp();
            break;
        default:
            break;
        }
    } catch (const std::exception& error) {
        prompter().critical(this, failureText(error));
    }
}

void Form1::deleteAllRecords() {
    if (list->isEmpty() || !prompter().question(this, QStringLiteral("确认是否删除全部点阵？")))
        return;
    list->removeAll();
    blankView();
    updateCountLabel();
}

void Form1::deleteCurrentRecord() {
    if (!currentRecord())
        return;
    if (!prompter().question(this, QStringLiteral("确认是否删除该点阵？")))
        return;
    const int removed = CurrentIndex - 1;
    list->removeRecord(removed);
    if (list->isEmpty()) {
        blankView();
    } else {
        // The follower takes the removed row's place; after the last row, the new last one.
        const int next = std::min(removed, list->count() - 1);
        selectRow(next);
        showRecord(next);
    }
    updateCountLabel();
}

void Form1::exportAllRecords() {
    if (list->isEmpty())
        return;
    if (const auto choice = writableChoice(layoutChoice()))
        exporter->exportAll(list->records(), *choice);
}

void Form1::exportCurrentRecord() {
    if (!currentRecord())
        return;
    if (const auto choice = writableChoice(layoutChoice()))
        exporter->exportCurrent(currentRecord(), *choice);
}

void Form1::exportHeaderFile() {
    emit keyPanelHideRequested();
    try {
        if (list->isEmpty())
            return;
        const auto format = static_cast<hz::gui::ExportFormat>(FormatChoice->currentData().toInt());
        const auto source = glyphSource();
        const int baselineRows = source ? source->baselineRows() : 0;
        if (format == hz::gui::ExportFormat::U8g2 || format == hz::gui::ExportFormat::Bdf) {
            // One bit a dot, in the font's own bit order.
            exporter->exportFontFile(list->records(), format == hz::gui::ExportFormat::Bdf, baselineRows);
        } else if (format != hz::gui::ExportFormat::CHeader) {
            // An LVGL font has LVGL's own layout: only the depth is the window's.
            exporter->exportLvgl(list->records(), chosenDepth(), format == hz::gui::ExportFormat::LvglBin,
                                 baselineRows);
        } else if (const auto choice = writableChoice(singleChoice())) {
            exporter->exportHeader(list->records(), choice->layout, CompressCheck->isChecked());
        }
    } catch (const std::exception& error) {
        prompter().critical(this, failureText(error));
    }
}

void Form1::openPreview() {
    emit keyPanelHideRequested();
    // The panel shows what the bytes at the chosen depth draw; a page layout has none beyond one bit.
    const auto choice = writableChoice(singleChoice());
    if (!choice)
        return;
    std::unique_ptr<hz::gui::LcdPreview> preview;
    {
        WaitCursor hourglass;
        preview =
            std::make_unique<hz::gui::LcdPreview>(list->records(), choice->layout, prompter(), glyphSource(), this);
    }
    preview->exec();
}

void Form1::openImageWindow() {
    emit keyPanelHideRequested();
    // An export from there must not land on any library this window reads either.
    std::vector<std::string> reading = libraryFiles(folder.toStdString());
    if (const auto source = glyphSource(); source && !source->filePath().empty())
        reading.push_back(source->filePath());
    std::unique_ptr<hz::gui::ImageWindow> window;
    {
        WaitCursor hourglass;
        window = std::make_unique<hz::gui::ImageWindow>(prompter(), layoutChoice(), chosenDepth(), std::move(reading),
                                                        this);
    }
    window->exec();
}

void Form1::openMeters() {
    openSideWindow<Form14>();
}

void Form1::openDesigner() {
    openSideWindow<Form3>();
}

void Form1::openHelp() {
    openSideWindow<Form13>();
}

void Form1::openLayoutDialog() {
    emit keyPanelHideRequested();
    // Matching compares a paste with the glyph the window would look up now (the chosen library or
    // font), and with the same character in the other libraries of the program's folder, as the
    // command line does: bytes of a firmware's font unlike the chosen one are still recognised.
    std::shared_ptr<hz::GlyphSource> source = glyphSource();
    LayoutDialog::ReferenceLookup reference =
        [source, folder = programDir().toStdString()](char32_t character, std::vector<hz::DotCell>& faces) {
            faces.assign(1, hz::DotCell());
            const hz::LookupStatus status =
                source ? source->glyph(character, faces.front()) : hz::LookupStatus::LibraryMissing;
            if (status == hz::LookupStatus::Found)
                for (hz::DotCell& face : hz::otherLibraryGlyphs(character, folder, source->libraryPosition()))
                    faces.push_back(std::move(face));
            return status;
        };
    LayoutDialog dialog(currentRecord(), layoutChooser->currentLayout(), std::move(reference), this);
    if (dialog.exec() == QDialog::Accepted)
        layoutChooser->useLayout(dialog.chosenLayout());
}

void Form1::chooseViewForeColor() {
    const std::optional<QColor> chosen = prompter().chooseColor(this, Text1->textColor());
    if (!chosen)
        return;
    Text1->setTextColor(*chosen);
    Module1().ViewForeColor = Text1->textColor();
}

void Form1::chooseViewBackColor() {
    const std::optional<QColor> chosen = prompter().chooseColor(this, Text1->backColor());
    if (!chosen)
        return;
    Text1->setBackColor(*chosen);
    Module1().ViewBackColor = Text1->backColor();
}

void Form1::toggleBackMark() {
    if (list->isEmpty())
        return;
    Module1().BackMarkOn = !Module1().BackMarkOn;
    redrawCurrentGlyph();
}

void Form1::openHomePage() {
    hz::gui::openDocument(this, folder, hz::gui::Document::Readme, prompter());
}

void Form1::closeEvent(QCloseEvent* event) {
    if (prompter().question(this, QStringLiteral("是否退出程序？")))
        event->accept();
    else
        event->ignore();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress)
        emit keyPanelHideRequested();
    return GradientPanel::eventFilter(watched, event);
}

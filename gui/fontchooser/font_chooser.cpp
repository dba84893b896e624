#include "gui/fontchooser/font_chooser.h"
#include "core/library/library_source.h"

#include "core/system/install_paths.h"
#include "fontsource/font_face.h"
#include "fontsource/installed_fonts.h"
#include "gui/common/prompter.h"
#include "gui/common/wait_cursor.h"
#include "gui/fontchooser/font_problem_text.h"
#include "gui/fontchooser/font_sample.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

namespace hz::gui {

namespace {

enum Role {
    FileRole = Qt::UserRole + 1,
    FaceRole,
    SizeRole, // the size that comes with the entry (a recent choice, a bitmap strike); 0 for none
    NameRole,
    SearchRole,
};

// A collection holds at most this many faces for our purposes; a file is probed face by face.
constexpr int kMaxProbedFaces = 32;

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// File names go to FreeType in the system's encoding for them.
std::string fileNameOf(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString pathOf(const std::string& fileName) {
    return QFile::decodeName(QByteArray::fromStdString(fileName));
}

} // namespace

FontChooser::FontChooser(Prompter& prompter, const std::vector<FontChoice>& recent,
                         const std::optional<FontChoice>& current, QWidget* parent, std::string libraryFolder)
    : QDialog(parent), prompter(prompter),
      libraryFolder(libraryFolder.empty() ? hz::libraryFolder(fileNameOf(QCoreApplication::applicationDirPath()))
                                          : std::move(libraryFolder)) {
    createControls();
    placeControls();
    fillList(recent);
    connectSignals();
    if (current)
        select(current);
    else if (!recent.empty())
        select(recent.front());
    else if (FontList->count() > 0)
        FontList->setCurrentRow(0);
    updateSample();
}

void FontChooser::createControls() {
    setObjectName(QStringLiteral("FontChooser"));
    setWindowTitle(QStringLiteral("选择字体"));

    FontSearch = new QLineEdit(this);
    FontSearch->setObjectName(QStringLiteral("FontSearch"));
    FontSearch->setPlaceholderText(QStringLiteral("搜索字体名称或文件"));
    FontSearch->setClearButtonEnabled(true);

    FontList = new QListWidget(this);
    FontList->setObjectName(QStringLiteral("FontList"));
    FontList->setSelectionMode(QAbstractItemView::SingleSelection);

    SizeBox = new QSpinBox(this);
    SizeBox->setObjectName(QStringLiteral("SizeBox"));
    SizeBox->setRange(hz::fontsource::FontSource::kMinSize, hz::fontsource::FontSource::kMaxSize);
    SizeBox->setValue(kDefaultSize);
    SizeBox->setSuffix(QStringLiteral(" 点"));
    // Every size fits the whole character set anew; draw once the user stops typing.
    SizeBox->setKeyboardTracking(false);

    WidthChoice = new QComboBox(this);
    WidthChoice->setObjectName(QStringLiteral("WidthChoice"));
    WidthChoice->addItem(QStringLiteral("固定（全角、半角）"), static_cast<int>(hz::fontsource::GlyphWidths::Fixed));
    WidthChoice->addItem(QStringLiteral("按字形（比例宽度）"),
                         static_cast<int>(hz::fontsource::GlyphWidths::Proportional));
    WidthChoice->setToolTip(QStringLiteral("比例宽度：每个字符的宽度取字体中的字宽，最宽为一个全角"));

    AmbiguousChoice = new QComboBox(this);
    AmbiguousChoice->setObjectName(QStringLiteral("AmbiguousChoice"));
    AmbiguousChoice->addItem(QStringLiteral("全角（GB2312）"), static_cast<int>(hz::fontsource::AmbiguousWidth::Full));
    AmbiguousChoice->addItem(QStringLiteral("半角"), static_cast<int>(hz::fontsource::AmbiguousWidth::Half));
    AmbiguousChoice->setToolTip(QStringLiteral("宽度不定的符号，如 ° ± × α № ①"));

    BppChoice = new QComboBox(this);
    BppChoice->setObjectName(QStringLiteral("BppChoice"));
    for (int bits : {1, 2, 4, 8})
        BppChoice->addItem(bits == 1 ? QStringLiteral("1位（单色）") : QStringLiteral("%1位灰度").arg(bits), bits);
    BppChoice->setToolTip(QStringLiteral("每点的位数：2、4、8位按字体的抗锯齿覆盖率给出灰度，用于彩色TFT和灰度OLED"));

    RenderChoice = new QComboBox(this);
    RenderChoice->setObjectName(QStringLiteral("RenderChoice"));
    RenderChoice->addItem(QStringLiteral("保留细笔画"), static_cast<int>(hz::fontsource::RenderRule::KeepStrokes));
    RenderChoice->addItem(QStringLiteral("经典（同六个字库）"), static_cast<int>(hz::fontsource::RenderRule::Classic));
    RenderChoice->setToolTip(
        QStringLiteral("单色轮廓的渲染：保留细于一点的笔画，或按六个字库的经典方式；字形的位置不变"));

    FontFileButton = new QPushButton(QStringLiteral("字体文件…"), this);
    FontFileButton->setObjectName(QStringLiteral("FontFileButton"));

    SamplePreview = new FontSample(this);

    LibraryFindings = new QLabel(this);
    LibraryFindings->setObjectName(QStringLiteral("LibraryFindings"));
    LibraryFindings->setWordWrap(true);
    LibraryFindings->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LibraryFindings->setFrameShape(QFrame::StyledPanel);
    LibraryFindings->hide();

    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
}

void FontChooser::placeControls() {
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("搜索:"), this), 0, 0);
    grid->addWidget(FontSearch, 0, 1, 1, 3);
    grid->addWidget(FontList, 1, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("大小:"), this), 2, 0);
    grid->addWidget(SizeBox, 2, 1);
    grid->addWidget(FontFileButton, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("字宽:"), this), 3, 0);
    grid->addWidget(WidthChoice, 3, 1);
    auto* ambiguousRow = new QHBoxLayout;
    ambiguousRow->addWidget(new QLabel(QStringLiteral("符号宽度:"), this));
    ambiguousRow->addWidget(AmbiguousChoice);
    ambiguousRow->addStretch(1);
    grid->addLayout(ambiguousRow, 3, 2, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("灰度:"), this), 4, 0);
    grid->addWidget(BppChoice, 4, 1);
    auto* renderRow = new QHBoxLayout;
    renderRow->addWidget(new QLabel(QStringLiteral("渲染:"), this));
    renderRow->addWidget(RenderChoice);
    renderRow->addStretch(1);
    grid->addLayout(renderRow, 4, 2, 1, 2);
    grid->addWidget(SamplePreview, 5, 0, 1, 4);
    grid->addWidget(LibraryFindings, 6, 0, 1, 4);
    grid->addWidget(buttons, 7, 0, 1, 4);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(1, 3);
    grid->setRowStretch(5, 1);
    resize(560, 520);
}

void FontChooser::connectSignals() {
    connect(FontSearch, &QLineEdit::textChanged, this, &FontChooser::filter);
    connect(FontList, &QListWidget::currentRowChanged, this, &FontChooser::followSelection);
    connect(FontList, &QListWidget::itemDoubleClicked, this, &FontChooser::acceptIfAllowed);
    connect(SizeBox, &QSpinBox::valueChanged, this, &FontChooser::sampleSoon);
    connect(WidthChoice, &QComboBox::currentIndexChanged, this, &FontChooser::sampleSoon);
    connect(AmbiguousChoice, &QComboBox::currentIndexChanged, this, &FontChooser::sampleSoon);
    connect(BppChoice, &QComboBox::currentIndexChanged, this, &FontChooser::sampleSoon);
    connect(RenderChoice, &QComboBox::currentIndexChanged, this, &FontChooser::sampleSoon);
    sampleTimer.setSingleShot(true);
    sampleTimer.setInterval(kSampleDelayMs);
    connect(&sampleTimer, &QTimer::timeout, this, &FontChooser::updateSample);
    connect(FontFileButton, &QPushButton::clicked, this, &FontChooser::chooseFontFile);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void FontChooser::fillList(const std::vector<FontChoice>& recent) {
    for (const FontChoice& choice : recent) {
        if (choice.library) {
            addLibraryItem(pathOf(choice.fontSpec.file), findingsOf(choice), QStringLiteral("最近："), -1);
            continue;
        }
        const QString file = pathOf(choice.fontSpec.file);
        addItem(QStringLiteral("最近：%1").arg(choice.label()), choice, choice.name + QLatin1Char(' ') + file);
    }
    const std::vector<hz::fontsource::InstalledFont> installed = hz::fontsource::installedFonts();
    auto textOf = [](const hz::fontsource::InstalledFont& font) {
        const std::string& family = font.localFamily.empty() ? font.family : font.localFamily;
        QString text = fromUtf8(family) + QLatin1Char(' ') + fromUtf8(font.style);
        if (!font.scalable)
            text += QStringLiteral("（点阵 %1）").arg(font.pixelSize);
        return text;
    };
    // One family and style may be installed in several files (OpenType and Type 1, say); those
    // entries say their file, so that they can be told apart.
    QHash<QString, int> uses;
    for (const auto& font : installed)
        ++uses[textOf(font)];
    for (const hz::fontsource::InstalledFont& font : installed) {
        FontChoice choice;
        choice.fontSpec.file = font.file;
        choice.fontSpec.face = font.face;
        choice.fontSpec.size = font.scalable ? 0 : font.pixelSize;
        choice.name = fromUtf8(font.localFamily.empty() ? font.family : font.localFamily);
        QString text = textOf(font);
        if (uses.value(text) > 1)
            text += QStringLiteral("（%1）").arg(QFileInfo(pathOf(font.file)).fileName());
        const QString search =
            QStringList{fromUtf8(font.family), fromUtf8(font.localFamily), fromUtf8(font.style), pathOf(font.file)}
                .join(QLatin1Char(' '));
        addItem(text, choice, search);
    }
}

QListWidgetItem* FontChooser::addItem(const QString& text, const FontChoice& choice, const QString& searchText,
                                      int row) {
    auto* item = new QListWidgetItem(text);
    item->setData(FileRole, pathOf(choice.fontSpec.file));
    item->setData(FaceRole, choice.fontSpec.face);
    item->setData(SizeRole, choice.fontSpec.size);
    item->setData(NameRole, choice.name);
    item->setData(SearchRole, searchText);
    item->setToolTip(QStringLiteral("%1（第%2个字形集）").arg(pathOf(choice.fontSpec.file)).arg(choice.fontSpec.face));
    if (row < 0)
        FontList->addItem(item);
    else
        FontList->insertItem(row, item);
    return item;
}

void FontChooser::select(const std::optional<FontChoice>& wanted) {
    if (!wanted)
        return;
    // The entry of the same file and face, preferring one that comes with the same size.
    int found = -1;
    for (int row = 0; row < FontList->count(); ++row) {
        const QListWidgetItem* item = FontList->item(row);
        if (fileNameOf(item->data(FileRole).toString()) != wanted->fontSpec.file ||
            item->data(FaceRole).toInt() != wanted->fontSpec.face)
            continue;
        if (found < 0 || item->data(SizeRole).toInt() == wanted->fontSpec.size)
            found = row;
    }
    if (found < 0) {
        if (wanted->library)
            addLibraryItem(pathOf(wanted->fontSpec.file), findingsOf(*wanted), {}, 0);
        else
            addItem(wanted->name, *wanted, wanted->name + QLatin1Char(' ') + pathOf(wanted->fontSpec.file), 0);
        found = 0;
    }
    FontList->setCurrentRow(found);
    SizeBox->setValue(wanted->fontSpec.size);
    WidthChoice->setCurrentIndex(WidthChoice->findData(static_cast<int>(wanted->fontSpec.widths)));
    AmbiguousChoice->setCurrentIndex(AmbiguousChoice->findData(static_cast<int>(wanted->fontSpec.ambiguous)));
    BppChoice->setCurrentIndex(std::max(0, BppChoice->findData(wanted->fontSpec.bpp)));
    RenderChoice->setCurrentIndex(std::max(0, RenderChoice->findData(static_cast<int>(wanted->fontSpec.render))));
}

void FontChooser::filter(const QString& search) {
    const QString wanted = search.trimmed();
    for (int row = 0; row < FontList->count(); ++row) {
        QListWidgetItem* item = FontList->item(row);
        const bool match = wanted.isEmpty() || item->text().contains(wanted, Qt::CaseInsensitive) ||
                           item->data(SearchRole).toString().contains(wanted, Qt::CaseInsensitive);
        item->setHidden(!match);
    }
    // What OK takes is always an entry the user can see: the first match, or nothing.
    QListWidgetItem* current = FontList->currentItem();
    if (current && !current->isHidden())
        return;
    int firstShown = -1;
    for (int row = 0; row < FontList->count() && firstShown < 0; ++row) {
        if (!FontList->item(row)->isHidden())
            firstShown = row;
    }
    FontList->setCurrentRow(firstShown);
}

void FontChooser::followSelection() {
    const QListWidgetItem* item = FontList->currentItem();
    // A library file's cell and widths are the file's own.
    const bool font = libraryEntry(item) == nullptr;
    SizeBox->setEnabled(font);
    WidthChoice->setEnabled(font);
    AmbiguousChoice->setEnabled(font);
    BppChoice->setEnabled(font);
    RenderChoice->setEnabled(font);
    if (item && item->data(SizeRole).toInt() > 0 && item->data(SizeRole).toInt() != SizeBox->value()) {
        // The new size brings the sample.
        SizeBox->setValue(item->data(SizeRole).toInt());
        return;
    }
    sampleSoon();
}

void FontChooser::chooseFontFile() {
    const QStringList filters{fontFileFilter(), QStringLiteral("点阵字库 (*.bin *.dat *.hzk HZK* hzk*)"),
                              QStringLiteral("所有文件 (*)")};
    const std::optional<QString> file = prompter.openFileName(this, QStringLiteral("选择字体文件"), filters);
    if (!file || file->isEmpty())
        return;

    // Each face of a collection becomes an entry; a file that opens with no face at all still gets
    // one, so that choosing it says what is wrong with it.
    WaitCursor hourglass;
    const std::string path = fileNameOf(*file);
    std::vector<FontChoice> faces;
    // Opening a face is quick; fitting it to a size, which the sample does, is not.
    for (int face = 0; face < kMaxProbedFaces; ++face) {
        const auto opened = hz::fontsource::FontFace::open(path, face, SizeBox->value());
        if (!opened)
            break;
        faces.push_back({{path, face, 0, {}}, fromUtf8(opened->familyName())});
    }
    if (faces.empty() && !namedAsFont(*file)) {
        // Not a font FreeType can open: an HZK-style library file, perhaps.
        const LibraryFileProbe probe = probeLibraryFile(*file, libraryFolder);
        FontSearch->clear();
        addLibraryItem(*file, probe, {}, 0);
        FontList->setCurrentRow(0);
        updateSample();
        return;
    }
    if (faces.empty())
        faces.push_back({{path, 0, 0, {}}, QFileInfo(*file).completeBaseName()});

    FontSearch->clear();
    for (std::size_t k = 0; k < faces.size(); ++k) {
        const FontChoice& choice = faces[k];
        addItem(QStringLiteral("%1（%2）").arg(choice.name, QFileInfo(*file).fileName()), choice,
                choice.name + QLatin1Char(' ') + *file, static_cast<int>(k));
    }
    FontList->setCurrentRow(0);
    // The file was just read: what it gives, or what is wrong with it, is shown at once.
    updateSample();
}

void FontChooser::sampleSoon() {
    buttons->button(QDialogButtonBox::Ok)->setEnabled(choice().has_value());
    sampleTimer.start();
}

void FontChooser::updateSample() {
    sampleTimer.stop();
    const QListWidgetItem* item = FontList->currentItem();
    if (const LibraryFileProbe* probe = libraryEntry(item)) {
        showLibraryEntry(item->data(FileRole).toString(), *probe);
        return;
    }
    LibraryFindings->hide();
    const std::optional<FontChoice> chosen = choice();
    buttons->button(QDialogButtonBox::Ok)->setEnabled(chosen.has_value());
    if (!chosen) {
        SamplePreview->showProblem(QStringLiteral("请选择一种字体"));
        return;
    }
    WaitCursor hourglass;
    const auto source = hz::fontsource::FontSource::open(chosen->fontSpec);
    if (source)
        SamplePreview->showSample(**source);
    else
        SamplePreview->showProblem(fontProblemText(source.problem()));
}

std::optional<FontChoice> FontChooser::choice() const {
    const QListWidgetItem* item = FontList->currentItem();
    if (!item)
        return std::nullopt;
    FontChoice chosen;
    if (const LibraryFileProbe* probe = libraryEntry(item)) {
        if (!probe->findings)
            return std::nullopt;
        chosen.fontSpec = {fileNameOf(item->data(FileRole).toString()), 0, probe->findings->geometry.cell, {}};
        chosen.name = item->data(NameRole).toString();
        chosen.library = probe->findings;
        return chosen;
    }
    chosen.fontSpec.file = fileNameOf(item->data(FileRole).toString());
    chosen.fontSpec.face = item->data(FaceRole).toInt();
    chosen.fontSpec.size = SizeBox->value();
    chosen.fontSpec.widths = static_cast<hz::fontsource::GlyphWidths>(WidthChoice->currentData().toInt());
    chosen.fontSpec.ambiguous = static_cast<hz::fontsource::AmbiguousWidth>(AmbiguousChoice->currentData().toInt());
    chosen.fontSpec.bpp = BppChoice->currentData().toInt();
    chosen.fontSpec.render = static_cast<hz::fontsource::RenderRule>(RenderChoice->currentData().toInt());
    chosen.name = item->data(NameRole).toString();
    return chosen;
}

QListWidgetItem* FontChooser::addLibraryItem(const QString& path, const LibraryFileProbe& probe, const QString& prefix,
                                             int row) {
    const QString fileName = QFileInfo(path).fileName();
    FontChoice choice;
    choice.fontSpec = {fileNameOf(path), 0, probe.findings ? probe.findings->geometry.cell : 0, {}};
    choice.name = fileName;
    const QString text = probe.findings
                             ? QStringLiteral("%1（点阵字库 %2×%2）").arg(fileName).arg(probe.findings->geometry.cell)
                             : QStringLiteral("%1（无法识别的点阵字库）").arg(fileName);
    QListWidgetItem* item = addItem(prefix + text, choice, fileName + QLatin1Char(' ') + path, row);
    item->setToolTip(path);
    libraryEntries[item] = probe;
    return item;
}

LibraryFileProbe FontChooser::findingsOf(const FontChoice& choice) {
    const QString path = pathOf(choice.fontSpec.file);
    if (choice.library && stillAsProbed(path, *choice.library))
        return {choice.library, {}};
    return probeLibraryFile(path, libraryFolder);
}

const LibraryFileProbe* FontChooser::libraryEntry(const QListWidgetItem* item) const {
    const auto found = libraryEntries.find(item);
    return found == libraryEntries.end() ? nullptr : &found->second;
}

void FontChooser::showLibraryEntry(const QString& path, const LibraryFileProbe& probe) {
    const QString fileName = QFileInfo(path).fileName();
    LibraryFindings->show();
    buttons->button(QDialogButtonBox::Ok)->setEnabled(probe.findings.has_value());
    if (!probe.findings) {
        LibraryFindings->setText(QStringLiteral("无法识别点阵字库文件 %1：\n%2").arg(fileName, probe.error));
        SamplePreview->showProblem(QStringLiteral("%1 不是可用的字体，也无法识别为点阵字库").arg(fileName));
        return;
    }
    LibraryFindings->setText(QStringLiteral("点阵字库 %1\n%2").arg(fileName, findingsText(*probe.findings)));
    // Drawn from the file itself, as lookups will read it: what it lacks shows crossed out.
    hz::UserLibrarySource source(fileNameOf(path), probe.findings->geometry);
    SamplePreview->showSample(source);
}

void FontChooser::acceptIfAllowed() {
    if (choice())
        accept();
}

} // namespace hz::gui

#include "gui/layoutdialog/layout_dialog.h"

#include "core/layout/layout_presets.h"
#include "core/output/export_layout.h"
#include "core/text/byte_text.h"
#include "gui/common/song_font.h"
#include "gui/common/text_copy.h"
#include "gui/layoutdialog/dot_picture.h"
#include "gui/layoutdialog/layout_match.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

namespace hz::gui {

namespace {

constexpr int kLayoutRole = Qt::UserRole + 1; // a list item's layout, by Layout::index()
constexpr int kMatchDotPixels = 3;

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The texts as a text box holds them.
QString boxText(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QPlainTextEdit* makePreview(const QString& name, QWidget* parent) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFont(windowFont(9));
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    hz::gui::addCopyAction(box);
    return box;
}

template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QString layoutCaption(const hz::Layout& layout) {
    const std::string presets = hz::presetNames(layout);
    QString caption = QString::fromStdString(hz::layoutName(layout));
    if (!presets.empty())
        caption += QStringLiteral("（%1）").arg(QString::fromStdString(presets));
    return caption;
}

} // namespace

LayoutDialog::LayoutDialog(const hz::GlyphRecord* current, const hz::Layout& start, ReferenceLookup reference,
                           QWidget* parent)
    : QDialog(parent), reference(std::move(reference)) {
    if (current)
        record = *current;
    createControls();
    connectSignals();
    chooseLayout(start);
    updatePreview();
}

LayoutDialog::~LayoutDialog() = default;

void LayoutDialog::createControls() {
    setObjectName(QStringLiteral("LayoutDialog"));
    setWindowTitle(QStringLiteral("自定义排列"));
    setFont(windowFont());

    pages = named(new QTabWidget(this), "LayoutPages");
    pages->addTab(createLayoutPage(), QStringLiteral("排列"));
    pages->addTab(createMatchPage(), QStringLiteral("匹配我的驱动"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("DialogButtons"));
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* column = new QVBoxLayout(this);
    column->addWidget(pages);
    column->addWidget(buttons);
    resize(860, 600);
}

QWidget* LayoutDialog::createLayoutPage() {
    auto* page = new QWidget;

    PresetList = named(new QListWidget(page), "PresetList");
    PresetList->setWordWrap(true);
    PresetList->setAlternatingRowColors(true);
    PresetList->setSpacing(1);
    PresetList->setMinimumWidth(280);
    for (const hz::LayoutPreset& preset : hz::layoutPresets()) {
        auto* item =
            new QListWidgetItem(QStringLiteral("%1  ·  %2\n%3")
                                    .arg(fromUtf8(preset.name), QString::fromStdString(hz::layoutName(preset.layout)),
                                         fromUtf8(preset.drivers)));
        item->setData(kLayoutRole, preset.layout.index());
        item->setToolTip(fromUtf8(preset.drivers));
        PresetList->addItem(item);
    }

    ScanChoice = named(new QComboBox(page), "ScanChoice");
    ScanChoice->addItem(QStringLiteral("rows（逐行）"), static_cast<int>(hz::Scan::Rows));
    ScanChoice->addItem(QStringLiteral("columns（逐列）"), static_cast<int>(hz::Scan::Columns));
    ScanChoice->addItem(QStringLiteral("pages（按页，每页8行）"), static_cast<int>(hz::Scan::Pages));
    BitChoice = named(new QComboBox(page), "BitChoice");
    BitChoice->addItem(QStringLiteral("msb（第一点在最高位）"), static_cast<int>(hz::BitOrder::Msb));
    BitChoice->addItem(QStringLiteral("lsb（第一点在最低位）"), static_cast<int>(hz::BitOrder::Lsb));
    UpCheck = named(new QCheckBox(QStringLiteral("up（上下翻转）"), page), "UpCheck");
    LeftCheck = named(new QCheckBox(QStringLiteral("left（左右翻转）"), page), "LeftCheck");
    InvertCheck = named(new QCheckBox(QStringLiteral("invert（反色）"), page), "InvertCheck");
    layoutLabel = named(new QLabel(page), "LayoutName");
    layoutLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    DotPreview = named(new DotPicture(page), "DotPreview");
    DotPreview->setMinimumSize(170, 170);
    auto* dotCaption = new QLabel(QStringLiteral("由上面的字节还原的点阵："), page);

    AsmPreview = makePreview(QStringLiteral("AsmPreview"), page);
    CPreview = makePreview(QStringLiteral("CPreview"), page);
    hz::gui::addArrayCopyAction(CPreview, [this] { return cFields; });
    CopyAsm = named(new QPushButton(QStringLiteral("复制汇编"), page), "CopyAsm");
    CopyC = named(new QPushButton(QStringLiteral("复制C"), page), "CopyC");

    auto* switches = new QFormLayout;
    switches->addRow(QStringLiteral("扫描："), ScanChoice);
    switches->addRow(QStringLiteral("位序："), BitChoice);
    auto* flags = new QHBoxLayout;
    flags->addWidget(UpCheck);
    flags->addWidget(LeftCheck);
    flags->addWidget(InvertCheck);
    switches->addRow(QStringLiteral("变换："), flags);
    switches->addRow(QStringLiteral("排列："), layoutLabel);

    auto* right = new QVBoxLayout;
    right->addLayout(switches);
    right->addWidget(dotCaption);
    right->addWidget(DotPreview, 1);

    auto* top = new QHBoxLayout;
    auto* presets = new QVBoxLayout;
    presets->addWidget(new QLabel(QStringLiteral("驱动预设："), page));
    presets->addWidget(PresetList);
    top->addLayout(presets, 1);
    top->addLayout(right, 1);

    auto* texts = new QGridLayout;
    texts->addWidget(AsmPreview, 0, 0);
    texts->addWidget(CPreview, 0, 1);
    texts->addWidget(CopyAsm, 1, 0, Qt::AlignLeft);
    texts->addWidget(CopyC, 1, 1, Qt::AlignLeft);

    auto* column = new QVBoxLayout(page);
    column->addLayout(top, 3);
    column->addLayout(texts, 2);
    return page;
}

QWidget* LayoutDialog::createMatchPage() {
    auto* page = new QWidget;

    PasteBox = named(new QPlainTextEdit(page), "PasteBox");
    PasteBox->setFont(windowFont(9));
    PasteBox->setPlaceholderText(
        QStringLiteral("把固件里一个字的字模数组粘贴在这里，例如 {0x00,0x1F,…} 或 DB 00H,1FH,…"));
    PasteChar = named(new QLineEdit(page), "PasteChar");
    PasteChar->setPlaceholderText(QStringLiteral("它画的汉字"));
    PasteChar->setMaximumWidth(120);
    MatchButton = named(new QPushButton(QStringLiteral("匹配"), page), "MatchButton");
    matchMessage = named(new QLabel(page), "MatchMessage");
    matchMessage->setWordWrap(true);
    MatchList = named(new QListWidget(page), "MatchList");
    MatchList->setIconSize(QSize(16 * (kMatchDotPixels + 1) + 1, 16 * (kMatchDotPixels + 1) + 1));
    MatchList->setWordWrap(true);
    UseButton = named(new QPushButton(QStringLiteral("使用"), page), "UseButton");
    UseButton->setEnabled(false);

    auto* ask = new QHBoxLayout;
    ask->addWidget(new QLabel(QStringLiteral("它画的汉字："), page));
    ask->addWidget(PasteChar);
    ask->addWidget(MatchButton);
    ask->addStretch(1);

    auto* use = new QHBoxLayout;
    use->addStretch(1);
    use->addWidget(UseButton);

    auto* column = new QVBoxLayout(page);
    column->addWidget(new QLabel(QStringLiteral("字模数组："), page));
    column->addWidget(PasteBox, 2);
    column->addLayout(ask);
    column->addWidget(matchMessage);
    column->addWidget(new QLabel(QStringLiteral("最相符的排列："), page));
    column->addWidget(MatchList, 3);
    column->addLayout(use);
    return page;
}

void LayoutDialog::connectSignals() {
    connect(PresetList, &QListWidget::currentRowChanged, this, &LayoutDialog::followPreset);
    connect(ScanChoice, &QComboBox::currentIndexChanged, this, &LayoutDialog::updatePreview);
    connect(BitChoice, &QComboBox::currentIndexChanged, this, &LayoutDialog::updatePreview);
    for (QCheckBox* check : {UpCheck, LeftCheck, InvertCheck})
        connect(check, &QCheckBox::toggled, this, &LayoutDialog::updatePreview);

    connect(CopyAsm, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(AsmPreview->toPlainText()); });
    connect(CopyC, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(CPreview->toPlainText()); });

    connect(MatchButton, &QPushButton::clicked, this, &LayoutDialog::runMatch);
    connect(MatchList, &QListWidget::currentRowChanged, this, [this](int row) { UseButton->setEnabled(row >= 0); });
    connect(MatchList, &QListWidget::itemDoubleClicked, this, &LayoutDialog::useMatch);
    connect(UseButton, &QPushButton::clicked, this, &LayoutDialog::useMatch);
}

hz::Layout LayoutDialog::chosenLayout() const {
    hz::Layout layout;
    layout.scan = static_cast<hz::Scan>(ScanChoice->currentData().toInt());
    layout.bit = static_cast<hz::BitOrder>(BitChoice->currentData().toInt());
    layout.up = UpCheck->isChecked();
    layout.left = LeftCheck->isChecked();
    layout.invert = InvertCheck->isChecked();
    return layout;
}

void LayoutDialog::chooseLayout(const hz::Layout& layout) {
    // One preview for the whole change, not one per switch.
    settingSwitches = true;
    ScanChoice->setCurrentIndex(ScanChoice->findData(static_cast<int>(layout.scan)));
    BitChoice->setCurrentIndex(BitChoice->findData(static_cast<int>(layout.bit)));
    UpCheck->setChecked(layout.up);
    LeftCheck->setChecked(layout.left);
    InvertCheck->setChecked(layout.invert);
    settingSwitches = false;
    updatePreview();
}

void LayoutDialog::followPreset() {
    if (settingSwitches)
        return;
    if (const QListWidgetItem* item = PresetList->currentItem())
        chooseLayout(hz::Layout::fromIndex(item->data(kLayoutRole).toInt()));
}

void LayoutDialog::updatePreview() {
    if (settingSwitches)
        return;
    const hz::Layout layout = chosenLayout();
    layoutLabel->setText(layoutCaption(layout));

    // The preset list follows the switches: the first preset of this layout, or none.
    {
        const QSignalBlocker quiet(PresetList);
        PresetList->setCurrentRow(-1);
        for (int row = 0; row < PresetList->count(); ++row)
            if (PresetList->item(row)->data(kLayoutRole).toInt() == layout.index()) {
                PresetList->setCurrentRow(row);
                break;
            }
    }

    if (!record) {
        AsmPreview->setPlainText(QStringLiteral("（列表中没有汉字）"));
        CPreview->clear();
        cFields.clear();
        DotPreview->clear();
        CopyAsm->setEnabled(false);
        CopyC->setEnabled(false);
        return;
    }
    const hz::ExportForm form = hz::exportForms(hz::LayoutChoice::of(layout)).front();
    std::string assembly;
    std::string c;
    hz::appendAssemblyBlock(assembly, *record, form);
    hz::appendCBlock(c, *record, form);
    AsmPreview->setPlainText(boxText(assembly));
    CPreview->setPlainText(boxText(c));

    // The picture is drawn from the bytes just shown, read back: it proves them, not the font.
    const std::vector<std::uint8_t> bytes = hz::exportBytes(*record, form);
    cFields = boxText(hz::cText(bytes));
    DotPreview->setCell(hz::decodeCell(bytes, layout, record->width, record->height, record->widthClass));
}

void LayoutDialog::runMatch() {
    MatchList->clear();
    UseButton->setEnabled(false);
    const QList<uint> characters = PasteChar->text().trimmed().toUcs4();
    if (characters.size() != 1) {
        matchMessage->setText(QStringLiteral("请在“它画的汉字”中输入一个汉字（只输入一个）。"));
        PasteChar->setFocus();
        return;
    }
    std::vector<hz::DotCell> faces;
    const hz::LookupStatus status =
        reference ? reference(static_cast<char32_t>(characters.front()), faces) : hz::LookupStatus::LibraryMissing;
    if (status != hz::LookupStatus::Found) {
        matchMessage->setText(
            QStringLiteral("“%1”：%2").arg(PasteChar->text().trimmed(), QString::fromUtf8(hz::statusMessage(status))));
        return;
    }

    const hz::gui::LayoutMatches matches = hz::gui::matchPastedBytes(PasteBox->toPlainText().toStdString(), faces,
                                                                     static_cast<char32_t>(characters.front()), 3);
    if (!matches.error.isEmpty()) {
        matchMessage->setText(matches.error);
        return;
    }
    matchMessage->setText(matches.note);
    for (const hz::gui::LayoutMatch& match : matches.best) {
        QString text =
            QStringLiteral("%1    %2")
                .arg(QString::fromStdString(hz::layoutName(match.layout)), QString::number(match.score, 'f', 3));
        if (!match.presets.empty())
            text += QStringLiteral("\n%1").arg(QString::fromStdString(match.presets));
        if (!match.drivers.empty())
            text += QStringLiteral("\n%1").arg(QString::fromStdString(match.drivers));
        auto* item = new QListWidgetItem(QIcon(dotPixmap(match.decoded, kMatchDotPixels)), text);
        item->setData(kLayoutRole, match.layout.index());
        MatchList->addItem(item);
    }
    if (MatchList->count() > 0)
        MatchList->setCurrentRow(0);
}

void LayoutDialog::useMatch() {
    const QListWidgetItem* item = MatchList->currentItem();
    if (!item)
        return;
    chooseLayout(hz::Layout::fromIndex(item->data(kLayoutRole).toInt()));
    accept();
}

} // namespace hz::gui

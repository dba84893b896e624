#include "gui/common/document_window.h"

#include "gui/common/song_font.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace hz::gui {

namespace {
constexpr QSize kStartSize(760, 560); // pixels; room for a Markdown table of 90 columns
}

DocumentWindow::DocumentWindow(const QString& title, const QString& text, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DocumentWindow"));
    setWindowTitle(title);

    DocumentText = new QPlainTextEdit(this);
    DocumentText->setObjectName(QStringLiteral("DocumentText"));
    DocumentText->setReadOnly(true);
    // The documents' byte pictures line up only in a font whose marks are two columns wide.
    DocumentText->setFont(chooseViewFont(10.5, {QStringLiteral("■"), QStringLiteral("□")}));
    DocumentText->setLineWrapMode(QPlainTextEdit::NoWrap);
    DocumentText->setPlainText(text);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setObjectName(QStringLiteral("DocumentButtons"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DocumentText);
    layout->addWidget(buttons);
    resize(kStartSize);
}

} // namespace hz::gui

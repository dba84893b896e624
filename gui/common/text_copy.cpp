#include "gui/common/text_copy.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>

namespace hz::gui {

namespace {

// Ctrl+C with nothing selected copies the whole text; with a selection the box copies it itself.
class WholeTextCopier : public QObject {
public:
    explicit WholeTextCopier(QPlainTextEdit* box) : QObject(box), box(box) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == box && (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Copy) && !box->textCursor().hasSelection()) {
                if (event->type() == QEvent::KeyPress)
                    QGuiApplication::clipboard()->setText(box->toPlainText());
                event->accept();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPlainTextEdit* box;
};

// The box's copy actions, then copying a selection and selecting all, in the program's words.
void showMenu(QPlainTextEdit* box, const QPoint& at) {
    QMenu menu(box);
    menu.addActions(box->actions());
    menu.addSeparator();
    QAction* copySelection = menu.addAction(QStringLiteral("复制选中内容"), box, &QPlainTextEdit::copy);
    copySelection->setShortcut(QKeySequence::Copy);
    copySelection->setEnabled(box->textCursor().hasSelection());
    menu.addAction(QStringLiteral("全选"), box, &QPlainTextEdit::selectAll)->setShortcut(QKeySequence::SelectAll);
    menu.exec(box->viewport()->mapToGlobal(at));
}

void addAction(QPlainTextEdit* box, const QString& name, const QString& text, std::function<QString()> copied) {
    auto* action = new QAction(text, box);
    action->setObjectName(name);
    QObject::connect(action, &QAction::triggered, box,
                     [copied = std::move(copied)] { QGuiApplication::clipboard()->setText(copied()); });
    if (box->actions().isEmpty()) {
        box->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(box, &QWidget::customContextMenuRequested, box,
                         [box](const QPoint& at) { showMenu(box, at); });
    }
    box->addAction(action);
}

} // namespace

QString arrayElements(const QString& cFields) {
    QString fields = cFields;
    fields.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    fields = fields.trimmed();
    if (fields.isEmpty())
        return {};
    if (!fields.endsWith(QLatin1Char(',')))
        fields += QLatin1Char(',');
    return fields + QLatin1Char('\n');
}

void addCopyAction(QPlainTextEdit* box) {
    addAction(box, QStringLiteral("CopyAll"), QStringLiteral("复制"), [box] { return box->toPlainText(); });
    box->installEventFilter(new WholeTextCopier(box));
}

void addArrayCopyAction(QPlainTextEdit* box, std::function<QString()> cFields) {
    addAction(box, QStringLiteral("CopyArrayElements"), QStringLiteral("复制为数组元素"),
              [cFields = std::move(cFields)] { return arrayElements(cFields()); });
}

} // namespace hz::gui

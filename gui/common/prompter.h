#pragma once
// Every dialog the windows show goes through a Prompter, so tests can answer them.
// All message boxes carry the title "提示信息".

#include <QColor>
#include <QString>
#include <QStringList>
#include <optional>

class QUrl;
class QWidget;

namespace hz::gui {

class Prompter {
public:
    virtual ~Prompter() = default;

    // An error: critical icon, OK.
    virtual void critical(QWidget* parent, const QString& text) = 0;
    // A question: information icon, OK and Cancel. True for OK.
    virtual bool question(QWidget* parent, const QString& text) = 0;
    // A save-file dialog offering `suggested`; nothing when cancelled. No extension is added.
    virtual std::optional<QString> saveFileName(QWidget* parent, const QString& suggested,
                                                const QStringList& filters) = 0;
    // A colour dialog; nothing when cancelled.
    virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) = 0;
    // An open-file dialog for an existing file; nothing when cancelled. The real dialog unless a
    // test replaces it.
    virtual std::optional<QString> openFileName(QWidget* parent, const QString& title, const QStringList& filters);

    // Hands a file or web address to the desktop; false when nothing could take it. The real thing
    // unless a test replaces it.
    virtual bool openUrl(const QUrl& url);
    // A document's text in a plain read-only window, for when the desktop cannot open the file.
    virtual void showDocument(QWidget* parent, const QString& title, const QString& text);
};

// The real dialogs.
class QtPrompter : public Prompter {
public:
    void critical(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& text) override;
    std::optional<QString> saveFileName(QWidget* parent, const QString& suggested, const QStringList& filters) override;
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override;
};

inline const QString kPromptTitle = QStringLiteral("提示信息");

} // namespace hz::gui

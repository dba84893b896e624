#pragma once
// A Prompter that answers from a script and records what it was asked.

#include "gui/common/prompter.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace hz::gui {

class ScriptedPrompter : public Prompter {
public:
    // What was shown, in order: "critical: <text>" / "question: <text>" / "save" / "color" / "open".
    QStringList log;
    QStringList criticals;
    QStringList questions;

    // Answers, used front to back; when a list runs out the defaults apply (OK, cancel, cancel, cancel).
    QList<bool> questionAnswers;
    QList<std::optional<QString>> fileAnswers;
    QList<std::optional<QColor>> colorAnswers;
    QList<std::optional<QString>> openAnswers;
    QString lastSuggestedName;
    QStringList lastFilters;

    void critical(QWidget*, const QString& text) override {
        log << QStringLiteral("critical: ") + text;
        criticals << text;
    }
    bool question(QWidget*, const QString& text) override {
        log << QStringLiteral("question: ") + text;
        questions << text;
        return questionAnswers.isEmpty() ? true : questionAnswers.takeFirst();
    }
    std::optional<QString> saveFileName(QWidget*, const QString& suggested, const QStringList& filters) override {
        log << QStringLiteral("save");
        lastSuggestedName = suggested;
        lastFilters = filters;
        return fileAnswers.isEmpty() ? std::nullopt : fileAnswers.takeFirst();
    }
    std::optional<QColor> chooseColor(QWidget*, const QColor&) override {
        log << QStringLiteral("color");
        return colorAnswers.isEmpty() ? std::nullopt : colorAnswers.takeFirst();
    }
    std::optional<QString> openFileName(QWidget*, const QString&, const QStringList& filters) override {
        log << QStringLiteral("open");
        lastFilters = filters;
        return openAnswers.isEmpty() ? std::nullopt : openAnswers.takeFirst();
    }
};

} // namespace hz::gui

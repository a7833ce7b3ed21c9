#pragma once
// Dialogs that answer from a script, for the widget tests: each question
// takes the next answer given, and what was asked is kept.

#include "documents/gui/prompts.h"

#include <deque>

namespace varkel::test {

// Takes the next scripted answer, or `none` when the script has run out.
template <typename T>
T nextAnswer(std::deque<T> &answers, T none = T())
{
    if (answers.empty())
        return none;
    T a = answers.front();
    answers.pop_front();
    return a;
}

class ScriptedPrompts : public Prompts {
public:
    std::deque<QString> saveAnswers;
    std::deque<QMessageBox::StandardButton> askAnswers;
    std::deque<QString> inputAnswers;
    // A font dialog answers with the next font (nothing left: cancel); the
    // font it started at is kept.
    std::deque<QFont> fontAnswers;
    QFont lastFontInitial;
    QStringList asked;      // question texts, in order
    QStringList criticals;  // critical message texts, in order
    QStringList errors;     // "title|text" of exclamation boxes
    QString lastSaveProposed;
    // The filter each Save dialog answers with (nothing left: none).
    std::deque<QString> saveFilters;

    QStringList OpenFiles(QWidget *, const QString &, const QString &) override { return {}; }
    QString SaveFile(QWidget *, const QString &, const QString &proposed, const QString &,
                     QString *chosenFilter) override
    {
        lastSaveProposed = proposed;
        if (QString f = nextAnswer(saveFilters); chosenFilter)
            *chosenFilter = f;
        return nextAnswer(saveAnswers);
    }
    QMessageBox::StandardButton Ask(QWidget *, const QString &text, QMessageBox::StandardButtons) override
    {
        asked << text;
        return nextAnswer(askAnswers, QMessageBox::Cancel);
    }
    QString InputText(QWidget *, const QString &, const QString &, const QString &) override
    {
        return nextAnswer(inputAnswers);
    }
    bool ChooseFont(QWidget *, const QFont &initial, QFont &chosen) override
    {
        lastFontInitial = initial;
        if (fontAnswers.empty())
            return false;
        chosen = nextAnswer(fontAnswers);
        return true;
    }
    void Critical(QWidget *, const QString &text) override { criticals << text; }
    void Exclamation(QWidget *, const QString &title, const QString &text) override { errors << title + "|" + text; }
};

} // namespace varkel::test

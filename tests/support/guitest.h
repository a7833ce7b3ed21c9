#pragma once
// Helpers for the widget tests: a frame whose dialogs answer from a script,
// with its settings in a temporary folder.

#include "app/gui/fmain.h"
#include "bindings/gui/keybindings.h"
#include "commands/gui/menucommands.h"
#include "documents/gui/documentarea.h"
#include "language/gui/colouring.h"
#include "documents/gui/prompts.h"
#include "app/mglobal.h"
#include "commands/gui/popupmenu.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <deque>
#include <memory>

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

    QStringList OpenFiles(QWidget *, const QString &, const QString &) override { return {}; }
    QString SaveFile(QWidget *, const QString &, const QString &proposed, const QString &) override
    {
        lastSaveProposed = proposed;
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

// A loaded frame with scripted dialogs and its own settings file.
struct FrameFixture {
    QTemporaryDir dir;
    std::unique_ptr<fMain> frame;
    ScriptedPrompts *prompts = nullptr;

    explicit FrameFixture(const QString &commandLine = QString())
    {
        mGlobal::AppDir = QString(VARKEL_BINARY_DIR).toStdString();
        mGlobal::IniPath = dir.filePath("Varkel.ini").toStdString();
        qputenv("VARKEL_NO_SOUND", "1");
        frame = std::make_unique<fMain>();
        auto p = std::make_unique<ScriptedPrompts>();
        prompts = p.get();
        frame->SetPrompts(std::move(p));
        frame->MDIForm_Load(commandLine, commandLine.isEmpty() ? QStringList() : QStringList{commandLine});
        frame->show();
        frame->activateWindow();
        (void)QTest::qWaitForWindowActive(frame.get());
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    QString write(const QString &name, const QByteArray &bytes) const
    {
        QFile f(path(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path(name);
    }

    static QByteArray read(const QString &file)
    {
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
};

} // namespace varkel::test

#pragma once
// Helpers for the widget tests: a frame whose dialogs answer from a script,
// with its settings in a temporary folder.

#include "app/gui/fmain.h"
#include "app/mglobal.h"
#include "bindings/gui/keybindings.h"
#include "commands/gui/menucommands.h"
#include "commands/gui/popupmenu.h"
#include "documents/gui/documentarea.h"
#include "language/gui/colouring.h"
#include "support/scriptedprompts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace varkel::test {

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

// Runs `body` on the next modal dialog of type T once it is showing.
template <typename T>
void onModal(std::function<void(T *)> body)
{
    QTimer::singleShot(0, [body] {
        T *dialog = nullptr;
        for (int i = 0; i < 200 && !dialog; ++i) {
            dialog = qobject_cast<T *>(QApplication::activeModalWidget());
            if (!dialog)
                QTest::qWait(5);
        }
        QVERIFY2(dialog, "no modal dialog");
        body(dialog);
    });
}

} // namespace varkel::test

#pragma once
// The main frame: builds the window from its parts (the document area,
// colouring, the bindings and the commands), wires each part's hooks to the
// parts that answer them, and runs the start-up and shutdown sequences. The
// one dispatcher of commands lives here too (dispatch.cpp): each row of its
// table calls the part that owns the command.

#include "app/errors.h"

#include <QMainWindow>

#include <memory>
#include <string>

namespace varkel {

class Colouring;
class DocumentArea;
class KeyBindings;
class MenuCommands;
class Prompts;
class ScriptChecks;

class fMain : public QMainWindow {
    Q_OBJECT
public:
    explicit fMain(QWidget *parent = nullptr);
    ~fMain() override;

    // Start-up: the frame's load sequence. commandLine is the raw command
    // line (possibly empty), args the arguments it was joined from, both as
    // the file system's bytes.
    void MDIForm_Load(const QByteArray &commandLine, const QList<QByteArray> &args = {});
    // The same for a command line as Qt spells it.
    void MDIForm_Load(const QString &commandLine, const QStringList &args = {});
    // Opens what a command line names: the whole text as one path when that
    // names a file, otherwise each argument in turn.
    void OpenCommandLine(const QByteArray &commandLine, const QList<QByteArray> &args);
    // A second start handed over its command line.
    void ActivateFromInstance(const QByteArray &commandLine, const QList<QByteArray> &args);

    // The one error reporter: "Error <n>" message box with the description.
    void ReportError(const Error &error);
    // Replaces the dialogs (tests).
    void SetPrompts(std::unique_ptr<Prompts> prompts);
    Prompts &prompts() { return *m_prompts; }

    // Runs a command by key; itemData > 0 marks run-time items.
    void Dispatch(const std::string &key, int itemData = 0);
    // Shows the options dialog on a page (0 colours, 1 comment block, 2 user
    // tools, 3 misc), modally.
    void ShowOptions(int page);

    // Frame geometry in twips, as stored in the settings file.
    double TwipsPerPixel() const;

    DocumentArea &documents() const { return *m_documents; }
    Colouring &colouring() const { return *m_colouring; }
    KeyBindings &bindings() const { return *m_bindings; }
    MenuCommands &commands() const { return *m_commands; }
    ScriptChecks &checks() const { return *m_checks; }

protected:
    void closeEvent(QCloseEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dropEvent(QDropEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    void GetSettings();
    void MDIForm_Unload();
    // Fills every part's hooks.
    void WireParts();
    // The refresh after a change of text by a command (Undo, Cut, Paste,
    // replacing): bindings, colouring and enable states.
    void AfterEditRefresh();
    // Detection of each script's game was turned on or off: every open
    // document takes its set again, and those whose set changed are
    // coloured anew.
    void ApplyGameDetection();

    std::unique_ptr<Prompts> m_prompts;
    std::unique_ptr<Colouring> m_colouring;
    DocumentArea *m_documents = nullptr;   // child widgets and objects of the frame
    KeyBindings *m_bindings = nullptr;
    MenuCommands *m_commands = nullptr;
    ScriptChecks *m_checks = nullptr;
    int m_pendingWindowState = 0;
};

} // namespace varkel

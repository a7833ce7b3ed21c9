// How the frame's parts meet: every hook of a part is answered here by the
// part that owns the state it asks about. The parts know nothing of each
// other; this file is the one place where they are joined.

#include "app/gui/fmain.h"

#include "app/mglobal.h"
#include "bindings/gui/keybindings.h"
#include "bindings/gui/scriptchecks.h"
#include "commands/gui/menucommands.h"
#include "dialogs/gui/foptions.h"
#include "documents/gui/documentarea.h"
#include "documents/gui/fedit.h"
#include "documents/gui/richedit.h"
#include "language/gui/colouring.h"
#include "commands/gui/icons.h"

namespace varkel {

namespace {

std::vector<RichEdit *> editorsOf(const DocumentArea &documents)
{
    std::vector<RichEdit *> editors;
    for (fEdit *w : documents.OpenWindows())
        editors.push_back(w->rtfEdit);
    return editors;
}

} // namespace

void fMain::AfterEditRefresh()
{
    if (mGlobal::AutoRefresh)
        m_bindings->RefreshBindings();
    if (mGlobal::AutoSyntaxType != 0)
        if (RichEdit *e = m_documents->ActiveEditor())
            m_colouring->SyntaxHiLiteEdited(e);
    m_commands->SetEditStates();
}

void fMain::ApplyGameDetection()
{
    DocumentArea &docs = *m_documents;
    // Off, the one set serves everything from here on.
    if (!mGlobal::DetectGame)
        m_colouring->UseCommandSet(mGlobal::QVersion);
    for (fEdit *w : docs.OpenWindows()) {
        const int d = w->Tag();
        const std::string before = docs.Docs()[d].CommandSet;
        if (mGlobal::DetectGame) {
            const GameDetection found = m_colouring->DetectCommandSet(w->rtfEdit->TextView(), mGlobal::QVersion);
            docs.SetCommandSet(d, found.set, found.Explanation());
        } else {
            docs.SetCommandSet(d, mGlobal::QVersion, std::string());
        }
        // Off, every script was coloured with the one set; on, each with its own.
        const std::string colouredWith = mGlobal::DetectGame ? mGlobal::QVersion : before;
        if (mGlobal::AutoSyntaxType != 0 && docs.Docs()[d].CommandSet != colouredWith)
            m_colouring->SyntaxHiLiteAll(w->rtfEdit);
    }
    m_checks->RecheckAll();
    if (fEdit *w = docs.ActiveWindow())
        docs.OnWindowActivated(w);
    else
        m_commands->ShowCommandSet(mGlobal::QVersion, std::string());
}

void fMain::WireParts()
{
    DocumentArea &docs = *m_documents;
    Colouring &colours = *m_colouring;
    KeyBindings &keys = *m_bindings;
    MenuCommands &cmds = *m_commands;
    ScriptChecks &checks = *m_checks;
    const auto report = [this](const Error &error) { ReportError(error); };
    const auto statusTip = [&cmds](const QString &text, bool allowReset) { cmds.SetStatusBarTip(text, allowReset); };
    const auto activeEditor = [&docs] { return docs.ActiveEditor(); };
    const auto openEditors = [&docs] { return editorsOf(docs); };
    const auto documentOpen = [&docs] { return docs.Docs().AnyOpen(); };
    const auto radioCheck = [&cmds](const std::string &menuKey, const std::string &buttonKey) {
        cmds.RadioCheck(menuKey, buttonKey);
    };
    const auto checkCommand = [&cmds](std::string_view command, bool checked) {
        cmds.SetCommandState(command, std::nullopt, checked, true, true);
    };

    DocumentArea::Hooks d;
    d.statusTip = statusTip;
    d.resetStatusTip = [&cmds] { cmds.ResetStatusBarTip(); };
    d.showCaret = [&cmds](int line, int count, long column, long position) {
        cmds.ShowCaretPosition(line, count, column, position);
    };
    d.clearCaret = [&cmds] { cmds.ClearCharPos(); };
    d.setEditStates = [&cmds] { cmds.SetEditStates(); };
    d.reportError = report;
    d.setCaption = [this](const QString &caption) { setWindowTitle(caption); };
    d.applyEditorSettings = [&colours, &checks](RichEdit *e) {
        colours.ApplyEditorSettings(e);
        checks.Attach(e);
    };
    d.syntaxHiLiteAll = [&colours](RichEdit *e) { colours.SyntaxHiLiteAllSoon(e); };
    d.realTimeHiLite = [&colours](fEdit *w, int lineOffset, int line) { colours.RealTimeHiLite(w, lineOffset, line); };
    d.clearData = [&keys] { keys.ClearData(); };
    d.refreshDocumentBindings = [&keys](RichEdit *e) { keys.RefreshDocumentBindings(e); };
    d.refreshBindings = [&keys] { keys.RefreshBindings(); };
    d.editorFocused = [&keys] { keys.ReleaseMouseButtons(); };
    d.updateLockLEDs = [&keys] { keys.UpdateLockLEDs(); };
    d.afterEdit = [this] { AfterEditRefresh(); };
    d.recentFile = [&cmds](const std::string &path, const QString &action) { cmds.SetRecentFiles(path, action); };
    d.documentRenamed = [&cmds](int doc, const std::string &path) { cmds.RenameWindowItem(doc, path); };
    d.documentActivated = [&cmds, &checks] {
        cmds.CheckWindowMenuItem();
        checks.ActiveChanged();
    };
    d.showEditPopup = [&cmds] { cmds.ShowEditPopup(); };
    d.ctrlClick = [&keys](RichEdit *e, long position) { return keys.FollowExecAt(e, position); };
    d.showMainPopup = [&cmds] { cmds.ShowMainPopup(); };
    d.commandKey = [&cmds](fEdit *, QKeyCombination key) { return cmds.OnEditorCommandKey(key); };
    d.checkCommand = checkCommand;
    d.pointerMoved = [&cmds] { cmds.OnPointerMoved(); };
    d.defaultCommandSet = [] { return mGlobal::QVersion; };
    d.detectCommandSet = [&colours](std::string_view text) -> std::pair<std::string, std::string> {
        if (!mGlobal::DetectGame)
            return {};
        const GameDetection found = colours.DetectCommandSet(text, mGlobal::QVersion);
        return {found.set, found.Explanation()};
    };
    d.commandSetActivated = [&colours, &cmds](const std::string &set, const std::string &explanation) {
        if (!mGlobal::DetectGame) {
            cmds.ShowCommandSet(mGlobal::QVersion, std::string());
            return;
        }
        colours.UseCommandSet(set);
        cmds.ShowCommandSet(set, explanation);
    };
    d.showEncoding = [&cmds](const QString &name) { cmds.ShowEncoding(name); };
    d.childIcon = IconFor("imgChild");
    docs.SetHooks(std::move(d));

    Colouring::Hooks c;
    c.statusTip = statusTip;
    c.reportError = report;
    c.setEditStates = [&cmds] { cmds.SetEditStates(); };
    c.radioCheck = radioCheck;
    c.dictionaryBuilt = [&keys] { keys.FillCommandBar(); };
    c.textColorsChanged = [&keys](bool coloured) { keys.SetTextColors(coloured); };
    c.activeEditor = activeEditor;
    c.openEditors = openEditors;
    c.anyFormOpen = [this, &docs] { return docs.Docs().AnyOpen() || findChild<fOptions *>() != nullptr; };
    c.refreshPreviews = [this] {
        for (fOptions *dialog : findChildren<fOptions *>())
            dialog->RefreshPreview();
    };
    c.rereadBindings = [&keys](RichEdit *e) {
        keys.ClearData();
        keys.GetBindings(e, false, false);
    };
    c.commandSetOf = [&docs](RichEdit *e) {
        const int doc = mGlobal::DetectGame ? docs.DocOf(e) : 0;
        return doc ? docs.Docs()[doc].CommandSet : std::string();
    };
    c.commandSetChosen = [&docs, &cmds, &checks](const std::string &set) {
        const std::string why = set + ": chosen in the Options menu or on the toolbar.";
        if (const int doc = docs.ActiveDoc(); doc && mGlobal::DetectGame)
            docs.SetCommandSet(doc, set, why);
        cmds.ShowCommandSet(set, mGlobal::DetectGame ? why : std::string());
        checks.RecheckAllAfterPause();
    };
    colours.SetHooks(std::move(c));

    KeyBindings::Hooks k;
    k.activeEditor = activeEditor;
    k.openEditors = openEditors;
    k.documentOpen = documentOpen;
    k.displayCharPos = [&docs] { docs.DisplayCharPos(docs.ActiveWindow()); };
    k.openFiles = [&docs](const QStringList &files) { docs.OpenDroppedFiles(files); };
    k.realTimeHiLite = [&docs, &colours](int line) {
        if (fEdit *w = docs.ActiveWindow())
            colours.RealTimeHiLite(w, 0, line);
    };
    k.statusTip = statusTip;
    k.resetStatusTip = [&cmds] { cmds.ResetStatusBarTip(); };
    k.lockStates = [&cmds](bool num, bool caps, bool scroll) { cmds.ShowLockStates(num, caps, scroll); };
    k.enableCommand = [&cmds](std::string_view command, bool enabled) {
        cmds.SetCommandState(command, enabled, std::nullopt, true, true);
    };
    k.checkCommand = checkCommand;
    k.radioCheck = radioCheck;
    k.showMainPopup = [&cmds] { cmds.ShowMainPopup(); };
    k.activePath = [&docs] {
        const int doc = docs.ActiveDoc();
        return doc ? docs.Docs()[doc].Path : std::string();
    };
    k.openScriptText = [&docs](const std::string &path) -> std::optional<std::string> {
        for (fEdit *w : docs.OpenWindows())
            if (docs.Docs()[w->Tag()].Path == path)
                return w->rtfEdit->Text();
        return std::nullopt;
    };
    k.openScriptEncoding = [&docs](const std::string &path) -> std::optional<Encoding> {
        for (fEdit *w : docs.OpenWindows())
            if (docs.Docs()[w->Tag()].Path == path)
                return docs.Docs()[w->Tag()].TextEncoding;
        return std::nullopt;
    };
    k.openScript = [&docs](const std::string &path) -> RichEdit * {
        docs.OpenConfig(path);
        const int doc = docs.ActiveDoc();
        return doc && docs.Docs()[doc].Path == path ? docs.ActiveEditor() : nullptr;
    };
    keys.SetHooks(std::move(k));

    MenuCommands::Hooks m;
    m.dispatch = [this](const std::string &key, int itemData) { Dispatch(key, itemData); };
    m.reportError = report;
    m.activeEditor = activeEditor;
    m.activePath = [&docs] {
        const int doc = docs.ActiveDoc();
        return doc ? docs.Docs()[doc].Path : std::string();
    };
    m.editFacts = [&docs] {
        EditFacts facts;
        facts.docOpen = docs.Docs().AnyOpen();
        if (const int doc = docs.ActiveDoc()) {
            const DocRecord &record = docs.Docs()[doc];
            RichEdit *e = docs.Editor(doc)->rtfEdit;
            facts.modified = record.Modified;
            facts.hasFile = record.HasFile;
            facts.wordWrap = record.WordWrap;
            facts.selLength = e->SelLength();
            facts.textEmpty = e->TextLength() == 0;
            facts.canUndo = e->CanUndo();
            facts.canRedo = e->CanRedo();
            facts.utf8 = record.TextEncoding == Encoding::Utf8;
        }
        return facts;
    };
    m.windows = [&docs] {
        std::vector<MenuCommands::WindowEntry> windows;
        for (fEdit *w : docs.OpenWindows())
            windows.push_back({w->Tag(), docs.Docs()[w->Tag()].Path});
        return windows;
    };
    m.activeDoc = [&docs] { return docs.ActiveDoc(); };
    m.displayCharPos = [&docs] { docs.DisplayCharPos(docs.ActiveWindow()); };
    m.afterEdit = [this] { AfterEditRefresh(); };
    m.documentsOpen = [&keys](bool open) {
        if (!open)
            keys.ClearData();
        keys.SetDevicePanelEnabled(open);
        keys.SetEditStates(open);
    };
    m.updateLockLEDs = [&keys] { keys.UpdateLockLEDs(); };
    m.execName = [&keys] { return keys.ExecNameForMenu(); };
    m.myName = [&checks] { return checks.MyNameForMenu(); };
    cmds.SetHooks(std::move(m));

    ScriptChecks::Hooks s;
    s.activeEditor = activeEditor;
    s.openEditors = openEditors;
    s.commandSetOf = [&docs](RichEdit *e) {
        const int doc = docs.DocOf(e);
        return mGlobal::DetectGame && doc && !docs.Docs()[doc].CommandSet.empty() ? docs.Docs()[doc].CommandSet
                                                                                  : mGlobal::QVersion;
    };
    s.pathOf = [&docs](RichEdit *e) {
        const int doc = docs.DocOf(e);
        return doc && docs.Docs()[doc].HasFile ? docs.Docs()[doc].Path : std::string();
    };
    s.dictionaryFor = [&colours](const std::string &set) { return &colours.DictionaryFor(set); };
    s.statusTip = statusTip;
    s.resetStatusTip = [&cmds] { cmds.ResetStatusBarTip(); };
    s.checkCommand = checkCommand;
    s.reportError = report;
    checks.SetHooks(std::move(s));
}

} // namespace varkel

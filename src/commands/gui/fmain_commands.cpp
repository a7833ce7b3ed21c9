// The frame's menus, toolbar, rebar and status bar, the one dispatcher that
// runs every command by its key, and the enable states of the commands.

#include "app/gui/fmain.h"
#include "app/mglobal.h"
#include "bindings/gui/commandbar.h"
#include "commands/catalogue.h"
#include "commands/editstates.h"
#include "commands/gui/icons.h"
#include "commands/gui/popupmenu.h"
#include "dialogs/gui/usertoolsmenu.h"
#include "dialogs/gui/fabout.h"
#include "documents/gui/fedit.h"
#include "documents/gui/richedit.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QKeySequence>
#include <QCursor>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include <unordered_map>

namespace varkel {

namespace {
QString qs(std::string_view s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

std::string buttonKeyFor(std::string_view command)
{
    return "tb" + std::string(command.substr(4));
}

// Clipboard text as the editor's 8-bit bytes, and back.
QString bytesToClipboardText(const std::string &bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
} // namespace

QToolButton *fMain::ToolButton(std::string_view key) const
{
    return m_buttons.value(qs(key), nullptr);
}

void fMain::BuildToolbar()
{
    tbrMain = new QToolBar(QStringLiteral("Main"), this);
    tbrMain->setObjectName(QStringLiteral("tbrMain"));
    tbrMain->setMovable(false);
    tbrMain->setFloatable(false);
    tbrMain->setIconSize(QSize(16, 16));
    // Compact buttons and separators, whatever the style's own padding, so
    // that all 41 items fit in the frame's default width.
    const QSize buttonSize = tbrMain->iconSize() + QSize(6, 6);
    constexpr int kSeparatorWidth = 4;
    std::unordered_map<int, QButtonGroup *> groups;
    for (const ToolbarButtonDef &def : ToolbarCatalogue()) {
        if (def.style == ToolbarStyle::Separator) {
            if (QWidget *separator = tbrMain->widgetForAction(tbrMain->addSeparator()))
                separator->setFixedWidth(kSeparatorWidth);
            continue;
        }
        auto *button = new QToolButton(tbrMain);
        const QString key = qs(def.key);
        button->setObjectName(key);
        button->setIcon(IconFor(def.icon));
        button->setToolTip(qs(def.toolTip));
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->installEventFilter(this);
        if (def.style == ToolbarStyle::Check || def.style == ToolbarStyle::ButtonGroup)
            button->setCheckable(true);
        if (def.style == ToolbarStyle::ButtonGroup) {
            QButtonGroup *&group = groups[def.group];
            if (!group) {
                group = new QButtonGroup(tbrMain);
                group->setExclusive(true);
            }
            group->addButton(button);
        }
        button->setFixedSize(buttonSize);
        if (def.style == ToolbarStyle::DropDown) {
            button->setPopupMode(QToolButton::MenuButtonPopup);
            button->setFixedWidth(buttonSize.width() +
                                  button->style()->pixelMetric(QStyle::PM_MenuButtonIndicator, nullptr, button));
        }
        const std::string command = CommandForButton(def.key);
        connect(button, &QToolButton::clicked, this, [this, command] { Dispatch(command); });
        tbrMain->addWidget(button);
        m_buttons.insert(key, button);
    }
}

void fMain::BuildMenu()
{
    m_cMenu = new PopupMenu(this);
    tbrMenu = new QMenuBar(this);
    tbrMenu->setObjectName(QStringLiteral("tbrMenu"));
    tbrMenu->setNativeMenuBar(false);
    m_cMenu->Attach(tbrMenu);
    std::unordered_map<std::string_view, int> indexOfKey;
    for (const MenuItemDef &def : MenuCatalogue()) {
        const int parent = def.parent.empty() ? 0 : indexOfKey[def.parent];
        const int index = m_cMenu->AddItem(def.caption, def.addItemHelp, 0, parent, def.icon, false,
                                           def.enabledAtStart, def.key);
        if (IsTopLevel(def))
            indexOfKey[def.key] = index;
        else if (!def.parent.empty() && def.key == "cmnuRecentFiles")
            indexOfKey[def.key] = index;
        if (!def.help.empty())
            CreateMenuHelp(m_menuHelp, index, def.help);
        if (!def.shortcut.empty()) {
            if (QAction *action = m_cMenu->Action(def.key)) {
                action->setShortcuts(QKeySequence::listFromString(qs(def.shortcut)));
                action->setShortcutContext(Qt::WindowShortcut);
            }
        }
    }

    connect(m_cMenu, &PopupMenu::Click, this, &fMain::m_cMenu_Click);
    connect(m_cMenu, &PopupMenu::InitPopupMenu, this, &fMain::m_cMenu_InitPopupMenu);
    connect(m_cMenu, &PopupMenu::ItemHighlight, this, &fMain::OnMenuHighlight);
    connect(m_cMenu, &PopupMenu::MenuExit, this, &fMain::ResetStatusBarTip);
}

void fMain::BuildRebar()
{
    // Three bands, one above the other: the menu bar, the main toolbar and the
    // command insertion bar.
    setMenuBar(tbrMenu);
    addToolBar(Qt::TopToolBarArea, tbrMain);
    // The toolbar's band is never narrower than the toolbar itself: no button
    // ever goes behind an overflow arrow.
    tbrMain->setMinimumWidth(tbrMain->sizeHint().width());
    addToolBarBreak(Qt::TopToolBarArea);
    picCommand = new QToolBar(QStringLiteral("Commands"), this);
    picCommand->setObjectName(QStringLiteral("picCommand"));
    picCommand->setMovable(false);
    picCommand->setFloatable(false);
    addToolBar(Qt::TopToolBarArea, picCommand);
    BuildCommandBar();

    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBarMain"));
    bar->setSizeGripEnabled(true);
    int n = 0;
    for (const StatusPanelDef &def : StatusPanels()) {
        auto *label = new QLabel(qs(def.initialText), bar);
        label->setObjectName(QStringLiteral("StatusPanel%1").arg(++n));
        label->setToolTip(qs(def.toolTip));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setContentsMargins(4, 0, 4, 0);
        if (n == 1) {
            bar->addWidget(label, 1);
        } else {
            label->setMinimumWidth(n <= 4 ? label->fontMetrics().horizontalAdvance(QStringLiteral("Line: 00000 of 00000"))
                                                    * (n == 2 ? 1 : 0.6)
                                          : label->fontMetrics().horizontalAdvance(QStringLiteral(" SCRL ")));
            if (n >= 5)
                label->setAlignment(Qt::AlignCenter);
            bar->addPermanentWidget(label);
        }
        m_panels.push_back(label);
    }
}

QString fMain::StatusPanelText(int panel) const
{
    if (panel < 1 || panel > static_cast<int>(m_panels.size()))
        return {};
    return m_panels[static_cast<size_t>(panel - 1)]->text();
}

void fMain::SetStatusBarTip(const QString &text, bool allowReset)
{
    if (!m_panels.empty()) {
        m_panels[0]->setText(text);
        m_panels[0]->repaint();
    }
    mGlobal::AllowStatusReset = allowReset;
}

void fMain::ResetStatusBarTip()
{
    if (mGlobal::AllowStatusReset && !m_panels.empty())
        m_panels[0]->setText(QStringLiteral("Ready"));
}

void fMain::OnMenuHighlight(int index)
{
    if (index >= 0 && index < static_cast<int>(m_menuHelp.size()) && !m_panels.empty())
        m_panels[0]->setText(QString::fromStdString(m_menuHelp[static_cast<size_t>(index)]));
}

void fMain::OnPointerMoved()
{
    ResetStatusBarTip();
    UpdateLockLEDs();
}

void fMain::ShowEditPopup()
{
    m_cMenu->ShowPopup(QCursor::pos(), m_cMenu->IndexForKey("cmnuUndo"));
}

void fMain::ShowMainPopup()
{
    m_cMenu->ShowPopup(QCursor::pos(), m_cMenu->IndexForKey("cmnuFileTOP"));
}

void fMain::m_cMenu_Click(int index)
{
    Dispatch(m_cMenu->KeyForIndex(index), m_cMenu->ItemData(index));
}

void fMain::m_cMenu_InitPopupMenu(int index)
{
    if (m_cMenu->KeyForIndex(index) == "cmnuWindowTOP")
        BuildWindowList();
}

void fMain::Dispatch(const std::string &key, int itemData)
{
    try {
        if (itemData > 0) {
            // Run-time items: the key says which list, the item data which entry.
            if (key.rfind("cmnuChild", 0) == 0) {
                if (QMdiSubWindow *sub = SubWindowOf(itemData)) {
                    if (sub->isMinimized())
                        sub->showNormal();
                    m_mdi->setActiveSubWindow(sub);
                }
            } else if (key.rfind("cmnuRecentFile", 0) == 0) {
                if (itemData < 6)
                    OpenRecentFile(itemData);
            } else if (key.rfind("cmnuUserTool", 0) == 0 && itemData <= static_cast<int>(mGlobal::ToolPaths.size())) {
                StartUserTool(mGlobal::ToolPaths[static_cast<size_t>(itemData - 1)]); // a failure ends silently
            }
            return;
        }
        RichEdit *editor = ActiveEditor();
        const int d = ActiveDoc();
        using Op = void (*)(fMain &, RichEdit *, int);
        static const std::unordered_map<std::string, Op> table = {
            {"cmnuNew", [](fMain &f, RichEdit *, int) { f.NewConfig(); }},
            {"cmnuOpen", [](fMain &f, RichEdit *, int) { f.OpenConfig(QString()); }},
            {"cmnuSave", [](fMain &f, RichEdit *, int d) { if (d) f.SaveConfig(d, f.Docs()[d].Path); }},
            {"cmnuSaveAs", [](fMain &f, RichEdit *, int d) { if (d) f.SaveConfigAs(d, QString()); }},
            {"cmnuSaveAll", [](fMain &f, RichEdit *, int) { f.SaveAllFiles(); }},
            {"cmnuRevert", [](fMain &f, RichEdit *, int) { f.RevertFile(); }},
            {"cmnuClose", [](fMain &f, RichEdit *, int) {
                 if (fEdit *w = f.ActiveWindow())
                     if (auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget()))
                         sub->close();
             }},
            {"cmnuCloseAll", [](fMain &f, RichEdit *, int) { f.CloseAllFiles(); }},
            {"cmnuUndo", [](fMain &f, RichEdit *, int) {
                 if (fEdit *w = f.ActiveWindow()) {
                     w->EditUndo();
                     f.AfterEditRefresh();
                 }
             }},
            {"cmnuRedo", [](fMain &f, RichEdit *, int) {
                 if (fEdit *w = f.ActiveWindow()) {
                     w->EditRedo();
                     f.AfterEditRefresh();
                 }
             }},
            {"cmnuCut", [](fMain &f, RichEdit *e, int) { if (e) f.EditCut(); }},
            {"cmnuCopy", [](fMain &f, RichEdit *e, int) { if (e) f.EditCopy(); }},
            {"cmnuPaste", [](fMain &f, RichEdit *e, int) { if (e) f.EditPaste(); }},
            {"cmnuDelete", [](fMain &f, RichEdit *e, int) { if (e) f.EditDelete(); }},
            {"cmnuSelectAll", [](fMain &f, RichEdit *e, int) { if (e) f.EditSelectAll(); }},
            {"cmnuWordWrap", [](fMain &f, RichEdit *, int) { f.ToggleWordWrap(); }},
            {"cmnuTileHorz", [](fMain &f, RichEdit *, int) { f.Arrange(1); }},
            {"cmnuTileVert", [](fMain &f, RichEdit *, int) { f.Arrange(2); }},
            {"cmnuCascade", [](fMain &f, RichEdit *, int) { f.Arrange(0); }},
            {"cmnuArrange", [](fMain &f, RichEdit *, int) { f.Arrange(3); }},
            {"cmnuToggleKB", [](fMain &f, RichEdit *, int) { f.ToggleKeyboard(); }},
            {"cmnuExit", [](fMain &f, RichEdit *, int) { f.close(); }},
            {"cmnuQ1", [](fMain &f, RichEdit *, int) { f.SwitchCommandSet("Q1"); }},
            {"cmnuQ2", [](fMain &f, RichEdit *, int) { f.SwitchCommandSet("Q2"); }},
            {"cmnuQ3", [](fMain &f, RichEdit *, int) { f.SwitchCommandSet("Q3"); }},
            {"cmnuAutoSyntax_None", [](fMain &f, RichEdit *, int) { f.SetAutoSyntax(0, false); }},
            {"cmnuAutoSyntax_ByChar", [](fMain &f, RichEdit *, int) { f.SetAutoSyntax(1, false); }},
            {"cmnuAutoSyntax_ByLine", [](fMain &f, RichEdit *, int) { f.SetAutoSyntax(2, false); }},
            {"cmnuSyntaxRefresh", [](fMain &f, RichEdit *e, int) { if (e) f.SyntaxHiLiteAll(e); }},
            {"cmnuEditorFont", [](fMain &f, RichEdit *, int) { f.SetEditorFont(); }},
            {"cmnuEditorBGColor", [](fMain &f, RichEdit *, int) { f.SetEditorBGColor(); }},
            {"cmnuRefresh", [](fMain &f, RichEdit *, int) { f.RefreshBindings(); }},
            {"cmnuAutoRefresh", [](fMain &f, RichEdit *, int) { f.ToggleAutoRefresh(); }},
            {"cmnuConflicts_All", [](fMain &f, RichEdit *, int) {
                 mGlobal::ConflictType = 1;
                 f.SetConflictState();
                 f.ShowAllConflicts();
             }},
            {"cmnuConflicts_Active", [](fMain &f, RichEdit *, int) {
                 mGlobal::ConflictType = 2;
                 f.SetConflictState();
             }},
            {"cmnuConflicts_None", [](fMain &f, RichEdit *, int) {
                 mGlobal::ConflictType = 0;
                 f.SetConflictState();
             }},
            {"cmnuFindNextConflict", [](fMain &f, RichEdit *e, int) { if (e) f.FindNextConflict(e->SelStart() + 1); }},
            {"cmnuFind", [](fMain &f, RichEdit *, int) { f.FindText(); }},
            {"cmnuFindNext", [](fMain &f, RichEdit *, int) { f.FindNext(); }},
            {"cmnuFindPrev", [](fMain &f, RichEdit *, int) { f.FindPrevious(); }},
            {"cmnuReplace", [](fMain &f, RichEdit *, int) { f.ShowReplaceDialog(); }},
            {"cmnuInsertComment", [](fMain &f, RichEdit *, int) { f.InsertCommentBlock(); }},
            {"cmnuSyntaxColors", [](fMain &f, RichEdit *, int) { f.ShowOptions(0); }},
            {"cmnuCfgComment", [](fMain &f, RichEdit *, int) { f.ShowOptions(1); }},
            {"cmnuCfgUserTools", [](fMain &f, RichEdit *, int) { f.ShowOptions(2); }},
            {"cmnuOptions", [](fMain &f, RichEdit *, int) { f.ShowOptions(3); }},
            {"cmnuAbout", [](fMain &f, RichEdit *, int) {
                 fAbout about(&f);
                 about.exec();
             }},
            {"cmnuPrint", [](fMain &f, RichEdit *e, int) { if (e) f.PrintActive(); }},
            {"cmnuPrintSetup", [](fMain &f, RichEdit *, int) { f.PrintSetup(); }},
            {"cmnuHelpContents", [](fMain &f, RichEdit *, int) { f.GetHelp(QStringLiteral("Contents")); }},
            {"cmnuHelpSearch", [](fMain &f, RichEdit *, int) { f.GetHelp(QStringLiteral("Search")); }},
        };
        if (auto it = table.find(key); it != table.end())
            it->second(*this, editor, d);
    } catch (...) {
        // An error inside a command ends that command silently.
    }
}

bool fMain::OnEditorCommandKey(fEdit *w, QKeyCombination key)
{
    if (!m_cMenu || w != ActiveWindow())
        return false;
    // The keypad's Del and Ins are the same keys as the others.
    const QKeySequence pressed(QKeyCombination(key.keyboardModifiers() & ~Qt::KeypadModifier, key.key()));
    for (const MenuItemDef &def : MenuCatalogue()) {
        if (def.shortcut.empty())
            continue;
        QAction *action = m_cMenu->Action(def.key);
        if (!action || !action->shortcuts().contains(pressed))
            continue;
        // As with the menu: an enabled command runs. A disabled one leaves
        // the key to the editor, where it does the little it can (Delete
        // with nothing selected removes the character after the caret).
        SetEditStates();
        if (!action->isEnabled())
            return false;
        Dispatch(std::string(def.key));
        return true;
    }
    return false;
}

void fMain::AfterEditRefresh()
{
    if (mGlobal::AutoRefresh)
        RefreshBindings();
    if (mGlobal::AutoSyntaxType != 0)
        if (RichEdit *e = ActiveEditor())
            SyntaxHiLiteAll(e);
    SetEditStates();
}

void fMain::EditCut()
{
    RichEdit *e = ActiveEditor();
    QClipboard *cb = QApplication::clipboard();
    cb->clear();
    cb->setText(bytesToClipboardText(e->SelText()));
    e->SetSelText("");
    AfterEditRefresh();
}

void fMain::EditCopy()
{
    RichEdit *e = ActiveEditor();
    QClipboard *cb = QApplication::clipboard();
    cb->clear();
    cb->setText(bytesToClipboardText(e->SelText()));
}

void fMain::EditPaste()
{
    RichEdit *e = ActiveEditor();
    const QMimeData *data = QApplication::clipboard()->mimeData();
    QByteArray bytes;
    if (!data || !data->hasText())
        QApplication::beep();
    else
        bytes = data->text().toLatin1();
    e->SetSelText(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    AfterEditRefresh();
}

void fMain::EditDelete()
{
    ActiveEditor()->SetSelText("");
    AfterEditRefresh();
}

void fMain::EditSelectAll()
{
    RichEdit *e = ActiveEditor();
    e->SetSel(0, e->TextLength());
}

void fMain::SetCommandState(std::string_view command, std::optional<bool> enabled, std::optional<bool> checked,
                            bool menu, bool button)
{
    if (menu)
        m_cMenu->SetItemState(command, checked, enabled);
    if (button) {
        if (QToolButton *b = ToolButton(buttonKeyFor(command))) {
            if (enabled)
                b->setEnabled(*enabled);
            if (checked && b->isCheckable())
                b->setChecked(*checked);
        }
    }
}

void fMain::SetEditStates()
{
    if (!m_cMenu)
        return;
    EditFacts facts;
    facts.docOpen = m_docs.AnyOpen();
    if (!facts.docOpen)
        ClearData();
    SetDevicePanelEnabled(facts.docOpen);
    facts.lastSearchEmpty = mGlobal::LastSearchText.empty();
    const int d = ActiveDoc();
    if (d) {
        const DocRecord &doc = m_docs[d];
        RichEdit *e = Editor(d)->rtfEdit;
        facts.modified = doc.Modified;
        facts.hasFile = doc.HasFile;
        facts.wordWrap = doc.WordWrap;
        facts.selLength = e->SelLength();
        facts.textEmpty = e->TextLength() == 0;
        facts.canUndo = e->CanUndo();
        facts.canRedo = e->CanRedo();
    }
    for (const CommandState &s : ComputeEditStates(facts)) {
        try {
            SetCommandState(s.command, s.enabled, s.checked, s.menu, s.button);
        } catch (...) {
            // A failing step is skipped; the rest still runs.
        }
    }
    // Last: the insertion tools are usable exactly while a document is open.
    if (m_commandBar)
        m_commandBar->SetEditStates(facts.docOpen);
}

} // namespace varkel

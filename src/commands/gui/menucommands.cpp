#include "commands/gui/menucommands.h"

#include "app/callhook.h"
#include "app/mglobal.h"
#include "commands/catalogue.h"
#include "commands/gui/helpwindow.h"
#include "commands/gui/icons.h"
#include "commands/gui/popupmenu.h"
#include "commands/gui/replacedialog.h"
#include "commands/gui/usertoolsmenu.h"
#include "documents/gui/prompts.h"
#include "documents/gui/richedit.h"
#include "documents/gui/textcodec.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCursor>
#include <QEvent>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPrinterInfo>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include <Qsci/qsciprinter.h>

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

} // namespace

MenuCommands::MenuCommands(QMainWindow *window)
    : QObject(window)
    , m_window(window)
{
}

MenuCommands::~MenuCommands() = default;

void MenuCommands::SetHooks(Hooks hooks)
{
    m_hooks = std::move(hooks);
}

bool MenuCommands::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::Enter || e->type() == QEvent::MouseMove) {
        // Pointer over a toolbar button: its tool tip goes to the status text.
        if (auto *button = qobject_cast<QToolButton *>(watched); button && button->parent() == tbrMain) {
            if (!m_panels.empty())
                m_panels[0]->setText(button->toolTip());
        }
    }
    return QObject::eventFilter(watched, e);
}

void MenuCommands::RadioCheck(const std::string &menuKey, const std::string &buttonKey)
{
    if (!buttonKey.empty())
        if (QToolButton *b = ToolButton(buttonKey))
            b->setChecked(true);
    if (m_cMenu)
        m_cMenu->SetRadioCheck(m_cMenu->IndexForKey(menuKey));
}

void MenuCommands::ShowCaretPosition(int line, int lineCount, long column, long position)
{
    if (m_panels.size() < 4)
        return;
    m_panels[1]->setText(QStringLiteral("Line: %1 of %2").arg(line).arg(lineCount));
    m_panels[2]->setText(QStringLiteral("Col: %1").arg(column));
    m_panels[3]->setText(QStringLiteral("Char: %1").arg(position));
}

void MenuCommands::ClearCharPos()
{
    const auto panels = StatusPanels();
    for (size_t i = 1; i <= 3 && i < m_panels.size() && i < panels.size(); ++i)
        m_panels[i]->setText(qs(panels[i].initialText));
}

void MenuCommands::ShowCommandSet(const std::string &set, const std::string &explanation)
{
    if (m_panels.size() < 8)
        return;
    m_panels[7]->setText(QString::fromStdString(set));
    m_panels[7]->setToolTip(explanation.empty() ? qs(StatusPanels()[7].toolTip) : QString::fromStdString(explanation));
}

void MenuCommands::ShowEncoding(const QString &name)
{
    if (m_panels.size() >= 9)
        m_panels[8]->setText(name);
}

void MenuCommands::ShowLockStates(bool num, bool caps, bool scroll)
{
    // Status-bar panels 5, 6 and 7 read "NUM", "CAPS" and "SCRL".
    const bool states[3] = {num, caps, scroll};
    for (size_t i = 0; i < 3 && 4 + i < m_panels.size(); ++i)
        m_panels[4 + i]->setEnabled(states[i]);
    m_window->statusBar()->update();
}

void MenuCommands::BuildUserToolsMenu(const std::string &mode)
{
    if (!m_cMenu)
        return;
    m_toolsInMenu = varkel::BuildUserToolsMenu(*m_cMenu, mode, m_toolsInMenu, mGlobal::ToolNames);
}

void MenuCommands::BuildWindowList()
{
    const std::vector<WindowEntry> windows = CallHook(m_hooks.windows);
    const int n = static_cast<int>(windows.size());
    const int owner = m_cMenu->IndexForKey("cmnuWindowTOP");
    m_cMenu->RemoveChildren("cmnuWindowTOP");
    for (std::string_view key : {"cmnuTileHorz", "cmnuTileVert", "cmnuCascade", "cmnuArrange"}) {
        const MenuItemDef *def = FindMenuItem(key);
        const int index = m_cMenu->AddItem(def->caption, "", 0, owner, def->icon, false, n >= 1, def->key);
        CreateMenuHelp(m_menuHelp, index, def->help);
    }
    if (n > 0)
        m_cMenu->AddItem("-", "", 0, owner, "", false, true, "cmnuWindowSep");
    const int active = CallHook(m_hooks.activeDoc);
    for (int i = 0; i < n; ++i) {
        const int tag = windows[static_cast<size_t>(i)].doc;
        const std::string &caption = windows[static_cast<size_t>(i)].path;
        const int index = m_cMenu->AddItem("&" + std::to_string(i + 1) + ") " + TruncLongPath(caption), "", tag, owner,
                                           "imgChild", tag == active, true, "cmnuChild" + std::to_string(tag));
        CreateMenuHelp(m_menuHelp, index, caption);
    }
}

void MenuCommands::CheckWindowMenuItem()
{
    const int active = CallHook(m_hooks.activeDoc);
    if (m_cMenu && active && m_cMenu->IndexForKey("cmnuChild" + std::to_string(active)))
        m_cMenu->SetRadioCheck(m_cMenu->IndexForKey("cmnuChild" + std::to_string(active)));
}

void MenuCommands::RenameWindowItem(int d, const std::string &path)
{
    const std::string childKey = "cmnuChild" + std::to_string(d);
    if (m_cMenu && m_cMenu->IndexForKey(childKey)) {
        const QString old = m_cMenu->Caption(childKey);
        const QString prefix = old.left(old.indexOf(QStringLiteral(") ")) + 2);
        m_cMenu->SetCaption(childKey, prefix.toStdString() + TruncLongPath(path));
    }
}

QToolButton *MenuCommands::ToolButton(std::string_view key) const
{
    return m_buttons.value(qs(key), nullptr);
}

void MenuCommands::BuildToolbar()
{
    tbrMain = new QToolBar(QStringLiteral("Main"), m_window);
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

void MenuCommands::BuildMenu()
{
    m_cMenu = new PopupMenu(this);
    tbrMenu = new QMenuBar(m_window);
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

    connect(m_cMenu, &PopupMenu::Click, this, &MenuCommands::m_cMenu_Click);
    connect(m_cMenu, &PopupMenu::InitPopupMenu, this, &MenuCommands::m_cMenu_InitPopupMenu);
    connect(m_cMenu, &PopupMenu::ItemHighlight, this, &MenuCommands::OnMenuHighlight);
    connect(m_cMenu, &PopupMenu::MenuExit, this, &MenuCommands::ResetStatusBarTip);
}

void MenuCommands::BuildRebar()
{
    // Three bands, one above the other: the menu bar, the main toolbar and the
    // command insertion bar.
    m_window->setMenuBar(tbrMenu);
    m_window->addToolBar(Qt::TopToolBarArea, tbrMain);
    // The toolbar's band is never narrower than the toolbar itself: no button
    // ever goes behind an overflow arrow.
    tbrMain->setMinimumWidth(tbrMain->sizeHint().width());
    m_window->addToolBarBreak(Qt::TopToolBarArea);
    picCommand = new QToolBar(QStringLiteral("Commands"), m_window);
    picCommand->setObjectName(QStringLiteral("picCommand"));
    picCommand->setMovable(false);
    picCommand->setFloatable(false);
    m_window->addToolBar(Qt::TopToolBarArea, picCommand);

    QStatusBar *bar = m_window->statusBar();
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
            // The encoding panel keeps room for its longest text.
            if (n == 9)
                label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral(" Latin-1 ")) + 8);
            bar->addPermanentWidget(label);
        }
        m_panels.push_back(label);
    }
}

QString MenuCommands::StatusPanelText(int panel) const
{
    if (panel < 1 || panel > static_cast<int>(m_panels.size()))
        return {};
    return m_panels[static_cast<size_t>(panel - 1)]->text();
}

void MenuCommands::SetStatusBarTip(const QString &text, bool allowReset)
{
    if (!m_panels.empty()) {
        m_panels[0]->setText(text);
        m_panels[0]->repaint();
    }
    mGlobal::AllowStatusReset = allowReset;
}

void MenuCommands::ResetStatusBarTip()
{
    if (mGlobal::AllowStatusReset && !m_panels.empty())
        m_panels[0]->setText(QStringLiteral("Ready"));
}

void MenuCommands::OnMenuHighlight(int index)
{
    if (index >= 0 && index < static_cast<int>(m_menuHelp.size()) && !m_panels.empty())
        m_panels[0]->setText(QString::fromStdString(m_menuHelp[static_cast<size_t>(index)]));
}

void MenuCommands::OnPointerMoved()
{
    ResetStatusBarTip();
    CallHook(m_hooks.updateLockLEDs);
}

void MenuCommands::SetOpenExecItem(const std::string &name)
{
    if (!m_cMenu)
        return;
    m_cMenu->RemoveItem("cmnuOpenExecSep");
    m_cMenu->RemoveItem("cmnuOpenExec");
    if (name.empty())
        return;
    const int owner = m_cMenu->IndexForKey("cmnuEditTOP");
    QString caption = QStringLiteral("Open ") + QString::fromStdString(name);
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    m_cMenu->AddItem("-", "", 0, owner, "", false, true, "cmnuOpenExecSep");
    m_cMenu->AddItem(caption.toStdString(), "", 1, owner, "imgOpen", false, true, "cmnuOpenExec");
}

void MenuCommands::SetMyNameItem(const std::string &name)
{
    if (!m_cMenu)
        return;
    m_cMenu->RemoveItem("cmnuAddMyNameSep");
    m_cMenu->RemoveItem("cmnuAddMyName");
    if (name.empty())
        return;
    const int owner = m_cMenu->IndexForKey("cmnuEditTOP");
    QString caption = QStringLiteral("Add %1 to my names").arg(QString::fromStdString(name));
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    m_cMenu->AddItem("-", "", 0, owner, "", false, true, "cmnuAddMyNameSep");
    m_cMenu->AddItem(caption.toStdString(), "", 1, owner, "", false, true, "cmnuAddMyName");
}

void MenuCommands::ShowEditPopup()
{
    SetOpenExecItem(CallHook(m_hooks.execName));
    SetMyNameItem(CallHook(m_hooks.myName));
    m_cMenu->ShowPopup(QCursor::pos(), m_cMenu->IndexForKey("cmnuUndo"));
}

void MenuCommands::ShowMainPopup()
{
    m_cMenu->ShowPopup(QCursor::pos(), m_cMenu->IndexForKey("cmnuFileTOP"));
}

void MenuCommands::m_cMenu_Click(int index)
{
    Dispatch(m_cMenu->KeyForIndex(index), m_cMenu->ItemData(index));
}

void MenuCommands::m_cMenu_InitPopupMenu(int index)
{
    if (m_cMenu->KeyForIndex(index) == "cmnuWindowTOP")
        BuildWindowList();
    else if (m_cMenu->KeyForIndex(index) == "cmnuEditTOP") {
        SetOpenExecItem(CallHook(m_hooks.execName));
        SetMyNameItem(CallHook(m_hooks.myName));
    }
}

void MenuCommands::Dispatch(const std::string &key, int itemData)
{
    CallHook(m_hooks.dispatch, key, itemData);
}

bool MenuCommands::OnEditorCommandKey(QKeyCombination key)
{
    if (!m_cMenu)
        return false;
    // The keypad's Del and Ins are the same keys as the others.
    const QKeySequence pressed(QKeyCombination(key.keyboardModifiers() & ~Qt::KeypadModifier, key.key()));
    // A sign that needs Shift on the keyboard ("+" on most layouts) names
    // its command without it: Ctrl++ is typed as Ctrl+Shift+=.
    const int k = key.key();
    const bool shiftedSign = (key.keyboardModifiers() & Qt::ShiftModifier) && k > Qt::Key_Space &&
                             k <= Qt::Key_AsciiTilde && !(k >= Qt::Key_A && k <= Qt::Key_Z) &&
                             !(k >= Qt::Key_0 && k <= Qt::Key_9);
    const QKeySequence unshifted(
        QKeyCombination(key.keyboardModifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier), key.key()));
    for (const MenuItemDef &def : MenuCatalogue()) {
        if (def.shortcut.empty())
            continue;
        QAction *action = m_cMenu->Action(def.key);
        if (!action || !(action->shortcuts().contains(pressed) || (shiftedSign && action->shortcuts().contains(unshifted))))
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

void MenuCommands::SetCommandState(std::string_view command, std::optional<bool> enabled, std::optional<bool> checked,
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

void MenuCommands::SetEditStates()
{
    if (!m_cMenu)
        return;
    // With no document open the bindings are emptied; the panel and the
    // insertion tools are usable exactly while a document is open.
    EditFacts facts = CallHook(m_hooks.editFacts);
    CallHook(m_hooks.documentsOpen, facts.docOpen);
    facts.lastSearchEmpty = mGlobal::LastSearchText.empty();
    for (const CommandState &s : ComputeEditStates(facts)) {
        try {
            SetCommandState(s.command, s.enabled, s.checked, s.menu, s.button);
        } catch (...) {
            // A failing step is skipped; the rest still runs.
        }
    }
}



namespace {
std::string utf8(const QString &s)
{
    const QByteArray b = s.toUtf8();
    return std::string(b.constData(), static_cast<size_t>(b.size()));
}

QString fromUtf8(const std::string &s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The last search text as the editor's bytes; empty when there is none or
// the script's encoding cannot hold it, so that it finds nothing.
std::string lastSearchBytes(const RichEdit *e)
{
    return Utf8ToDocumentBytes(mGlobal::LastSearchText, e->GetEncoding()).value_or(std::string());
}
} // namespace

void MenuCommands::FindText()
{
    RichEdit *e = CallHook(m_hooks.activeEditor);
    if (!e)
        return;
    const QString proposed = e->SelLength() >= 1 ? BytesToText(e->SelText(), e->GetEncoding())
                                                 : fromUtf8(mGlobal::LastSearchText);
    const QString answer = m_prompts->InputText(m_window, QStringLiteral("Enter Search Text"), QStringLiteral("Find"),
                                                proposed);
    mGlobal::LastSearchText = utf8(answer);
    if (const std::string what = lastSearchBytes(e); !what.empty())
        e->Find(what, 0);
    CallHook(m_hooks.displayCharPos);
    SetEditStates();
}

void MenuCommands::FindNext()
{
    RichEdit *e = CallHook(m_hooks.activeEditor);
    if (!e)
        return;
    if (e->SelLength() >= 1)
        e->Find(e->SelText(), e->SelStart() + 1);
    else if (const std::string what = lastSearchBytes(e); !what.empty())
        e->Find(what, e->SelStart());
    CallHook(m_hooks.displayCharPos);
}

void MenuCommands::FindPrevious()
{
    RichEdit *e = CallHook(m_hooks.activeEditor);
    if (!e)
        return;
    const std::string text = e->SelLength() >= 1 ? e->SelText() : lastSearchBytes(e);
    if (!text.empty()) {
        // The last occurrence that starts after position 0 and ends by the
        // selection start; with none, the search starts at 0.
        const long limit = e->SelStart();
        long p = 0;
        long last = 0;
        for (;;) {
            last = p;
            const long r = e->Find(text, p + 1, limit, true);
            if (r < 0)
                break;
            p = r;
        }
        e->Find(text, last);
    }
    CallHook(m_hooks.displayCharPos);
}

void MenuCommands::ShowReplaceDialog()
{
    if (!CallHook(m_hooks.activeEditor))
        return;
    if (!m_replace) {
        m_replace = new ReplaceDialog(m_window);
        connect(m_replace, &ReplaceDialog::findNextRequested, this, [this] { ReplaceStep(false); });
        connect(m_replace, &ReplaceDialog::replaceRequested, this, [this] { ReplaceStep(true); });
        connect(m_replace, &ReplaceDialog::replaceAllRequested, this, &MenuCommands::ReplaceAll);
    }
    if (RichEdit *e = CallHook(m_hooks.activeEditor); e && e->SelLength() > 0)
        m_replace->setFindText(BytesToText(e->SelText(), e->GetEncoding()));
    else if (!mGlobal::LastSearchText.empty())
        m_replace->setFindText(fromUtf8(mGlobal::LastSearchText));
    m_replace->show();
    m_replace->raise();
    m_replace->activateWindow();
}

bool MenuCommands::ReplaceStep(bool replace)
{
    RichEdit *e = CallHook(m_hooks.activeEditor);
    if (!e || !m_replace)
        return false;
    const QString query = m_replace->findText();
    if (query.isEmpty())
        return false;
    mGlobal::LastSearchText = utf8(query);
    // A query the script's encoding cannot hold occurs nowhere in it.
    const std::string what = TextToBytes(query, e->GetEncoding()).value_or(std::string());
    if (what.empty())
        return false;
    const bool matchCase = m_replace->matchCase();
    // Without "Match case" the selection found may be longer or shorter than
    // the query (a letter whose other case takes other bytes).
    if (replace && (matchCase ? e->SelLength() == static_cast<long>(what.size()) : e->SelLength() > 0)) {
        const std::string sel = e->SelText();
        const bool same = matchCase ? sel == what
                                    : BytesToText(sel, e->GetEncoding()).compare(query, Qt::CaseInsensitive) == 0;
        if (same) {
            if (const auto with = TextToBytes(m_replace->replaceText(), e->GetEncoding())) {
                e->SetSelText(*with);
                CallHook(m_hooks.afterEdit);
            } else {
                e->RefuseUnheldText(m_replace->replaceText());
                return false;
            }
        }
    }
    long found = e->Find(what, e->SelStart() + e->SelLength(), -1, false, matchCase);
    if (found < 0)
        found = e->Find(what, 0, -1, false, matchCase); // wrap around
    CallHook(m_hooks.displayCharPos);
    SetEditStates();
    return found >= 0;
}

int MenuCommands::ReplaceAll()
{
    RichEdit *e = CallHook(m_hooks.activeEditor);
    if (!e || !m_replace)
        return 0;
    const std::string what = TextToBytes(m_replace->findText(), e->GetEncoding()).value_or(std::string());
    if (what.empty())
        return 0;
    const auto held = TextToBytes(m_replace->replaceText(), e->GetEncoding());
    if (!held) {
        e->RefuseUnheldText(m_replace->replaceText());
        return 0;
    }
    const std::string &with = *held;
    const bool matchCase = m_replace->matchCase();
    // One undo step for the whole replacement.
    const int count = e->ReplaceEach(what, with, matchCase);
    if (count > 0)
        CallHook(m_hooks.afterEdit);
    SetStatusBarTip(QStringLiteral("%1 occurrence(s) replaced").arg(count), true);
    CallHook(m_hooks.displayCharPos);
    return count;
}



namespace {

// The system's default printer, or null when the system has none.
std::shared_ptr<QsciPrinter> defaultSystemPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull() || QPrinterInfo::availablePrinterNames().isEmpty())
        return nullptr;
    auto printer = std::make_shared<QsciPrinter>(QPrinter::HighResolution);
    printer->setPrinterName(info.printerName());
    return printer;
}

// Names the printer (or the file a printer writes) in a failure message.
std::string printerName(const QPrinter &printer)
{
    const QString name = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    return name.toStdString();
}

} // namespace

Error MenuCommands::PrintDocument(QsciPrinter &printer)
{
    RichEdit *editor = CallHook(m_hooks.activeEditor);
    if (!editor)
        return {};
    if (const std::string path = CallHook(m_hooks.activePath); !path.empty())
        printer.setDocName(QFileInfo(QString::fromStdString(path)).fileName());

    QApplication::setOverrideCursor(Qt::WaitCursor);
    QPainter painter;
    // 1. Start the job.
    if (!painter.begin(&printer)) {
        QApplication::restoreOverrideCursor();
        return Error{ErrorCode::PrintFailed, printerName(printer)};
    }
    // 2. Nothing selected, so the whole document prints; the caret stays at
    //    the start of the old selection.
    editor->SetSelLength(0);
    // 3. The text with the editor's own styles: its colours and font.
    const bool printed = printer.printRange(editor, painter);
    // 4. End the job, which hands it to the printer.
    const bool ended = painter.end();
    QApplication::restoreOverrideCursor();
    if (!printed || !ended)
        return Error{ErrorCode::PrintFailed, printerName(printer)};
    return {};
}

void MenuCommands::PrintActive()
{
    if (!CallHook(m_hooks.activeEditor))
        return;
    std::shared_ptr<QsciPrinter> printer = m_setupPrinter;
    if (!printer)
        printer = m_printerSource ? m_printerSource() : defaultSystemPrinter();
    if (!printer) {
        CallHook(m_hooks.reportError, Error{ErrorCode::PrinterUnavailable,
                          "choose a printer, or printing to a file, with Printer Setup"});
        return;
    }
    if (Error e = PrintDocument(*printer))
        CallHook(m_hooks.reportError, e);
}

void MenuCommands::PrintSetup()
{
    std::shared_ptr<QsciPrinter> printer = m_setupPrinter;
    if (!printer)
        printer = m_printerSource ? m_printerSource() : defaultSystemPrinter();
    // With no printer at all the dialog still offers printing to a file.
    if (!printer)
        printer = std::make_shared<QsciPrinter>(QPrinter::HighResolution);
    if (m_prompts->PrinterSetup(m_window, *printer))
        m_setupPrinter = printer;
}

void MenuCommands::GetHelp(const QString &topic)
{
    QString folder = QString::fromStdString(mGlobal::HelpDir);
    if (folder.isEmpty())
        folder = QString::fromStdString(mGlobal::AppDir) + QStringLiteral("/help");
    if (!m_helpWindow)
        m_helpWindow = new HelpWindow(m_window);
    // Read the pages on every call, so the search always matches the files.
    if (Error e = m_helpWindow->Load(folder)) {
        CallHook(m_hooks.reportError, e);
        return;
    }
    if (topic == QLatin1String("Contents"))
        m_helpWindow->ShowContents();
    else
        m_helpWindow->ShowSearch();
    m_helpWindow->show();
    m_helpWindow->raise();
    m_helpWindow->activateWindow();
}



void MenuCommands::SetRecentFiles(const std::string &path, const QString &action)
{
    try {
        m_recentFiles = SetRecentFilesList(path, action.toStdString(), mGlobal::IniPath);
        const int owner = m_cMenu->IndexForKey("cmnuRecentFiles");
        for (int i = 1; i <= kRecentFileCount; ++i) {
            const std::string key = "cmnuRecentFile" + std::to_string(i);
            const std::string caption = RecentFileCaption(i, m_recentFiles[static_cast<size_t>(i - 1)]);
            if (m_cMenu->IndexForKey(key))
                m_cMenu->SetCaption(key, caption);
            else
                m_cMenu->AddItem(caption, "", i, owner, "imgRecentFile", false, true, key);
        }
    } catch (const std::exception &) {
        CallHook(m_hooks.reportError, Error{ErrorCode::Unexpected, "recent files"});
    }
}

} // namespace varkel

#include "bindings/gui/keybindings.h"

#include "app/callhook.h"
#include "app/mglobal.h"
#include "app/profile.h"
#include "app/settings.h"
#include "bindings/bindingscan.h"
#include "bindings/conflicts.h"
#include "bindings/diskscriptfiles.h"
#include "bindings/effectivebindings.h"
#include "bindings/execchain.h"
#include "bindings/insertion.h"
#include "bindings/gui/bindingstable.h"
#include "bindings/gui/commandbar.h"
#include "bindings/gui/devicepanel.h"
#include "documents/gui/richedit.h"
#include "language/dictionary.h"

#include <QBoxLayout>
#include <QCursor>
#include <QEvent>
#include <QMainWindow>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <map>

namespace varkel {

namespace {

// Editor lines the device panel leaves the script windows below it.
constexpr int kPanelEditorLines = 20;

// Shows the states the scan reports on the device panel, and keeps them for
// the bindings table.
class PanelSink : public KeyStateSink {
public:
    explicit PanelSink(DevicePanel *panel, KeyStateTable *states = nullptr)
        : m_panel(panel)
        , m_states(states)
    {
    }
    void showKeyState(int slot, KeyState state) override
    {
        if (m_states)
            m_states->showKeyState(slot, state);
        if (!m_panel)
            return;
        switch (state) {
        case KeyState::Off: m_panel->SetKeyOff(slot); break;
        case KeyState::On: m_panel->SetKeyOn(slot); break;
        case KeyState::HL: m_panel->SetKeyHL(slot); break;
        case KeyState::CON: m_panel->SetKeyCON(slot); break;
        }
    }

private:
    DevicePanel *m_panel;
    KeyStateTable *m_states;
};

// The scripts of an exec chain as the user sees them: an open script's text
// from its editor, any other from the disk. Each script's encoding is noted
// as it is read: an open script's is its document's, any other's the one
// its bytes are opened in.
class OpenScriptFiles : public ScriptFiles {
public:
    using OpenText = std::function<std::optional<std::string>(const std::string &)>;
    using OpenEncoding = std::function<std::optional<Encoding>(const std::string &)>;
    OpenScriptFiles(OpenText openText, OpenEncoding openEncoding)
        : m_openText(std::move(openText))
        , m_openEncoding(std::move(openEncoding))
    {
    }
    std::optional<std::string> fileIdentity(const std::string &path) override { return m_disk.fileIdentity(path); }
    std::optional<std::string> readScript(const std::string &path) override
    {
        std::optional<std::string> text = m_openText ? m_openText(path) : std::nullopt;
        std::optional<Encoding> encoding = text && m_openEncoding ? m_openEncoding(path) : std::nullopt;
        if (!text)
            text = m_disk.readScript(path);
        if (text)
            m_encodings[path] = encoding.value_or(DetectEncoding(*text));
        return text;
    }
    Encoding encodingOf(const std::string &path) const
    {
        const auto it = m_encodings.find(path);
        return it != m_encodings.end() ? it->second : Encoding::Latin1;
    }

private:
    OpenText m_openText;
    OpenEncoding m_openEncoding;
    DiskScriptFiles m_disk;
    std::map<std::string, Encoding> m_encodings;
};

} // namespace

KeyBindings::KeyBindings(const GameDictionary &dict, QObject *parent)
    : QObject(parent)
    , m_dict(dict)
{
}

void KeyBindings::SetHooks(Hooks hooks)
{
    m_hooks = std::move(hooks);
}

// --- the device panel ------------------------------------------------------

DevicePanel *KeyBindings::BuildDevicePanel(QWidget *parent)
{
    if (m_panel)
        return m_panel;
    m_panel = new DevicePanel(parent);
    m_panelHome = parent;
    if (parent)
        parent->installEventFilter(this);
    // The script windows below keep twenty lines where the panel can shrink for them.
    m_panel->SetEditorLines(kPanelEditorLines);
    m_panel->setVisible(mGlobal::ShowKeyboard);
    m_panel->SetKeyNameSource([this](int slot) {
        return std::string(m_dict.KeyNameOf(slot));
    });
    m_panel->SetBoundTextSource([this](int slot) {
        return DocumentBytesToUtf8(m_bindings.boundTextOf(slot), ActiveEncoding());
    });

    connect(m_panel, &DevicePanel::contextMenuRequested, this, [this] { CallHook(m_hooks.showMainPopup); });
    connect(m_panel, &DevicePanel::filesDropped, this, [this](const QStringList &files) { CallHook(m_hooks.openFiles, files); });
    connect(m_panel, &DevicePanel::pointerMoved, this, [this] { CallHook(m_hooks.resetStatusTip); });
    connect(m_panel, &DevicePanel::lockStatesChanged, this,
            [this](bool num, bool caps, bool scroll) { CallHook(m_hooks.lockStates, num, caps, scroll); });
    connect(m_panel, &DevicePanel::slotSelected, this, &KeyBindings::OnPanelSlotSelected);
    connect(m_panel, &DevicePanel::slotLeft, this, &KeyBindings::OnPanelSlotLeft);
    ShowSideButtons();
    // The lights were read while the panel was built, before anyone listened.
    CallHook(m_hooks.lockStates, m_panel->LockState(0), m_panel->LockState(1), m_panel->LockState(2));
    return m_panel;
}

void KeyBindings::ToggleKeyboard()
{
    if (!m_panel)
        return;
    // isHidden, not isVisible: the frame itself may not be shown yet.
    const bool show = m_panel->isHidden();
    m_panel->setVisible(show);
    mGlobal::ShowKeyboard = show;
    PlaceDevicePanel();
    WriteProfileString(kSectionGeneral, "ShowKeyboard", BoolText(show), mGlobal::IniPath);
}

bool KeyBindings::eventFilter(QObject *watched, QEvent *e)
{
    // Placed once the layouts have settled: a resize comes in several steps.
    if (e->type() == QEvent::Resize && (watched == m_panelHome || watched == m_commandRow) && !m_placePending) {
        m_placePending = true;
        QTimer::singleShot(0, this, [this] {
            m_placePending = false;
            PlaceDevicePanel();
        });
    }
    return QObject::eventFilter(watched, e);
}

void KeyBindings::PlaceDevicePanel()
{
    if (!m_panel || !m_panelHome || !m_commandRow || m_placingPanel)
        return;
    const QScopedValueRollback<bool> placing(m_placingPanel, true);
    // What the panel and the script windows would share with the panel
    // above them: beside the bar, the band's growth goes back to them.
    const int barHeight = m_commandBar->sizeHint().height();
    PanelFitInput above = m_panel->FitInput();
    above.availableWidth = m_panelHome->width();
    above.areaHeight = m_panelHome->height() + (m_panelBeside ? std::max(0, m_commandRow->height() - barHeight) : 0);
    const int spacing = std::max(m_commandRow->layout()->spacing(), 0);
    // A few pixels spare: the tool bar's own margins come out of the row.
    const int besideWidth = m_commandRow->width() - m_commandBar->minimumSizeHint().width() - 2 * spacing;
    PanelPlace place;
    if (!m_panel->isHidden() || m_panelBeside) {
        // Back above the scripts only with a line to spare, so that a window
        // at the border does not send the panel to and fro.
        if (m_panelBeside)
            above.minLines += 1;
        place = PlacePanel(above, besideWidth, barHeight);
    }
    // A hidden panel, or a hidden band of the command bar, keeps the panel above.
    const QWidget *band = m_commandRow->parentWidget();
    if (m_panel->isHidden() || (band && band->isHidden()))
        place.besideCommandBar = false;

    if (place.besideCommandBar != m_panelBeside) {
        const bool shown = !m_panel->isHidden();
        m_panelBeside = place.besideCommandBar;
        if (m_panelBeside)
            m_commandRow->layout()->addWidget(m_panel);
        else if (auto *home = qobject_cast<QBoxLayout *>(m_panelHome->layout()))
            home->insertWidget(0, m_panel);
        m_panel->setVisible(shown);
    }
    m_panel->SetFixedScale(m_panelBeside ? place.scale : 0.0);
}

void KeyBindings::SetDevicePanelEnabled(bool enabled)
{
    if (m_panel)
        m_panel->SetDevicePanelEnabled(enabled);
}

void KeyBindings::ReleaseMouseButtons()
{
    if (m_panel)
        m_panel->ReleaseMouseButtons();
}

void KeyBindings::UpdateLockLEDs()
{
    if (m_panel)
        m_panel->UpdateLockLEDs();
}

// --- the insertion tools ---------------------------------------------------

void KeyBindings::BuildCommandBar(QToolBar *band)
{
    // The bar sits in a row of its own, where a low window puts the panel beside it.
    m_commandRow = new QWidget(band);
    m_commandRow->setObjectName(QStringLiteral("commandRow"));
    auto *row = new QHBoxLayout(m_commandRow);
    row->setContentsMargins(0, 0, 0, 0);
    m_commandRow->installEventFilter(this);
    m_commandBar = new CommandBar(m_commandRow);
    row->addWidget(m_commandBar, 1);
    CommandBar::Hooks hooks;
    hooks.activeEditor = [this] { return CallHook(m_hooks.activeEditor); };
    hooks.documentOpen = [this] { return CallHook(m_hooks.documentOpen); };
    hooks.realTimeHiLite = [this](int line) { CallHook(m_hooks.realTimeHiLite, line); };
    hooks.refreshBindings = [this] { RefreshBindings(); };
    hooks.refreshAll = [this] { RefreshAll(); };
    hooks.statusTip = [this](const QString &text) { CallHook(m_hooks.statusTip, text, mGlobal::AllowStatusReset); };
    m_commandBar->SetHooks(std::move(hooks));
    m_commandBar->SetUserVariables(&m_bindings.userVariables);
    // The pick lists start in the colours of their keyword classes.
    m_commandBar->SetTextColors(true);
    band->addWidget(m_commandRow);
    band->show();
}

void KeyBindings::FillCommandBar()
{
    if (m_commandBar)
        m_commandBar->FillFromDictionary(m_dict);
}

void KeyBindings::SetEditStates(bool docOpen)
{
    if (m_commandBar)
        m_commandBar->SetEditStates(docOpen);
}

void KeyBindings::SetTextColors(bool coloured)
{
    if (m_commandBar)
        m_commandBar->SetTextColors(coloured);
}

void KeyBindings::RefreshAll()
{
    // Re-read after an insertion by drag and keep the user's place: the
    // document takes the focus back, its line is coloured, and the key shown
    // in the binding row is selected again.
    RichEdit *e = CallHook(m_hooks.activeEditor);
    if (!e || e->isHidden())
        return;
    const int slot = KeyIndex(m_dict, m_commandBar ? m_commandBar->KeynameText() : std::string());
    e->setFocus();
    if (mGlobal::AutoSyntaxType != 0)
        CallHook(m_hooks.realTimeHiLite, -1);
    if (mGlobal::AutoRefresh)
        RefreshBindings();
    if (slot >= 0 && m_panel && !m_panel->ClickSlot(slot) && slot <= 100 && m_commandBar)
        m_commandBar->SetBindingRow(std::string(), m_commandBar->BindingText(), Encoding::Utf8);
}

// The alias / vstr list and the binding row live in the command bar.
std::string KeyBindings::AliasBoxText() const
{
    return m_commandBar ? m_commandBar->AliasText() : std::string();
}

void KeyBindings::SetAliasList(const std::vector<std::string> &names, const std::string &text, Encoding encoding)
{
    if (m_commandBar)
        m_commandBar->SetAliasList(names, text, encoding);
}

void KeyBindings::SetBindingRow(const std::string &keyName, const std::string &command, Encoding encoding)
{
    if (m_commandBar)
        m_commandBar->SetBindingRow(keyName, command, encoding);
}

Encoding KeyBindings::ActiveEncoding() const
{
    const RichEdit *e = CallHook(m_hooks.activeEditor);
    return e ? e->GetEncoding() : Encoding::Latin1;
}

void KeyBindings::ClearBindingRow()
{
    if (m_commandBar)
        m_commandBar->SetBindingRow(std::string(), std::string());
}

// --- reading bindings and conflicts ---------------------------------------

void KeyBindings::ClearData()
{
    PanelSink sink(m_panel, &m_slotStates);
    varkel::ClearData(m_bindings, &sink);
    ShowSideButtons();
    if (m_panel) {
        m_panel->ReleaseMouseButtons();
        m_panel->ResetSelection();
    }
    ClearBindingRow();
    if (m_table)
        m_table->SetRows({}, {}, {});
}

void KeyBindings::readBindings(const std::function<void(KeyStateSink *)> &scan, bool quiet)
{
    // The box shows UTF-8; the scan compares the script's bytes.
    const Encoding encoding = ActiveEncoding();
    const std::string shown = AliasBoxText();
    const std::string previous = Utf8ToDocumentBytes(shown, encoding).value_or(shown);
    if (!quiet)
        CallHook(m_hooks.statusTip, QStringLiteral("Reading Bindings..."), mGlobal::AllowStatusReset);
    PanelSink sink(m_panel, &m_slotStates);
    scan(&sink);
    // A scan that keeps the pictures leaves the side buttons' states too.
    ShowSideButtons();
    SetAliasList(m_bindings.aliasList, varkel::AliasBoxText(m_bindings, previous, mGlobal::QVersion), encoding);
    UpdateBindingsTable();
    // Done reading: "Ready" again, unless a longer operation holds the text.
    if (!quiet)
        CallHook(m_hooks.resetStatusTip);
}

void KeyBindings::GetBindings(std::string_view text, bool quiet, bool keepImages)
{
    readBindings(
        [&](KeyStateSink *sink) {
            varkel::GetBindings(m_bindings, text, m_dict, static_cast<ConflictType>(mGlobal::ConflictType),
                                keepImages, sink);
        },
        quiet);
}

void KeyBindings::GetBindings(RichEdit *editor, bool quiet, bool keepImages)
{
    bool wholeText = false;
    const BindingLines &lines = LinesOf(editor, &wholeText);
    // Only reading the whole text takes long enough for the status bar to
    // tell of it.
    quiet = quiet || !wholeText;
    readBindings(
        [&](KeyStateSink *sink) {
            varkel::GetBindings(m_bindings, lines, static_cast<ConflictType>(mGlobal::ConflictType), keepImages,
                                sink);
        },
        quiet);
}

const BindingLines &KeyBindings::LinesOf(RichEdit *editor, bool *wholeText)
{
    // The findings of closed scripts go.
    std::erase_if(m_lines, [](const auto &entry) { return entry.second.editor.isNull(); });
    KeptLines &kept = m_lines[editor];
    std::vector<TextRange> changed;
    if (kept.editor == editor && kept.set == m_dict.Set() && editor->Log().ChangedSince(kept.serial, changed)) {
        kept.lines.Update(editor->TextView(), changed, m_dict);
    } else {
        if (wholeText)
            *wholeText = true;
        kept.editor = editor;
        kept.set = m_dict.Set();
        kept.lines.Read(editor->TextView(), m_dict);
    }
    kept.serial = editor->Log().Serial();
    return kept.lines;
}

void KeyBindings::RefreshBindings()
{
    ClearData();
    if (RichEdit *e = CallHook(m_hooks.activeEditor))
        GetBindings(e, false, false);
    UpdateLockLEDs();
}

void KeyBindings::RefreshDocumentBindings(RichEdit *editor)
{
    if (!editor)
        return;
    if (mGlobal::ConflictType != 1) {
        ClearData();
        GetBindings(editor, true, false);
    } else {
        ShowAllConflicts();
    }
}

void KeyBindings::ShowAllConflicts()
{
    const std::vector<RichEdit *> editors = CallHook(m_hooks.openEditors);
    RichEdit *active = CallHook(m_hooks.activeEditor);
    ClearData();
    if (editors.empty() || !active)
        return;
    std::vector<const BindingLines *> scripts;
    size_t activeIndex = 0;
    bool wholeText = false;
    for (size_t i = 0; i < editors.size(); ++i) {
        bool whole = false;
        scripts.push_back(&LinesOf(editors[i], &whole));
        wholeText = wholeText || whole;
        if (editors[i] == active)
            activeIndex = i;
    }
    // Only reading a whole text takes long enough for the status bar to
    // tell of it.
    readBindings([&](KeyStateSink *sink) { varkel::ShowAllConflicts(m_bindings, scripts, activeIndex, sink); },
                 !wholeText);
}

void KeyBindings::ToggleAutoRefresh()
{
    mGlobal::AutoRefresh = !mGlobal::AutoRefresh;
    CallHook(m_hooks.checkCommand, std::string_view("cmnuAutoRefresh"), mGlobal::AutoRefresh);
    WriteProfileString("General", "AutoRefresh", BoolText(mGlobal::AutoRefresh), mGlobal::IniPath);
    if (mGlobal::AutoRefresh && CallHook(m_hooks.documentOpen))
        RefreshBindings();
}

void KeyBindings::SetConflictState()
{
    static constexpr const char *kModes[] = {"Conflicts_None", "Conflicts_All", "Conflicts_Active"};
    const int type = mGlobal::ConflictType;
    if (type >= 0 && type <= 2)
        CallHook(m_hooks.radioCheck, std::string("cmnu") + kModes[type], std::string("tb") + kModes[type]);
    if (CallHook(m_hooks.documentOpen))
        RefreshBindings();
    WriteProfileInt("General", "ConflictType", type, mGlobal::IniPath);
}

void KeyBindings::SelectMatch(const TextMatch &match)
{
    RichEdit *e = CallHook(m_hooks.activeEditor);
    if (!e)
        return;
    if (match.found())
        e->SetSel(static_cast<long>(match.position), static_cast<long>(match.length));
    else
        e->SetSelLength(0);
    CallHook(m_hooks.displayCharPos);
}

void KeyBindings::FindNextConflict(long start)
{
    RichEdit *e = CallHook(m_hooks.activeEditor);
    if (!e || !m_panel)
        return;
    const int slot = m_panel->SelectedSlot();
    if (slot < 0) {
        e->SetSelLength(0);
        return;
    }
    // Nothing further: the caret stays and the old match is let go.
    SelectMatch(varkel::FindNextConflict(e->TextView(), m_dict, slot, start));
}

void KeyBindings::OnPanelSlotSelected(int slot, const QString &, const QString &)
{
    const std::string key(m_dict.KeyNameOf(slot));
    if (slot < 0 || key.empty())
        return;
    // With the effective bindings shown, the key's row says what it does and where.
    std::string tablePath;
    const BindingRow *row = m_table && m_table->Effective() ? m_table->BoundRowOfKey(slot, &tablePath) : nullptr;
    SetBindingRow(key, row ? row->command : m_bindings.boundTextOf(slot),
                  row ? m_table->ScriptEncoding(*row) : ActiveEncoding());
    // The click fills the binding row, even where it shows the text it
    // already had: the binding box receives the next command insertion.
    mGlobal::InsertTarget = NextInsertTarget(TargetEvent::BindingBoxChanged);
    CallHook(m_hooks.enableCommand, std::string_view("cmnuFindNextConflict"), true);
    if (m_syncing)
        return;
    m_syncing = true;
    if (m_table)
        m_table->SelectKey(slot);
    if (row) {
        const BindingRow place = *row;
        ShowRowPlace(place, tablePath);
    } else if (RichEdit *e = CallHook(m_hooks.activeEditor)) {
        SelectMatch(varkel::FindSlotBinding(e->TextView(), m_bindings, m_dict, slot));
    }
    m_syncing = false;
}

void KeyBindings::ShowSideButtons()
{
    if (!m_panel)
        return;
    std::array<int, kSideButtonCount> keys{};
    for (int i = 0; i < kSideButtonCount; ++i)
        keys[static_cast<std::size_t>(i)] = m_dict.KeyNumber(SideButtonKeyName(i));
    m_panel->SetSideButtonKeys(keys[0], keys[1]);
    PanelSink sink(m_panel);
    for (const int key : keys) {
        const BindingState::ExtraKey *extra = m_bindings.extraKey(key);
        if (m_panel->ShowsKey(key))
            sink.showKeyState(key, extra && extra->Bound ? extra->state : KeyState::Off);
    }
}

void KeyBindings::OnPanelSlotLeft()
{
    CallHook(m_hooks.enableCommand, std::string_view("cmnuFindNextConflict"), false);
}

} // namespace varkel

namespace varkel {

// --- the bindings table ----------------------------------------------------

BindingsTable *KeyBindings::BuildBindingsTable(QWidget *parent)
{
    if (m_table)
        return m_table;
    m_table = new BindingsTable(parent);
    BindingsTable::Hooks hooks;
    hooks.rowSelected = [this](const BindingRow &row, const std::string &path) { OnTableRowSelected(row, path); };
    hooks.commandEdited = [this](const BindingRow &row, const std::string &path, const std::string &command) {
        OnTableCommandEdited(row, path, command);
    };
    hooks.effectiveToggled = [this](bool) {
        m_chainStart.clear();
        m_chainScripts.clear();
        if (CallHook(m_hooks.documentOpen))
            RefreshBindings();
        else
            UpdateBindingsTable();
    };
    hooks.closed = [this] {
        mGlobal::ShowBindingsTable = false;
        WriteProfileString(kSectionGeneral, "ShowBindingsTable", BoolText(false), mGlobal::IniPath);
        CallHook(m_hooks.checkCommand, std::string_view("cmnuBindingsTable"), false);
    };
    hooks.areaChanged = [](int area) {
        mGlobal::BindingsTableArea = area;
        WriteProfileInt(std::string(kSectionGeneral), "BindingsTableArea", area, mGlobal::IniPath);
    };
    m_table->SetHooks(std::move(hooks));
    m_table->setVisible(mGlobal::ShowBindingsTable);
    CallHook(m_hooks.checkCommand, std::string_view("cmnuBindingsTable"), mGlobal::ShowBindingsTable);
    return m_table;
}

void KeyBindings::ToggleBindingsTable()
{
    if (!m_table)
        return;
    const bool show = m_table->isHidden();
    // The dock takes its width from the frame's: a frame that is not
    // maximized grows by it (as far as the screen allows) and shrinks back.
    auto *frame = qobject_cast<QMainWindow *>(m_table->parentWidget());
    const Qt::DockWidgetArea area = frame ? frame->dockWidgetArea(m_table) : Qt::NoDockWidgetArea;
    const int before = m_table->isFloating() ? 0 : m_table->width();
    m_table->setVisible(show);
    if (frame && (area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea) && frame->isVisible() &&
        !m_table->isFloating() &&
        !(frame->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        const int room = frame->screen() ? frame->screen()->availableGeometry().right() - frame->frameGeometry().right() : 0;
        if (show) {
            frame->resize(frame->width() + std::max(0, std::min(m_table->sizeHint().width(), room)), frame->height());
            frame->resizeDocks({m_table}, {m_table->sizeHint().width()}, Qt::Horizontal);
        }
        else
            frame->resize(std::max(frame->minimumWidth(), frame->width() - before), frame->height());
    }
    mGlobal::ShowBindingsTable = show;
    WriteProfileString(kSectionGeneral, "ShowBindingsTable", BoolText(show), mGlobal::IniPath);
    CallHook(m_hooks.checkCommand, std::string_view("cmnuBindingsTable"), show);
    if (show)
        UpdateBindingsTable();
}

void KeyBindings::UpdateBindingsTable()
{
    if (!m_table)
        return;
    RichEdit *e = CallHook(m_hooks.activeEditor);
    if (!e) {
        m_table->SetRows({}, {}, {});
        return;
    }
    const std::string path = CallHook(m_hooks.activePath);
    if (!m_table->Effective()) {
        std::vector<BindingRow> rows = ScriptBindingRows(
            e->TextView(), m_bindings, m_dict, [this](int slot) { return m_slotStates.state(slot); },
            [e](std::size_t position) { return e->GetLineFromChar(static_cast<long>(position)); });
        std::vector<BindingRow> free = FreeKeyRows(rows, m_dict);
        m_table->SetRows(std::move(rows), std::move(free), {path}, {e->GetEncoding()});
        return;
    }

    // While a script the shown chain execs is active (a row opened it), the
    // chain still starts where it did; any other script starts a chain of its
    // own. A row being opened keeps it too (the window activated on the way
    // may not be the script yet).
    const bool inChain = !m_chainStart.empty() && path != m_chainStart &&
                         (m_syncing || std::find(m_chainScripts.begin(), m_chainScripts.end(), path) != m_chainScripts.end());
    OpenScriptFiles files(m_hooks.openScriptText, m_hooks.openScriptEncoding);
    std::string start = path;
    std::string startText;
    if (inChain) {
        start = m_chainStart;
        startText = files.readScript(start).value_or(std::string());
    } else {
        startText = e->Text();
    }
    const Encoding startEncoding = inChain ? files.encodingOf(start) : e->GetEncoding();
    const EffectiveBindings effective = GetEffectiveBindings(start, std::move(startText), files);
    std::vector<Encoding> encodings;
    for (const std::string &script : effective.scripts)
        encodings.push_back(encodings.empty() ? startEncoding : files.encodingOf(script));
    m_chainStart = start;
    m_chainScripts = effective.scripts;
    std::vector<BindingRow> rows = EffectiveBindingRows(effective, m_dict);

    // The panel shows the same: a key the chain leaves bound is On.
    PanelSink sink(m_panel);
    for (int slot = 0; slot < BindingState::SlotCount; ++slot)
        sink.showKeyState(slot, KeyState::Off);
    for (int i = 0; i < kSideButtonCount && m_panel; ++i)
        if (const int key = m_dict.KeyNumber(SideButtonKeyName(i)); m_panel->ShowsKey(key))
            sink.showKeyState(key, KeyState::Off);
    for (const BindingRow &row : rows)
        if (m_panel && m_panel->ShowsKey(row.keyNumber))
            sink.showKeyState(row.keyNumber, KeyState::On);

    std::vector<BindingRow> free = FreeKeyRows(rows, m_dict);
    m_table->SetRows(std::move(rows), std::move(free), effective.scripts, std::move(encodings));
}

RichEdit *KeyBindings::EditorForScript(const std::string &path)
{
    RichEdit *active = CallHook(m_hooks.activeEditor);
    if (path.empty() || path == CallHook(m_hooks.activePath))
        return active;
    return CallHook(m_hooks.openScript, path);
}

void KeyBindings::ShowRowPlace(const BindingRow &row, const std::string &path)
{
    RichEdit *e = EditorForScript(path);
    if (!e || row.position < 0)
        return;
    const std::string_view text = e->TextView();
    if (static_cast<std::size_t>(row.position) >= text.size())
        return;
    const TextMatch line = LineFrom(text, static_cast<std::size_t>(row.position));
    e->SetSel(static_cast<long>(line.position), static_cast<long>(line.length));
    e->ensureLineVisible(e->GetLineFromChar(static_cast<long>(line.position)));
    CallHook(m_hooks.displayCharPos);
}

void KeyBindings::OnTableRowSelected(const BindingRow &selected, const std::string &scriptPath)
{
    if (m_syncing)
        return;
    // Opening a script refills the table: work on copies.
    const BindingRow row = selected;
    const std::string path = scriptPath;
    m_syncing = true;
    ShowRowPlace(row, path);
    if (m_panel) {
        if (m_panel->ShowsKey(row.keyNumber)) {
            m_panel->ShowSelectedSlot(row.keyNumber);
            OnPanelSlotSelected(row.keyNumber, QString(), QString());
        } else {
            m_panel->ShowSelectedSlot(-1);
            SetBindingRow(row.key, row.command, m_table ? m_table->ScriptEncoding(row) : ActiveEncoding());
        }
    }
    m_syncing = false;
}

void KeyBindings::OnTableCommandEdited(const BindingRow &edited, const std::string &scriptPath, const std::string &command)
{
    const BindingRow row = edited;
    const std::string path = scriptPath;
    // Opening the row's script keeps the effective chain shown.
    m_syncing = true;
    RichEdit *e = EditorForScript(path);
    m_syncing = false;
    if (!e || row.position < 0)
        return;
    // The line must still be this key's `bind` (the text may have changed).
    std::size_t start = 0;
    std::size_t end = 0;
    const std::string_view text = e->TextView();
    const int key = row.keyNumber >= 0 ? row.keyNumber : KeyNumber(m_dict, row.key);
    if (!BindCommandRange(text, static_cast<std::size_t>(row.position), m_dict, key, start, end)) {
        CallHook(m_hooks.statusTip, QStringLiteral("The bind line of %1 has changed; nothing was rewritten")
                                        .arg(QString::fromStdString(row.key)),
                 mGlobal::AllowStatusReset);
        return;
    }
    // The edited text in the script's encoding; a character it cannot hold
    // leaves the line as it is.
    const auto held = Utf8ToDocumentBytes(command, e->GetEncoding());
    if (!held) {
        e->RefuseUnheldText(QString::fromStdString(command));
        return;
    }
    const std::string replacement = CommandForBindLine(*held, text[start] == '"');
    // One undo step puts the old command back.
    e->beginUndoAction();
    e->SetSel(static_cast<long>(start), static_cast<long>(end - start));
    e->SetSelText(replacement);
    e->endUndoAction();
    const int line = e->GetLineFromChar(static_cast<long>(start));
    CallHook(m_hooks.realTimeHiLite, line);
    RefreshBindings();
    const TextMatch bindLine = LineFrom(e->TextView(), static_cast<std::size_t>(row.position));
    e->SetSel(static_cast<long>(bindLine.position), static_cast<long>(bindLine.length));
    CallHook(m_hooks.displayCharPos);
}

// --- following exec --------------------------------------------------------

std::string KeyBindings::ExecNameForMenu()
{
    m_execName.clear();
    m_execHolder.clear();
    RichEdit *e = CallHook(m_hooks.activeEditor);
    if (!e)
        return {};
    long position = e->SelStart();
    const QPoint at = e->viewport()->mapFromGlobal(QCursor::pos());
    if (e->viewport()->rect().contains(at)) {
        const long under = e->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMPOINTCLOSE, static_cast<unsigned long>(at.x()),
                                            static_cast<long>(at.y()));
        if (under >= 0)
            position = under;
    }
    m_execName = ExecNameAt(e->TextView(), static_cast<std::size_t>(position));
    if (!m_execName.empty())
        m_execHolder = CallHook(m_hooks.activePath);
    return m_execName;
}

bool KeyBindings::FollowExecAt(RichEdit *editor, long position)
{
    if (!editor || position < 0)
        return false;
    const std::string name = ExecNameAt(editor->TextView(), static_cast<std::size_t>(position));
    if (name.empty())
        return false;
    OpenExecScript(name, CallHook(m_hooks.activePath));
    return true;
}

void KeyBindings::FollowExec()
{
    if (!m_execName.empty())
        OpenExecScript(m_execName, m_execHolder);
}

void KeyBindings::OpenExecScript(const std::string &name, const std::string &holderPath)
{
    // The starting script's folder is searched second: the chain shown when
    // the holder is one of its scripts, the holder's own folder otherwise.
    const bool inChain = !m_chainStart.empty() &&
                         std::find(m_chainScripts.begin(), m_chainScripts.end(), holderPath) != m_chainScripts.end();
    const std::string holderFolder = ScriptFolder(holderPath);
    const std::string startFolder = inChain ? ScriptFolder(m_chainStart) : holderFolder;
    DiskScriptFiles files;
    const std::optional<ExecTarget> target = FindExecScript(files, name, holderFolder, startFolder);
    if (!target) {
        CallHook(m_hooks.statusTip, QStringLiteral("Script not found: %1").arg(QString::fromStdString(name)), false);
        return;
    }
    CallHook(m_hooks.openScript, target->path);
}

} // namespace varkel

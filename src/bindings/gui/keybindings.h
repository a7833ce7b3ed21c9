#pragma once
// The bindings: the binding table read from the scripts' `bind`, alias and
// set lines, the input-device panel that shows it, the insertion tools (the
// command bar), the conflict modes, the automatic refresh, and moving the
// caret to a key's `bind` line. What it needs of the rest of the window it
// asks through its hooks; the frame fills them in.

#include "bindings/bindinglines.h"
#include "bindings/bindingrows.h"
#include "bindings/bindingsearch.h"
#include "bindings/bindingstate.h"
#include "bindings/keystatetable.h"
#include "documents/encoding.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QToolBar;
class QWidget;

namespace varkel {

class BindingsTable;
class CommandBar;
class DevicePanel;
class GameDictionary;
class RichEdit;

class KeyBindings : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        // The documents: the active editor and every open one in load
        // order, whether any is open, the caret display, opening dropped
        // files.
        std::function<RichEdit *()> activeEditor;
        std::function<std::vector<RichEdit *>()> openEditors;
        std::function<bool()> documentOpen;
        std::function<void()> displayCharPos;
        std::function<void(const QStringList &)> openFiles;
        // Colouring of one line of the active document (-1: the caret's).
        std::function<void(int line)> realTimeHiLite;
        // Status bar and menus.
        std::function<void(const QString &text, bool allowReset)> statusTip;
        std::function<void()> resetStatusTip;
        std::function<void(bool num, bool caps, bool scroll)> lockStates;
        std::function<void(std::string_view command, bool enabled)> enableCommand;
        std::function<void(std::string_view command, bool checked)> checkCommand;
        std::function<void(const std::string &menuKey, const std::string &buttonKey)> radioCheck;
        std::function<void()> showMainPopup;
        // The path of the active script ("" when none), and the editor of
        // the script at a path, opened (and made active) when it is not open
        // yet; nullptr when it cannot be opened.
        std::function<std::string()> activePath;
        std::function<RichEdit *(const std::string &path)> openScript;
        // The text of the open script at a path (its editor's, saved or
        // not); nothing when no open script has that path.
        std::function<std::optional<std::string>(const std::string &path)> openScriptText;
        // The encoding of the open script at a path; nothing when no open
        // script has that path.
        std::function<std::optional<Encoding>(const std::string &path)> openScriptEncoding;
    };

    // The dictionary is the one colouring keeps; it outlives this object.
    explicit KeyBindings(const GameDictionary &dict, QObject *parent = nullptr);

    void SetHooks(Hooks hooks);

    // Builds the device panel (parent: the widget it sits in) and the
    // command bar (in the rebar's band).
    DevicePanel *BuildDevicePanel(QWidget *parent);
    void BuildCommandBar(QToolBar *band);
    // Refills the insertion lists from the dictionary.
    void FillCommandBar();

    // Empties the binding table and shows every slot Off.
    void ClearData();
    // Reads the `bind`, alias and set lines of a script into the binding table.
    void GetBindings(std::string_view text, bool quiet, bool keepImages);
    // The same for an editor's script, reading again only the lines changed
    // since its last reading.
    void GetBindings(RichEdit *editor, bool quiet, bool keepImages);
    // Re-reads the active script's bindings.
    void RefreshBindings();
    // The refresh after activation and typing: the given script alone, or
    // every open script when conflicts are shown across all of them.
    void RefreshDocumentBindings(RichEdit *editor);
    void ShowAllConflicts();
    // Re-reads after an insertion by drag, keeping the selected key.
    void RefreshAll();
    void ToggleAutoRefresh();
    // Applies ConflictType: marks its menu item and button, re-reads, stores it.
    void SetConflictState();
    // Selects the next `bind` line of the selected key from start on.
    void FindNextConflict(long start);
    const BindingState &Bindings() const { return m_bindings; }

    // Builds the bindings table (a dock; the frame places it) and shows it
    // as the settings say.
    BindingsTable *BuildBindingsTable(QWidget *parent);
    BindingsTable *Table() const { return m_table; }
    // Shows or hides the bindings table and stores the choice ([General]
    // ShowBindingsTable).
    void ToggleBindingsTable();
    // Refills the bindings table from the binding table just read (or, with
    // "Effective bindings" on, from the active script's exec chain, which
    // the panel then shows too).
    void UpdateBindingsTable();

    // The NAME of the `exec NAME` line under the mouse pointer in the active
    // editor (or, with the pointer elsewhere, on the caret's line); empty
    // when there is none. Remembered for FollowExec.
    std::string ExecNameForMenu();
    // Opens the script the `exec` line at `position` of the editor runs; a
    // name that finds no script says so in the status bar. False when the
    // line holds no `exec`.
    bool FollowExecAt(RichEdit *editor, long position);
    // Opens the script of the name ExecNameForMenu last gave.
    void FollowExec();

    DevicePanel *Panel() const { return m_panel; }
    CommandBar *InsertionTools() const { return m_commandBar; }
    // Shows or hides the panel and stores the choice ([General] ShowKeyboard).
    void ToggleKeyboard();
    void SetDevicePanelEnabled(bool enabled);
    void ReleaseMouseButtons();
    // The lock lights and the status-bar panels "NUM", "CAPS", "SCRL".
    void UpdateLockLEDs();
    // The insertion tools are usable exactly while a document is open.
    void SetEditStates(bool docOpen);
    void SetTextColors(bool coloured);
    // True while a low window has the panel beside the command bar.
    bool PanelBesideCommandBar() const { return m_panelBeside; }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    // Puts the panel above the script windows, or beside the command bar when
    // the window is too low for both it and the editor's lines.
    void PlaceDevicePanel();
    void OnPanelSlotSelected(int slot, const QString &keyName, const QString &boundText);
    void OnPanelSlotLeft();
    // The side buttons follow the game's key numbers and the scan's states.
    void ShowSideButtons();
    void OnTableRowSelected(const BindingRow &row, const std::string &path);
    void OnTableCommandEdited(const BindingRow &row, const std::string &path, const std::string &command);
    // The editor that holds the script at `path`: the active one when it is
    // that script (or the path is empty), otherwise the script opened.
    RichEdit *EditorForScript(const std::string &path);
    // Selects the row's `bind` line in its script, opening it when needed.
    void ShowRowPlace(const BindingRow &row, const std::string &path);
    void OpenExecScript(const std::string &name, const std::string &holderPath);
    void SelectMatch(const TextMatch &match);
    // The alias / vstr list and the binding row of the insertion tools.
    std::string AliasBoxText() const;
    void SetAliasList(const std::vector<std::string> &names, const std::string &text, Encoding encoding);
    void SetBindingRow(const std::string &keyName, const std::string &command, Encoding encoding);
    // The encoding of the active script (Latin-1 when none is open).
    Encoding ActiveEncoding() const;
    void ClearBindingRow();
    // Runs a scan into the binding table with the panel as its sink, then
    // refills the lists and the bindings table.
    void readBindings(const std::function<void(KeyStateSink *)> &scan, bool quiet);
    // The findings of an editor's script, brought up to date with its
    // changes; wholeText tells whether the whole text had to be read.
    const BindingLines &LinesOf(RichEdit *editor, bool *wholeText = nullptr);

    // Each editor's findings, the change of its text they were last brought
    // to and the command set they were read with.
    struct KeptLines {
        QPointer<RichEdit> editor;
        std::uint64_t serial = 0;
        std::string set;
        BindingLines lines;
    };
    std::map<const RichEdit *, KeptLines> m_lines;

    const GameDictionary &m_dict;
    Hooks m_hooks;
    BindingState m_bindings;
    DevicePanel *m_panel = nullptr;       // keyboard, mouse, joystick
    CommandBar *m_commandBar = nullptr;
    QWidget *m_commandRow = nullptr;       // the command bar and, in low windows, the panel
    QPointer<QWidget> m_panelHome;         // the area above the script windows
    bool m_panelBeside = false;
    bool m_placingPanel = false;
    bool m_placePending = false;
    BindingsTable *m_table = nullptr;
    KeyStateTable m_slotStates;         // the states the scan last gave the slots
    std::string m_chainStart;           // the starting script of the effective bindings shown
    std::vector<std::string> m_chainScripts; // the scripts of that chain
    std::string m_execName;             // the name ExecNameForMenu last gave
    std::string m_execHolder;           // the script that holds it
    bool m_syncing = false;             // the table and the panel follow each other
};

} // namespace varkel

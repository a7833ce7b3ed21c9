#pragma once
// The bindings: the binding table read from the scripts' `bind`, alias and
// set lines, the input-device panel that shows it, the insertion tools (the
// command bar), the conflict modes, the automatic refresh, and moving the
// caret to a key's `bind` line. What it needs of the rest of the window it
// asks through its hooks; the frame fills them in.

#include "bindings/bindingsearch.h"
#include "bindings/bindingstate.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QToolBar;
class QWidget;

namespace varkel {

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

private:
    void OnPanelSlotSelected(int slot, const QString &keyName, const QString &boundText);
    void OnPanelSlotLeft();
    void SelectMatch(const TextMatch &match);
    // The alias / vstr list and the binding row of the insertion tools.
    std::string AliasBoxText() const;
    void SetAliasList(const std::vector<std::string> &names, const std::string &text);
    void SetBindingRow(const std::string &keyName, const std::string &command);
    void ClearBindingRow();

    const GameDictionary &m_dict;
    Hooks m_hooks;
    BindingState m_bindings;
    DevicePanel *m_panel = nullptr;       // keyboard, mouse, joystick
    CommandBar *m_commandBar = nullptr;
};

} // namespace varkel

#pragma once
// The insertion tools of the main window, shown in the command bar: the
// alias / vstr, command and cvar rows (a pick list with a search and an insert
// button each), the item row with pictures, and the binding row that builds a
// whole `bind` line. A left click on an insert button places the tool's text
// at the caret; the right button held down drags it into a script.
//
// The controls carry the names the window knows them by. What the bar needs
// of the rest of the window (the active editor, the refreshes after an
// insertion, the status text) it asks through its hooks.

#include "bindings/insertion.h"
#include "documents/encoding.h"
#include "language/dictionary.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QDrag;
class QLabel;
class QLineEdit;
class QToolButton;

namespace varkel {

class InsertButton;
class RichEdit;
class UserVariableList;

class CommandBar : public QWidget {
    Q_OBJECT
public:
    struct Hooks {
        // The active document's editor, or null when no document is open.
        std::function<RichEdit *()> activeEditor;
        // At least one document is open.
        std::function<bool()> documentOpen;
        // Colours a line of the active document (RealTimeHiLite): the given
        // one, or the caret's line for -1.
        std::function<void(int line)> realTimeHiLite;
        // RefreshBindings and RefreshAll of the binding extraction.
        std::function<void()> refreshBindings;
        std::function<void()> refreshAll;
        // Shows a text in status bar panel 1.
        std::function<void(const QString &)> statusTip;
        // Runs a drag to its end and returns the drop action; by default
        // QDrag::exec with the move action. Tests put a drop of their own here.
        std::function<Qt::DropAction(QDrag *)> execDrag;
    };

    explicit CommandBar(QWidget *parent = nullptr);
    ~CommandBar() override;

    void SetHooks(Hooks hooks);

    // --- the controls -------------------------------------------------------
    std::array<QLabel *, kCommandRowCount> lblCommandDes{};
    std::array<QComboBox *, kCommandRowCount> cboCommand{};
    std::array<QToolButton *, kCommandRowCount> cmdSearchCommand{};
    std::array<InsertButton *, kCommandRowCount> cmdInsertCommand{};
    QComboBox *imgcboItems = nullptr;
    QToolButton *cmdSearchItem = nullptr;
    InsertButton *cmdInsertItem = nullptr;
    QLabel *lblKeyName = nullptr;
    QComboBox *cboKeyname = nullptr;
    QLabel *lblBinding = nullptr;
    QLineEdit *txtBinding = nullptr;
    InsertButton *cmdInsertBinding = nullptr;

    // --- filled by others ---------------------------------------------------
    // Refills the command, cvar, key-name and item lists from a dictionary
    // after BuildDictionary. A build that failed part way fills what it got
    // to: the item pictures once the items were read, the item caption once
    // the item list was read, the captions of the rows only after a whole
    // build. The dictionary must outlive the bar.
    void FillFromDictionary(const GameDictionary &dict);
    // The user variable list the alias / vstr row consults (the binding
    // state); null while there is none.
    void SetUserVariables(const UserVariableList *vars);
    // Refills the alias / vstr list after a scan. The box keeps the entry it
    // showed if the user variable list still holds it, else it shows its
    // caption.
    void SetAliasList(const std::vector<std::string> &names);
    // The same with the text the box shows afterwards decided by the caller
    // (AliasBoxText of the scan, from the AliasText() read before it), the
    // names and the text being bytes of a script in `encoding`. The
    // one-argument form keeps the encoding last given.
    void SetAliasList(const std::vector<std::string> &names, const std::string &text,
                      Encoding encoding = Encoding::Latin1);
    std::string AliasText() const;
    // The binding row as the device panel fills it: the key name upper-cased
    // and the command bound to it, bytes of a script in `encoding` (both are
    // shown as that script reads them). ClearData empties both.
    void SetBindingRow(const std::string &keyName, const std::string &binding, Encoding encoding = Encoding::Latin1);
    std::string KeynameText() const;
    std::string BindingText() const;

    // --- states and colours -----------------------------------------------
    // The last steps of the window's edit states: the pick lists are usable
    // exactly while a document is open.
    void SetEditStates(bool documentOpen);
    // Text colours of the pick lists: by keyword class (Plain text, Command,
    // Cvar, Key name, Plain text), or all Plain text.
    void SetTextColors(bool byKeywordClass);

    // --- the tools ------------------------------------------------------------
    // The text a tool inserts (for the item and binding rows `row` is unused).
    std::string ToolText(InsertionTool tool, int row = 0) const;

    // The handlers, public so that the window can run them as it needs.
    void cboCommand_Click(int row);
    void imgcboItems_Click();
    void UpdateBindingButton();
    void InsertCommand(int row);
    void InsertItem();
    void InsertBinding();
    void SearchCommand(int row);
    void SearchItem();

    // The item entry the box shows, or null while it shows its caption.
    const ItemEntry *CurrentItem() const;

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;
    void changeEvent(QEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;

private:
    void buildControls();
    void connectControls();
    void connectInsertButton(InsertButton *button, InsertionTool tool, int row);
    void insertTool(InsertionTool tool, int row);
    void searchFor(const std::string &text);
    // The text of a command row as the bytes of the script it names.
    std::string rowScriptBytes(int row) const;
    void afterInsertion(const AfterInsertion &after);
    void beginDropWindow();
    void endDropWindow();
    void runDrag(InsertButton *button, InsertionTool tool, int row);
    void applyPalettes();
    std::string set() const;

    Hooks m_hooks;
    const GameDictionary *m_dict = nullptr;
    const UserVariableList *m_vars = nullptr;
    std::vector<ItemEntry> m_items;
    std::vector<std::string> m_aliasNames; // the items of the alias / vstr box
    Encoding m_aliasEncoding = Encoding::Latin1; // the encoding of their script
    std::string m_set;
    bool m_open = false;
    bool m_colorsByClass = true;
    bool m_dragging = false;
    std::vector<unsigned> m_appliedLook; // what the palettes were last made from
    QPointer<RichEdit> m_dropEditor; // the editor taking drops while a button is held
};

} // namespace varkel

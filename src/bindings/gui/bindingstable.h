#pragma once
// The bindings table: a dock beside the device panel with one row per key
// the active script binds (or, with "Effective bindings" on, per key the
// script's exec chain leaves bound, or per free key), each with its command,
// the place of its `bind` line, its state and a mark for keys the panel has
// no place for. Sortable by any column, searchable, filtered. It shows the
// rows it is given and reports what the user does with them; the bindings
// part fills it and acts on the reports.

#include "bindings/bindingrows.h"
#include "documents/encoding.h"

#include <QDockWidget>

#include <functional>
#include <string>
#include <vector>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QSortFilterProxyModel;
class QTableView;

namespace varkel {

class BindingsTableModel;

class BindingsTable : public QDockWidget {
    Q_OBJECT
public:
    enum Column { KeyColumn, CommandColumn, LineColumn, StateColumn, PanelColumn, ColumnCount };

    struct Hooks {
        // A row was made current by the user (click, keys, search).
        std::function<void(const BindingRow &row, const std::string &scriptPath)> rowSelected;
        // The command of a row was edited in place.
        std::function<void(const BindingRow &row, const std::string &scriptPath, const std::string &command)> commandEdited;
        // The "Effective bindings" toggle changed.
        std::function<void(bool on)> effectiveToggled;
        // The user closed the dock; it was moved to another side of the frame
        // (a Qt::DockWidgetArea value).
        std::function<void()> closed;
        std::function<void(int area)> areaChanged;
    };

    explicit BindingsTable(QWidget *parent = nullptr);
    ~BindingsTable() override;

    void SetHooks(Hooks hooks);
    // Wide enough for a command beside the key, its place, state and mark.
    QSize sizeHint() const override;

    // The rows of the bound keys and the free keys, and the paths and
    // encodings of the scripts their `script` indexes (a script without an
    // encoding reads as Latin-1). The selected key stays selected when it is
    // still listed.
    void SetRows(std::vector<BindingRow> bound, std::vector<BindingRow> free, std::vector<std::string> scriptPaths,
                 std::vector<Encoding> scriptEncodings = {});
    // The encoding of a row's script, and its command as that script reads.
    Encoding ScriptEncoding(const BindingRow &row) const;
    QString CommandText(const BindingRow &row) const;
    // Selects the row of a key (by number) without reporting it; no row is
    // selected when the key is not listed.
    void SelectKey(int keyNumber);

    bool Effective() const;
    void SetEffective(bool on);
    RowFilter Filter() const;
    void SetFilter(RowFilter filter);

    // The rows shown, in the view's order.
    int RowCount() const;
    const BindingRow *RowAt(int viewRow) const;
    const BindingRow *CurrentRow() const;
    // The bound row of a key, listed or not, and the path of its script.
    const BindingRow *BoundRowOfKey(int keyNumber, std::string *path) const;
    QString CellText(int viewRow, int column) const;
    // The "file:line" a row shows.
    QString PlaceText(const BindingRow &row) const;

    QTableView *View() const { return m_view; }
    QLineEdit *SearchBox() const { return m_search; }
    QComboBox *FilterBox() const { return m_filter; }
    QAbstractButton *EffectiveBox() const { return m_effective; }

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    void Refilter();
    void OnCurrentChanged();
    int ViewRowOfKey(int keyNumber) const;

    Hooks m_hooks;
    std::vector<BindingRow> m_bound;
    std::vector<BindingRow> m_free;
    std::vector<std::string> m_scripts;
    std::vector<Encoding> m_encodings;
    BindingsTableModel *m_model = nullptr;
    QSortFilterProxyModel *m_sorted = nullptr;
    QTableView *m_view = nullptr;
    QLineEdit *m_search = nullptr;
    QComboBox *m_filter = nullptr;
    QAbstractButton *m_effective = nullptr;
    int m_selectedKey = -1; // key number of the current row, kept across refills
    bool m_quiet = false;   // selecting from the program: no report
};

} // namespace varkel

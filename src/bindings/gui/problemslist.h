#pragma once
// The Problems list: a dock with one row per finding of the active script
// (line, column, severity, message, code). A click on a row reports it, so
// the checks part can select the place in the editor; the context menu of
// an unknown name offers to add it to the user's own names.

#include "bindings/lint.h"

#include <QDockWidget>

#include <functional>
#include <string>
#include <vector>

class QTableView;

namespace varkel {

class ProblemsModel;

// One row: the finding's place as the user reads it (1-based) and where it
// is in the text.
struct ProblemRow {
    int line = 0;          // 1-based
    std::size_t column = 0; // 1-based byte column
    LintCode code = LintCode::UnknownName;
    LintSeverity severity = LintSeverity::Note;
    std::string message;
    std::string name;      // the word a note about an unknown name is about
    long position = 0;     // byte offset in the script
    long length = 0;
};

class ProblemsList : public QDockWidget {
    Q_OBJECT
public:
    enum Column { LineColumn, ColumnColumn, SeverityColumn, MessageColumn, CodeColumn, ColumnCount };

    struct Hooks {
        // A row was clicked or made current with the keys.
        std::function<void(const ProblemRow &row)> rowChosen;
        // "Add NAME to my names" was chosen on a row.
        std::function<void(const std::string &name)> addName;
        // The user closed the dock; it was moved to another side of the frame.
        std::function<void()> closed;
        std::function<void(int area)> areaChanged;
    };

    explicit ProblemsList(QWidget *parent = nullptr);
    ~ProblemsList() override;

    void SetHooks(Hooks hooks);
    void SetRows(std::vector<ProblemRow> rows);

    int RowCount() const;
    const ProblemRow *RowAt(int row) const;
    QString CellText(int row, int column) const;
    QTableView *View() const { return m_view; }
    // The caption of the context menu's item for a row ("" when it has none).
    static QString AddNameCaption(const ProblemRow &row);

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    void OnActivated(int row);
    void OnContextMenu(const QPoint &at);

    Hooks m_hooks;
    ProblemsModel *m_model = nullptr;
    QTableView *m_view = nullptr;
};

} // namespace varkel

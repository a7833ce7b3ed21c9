#pragma once
// The dialog that enters a new user tool or changes the selected one. It
// works on the current row of the options dialog's tool list: in add mode
// (mGlobal::AddingTool) that row is the new, still empty row the options
// dialog appended; OK fills it, Cancel removes it. Nothing is written to the
// settings file here; that happens when the tool page is applied.

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace varkel {

class Prompts;

class fAddTool : public QDialog {
    Q_OBJECT
public:
    // list: the tool list whose current row the dialog fills. changed runs
    // after OK has stored the tool in that row.
    fAddTool(QTreeWidget *list, Prompts &prompts, std::function<void()> changed, QWidget *parent = nullptr);

    QLabel *lblInstructions = nullptr;
    QLineEdit *txtToolName = nullptr;
    QLineEdit *txtToolPath = nullptr;
    QPushButton *cmdBrowse = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdBrowse_Click();

    // Closing the window or pressing Escape cancels like the Cancel button,
    // so an abandoned new tool leaves no empty row behind.
    void reject() override;

private:
    QTreeWidget *m_list;
    Prompts &m_prompts;
    std::function<void()> m_changed;
    bool m_cancelled = false;
};

} // namespace varkel

#pragma once
// The tip of the day dialog: one tip, a Next Tip button and the choice to see
// tips at start-up.

#include <QDialog>

#include <string>

class QCheckBox;
class QLabel;
class QPushButton;

namespace varkel {

class cTips;

class frmTips : public QDialog {
    Q_OBJECT
public:
    // Shows a tip drawn at random from tips.
    explicit frmTips(cTips &tips, QWidget *parent = nullptr);

    QLabel *lblTip = nullptr;
    QCheckBox *chkShowTips = nullptr;
    QPushButton *cmdAnother = nullptr;
    QPushButton *cmdOK = nullptr;

    // The start-up tip over the running program's tips file and settings;
    // does nothing where there is no screen to show it on.
    static void RunAtStartup(QWidget *parent);

public slots:
    // However the dialog closes, the collection takes the check box's state.
    void done(int result) override;

private:
    void cmdAnother_Click();

    void ShowTip(std::string text);

    cTips &m_tips;
    std::string m_shown; // the tip's own bytes, as the label shows them
};

} // namespace varkel

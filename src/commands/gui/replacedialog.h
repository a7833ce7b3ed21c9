#pragma once
// The find-and-replace dialog: find what, replace with, match case; its
// buttons ask the commands to do the work on the active document.

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace varkel {

class ReplaceDialog : public QDialog {
    Q_OBJECT
public:
    explicit ReplaceDialog(QWidget *parent = nullptr);

    QString findText() const;
    QString replaceText() const;
    bool matchCase() const;
    void setFindText(const QString &text);
    void setReplaceText(const QString &text);
    void setMatchCase(bool on);

signals:
    void findNextRequested();
    void replaceRequested();
    void replaceAllRequested();

private:
    QLineEdit *m_find;
    QLineEdit *m_replace;
    QCheckBox *m_case;
};

} // namespace varkel

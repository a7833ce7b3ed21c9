#pragma once
// Varkel's help window: the HTML pages of the help folder in a browser, with
// Back, Forward and Contents buttons and a keyword search beside them. The
// frame keeps one for the life of the process; GetHelp shows it.

#include "app/errors.h"
#include "commands/helpindex.h"

#include <QWidget>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTextBrowser;

namespace varkel {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Reads the pages of a help folder for the search. Fails with HelpMissing
    // when the folder or its contents page is missing; the window then keeps
    // what it showed before.
    Error Load(const QString &folder);
    QString Folder() const { return m_folder; }

    // The contents page, the focus on the page.
    void ShowContents();
    // The search, the focus in its field; query fills the field (an empty
    // query lists every page).
    void ShowSearch(const QString &query = QString());
    // A page of the help folder by file name ("panel.html").
    void ShowPage(const QString &file);
    // File name of the page shown, empty when none is.
    QString CurrentPage() const;

    QTextBrowser *Browser() const { return m_browser; }
    QLineEdit *SearchField() const { return m_search; }
    QListWidget *Results() const { return m_results; }
    QLabel *ResultCount() const { return m_count; }

private:
    void runSearch();
    void openResult(QListWidgetItem *item);
    void updateTitle();

    HelpIndex m_index;
    QString m_folder;
    QTextBrowser *m_browser = nullptr;
    QLineEdit *m_search = nullptr;
    QListWidget *m_results = nullptr;
    QLabel *m_count = nullptr;
    QAction *m_back = nullptr;
    QAction *m_forward = nullptr;
};

} // namespace varkel

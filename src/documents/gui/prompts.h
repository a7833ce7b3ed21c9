#pragma once
// The dialogs and messages the window asks the user through. The default
// shows Qt's dialogs; tests put a scripted one in its place.

#include <QColor>
#include <QFont>
#include <QMessageBox>
#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

namespace varkel {

class Prompts {
public:
    virtual ~Prompts() = default;
    // Files chosen in an Open dialog, in the dialog's order; empty when cancelled.
    virtual QStringList OpenFiles(QWidget *parent, const QString &title, const QString &filter);
    // Path chosen in a Save dialog (overwrite confirmed); empty when cancelled.
    // filters are separated by ";;"; under the Quake Config filter a name
    // typed without an extension gets ".cfg". The filter chosen is put in
    // chosenFilter when given.
    virtual QString SaveFile(QWidget *parent, const QString &title, const QString &proposed, const QString &filter,
                             QString *chosenFilter = nullptr);
    // A question with a question icon; returns the button chosen.
    virtual QMessageBox::StandardButton Ask(QWidget *parent, const QString &text, QMessageBox::StandardButtons buttons);
    // A message with a critical icon and OK.
    virtual void Critical(QWidget *parent, const QString &text);
    // Text typed into an input box; empty when cancelled.
    virtual QString InputText(QWidget *parent, const QString &prompt, const QString &title, const QString &text);
    // A colour as a 0x00BBGGRR value through ChooseColor; false when cancelled.
    bool ChooseColorValue(QWidget *parent, unsigned initial, unsigned &chosen);
    // A font chosen in the font dialog; false when cancelled.
    virtual bool ChooseFont(QWidget *parent, const QFont &initial, QFont &chosen);
    // The printer set-up dialog on printer; false when cancelled, which leaves
    // printer as it was.
    virtual bool PrinterSetup(QWidget *parent, QPrinter &printer);
    // A message with an exclamation icon and OK under its own title.
    virtual void Exclamation(QWidget *parent, const QString &title, const QString &text);
    // One existing file chosen in an Open dialog that starts at initialFile;
    // empty when cancelled.
    virtual QString OpenFile(QWidget *parent, const QString &title, const QString &initialFile,
                             const QString &filter);
    // A colour chosen in the colour dialog that starts at initial; an invalid
    // colour when cancelled.
    virtual QColor ChooseColor(QWidget *parent, const QColor &initial);
};

} // namespace varkel

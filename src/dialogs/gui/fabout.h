#pragma once
// The About box: name, maker, version, trademark notice and the maker's
// e-mail address and home page, which open through the desktop.

#include <QDialog>
#include <QUrl>

#include <functional>

class QLabel;
class QPushButton;

namespace varkel {

class fAbout : public QDialog {
    Q_OBJECT
public:
    // Addresses set when the program is built; an empty one hides its row.
    struct Contact {
        QString email;
        QString homepage;
    };
    static Contact BuiltContact();

    explicit fAbout(QWidget *parent = nullptr);
    fAbout(const Contact &contact, QWidget *parent = nullptr);

    // Opens a link; the desktop's handler unless replaced (tests).
    using UrlOpener = std::function<bool(const QUrl &)>;
    static void SetUrlOpener(UrlOpener opener);

    // The e-mail and home page links ("mailto:" + address, the home page).
    QUrl EmailUrl() const;
    QUrl HomepageUrl() const;

    QLabel *imgLogo = nullptr;
    QList<QLabel *> lblAbout;     // the five text lines
    QLabel *lblEmail = nullptr;
    QLabel *lblHomepage = nullptr;
    QPushButton *cmdOK = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Contact m_contact;
};

} // namespace varkel

#pragma once
// The window shown while Varkel starts.

#include <QWidget>

class QLabel;

namespace varkel {

class fSplash : public QWidget {
    Q_OBJECT
public:
    explicit fSplash(QWidget *parent = nullptr);

    QLabel *picLogo = nullptr;
    QLabel *lblAbout = nullptr;
    QLabel *lblVersion = nullptr;

    // False in tests and wherever nothing can be seen: with VARKEL_NO_SPLASH=1
    // or on the offscreen and minimal platforms.
    static bool WantedAtStartup();
    // Shows the window and paints it at once (start-up blocks the event loop).
    void ShowNow();
};

} // namespace varkel

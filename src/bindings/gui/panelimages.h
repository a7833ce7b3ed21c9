#pragma once
// The pictures of the input-device panel, drawn by Varkel itself: key caps in
// the four states and five shapes, the mouse-button areas, the wheel halves,
// the joystick buttons and the lock lights, each stored under its image key
// in one of the four image lists (ilsKeyOff, ilsKeyOn, ilsMouse, ilsLEDs).
// The void keys' own pictures and the mouse body are kept apart: they belong
// to no list.
//
// Pictures are drawn at the size their controls have on the current screen
// (twips times logical DPI / 1440) and at the screen's device pixel ratio, so
// they stay sharp on a HiDPI screen.

#include <QColor>
#include <QFont>
#include <QHash>
#include <QPixmap>
#include <QRectF>
#include <QString>

#include "bindings/imagekeys.h"

class QPainter;
class QPalette;

namespace varkel {

class PanelImages
{
public:
    // Draws every picture for a screen of `dpiX` x `dpiY` logical dots per
    // inch and device pixel ratio `dpr`. Cheap to call again: does nothing
    // when nothing changed.
    void Build(double dpiX, double dpiY, qreal dpr);

    // One image list by name; an empty list for an unknown name.
    const QHash<QString, QPixmap> &List(const QString &name) const;
    // A picture by key from the lists or the fixed pictures; null when there
    // is none.
    QPixmap Image(const QString &key) const;
    bool Contains(const QString &key) const;

    // The mouse body under the mouse buttons, imgMouse's picture.
    QPixmap MouseBody() const { return m_mouseBody; }
    // A side button (0 back, 1 forward) in state Off, On or CON; null for
    // any other state (a pressed side button sinks like a mouse button).
    QPixmap SideButton(int index, KeyPicture state) const;

    double dpiX() const { return m_dpiX; }
    double dpiY() const { return m_dpiY; }
    qreal devicePixelRatio() const { return m_dpr; }

    // Where a key cap's top face lies inside a key control of size `size`
    // (captions are centred on it).
    static QRectF CapFaceRect(const QSizeF &size, double dpiX, double dpiY);

    // Draws a picture into a target rectangle of a different size without
    // blurring its edges: corners stay as drawn, only the middle stretches.
    static void DrawStretched(QPainter &painter, const QRect &target, const QPixmap &picture);

    // The caption font of a key: the designed family when this machine has
    // it, otherwise the closest family present, at the designed point size.
    static QFont CaptionFont(const QString &family, double pointSize);

    // Panel colours. The frames behind the keys are the dark casing of the
    // drawn keyboard and mouse, whatever the desktop's palette. Text on the
    // panel takes the colour of the palette that reads best on what lies
    // under it (ReadableInk): the lock-light labels on the casing (the lit
    // green when the lock is on, that colour dimmed when it is off), the
    // joystick numbers on their buttons.
    static QColor FrameColor();
    static QColor ReadableInk(const QColor &background, const QPalette &palette);
    static QColor LightOnTextColor();
    static QColor LightOffTextColor(const QPalette &palette);

private:
    QHash<QString, QHash<QString, QPixmap>> m_lists;
    QHash<QString, QPixmap> m_fixed;
    QPixmap m_mouseBody;
    QHash<int, QPixmap> m_sideButtons; // index * 8 + state
    double m_dpiX = 0;
    double m_dpiY = 0;
    qreal m_dpr = 0;
};

} // namespace varkel

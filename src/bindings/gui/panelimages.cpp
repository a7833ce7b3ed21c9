#include "bindings/gui/panelimages.h"
#include "app/colourscheme.h"

#include "bindings/devicelayout.h"
#include "bindings/imagekeys.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPalette>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <vector>
#include <cmath>

namespace varkel {

namespace {

// Colours of one picture state: the cap's top face (light to dark), its skirt
// and its outline.
struct Palette {
    QColor faceLight, faceDark, skirtLight, skirtDark, outline;
};

Palette paletteFor(KeyPicture state)
{
    switch (state) {
    case KeyPicture::On: // bound: green
        return {QColor(0xd2, 0xf2, 0xc6), QColor(0x8e, 0xd4, 0x7a), QColor(0x6f, 0xb8, 0x5c),
                QColor(0x4a, 0x8f, 0x3a), QColor(0x2b, 0x5e, 0x22)};
    case KeyPicture::HL: // selected: amber
        return {QColor(0xff, 0xf6, 0xc4), QColor(0xff, 0xd5, 0x4a), QColor(0xe8, 0xb4, 0x1c),
                QColor(0xbf, 0x8c, 0x00), QColor(0x7a, 0x58, 0x00)};
    case KeyPicture::CON: // bound twice, differently: red
        return {QColor(0xff, 0xc8, 0xc2), QColor(0xf2, 0x76, 0x6c), QColor(0xd9, 0x4c, 0x42),
                QColor(0xad, 0x2e, 0x26), QColor(0x6e, 0x16, 0x12)};
    case KeyPicture::Void: // cannot be bound: dull grey
        return {QColor(0xb4, 0xb4, 0xb4), QColor(0x9a, 0x9a, 0x9a), QColor(0x86, 0x86, 0x86),
                QColor(0x6c, 0x6c, 0x6c), QColor(0x44, 0x44, 0x44)};
    case KeyPicture::Off:
    default: // not bound: light grey
        return {QColor(0xfa, 0xfa, 0xfa), QColor(0xdc, 0xdc, 0xdc), QColor(0xc4, 0xc4, 0xc4),
                QColor(0xa2, 0xa2, 0xa2), QColor(0x5a, 0x5a, 0x5a)};
    }
}

QPixmap blank(QSize size, qreal dpr)
{
    QPixmap pm(QSize(std::max(1, qRound(size.width() * dpr)), std::max(1, qRound(size.height() * dpr))));
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    return pm;
}

QPen cosmetic(const QColor &color, qreal width = 1.0)
{
    QPen pen(color, width);
    pen.setCosmetic(true);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

QLinearGradient vertical(const QRectF &r, const QColor &top, const QColor &bottom)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

// Twips of the cap's gap to its control's edge (keys overlap by 30 twips on a
// 420-twip pitch, so caps inset by 30 leave a 30-twip gap between them), and
// of the face's margins inside the cap.
constexpr double kCapInset = 30;
constexpr double kFaceSide = 45;
constexpr double kFaceTop = 15;
constexpr double kFaceBottom = 60;

QRectF capRect(const QSizeF &size, double sx, double sy)
{
    return QRectF(kCapInset * sx, kCapInset * sy, size.width() - 2 * kCapInset * sx,
                  size.height() - 2 * kCapInset * sy);
}

void drawKeyCap(QPainter &p, const QSizeF &size, double sx, double sy, KeyPicture state)
{
    const Palette c = paletteFor(state);
    const QRectF cap = capRect(size, sx, sy);
    const qreal radius = std::max(1.5, 45 * sy);

    QPainterPath skirt;
    skirt.addRoundedRect(cap.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.setPen(cosmetic(c.outline));
    p.setBrush(vertical(cap, c.skirtLight, c.skirtDark));
    p.drawPath(skirt);

    const QRectF face = PanelImages::CapFaceRect(size, sx * kTwipsPerInch, sy * kTwipsPerInch);
    QPainterPath top;
    top.addRoundedRect(face, radius * 0.8, radius * 0.8);
    p.setPen(cosmetic(QColor(0, 0, 0, 60)));
    p.setBrush(vertical(face, c.faceLight, c.faceDark));
    p.drawPath(top);

    if (state == KeyPicture::Void) {
        // Fine diagonal hatching: this key cannot be bound.
        p.save();
        p.setClipPath(top);
        p.setPen(cosmetic(QColor(0, 0, 0, 40)));
        const qreal step = std::max(3.0, 60 * sx);
        for (qreal x = face.left() - face.height(); x < face.right(); x += step)
            p.drawLine(QPointF(x, face.bottom()), QPointF(x + face.height(), face.top()));
        p.restore();
    }
}

// The mouse body in fraMouse twips: a rounded shape under the buttons.
QPainterPath mouseBodyPath(double inset)
{
    const TwipsRect r = MousePictureRect();
    QPainterPath path;
    const QRectF rect(r.left + inset, r.top + inset, r.width - 2 * inset, r.height - 2 * inset);
    path.addRoundedRect(rect, 640 - inset, 760 - inset);
    return path;
}

void drawMouseBody(QPainter &p)
{
    const TwipsRect r = MousePictureRect();
    const QRectF rect(r.left, r.top, r.width, r.height);
    QLinearGradient g(rect.topLeft(), rect.topRight());
    g.setColorAt(0.0, QColor(0xa8, 0xab, 0xb0));
    g.setColorAt(0.45, QColor(0xe6, 0xe8, 0xeb));
    g.setColorAt(1.0, QColor(0x9c, 0x9f, 0xa4));
    p.setPen(cosmetic(QColor(0x30, 0x32, 0x36), 1.2));
    p.setBrush(g);
    p.drawPath(mouseBodyPath(8));
    // The seam under the buttons and a hint of the palm.
    p.setPen(cosmetic(QColor(0x60, 0x63, 0x68)));
    p.drawLine(QPointF(r.left + 40, 1070), QPointF(r.right() - 40, 1070));
}

void drawMouseArea(QPainter &p, int slot, KeyPicture state)
{
    const Palette c = paletteFor(state);
    const TwipsRect a = MouseButtonArea(slot);
    const QRectF area(a.left, a.top, a.width, a.height);
    if (slot == 104 || slot == 105) {
        // One half of the wheel with an arrow pointing its way.
        const bool up = slot == 104;
        QPainterPath wheel;
        const QRectF w = area.adjusted(15, up ? 15 : 0, -15, up ? 0 : -15);
        wheel.addRoundedRect(w, 70, 70);
        QLinearGradient g(w.topLeft(), w.topRight());
        g.setColorAt(0, QColor(0x3a, 0x3c, 0x40));
        g.setColorAt(0.5, QColor(0x6a, 0x6d, 0x72));
        g.setColorAt(1, QColor(0x3a, 0x3c, 0x40));
        p.setPen(cosmetic(QColor(0x1c, 0x1d, 0x20)));
        p.setBrush(g);
        p.drawPath(wheel);
        const QPointF centre = w.center();
        const qreal half = std::min(w.width(), w.height()) * 0.32;
        QPolygonF arrow;
        if (up)
            arrow << QPointF(centre.x(), centre.y() - half) << QPointF(centre.x() + half, centre.y() + half * 0.7)
                  << QPointF(centre.x() - half, centre.y() + half * 0.7);
        else
            arrow << QPointF(centre.x(), centre.y() + half) << QPointF(centre.x() + half, centre.y() - half * 0.7)
                  << QPointF(centre.x() - half, centre.y() - half * 0.7);
        p.setPen(cosmetic(c.outline));
        p.setBrush(state == KeyPicture::Off ? c.faceLight : c.faceDark);
        p.drawPolygon(arrow);
        return;
    }
    // A button: the part of the body under it, coloured by state.
    QPainterPath shape;
    shape.addRoundedRect(area.adjusted(8, 8, -8, -8), 60, 60);
    shape = shape.intersected(mouseBodyPath(30));
    QLinearGradient g(area.topLeft(), area.bottomLeft());
    g.setColorAt(0, c.faceLight);
    g.setColorAt(1, c.skirtLight);
    p.setPen(cosmetic(c.outline));
    p.setBrush(g);
    p.drawPath(shape);
}

// A side button on the body's left flank, coloured by state, with a small
// grip line along it.
void drawSideButton(QPainter &p, int index, KeyPicture state)
{
    const Palette c = paletteFor(state);
    const TwipsRect a = SideButtonArea(index);
    const QRectF area = QRectF(a.left, a.top, a.width, a.height).adjusted(10, 10, -10, -10);
    QLinearGradient g(area.topLeft(), area.topRight());
    g.setColorAt(0, c.skirtLight);
    g.setColorAt(0.6, c.faceLight);
    g.setColorAt(1, c.skirtLight);
    p.setPen(cosmetic(c.outline));
    p.setBrush(g);
    p.drawRoundedRect(area, 45, 45);
    p.setPen(cosmetic(c.outline));
    p.drawLine(QPointF(area.center().x(), area.top() + 45), QPointF(area.center().x(), area.bottom() - 45));
}

void drawJoyButton(QPainter &p, const QSizeF &size, KeyPicture state)
{
    const Palette c = paletteFor(state);
    const QRectF r = QRectF(QPointF(0, 0), size).adjusted(1, 1, -1, -1);
    QRadialGradient g(r.center() - QPointF(r.width() * 0.15, r.height() * 0.2), r.width() * 0.7);
    g.setColorAt(0, c.faceLight);
    g.setColorAt(0.7, c.faceDark);
    g.setColorAt(1, c.skirtDark);
    p.setPen(cosmetic(c.outline, 1.2));
    p.setBrush(g);
    p.drawEllipse(r);
}

void drawLight(QPainter &p, const QSizeF &size, bool on)
{
    const QRectF r = QRectF(QPointF(0, 0), size).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(cosmetic(on ? QColor(0x0c, 0x4a, 0x0c) : QColor(0x18, 0x1a, 0x18)));
    p.setBrush(on ? vertical(r, QColor(0xb0, 0xff, 0xa8), QColor(0x18, 0xd0, 0x18))
                  : vertical(r, QColor(0x5e, 0x66, 0x5e), QColor(0x36, 0x3c, 0x36)));
    p.drawRoundedRect(r, 1.2, 1.2);
}

QSize keyPixelSize(std::string_view shape, double dpiX, double dpiY)
{
    int w = 450, h = 450;
    if (shape == "15w")
        w = 645;
    else if (shape == "2w")
        w = 870;
    else if (shape == "2h")
        h = 870;
    else if (shape == "Spaceb")
        w = 3630;
    return {TwipsToPixels(w, dpiX), TwipsToPixels(h, dpiY)};
}

QSize pixelSize(const TwipsRect &r, double dpiX, double dpiY)
{
    return {TwipsToPixels(r.width, dpiX), TwipsToPixels(r.height, dpiY)};
}

// A picture of the part `area` of fraMouse, drawn by `draw` in fraMouse
// twips at the pixel size the area has on this screen.
template <typename Draw>
QPixmap drawnInTwips(const TwipsRect &area, double dpiX, double dpiY, qreal dpr, Draw draw)
{
    const QSize size = pixelSize(area, dpiX, dpiY);
    QPixmap pm = blank(size, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(static_cast<qreal>(size.width()) / area.width, static_cast<qreal>(size.height()) / area.height);
    p.translate(-area.left, -area.top);
    draw(p);
    return pm;
}

QString qs(std::string_view s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

QRectF PanelImages::CapFaceRect(const QSizeF &size, double dpiX, double dpiY)
{
    const double sx = dpiX / kTwipsPerInch, sy = dpiY / kTwipsPerInch;
    return capRect(size, sx, sy).adjusted(kFaceSide * sx, kFaceTop * sy, -kFaceSide * sx, -kFaceBottom * sy);
}

void PanelImages::Build(double dpiX, double dpiY, qreal dpr)
{
    if (!(dpiX > 0))
        dpiX = 96;
    if (!(dpiY > 0))
        dpiY = 96;
    if (!(dpr > 0))
        dpr = 1;
    if (dpiX == m_dpiX && dpiY == m_dpiY && dpr == m_dpr)
        return;
    m_dpiX = dpiX;
    m_dpiY = dpiY;
    m_dpr = dpr;
    m_lists.clear();
    m_fixed.clear();
    const double sx = dpiX / kTwipsPerInch, sy = dpiY / kTwipsPerInch;

    // Key caps: every state and shape, and the void keys' own pictures.
    for (std::string_view shape : KeyShapeSuffixes()) {
        const QSize size = keyPixelSize(shape, dpiX, dpiY);
        for (KeyPicture state : {KeyPicture::Off, KeyPicture::On, KeyPicture::HL, KeyPicture::CON, KeyPicture::Void}) {
            QPixmap pm = blank(size, dpr);
            {
                QPainter p(&pm);
                p.setRenderHint(QPainter::Antialiasing);
                drawKeyCap(p, size, sx, sy, state);
            }
            const QString key = QStringLiteral("imgKey%1%2")
                                    .arg(QLatin1String(state == KeyPicture::Off  ? "Off"
                                                       : state == KeyPicture::On ? "On"
                                                       : state == KeyPicture::HL ? "HL"
                                                       : state == KeyPicture::CON ? "CON"
                                                                                  : "Void"),
                                         qs(shape));
            const std::string_view list = ImageListOf(key.toStdString());
            if (list.empty())
                m_fixed.insert(key, pm);
            else
                m_lists[qs(list)].insert(key, pm);
        }
    }

    // Mouse buttons and wheel halves, drawn in fraMouse twips so that each
    // lines up with the body underneath.
    for (int slot = kFirstMouseSlot; slot <= kLastMouseSlot; ++slot)
        for (KeyPicture state : {KeyPicture::Off, KeyPicture::On, KeyPicture::CON})
            m_lists[QStringLiteral("ilsMouse")].insert(
                qs(ImageKeyFor(slot, state)),
                drawnInTwips(MouseButtonArea(slot), dpiX, dpiY, dpr, [&](QPainter &p) { drawMouseArea(p, slot, state); }));
    m_mouseBody = drawnInTwips(MousePictureRect(), dpiX, dpiY, dpr, [](QPainter &p) { drawMouseBody(p); });

    // Side buttons, in fraMouse twips like the other buttons.
    m_sideButtons.clear();
    for (int index = 0; index < kSideButtonCount; ++index)
        for (KeyPicture state : {KeyPicture::Off, KeyPicture::On, KeyPicture::CON})
            m_sideButtons.insert(index * 8 + static_cast<int>(state),
                                 drawnInTwips(SideButtonArea(index), dpiX, dpiY, dpr,
                                              [&](QPainter &p) { drawSideButton(p, index, state); }));

    // Joystick buttons (one picture per state for all four).
    {
        const QSize size = pixelSize(JoyButtonRect(kFirstJoySlot), dpiX, dpiY);
        for (KeyPicture state : {KeyPicture::Off, KeyPicture::On, KeyPicture::HL, KeyPicture::CON}) {
            QPixmap pm = blank(size, dpr);
            {
                QPainter p(&pm);
                p.setRenderHint(QPainter::Antialiasing);
                drawJoyButton(p, size, state);
            }
            m_lists[QStringLiteral("ilsMouse")].insert(qs(ImageKeyFor(kFirstJoySlot, state)), pm);
        }
    }

    // Lock lights.
    {
        const QSize size = pixelSize(LockLightRect(0), dpiX, dpiY);
        for (bool on : {true, false}) {
            QPixmap pm = blank(size, dpr);
            {
                QPainter p(&pm);
                p.setRenderHint(QPainter::Antialiasing);
                drawLight(p, size, on);
            }
            m_lists[QStringLiteral("ilsLEDs")].insert(qs(LockLightImageKey(on)), pm);
        }
    }
}

const QHash<QString, QPixmap> &PanelImages::List(const QString &name) const
{
    static const QHash<QString, QPixmap> empty;
    const auto it = m_lists.constFind(name);
    return it == m_lists.constEnd() ? empty : *it;
}

QPixmap PanelImages::SideButton(int index, KeyPicture state) const
{
    return m_sideButtons.value(index * 8 + static_cast<int>(state));
}

QPixmap PanelImages::Image(const QString &key) const
{
    const std::string_view list = ImageListOf(key.toStdString());
    if (!list.empty())
        return List(qs(list)).value(key);
    return m_fixed.value(key);
}

bool PanelImages::Contains(const QString &key) const
{
    return !Image(key).isNull();
}

void PanelImages::DrawStretched(QPainter &painter, const QRect &target, const QPixmap &picture)
{
    if (picture.isNull() || target.isEmpty())
        return;
    const qreal dpr = picture.devicePixelRatio();
    const QSizeF logical = picture.deviceIndependentSize();
    if (qFuzzyCompare(logical.width(), static_cast<qreal>(target.width())) &&
        qFuzzyCompare(logical.height(), static_cast<qreal>(target.height()))) {
        painter.drawPixmap(target.topLeft(), picture);
        return;
    }
    // Nine slices: the corners keep their size, edges and middle stretch.
    const qreal mx = std::min<qreal>(8, std::min(logical.width(), static_cast<qreal>(target.width())) / 3);
    const qreal my = std::min<qreal>(8, std::min(logical.height(), static_cast<qreal>(target.height())) / 3);
    const std::array<qreal, 4> sxs{0, mx, logical.width() - mx, logical.width()};
    const std::array<qreal, 4> sys{0, my, logical.height() - my, logical.height()};
    const std::array<qreal, 4> txs{qreal(target.left()), target.left() + mx, target.left() + target.width() - mx,
                                   qreal(target.left() + target.width())};
    const std::array<qreal, 4> tys{qreal(target.top()), target.top() + my, target.top() + target.height() - my,
                                   qreal(target.top() + target.height())};
    for (std::size_t i = 0; i < 3; ++i) {
        for (std::size_t j = 0; j < 3; ++j) {
            const QRectF t(QPointF(txs[i], tys[j]), QPointF(txs[i + 1], tys[j + 1]));
            const QRectF s(QPointF(sxs[i] * dpr, sys[j] * dpr), QPointF(sxs[i + 1] * dpr, sys[j + 1] * dpr));
            if (t.width() > 0 && t.height() > 0 && s.width() > 0 && s.height() > 0)
                painter.drawPixmap(t, picture, s);
        }
    }
}

QFont PanelImages::CaptionFont(const QString &family, double pointSize)
{
    // Sans-serif faces close to the designed ones, narrowest first for the
    // small caption font.
    static const QStringList smallFallbacks = {QStringLiteral("DejaVu Sans Condensed"),
                                               QStringLiteral("Liberation Sans Narrow"),
                                               QStringLiteral("Nimbus Sans Narrow"),
                                               QStringLiteral("Arial Narrow"),
                                               QStringLiteral("DejaVu Sans"),
                                               QStringLiteral("Liberation Sans"),
                                               QStringLiteral("Nimbus Sans"),
                                               QStringLiteral("Arial")};
    static const QStringList verdanaFallbacks = {QStringLiteral("DejaVu Sans"),
                                                 QStringLiteral("Bitstream Vera Sans"),
                                                 QStringLiteral("Liberation Sans"),
                                                 QStringLiteral("Nimbus Sans"),
                                                 QStringLiteral("Arial")};
    static QHash<QString, QString> resolved;
    QString chosen = resolved.value(family);
    if (chosen.isNull()) {
        const QStringList present = QFontDatabase::families();
        const auto has = [&](const QString &name) { return present.contains(name, Qt::CaseInsensitive); };
        chosen = QString(""); // not null: resolved, maybe to the default family
        if (has(family)) {
            chosen = family;
        } else {
            for (const QString &candidate :
                 family.compare(QLatin1String("Small Fonts"), Qt::CaseInsensitive) == 0 ? smallFallbacks
                                                                                        : verdanaFallbacks) {
                if (has(candidate)) {
                    chosen = candidate;
                    break;
                }
            }
        }
        resolved.insert(family, chosen);
    }
    QFont font;
    if (!chosen.isEmpty())
        font.setFamilies({chosen});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    return font;
}

QColor PanelImages::FrameColor()
{
    return QColor(0x3b, 0x3f, 0x46);
}

QColor PanelImages::LightOnTextColor()
{
    return QColor(0x00, 0xff, 0x00);
}

QColor PanelImages::ReadableInk(const QColor &background, const QPalette &palette)
{
    auto bgr = [](const QColor &c) {
        return Bgr(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()), static_cast<unsigned>(c.blue()));
    };
    std::vector<unsigned> inks;
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::BrightText,
                                     QPalette::Window, QPalette::Base, QPalette::Button})
        inks.push_back(bgr(palette.color(QPalette::Active, role)));
    const unsigned ink = MostReadable(bgr(background), inks);
    return QColor(static_cast<int>(RedOf(ink)), static_cast<int>(GreenOf(ink)), static_cast<int>(BlueOf(ink)));
}

QColor PanelImages::LightOffTextColor(const QPalette &palette)
{
    // Halfway between the readable ink and the casing: plainly unlit, still
    // legible.
    const QColor ink = ReadableInk(FrameColor(), palette), back = FrameColor();
    return QColor((ink.red() * 3 + back.red() * 2) / 5, (ink.green() * 3 + back.green() * 2) / 5,
                  (ink.blue() * 3 + back.blue() * 2) / 5);
}

} // namespace varkel

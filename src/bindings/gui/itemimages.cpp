#include "bindings/gui/itemimages.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>

namespace varkel {

namespace {

// The glyphs the lists are made of. Every glyph is drawn in a 16 x 16 box
// and scaled for larger sizes.
enum class Glyph {
    Heading,
    Axe,
    Gauntlet,
    Blaster,
    Shotgun,
    DoubleShotgun,
    Machinegun,
    Chaingun,
    Nailgun,
    SuperNailgun,
    HandGrenade,
    GrenadeLauncher,
    RocketLauncher,
    Lightning,
    HyperBlaster,
    PlasmaGun,
    Railgun,
    Bfg,
    Hook,
    Quad,
    Invulnerability,
    Silencer,
    Rebreather,
    EnvironmentSuit,
    PowerScreen,
    PowerShield,
    ProxLauncher,
};

const QColor kOutline(0x2b, 0x2b, 0x2b);
const QColor kMetal(0x9a, 0xa0, 0xa8);
const QColor kDarkMetal(0x5a, 0x60, 0x68);
const QColor kWood(0x9a, 0x62, 0x2e);
const QColor kOlive(0x6f, 0x7a, 0x3a);

void shape(QPainter &p, const QPainterPath &path, const QColor &fill, qreal pen = 0.8)
{
    p.setPen(QPen(kOutline, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(path);
}

void rect(QPainter &p, qreal x, qreal y, qreal w, qreal h, const QColor &fill)
{
    QPainterPath path;
    path.addRect(x, y, w, h);
    shape(p, path, fill);
}

void polygon(QPainter &p, std::initializer_list<QPointF> points, const QColor &fill)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    shape(p, path, fill);
}

void ellipse(QPainter &p, qreal cx, qreal cy, qreal rx, qreal ry, const QColor &fill)
{
    QPainterPath path;
    path.addEllipse(QPointF(cx, cy), rx, ry);
    shape(p, path, fill);
}

void glow(QPainter &p, qreal cx, qreal cy, qreal r, const QColor &inner, const QColor &outer)
{
    QRadialGradient g(QPointF(cx - r * 0.3, cy - r * 0.3), r);
    g.setColorAt(0, inner);
    g.setColorAt(1, outer);
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(g);
    p.drawEllipse(QPointF(cx, cy), r, r);
}

// A stock and grip shared by the long guns.
void stock(QPainter &p, const QColor &fill = kWood)
{
    polygon(p, {{0.8, 8.2}, {5.0, 7.2}, {5.0, 10.2}, {1.6, 11.8}, {0.8, 11.8}}, fill);
    polygon(p, {{4.8, 9.8}, {6.8, 9.8}, {6.2, 13.0}, {4.6, 13.0}}, kDarkMetal);
}

void drawGlyph(QPainter &p, Glyph glyph)
{
    switch (glyph) {
    case Glyph::Heading: {
        // A list: three bullets and lines on a sheet.
        QPainterPath sheet;
        sheet.addRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
        shape(p, sheet, QColor(0xfb, 0xfb, 0xf6));
        for (int i = 0; i < 3; ++i) {
            const qreal y = 4.5 + i * 3.5;
            ellipse(p, 4.2, y, 1.0, 1.0, QColor(0xd9, 0x9a, 0x1e));
            p.setPen(QPen(kOutline, 1.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(6.5, y), QPointF(12.5, y));
        }
        break;
    }
    case Glyph::Axe:
        p.setPen(QPen(kOutline, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3, 14.5), QPointF(11, 2.5));
        p.setPen(QPen(kWood, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3, 14.5), QPointF(11, 2.5));
        polygon(p, {{8.6, 4.2}, {12.0, 1.0}, {15.2, 4.6}, {13.8, 8.6}, {10.6, 6.2}}, kMetal);
        break;
    case Glyph::Gauntlet: {
        // A spinning blade in front of a fist-sized housing.
        rect(p, 1.0, 7.0, 5.0, 5.5, kDarkMetal);
        QPainterPath blade;
        const QPointF c(10.0, 8.0);
        for (int i = 0; i < 20; ++i) {
            const qreal r = i % 2 ? 3.4 : 5.6;
            const qreal a = i * M_PI / 10.0;
            const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
            i == 0 ? blade.moveTo(pt) : blade.lineTo(pt);
        }
        blade.closeSubpath();
        shape(p, blade, kMetal, 0.7);
        ellipse(p, 10.0, 8.0, 1.4, 1.4, kDarkMetal);
        break;
    }
    case Glyph::Blaster:
        polygon(p, {{3.0, 5.0}, {13.5, 5.0}, {13.5, 8.0}, {7.5, 8.0}, {6.5, 13.5}, {3.2, 13.5}, {4.2, 8.0}, {3.0, 8.0}},
                QColor(0x7d, 0x6a, 0x4a));
        ellipse(p, 14.0, 6.5, 1.6, 1.6, QColor(0xff, 0xa0, 0x20));
        break;
    case Glyph::Shotgun:
        stock(p);
        rect(p, 5.0, 7.2, 4.0, 3.0, kDarkMetal);
        rect(p, 9.0, 7.6, 6.4, 1.6, kMetal);
        break;
    case Glyph::DoubleShotgun:
        stock(p);
        rect(p, 5.0, 6.4, 4.0, 3.8, kDarkMetal);
        rect(p, 9.0, 6.4, 6.4, 1.6, kMetal);
        rect(p, 9.0, 8.4, 6.4, 1.6, kMetal);
        break;
    case Glyph::Machinegun:
        stock(p, kDarkMetal);
        rect(p, 5.0, 6.8, 6.0, 3.2, kDarkMetal);
        rect(p, 11.0, 7.6, 4.4, 1.4, kMetal);
        polygon(p, {{7.0, 10.0}, {9.0, 10.0}, {9.6, 14.4}, {7.6, 14.4}}, kMetal);
        break;
    case Glyph::Chaingun:
        ellipse(p, 4.6, 8.5, 3.8, 3.8, kDarkMetal);
        for (qreal y : {5.6, 8.0, 10.4})
            rect(p, 7.6, y, 7.8, 1.5, kMetal);
        rect(p, 13.0, 5.0, 1.4, 7.4, kDarkMetal);
        break;
    case Glyph::Nailgun:
        rect(p, 2.0, 6.0, 8.0, 5.0, kMetal);
        rect(p, 10.0, 7.4, 5.2, 2.2, kDarkMetal);
        polygon(p, {{4.0, 11.0}, {6.5, 11.0}, {6.0, 14.5}, {3.6, 14.5}}, kDarkMetal);
        p.setPen(QPen(QColor(0xc8, 0x8a, 0x2c), 1.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3.2, 8.5), QPointF(8.8, 8.5));
        break;
    case Glyph::SuperNailgun:
        rect(p, 1.5, 5.0, 7.0, 7.0, kMetal);
        for (qreal y : {5.0, 7.4, 9.8})
            rect(p, 8.5, y, 7.0, 2.2, kDarkMetal);
        polygon(p, {{3.0, 12.0}, {5.5, 12.0}, {5.0, 15.0}, {2.6, 15.0}}, kDarkMetal);
        break;
    case Glyph::HandGrenade:
        ellipse(p, 8.0, 9.5, 4.6, 5.4, kOlive);
        p.setPen(QPen(kOutline, 0.6));
        p.drawLine(QPointF(3.6, 9.5), QPointF(12.4, 9.5));
        p.drawLine(QPointF(8.0, 4.2), QPointF(8.0, 14.8));
        rect(p, 6.6, 2.4, 2.8, 2.0, kDarkMetal);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kOutline, 0.9));
        p.drawEllipse(QPointF(11.6, 2.6), 1.6, 1.6);
        break;
    case Glyph::GrenadeLauncher:
        stock(p, kDarkMetal);
        rect(p, 5.0, 5.4, 9.4, 5.4, kOlive);
        ellipse(p, 14.4, 8.1, 1.4, 2.7, kDarkMetal);
        rect(p, 7.0, 5.4, 1.2, 5.4, kDarkMetal);
        break;
    case Glyph::RocketLauncher:
        rect(p, 0.8, 5.6, 12.4, 4.4, kOlive);
        polygon(p, {{13.2, 6.0}, {15.6, 7.8}, {13.2, 9.6}}, QColor(0xd0, 0x30, 0x28));
        polygon(p, {{5.0, 10.0}, {7.4, 10.0}, {6.8, 14.0}, {4.6, 14.0}}, kDarkMetal);
        rect(p, 2.6, 5.6, 1.2, 4.4, kDarkMetal);
        break;
    case Glyph::Lightning:
        polygon(p, {{9.8, 0.8}, {3.2, 9.0}, {7.4, 9.0}, {5.4, 15.2}, {12.8, 6.2}, {8.6, 6.2}, {11.2, 0.8}},
                QColor(0xf5, 0xd0, 0x20));
        break;
    case Glyph::HyperBlaster:
        stock(p, kDarkMetal);
        rect(p, 5.0, 6.0, 6.0, 4.2, kMetal);
        for (qreal x : {11.6, 13.2, 14.8})
            ellipse(p, x, 8.1, 0.9, 0.9, QColor(0xff, 0xc0, 0x30));
        break;
    case Glyph::PlasmaGun:
        stock(p, kDarkMetal);
        rect(p, 5.0, 6.2, 5.6, 4.0, kMetal);
        glow(p, 12.6, 8.2, 2.8, QColor(0xe8, 0xf4, 0xff), QColor(0x3a, 0x78, 0xe0));
        break;
    case Glyph::Railgun: {
        stock(p, kDarkMetal);
        rect(p, 5.0, 6.8, 10.4, 2.8, kMetal);
        QPainterPath spiral;
        spiral.moveTo(5.4, 8.2);
        for (qreal x = 5.4; x <= 15.0; x += 0.4)
            spiral.lineTo(x, 8.2 + 1.8 * std::sin((x - 5.4) * 2.2));
        p.setPen(QPen(QColor(0x30, 0xb0, 0x40), 0.9));
        p.setBrush(Qt::NoBrush);
        p.drawPath(spiral);
        break;
    }
    case Glyph::Bfg:
        glow(p, 8.0, 8.0, 6.6, QColor(0xe8, 0xff, 0xe0), QColor(0x20, 0xa0, 0x30));
        break;
    case Glyph::Hook: {
        // A hook on a line, its barb pointing back up.
        p.setBrush(Qt::NoBrush);
        QPainterPath hook;
        hook.moveTo(10.5, 3.5);
        hook.lineTo(10.5, 10.0);
        hook.arcTo(QRectF(4.5, 7.0, 6.0, 6.0), 0, -180);
        hook.lineTo(4.5, 8.6);
        for (const auto &[colour, width] : {std::pair{kOutline, 2.8}, std::pair{kMetal, 1.4}}) {
            p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPath(hook);
        }
        polygon(p, {{3.0, 9.4}, {4.5, 6.2}, {6.0, 9.4}}, kMetal);
        p.setPen(QPen(kOutline, 1.0));
        p.drawEllipse(QPointF(10.5, 2.2), 1.4, 1.4);
        break;
    }
    case Glyph::Quad: {
        // A glowing cube.
        const QColor top(0x8a, 0x9c, 0xff), left(0x40, 0x50, 0xd0), right(0x28, 0x34, 0xa0);
        polygon(p, {{8, 1.5}, {14, 4.6}, {8, 7.7}, {2, 4.6}}, top);
        polygon(p, {{2, 4.6}, {8, 7.7}, {8, 14.5}, {2, 11.4}}, left);
        polygon(p, {{14, 4.6}, {8, 7.7}, {8, 14.5}, {14, 11.4}}, right);
        break;
    }
    case Glyph::Invulnerability: {
        QPainterPath star;
        for (int i = 0; i < 10; ++i) {
            const qreal r = i % 2 ? 2.8 : 7.0;
            const qreal a = -M_PI / 2 + i * M_PI / 5.0;
            const QPointF pt(8.0 + r * std::cos(a), 8.4 + r * std::sin(a));
            i == 0 ? star.moveTo(pt) : star.lineTo(pt);
        }
        star.closeSubpath();
        shape(p, star, QColor(0xf2, 0xc0, 0x30));
        break;
    }
    case Glyph::Silencer:
        rect(p, 1.5, 5.5, 12.0, 5.0, kDarkMetal);
        ellipse(p, 13.5, 8.0, 1.6, 2.5, kMetal);
        for (qreal x : {4.0, 7.0, 10.0}) {
            p.setPen(QPen(kMetal, 0.8));
            p.drawLine(QPointF(x, 6.0), QPointF(x, 10.0));
        }
        break;
    case Glyph::Rebreather:
        polygon(p, {{2.0, 9.0}, {7.0, 7.4}, {7.0, 13.2}, {3.0, 12.4}}, kDarkMetal);
        ellipse(p, 9.6, 11.0, 1.6, 1.6, QColor(0x9c, 0xd4, 0xf4));
        ellipse(p, 11.6, 7.0, 1.9, 1.9, QColor(0x9c, 0xd4, 0xf4));
        ellipse(p, 13.0, 2.8, 1.5, 1.5, QColor(0x9c, 0xd4, 0xf4));
        break;
    case Glyph::EnvironmentSuit:
        polygon(p, {{5.0, 1.8}, {11.0, 1.8}, {14.6, 5.0}, {12.6, 7.0}, {11.6, 6.2}, {11.6, 14.6}, {4.4, 14.6},
                    {4.4, 6.2}, {3.4, 7.0}, {1.4, 5.0}},
                QColor(0xd8, 0xc8, 0x30));
        rect(p, 6.4, 4.0, 3.2, 2.6, QColor(0x9c, 0xd4, 0xf4));
        break;
    case Glyph::PowerScreen: {
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < 3; ++i) {
            p.setPen(QPen(QColor(0x30, 0x90 + i * 30, 0xe0), 1.4, Qt::SolidLine, Qt::RoundCap));
            p.drawArc(QRectF(2.0 + i * 2.0, 1.5 + i * 1.5, 14.0, 13.0), 120 * 16, -240 * 16);
        }
        rect(p, 0.8, 6.0, 3.0, 4.0, kDarkMetal);
        break;
    }
    case Glyph::PowerShield: {
        QPainterPath shield;
        shield.moveTo(8.0, 1.0);
        shield.lineTo(14.2, 3.2);
        shield.cubicTo(14.2, 9.0, 11.6, 12.8, 8.0, 15.0);
        shield.cubicTo(4.4, 12.8, 1.8, 9.0, 1.8, 3.2);
        shield.closeSubpath();
        shape(p, shield, QColor(0x3a, 0x9a, 0x58));
        p.setPen(QPen(QColor(0xe8, 0xf8, 0xe8), 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8.0, 4.2), QPointF(8.0, 11.6));
        p.drawLine(QPointF(4.6, 6.6), QPointF(11.4, 6.6));
        break;
    }
    case Glyph::ProxLauncher:
        for (int i = 0; i < 8; ++i) {
            const qreal a = i * M_PI / 4.0;
            p.setPen(QPen(kOutline, 1.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(8.0 + 4.0 * std::cos(a), 8.0 + 4.0 * std::sin(a)),
                       QPointF(8.0 + 7.0 * std::cos(a), 8.0 + 7.0 * std::sin(a)));
        }
        ellipse(p, 8.0, 8.0, 4.4, 4.4, kDarkMetal);
        ellipse(p, 8.0, 8.0, 1.6, 1.6, QColor(0xe0, 0x30, 0x28));
        break;
    }
}

// A glyph at one size, with a pale rim so that it stands out on the item
// box's black background as well as on a light one.
QPixmap render(Glyph glyph, int size)
{
    QImage shape(size, size, QImage::Format_ARGB32_Premultiplied);
    shape.fill(Qt::transparent);
    {
        QPainter p(&shape);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal inset = size / 16.0 * 0.6;
        p.translate(inset, inset);
        p.scale((size - 2 * inset) / 16.0, (size - 2 * inset) / 16.0);
        drawGlyph(p, glyph);
    }
    QImage rim(size, size, QImage::Format_ARGB32_Premultiplied);
    rim.fill(Qt::transparent);
    {
        QPainter p(&rim);
        const qreal d = std::max(1.0, size / 16.0 * 0.75);
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (dx || dy)
                    p.drawImage(QPointF(dx * d, dy * d), shape);
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(rim.rect(), QColor(0xd8, 0xdc, 0xe0, 0xb0));
    }
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.drawImage(0, 0, rim);
    p.drawImage(0, 0, shape);
    return pixmap;
}

QIcon makeIcon(Glyph glyph)
{
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addPixmap(render(glyph, size));
    return icon;
}

// Images 2, 3, ... of each list, in the order of the set's item list file.
QVector<QIcon> makeList(std::initializer_list<Glyph> glyphs)
{
    QVector<QIcon> list{QIcon(), QIcon()};
    for (Glyph g : glyphs)
        list.append(makeIcon(g));
    return list;
}

} // namespace

const QVector<QIcon> &ItemImageList(int setNumber)
{
    using G = Glyph;
    static const std::array<QVector<QIcon>, 4> lists = {
        QVector<QIcon>(),
        makeList({G::Heading, G::Axe, G::Shotgun, G::DoubleShotgun, G::Nailgun, G::SuperNailgun, G::GrenadeLauncher,
                  G::RocketLauncher, G::Lightning}),
        makeList({G::Heading, G::Blaster, G::Shotgun, G::DoubleShotgun, G::Machinegun, G::Chaingun, G::HandGrenade,
                  G::GrenadeLauncher, G::RocketLauncher, G::HyperBlaster, G::Railgun, G::Bfg, G::Quad,
                  G::Invulnerability, G::Silencer, G::Rebreather, G::EnvironmentSuit, G::PowerScreen, G::PowerShield,
                  G::Hook}),
        makeList({G::Heading, G::Gauntlet, G::Machinegun, G::Shotgun, G::GrenadeLauncher, G::RocketLauncher,
                  G::Lightning, G::Railgun, G::PlasmaGun, G::Bfg, G::Hook, G::Heading, G::Nailgun, G::ProxLauncher,
                  G::Chaingun}),
    };
    static const QVector<QIcon> none;
    if (setNumber < 1 || setNumber > 3)
        return none;
    return lists[static_cast<size_t>(setNumber)];
}

QIcon ItemImage(int setNumber, int image)
{
    const QVector<QIcon> &list = ItemImageList(setNumber);
    if (image < 1 || image >= list.size())
        return {};
    return list[image];
}

} // namespace varkel

#include "dialogs/gui/colorbutton.h"

#include <QPainter>
#include <QStyleOptionButton>

namespace varkel {

QColor ToQColor(unsigned bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

unsigned FromQColor(const QColor &color)
{
    const QColor c = color.toRgb();
    return static_cast<unsigned>(c.red()) | (static_cast<unsigned>(c.green()) << 8) |
           (static_cast<unsigned>(c.blue()) << 16);
}

ColorButton::ColorButton(QWidget *parent)
    : QPushButton(parent)
{
    setAutoDefault(false);
    setFocusPolicy(Qt::StrongFocus);
}

void ColorButton::SetColor(unsigned bgr)
{
    m_color = bgr & 0xFFFFFF;
    setToolTip(ToQColor(m_color).name(QColor::HexRgb).toUpper());
    update();
}

QSize ColorButton::sizeHint() const
{
    return QSize(48, 22);
}

void ColorButton::paintEvent(QPaintEvent *e)
{
    QPushButton::paintEvent(e);
    if (!isEnabled())
        return;
    // The colour fills the face inside the bevel.
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect face = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).adjusted(1, 1, -1, -1);
    QPainter p(this);
    p.setPen(palette().color(QPalette::Mid));
    p.setBrush(ToQColor(m_color));
    p.drawRect(face.adjusted(0, 0, -1, -1));
}

} // namespace varkel

#pragma once
// A push button whose face shows a colour. It holds its colour (0x00BBGGRR)
// whether or not it is enabled; while disabled it shows a plain button face.

#include <QPushButton>

namespace varkel {

class ColorButton : public QPushButton {
    Q_OBJECT
public:
    explicit ColorButton(QWidget *parent = nullptr);

    unsigned Color() const { return m_color; }
    void SetColor(unsigned bgr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    unsigned m_color = 0;
};

// Conversions between 0x00BBGGRR colour values and QColor.
QColor ToQColor(unsigned bgr);
unsigned FromQColor(const QColor &color);

} // namespace varkel

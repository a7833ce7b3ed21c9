// The window under a dark palette: every colour that is not the user's editor
// or syntax colour comes from the palette, and what the panel writes on its
// pictures stays readable. The widgets are rendered offscreen and their pixels
// sampled: the commonest colour of an area is its background, the colour that
// differs most from it is its text.

#include "app/colourscheme.h"
#include "bindings/gui/commandbar.h"
#include "bindings/gui/devicepanel.h"
#include "dialogs/ctips.h"
#include "dialogs/gui/frmtips.h"
#include "dialogs/gui/fsplash.h"
#include "documents/gui/richedit.h"

#include "support/guitest.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QStyleFactory>
#include <QtTest>

using namespace varkel;
using varkel::test::FrameFixture;

namespace {

QPalette darkPalette()
{
    QPalette p;
    const std::pair<QPalette::ColorRole, QRgb> roles[] = {
        {QPalette::Window, 0x353535}, {QPalette::WindowText, 0xeeeeee}, {QPalette::Base, 0x2a2a2a},
        {QPalette::AlternateBase, 0x424242}, {QPalette::Text, 0xeeeeee}, {QPalette::Button, 0x353535},
        {QPalette::ButtonText, 0xeeeeee}, {QPalette::BrightText, 0xff0000}, {QPalette::Light, 0x505050},
        {QPalette::Midlight, 0x454545}, {QPalette::Mid, 0x252525}, {QPalette::Dark, 0x202020},
        {QPalette::Shadow, 0x101010}, {QPalette::Highlight, 0x2a82da}, {QPalette::HighlightedText, 0xffffff},
        {QPalette::ToolTipBase, 0x2a2a2a}, {QPalette::ToolTipText, 0xeeeeee}, {QPalette::PlaceholderText, 0x909090}};
    for (const auto &[role, rgb] : roles)
        p.setColor(role, QColor(rgb));
    for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, r, QColor(0x80, 0x80, 0x80));
    return p;
}

unsigned bgrOf(const QColor &c)
{
    return Bgr(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()), static_cast<unsigned>(c.blue()));
}

double luminance(const QColor &c)
{
    return RelativeLuminance(bgrOf(c));
}

QImage shot(QWidget *w)
{
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QColor commonest(const QImage &img, QRect area = QRect())
{
    if (area.isNull())
        area = img.rect();
    QMap<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[img.pixel(x, y)];
    QRgb best = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            best = it.key();
        }
    return QColor::fromRgb(best);
}

// The contrast of the text of an area against its background.
double textContrast(const QImage &img, QRect area = QRect())
{
    if (area.isNull())
        area = img.rect();
    area &= img.rect();
    const unsigned back = bgrOf(commonest(img, area));
    double best = 1.0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            best = std::max(best, ContrastRatio(bgrOf(QColor::fromRgb(img.pixel(x, y))), back));
    return best;
}

// The contrast of a label's text against what lies under it: the canvas shot
// with the label hidden and shown, compared pixel by pixel.
double labelContrast(QWidget *canvas, QWidget *label)
{
    const QRect area = QRect(label->mapTo(canvas, QPoint(0, 0)), label->size());
    label->hide();
    const QImage under = shot(canvas);
    label->show();
    const QImage over = shot(canvas);
    double best = 1.0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (under.rect().contains(x, y))
                best = std::max(best, ContrastRatio(bgrOf(QColor::fromRgb(over.pixel(x, y))),
                                                    bgrOf(QColor::fromRgb(under.pixel(x, y)))));
    return best;
}

} // namespace

class TestDarkPalette : public QObject
{
    Q_OBJECT

    QPalette m_light;

    void usePalette(bool dark)
    {
        QApplication::setPalette(dark ? darkPalette() : m_light);
    }

private slots:
    void initTestCase()
    {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        m_light = QApplication::style()->standardPalette();
        QVERIFY(!IsDarkScheme(bgrOf(m_light.color(QPalette::Window)), bgrOf(m_light.color(QPalette::WindowText))));
    }

    void cleanup()
    {
        usePalette(false);
        mGlobal::BGColor = kLightPreset.background;
        for (std::size_t i = 0; i < 8; ++i)
            mGlobal::SyntaxColors[i + 1] = kLightPreset.syntax[i];
    }

    void panelLabelsReadOnBothPalettes_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << false;
        QTest::newRow("dark") << true;
    }

    void panelLabelsReadOnBothPalettes()
    {
        QFETCH(bool, dark);
        usePalette(dark);
        DevicePanel panel;
        panel.resize(panel.sizeHint());
        panel.show();
        panel.SetDevicePanelEnabled(true);
        panel.SetKeyOn(106);
        panel.SetKeyCON(107);
        panel.SetKeyHL(108);
        for (int slot = 106; slot <= 109; ++slot) {
            const double contrast = labelContrast(panel.SlotButton(slot), panel.JoyLabel(slot));
            QVERIFY2(contrast >= kMinTextContrast, qPrintable(QStringLiteral("joystick %1: %2").arg(slot).arg(contrast)));
        }
        // The lock labels on the keyboard's casing, unlit.
        for (int i = 0; i < 3; ++i) {
            const double contrast = labelContrast(panel.KeyboardFrame(), panel.LockLabel(i));
            QVERIFY2(contrast >= 3.0, qPrintable(QStringLiteral("lock label %1: %2").arg(i).arg(contrast)));
        }
    }

    void panelLabelsFollowAPaletteChange()
    {
        DevicePanel panel;
        panel.resize(panel.sizeHint());
        panel.show();
        panel.SetDevicePanelEnabled(true);
        const QColor before = panel.JoyLabel(106)->palette().color(QPalette::WindowText);
        usePalette(true);
        QCoreApplication::processEvents();
        const QColor after = panel.JoyLabel(106)->palette().color(QPalette::WindowText);
        // A dark colour of the palette on the light button.
        QVERIFY2(luminance(after) < 0.05, qPrintable(after.name()));
        QVERIFY(before != after);
        QVERIFY(labelContrast(panel.SlotButton(106), panel.JoyLabel(106)) >= kMinTextContrast);
    }

    void firstStartOnADarkDesktopLeavesNoLightBox()
    {
        usePalette(true);
        FrameFixture fx;
        QCOMPARE(mGlobal::BGColor, kDarkPreset.background);
        CommandBar *bar = fx.frame->bindings().InsertionTools();
        QList<QWidget *> boxes{bar->cboCommand[0], bar->cboCommand[1], bar->cboCommand[2], bar->imgcboItems,
                               bar->cboKeyname, bar->txtBinding};
        auto checkDark = [&](const char *when) {
            for (QWidget *box : boxes) {
                const QColor back = commonest(shot(box));
                QVERIFY2(luminance(back) < 0.1,
                         qPrintable(QStringLiteral("%1 %2: %3").arg(when, box->objectName(), back.name())));
            }
        };
        checkDark("no document");
        fx.frame->documents().OpenConfig(fx.write(QStringLiteral("a.cfg"), "bind x +attack\r\n"));
        QVERIFY(bar->cboCommand[1]->isEnabled());
        checkDark("document open");
        // The pick lists and the item box write readably on their backgrounds.
        bar->cboCommand[1]->setEditText(QStringLiteral("+attack"));
        QVERIFY(textContrast(shot(bar->cboCommand[1])) >= kMinTextContrast);
        const double items = textContrast(shot(bar->imgcboItems));
        QVERIFY2(items >= kMinTextContrast, qPrintable(QString::number(items)));
    }

    void insertionBoxesFollowAPaletteChange()
    {
        FrameFixture fx;
        CommandBar *bar = fx.frame->bindings().InsertionTools();
        QVERIFY(luminance(commonest(shot(bar->cboCommand[1]))) > 0.5);
        usePalette(true);
        QCoreApplication::processEvents();
        for (QWidget *box : {static_cast<QWidget *>(bar->cboCommand[1]), static_cast<QWidget *>(bar->imgcboItems),
                             static_cast<QWidget *>(bar->txtBinding)})
            QVERIFY2(luminance(commonest(shot(box))) < 0.1, qPrintable(box->objectName()));
    }

    void tipsAndSplashTakeThePalette()
    {
        usePalette(true);
        cTips tips;
        tips.Add("Right-drag an insert button into a script.");
        frmTips dialog(tips);
        dialog.resize(dialog.sizeHint());
        auto *panel = dialog.findChild<QFrame *>(QStringLiteral("fraTip"));
        QVERIFY(panel);
        const QImage tipShot = shot(panel);
        QVERIFY(luminance(commonest(tipShot)) < 0.1);
        QVERIFY(textContrast(shot(dialog.lblTip)) >= kMinTextContrast);

        fSplash splash;
        splash.resize(splash.sizeHint());
        const QImage splashShot = shot(&splash);
        QCOMPARE(commonest(splashShot), darkPalette().color(QPalette::Window));
        QVERIFY(textContrast(shot(splash.lblVersion)) >= kMinTextContrast);
    }
};

QTEST_MAIN(TestDarkPalette)
#include "tst_darkpalette.moc"

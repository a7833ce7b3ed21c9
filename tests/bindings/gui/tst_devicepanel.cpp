// The input-device panel as a user meets it: keys and buttons clicked with the
// mouse, the pictures and pressed values that result, the tool tips, the
// signals the frame acts on, the lock lights (off and inert without X11), and
// the panel inside the frame.

#include "app/gui/fmain.h"
#include "app/mglobal.h"
#include "app/profile.h"
#include "bindings/gui/devicepanel.h"
#include "bindings/gui/keyclickplayer.h"
#include "bindings/gui/lockkeys.h"
#include "commands/gui/popupmenu.h"

#include "support/guitest.h"

#include <QAbstractButton>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QtTest>

using namespace varkel;

namespace {

std::string keyName(int slot)
{
    switch (slot) {
    case 13: return "`";
    case 25: return "+";
    case 30: return "e";
    case 31: return "r";
    case 101: return "mouse1";
    case 107: return "joy2";
    default: return "key" + std::to_string(slot);
    }
}

std::string boundText(int slot)
{
    return slot == 30 ? "+forward" : slot == 107 ? "+attack" : "";
}

int px(int twips, const QWidget *w)
{
    return TwipsToPixels(twips, w->logicalDpiX());
}

int py(int twips, const QWidget *w)
{
    return TwipsToPixels(twips, w->logicalDpiY());
}

QRect scaled(const TwipsRect &r, const QWidget *w)
{
    return QRect(px(r.left, w), py(r.top, w), px(r.width, w), py(r.height, w));
}

void moveOver(QWidget *w)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(w->rect().center()), w->mapToGlobal(QPointF(w->rect().center())),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

} // namespace

class TestDevicePanel : public QObject
{
    Q_OBJECT

private:
    QWidget *m_window = nullptr;
    DevicePanel *m_panel = nullptr;
    QLineEdit *m_elsewhere = nullptr;
    QTemporaryDir m_dir;

    QAbstractButton *button(int slot) const { return m_panel->SlotButton(slot); }

private slots:
    void initTestCase()
    {
        qputenv("VARKEL_NO_SOUND", "1");
        QVERIFY(m_dir.isValid());
        mGlobal::IniPath = m_dir.filePath(QStringLiteral("Varkel.ini")).toStdString();
        qputenv("VARKEL_INI", mGlobal::IniPath.c_str());
        mGlobal::KeyClickSound = VARKEL_SOURCE_DIR "/Data/keyclick.wav";
    }

    void init()
    {
        m_window = new QWidget;
        auto *layout = new QVBoxLayout(m_window);
        m_panel = new DevicePanel(m_window);
        m_elsewhere = new QLineEdit(m_window);
        layout->addWidget(m_panel);
        layout->addWidget(m_elsewhere);
        m_panel->SetKeyNameSource(keyName);
        m_panel->SetBoundTextSource(boundText);
        m_panel->SetDevicePanelEnabled(true);
        m_window->resize(1200, 400);
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
    }

    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
    }

    void controlsSitWhereTheTableSays()
    {
        for (const KeyLayout &k : KeyboardLayout()) {
            QAbstractButton *key = button(k.slot);
            QVERIFY(key);
            QCOMPARE(key->objectName(), QStringLiteral("cmdKey%1").arg(k.slot));
            QCOMPARE(key->parentWidget(), m_panel->KeyboardFrame());
            QCOMPARE(key->geometry(), scaled(k.rect, m_panel));
            QCOMPARE(key->text(), QString::fromLatin1(k.caption.data(), qsizetype(k.caption.size())));
        }
        for (int slot = kFirstMouseSlot; slot <= kLastMouseSlot; ++slot) {
            QCOMPARE(button(slot)->parentWidget(), m_panel->MouseFrame());
            QCOMPARE(button(slot)->geometry(), scaled(MouseButtonArea(slot), m_panel));
        }
        for (int slot = kFirstJoySlot; slot <= kLastJoySlot; ++slot) {
            QCOMPARE(button(slot)->parentWidget(), m_panel->JoyFrame());
            QCOMPARE(button(slot)->geometry(), scaled(JoyButtonRect(slot), m_panel));
            QCOMPARE(m_panel->JoyLabel(slot)->text(), QString::number(slot - 105));
        }
        for (int i = 0; i < 3; ++i)
            QCOMPARE(m_panel->LockLight(i)->geometry(), scaled(LockLightRect(i), m_panel));
        QVERIFY(!button(110));
        QVERIFY(!button(-1));

        // The keyboard and mouse frames are centred as a pair.
        const int k = m_panel->KeyboardFrame()->width(), m = m_panel->MouseFrame()->width();
        QCOMPARE(k, px(KeyboardFrameRect().width, m_panel));
        const int gap = px(kFrameGapTwips, m_panel);
        QCOMPARE(m_panel->KeyboardFrame()->x(), (m_panel->width() - (k + m + gap)) / 2);
        QCOMPARE(m_panel->MouseFrame()->x(), m_panel->KeyboardFrame()->x() + k + gap);
        m_window->resize(1500, 400);
        QTRY_COMPARE(m_panel->width(), 1500 - m_window->layout()->contentsMargins().left() -
                                            m_window->layout()->contentsMargins().right());
        QCOMPARE(m_panel->KeyboardFrame()->x(), (m_panel->width() - (k + m + gap)) / 2);
        QVERIFY(m_panel->height() >= m_panel->KeyboardFrame()->geometry().bottom());
    }

    void bindingRowGoesAboveTheKeyboard()
    {
        QFrame *row = m_panel->BindingFrame();
        QCOMPARE(row->height(), 0);
        const int keyboardTop = m_panel->KeyboardFrame()->y();
        const int height = m_panel->sizeHint().height();
        auto *layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        auto *text = new QLineEdit(row);
        layout->addWidget(text);
        text->show();
        QTRY_VERIFY(row->height() > 0);
        QCOMPARE(row->x(), m_panel->KeyboardFrame()->x());
        QVERIFY(m_panel->KeyboardFrame()->y() >= row->geometry().bottom());
        QCOMPARE(m_panel->KeyboardFrame()->y() - keyboardTop, m_panel->sizeHint().height() - height);
        QTRY_COMPARE(m_panel->height(), m_panel->sizeHint().height());
    }

    void captionsFitTheirKeys()
    {
        for (const KeyLayout &k : KeyboardLayout()) {
            QAbstractButton *key = button(k.slot);
            const QFontMetrics fm(key->font());
            const CaptionFontSpec captionFont = CaptionFontOf(k.font);
            QCOMPARE(key->font().pointSizeF(), captionFont.pointSize);
            const QRectF face = PanelImages::CapFaceRect(key->size(), m_panel->logicalDpiX(), m_panel->logicalDpiY());
            QVERIFY2(fm.horizontalAdvance(key->text()) <= face.width() + 2,
                     qPrintable(key->text() + " is wider than its key"));
            QVERIFY2(fm.height() >= 7, qPrintable(key->text() + " is too small to read"));
        }
    }

    void everyPictureIsDrawn()
    {
        const PanelImages &images = m_panel->Images();
        for (std::string_view list : ImageListNames()) {
            const QString name = QString::fromLatin1(list.data(), qsizetype(list.size()));
            const QHash<QString, QPixmap> &pictures = images.List(name);
            for (const std::string &key : ImageListKeys(list)) {
                const QPixmap pm = pictures.value(QString::fromStdString(key));
                QVERIFY2(!pm.isNull(), key.c_str());
                QVERIFY(pm.toImage().pixelColor(pm.width() / 2, pm.height() / 2).alpha() > 0);
            }
            QCOMPARE(pictures.size(), qsizetype(ImageListKeys(list).size()));
        }
        for (int slot : VoidSlots())
            QVERIFY(images.Contains(m_panel->ImageKey(slot)));
        // Each control shows the picture of its key, at its own size.
        m_panel->SetKeyCON(26);
        auto *key = static_cast<QAbstractButton *>(button(26));
        QCOMPARE(m_panel->ImageKey(26), QStringLiteral("imgKeyCON2w"));
        QCOMPARE(images.Image(QStringLiteral("imgKeyCON2w")).deviceIndependentSize().toSize(), key->size());
        QCOMPARE(images.Image(QStringLiteral("imgMouseOnRtBut")).deviceIndependentSize().toSize(), button(102)->size());

        // A HiDPI screen gets pictures at twice the pixels, same layout.
        PanelImages hidpi;
        hidpi.Build(96, 96, 2.0);
        const QPixmap space = hidpi.Image(QStringLiteral("imgKeyOnSpaceb"));
        QCOMPARE(space.devicePixelRatio(), 2.0);
        QCOMPARE(space.size(), QSize(2 * 242, 2 * 30));
        QCOMPARE(space.deviceIndependentSize().toSize(), QSize(242, 30));
        PanelImages dense;
        dense.Build(192, 192, 1.0);
        QCOMPARE(dense.Image(QStringLiteral("imgKeyOff")).size(), QSize(60, 60));
    }

    void clickingAKeySelectsIt()
    {
        QSignalSpy selected(m_panel, &DevicePanel::slotSelected);
        m_panel->SetKeyOn(30);
        const int clicks = m_panel->KeyClickCount();
        QTest::mouseClick(button(30), Qt::LeftButton);
        QCOMPARE(m_panel->ImageKey(30), QStringLiteral("imgKeyHL"));
        QCOMPARE(m_panel->SelectedSlot(), 30);
        QCOMPARE(m_panel->ClickedSlot(), 30);
        QCOMPARE(m_panel->KeyClickCount(), clicks + 1);
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected[0][0].toInt(), 30);
        QCOMPARE(selected[0][1].toString(), QStringLiteral("e"));
        QCOMPARE(selected[0][2].toString(), QStringLiteral("+forward"));
        QVERIFY(button(30)->hasFocus());

        // A second click keeps the picture saved by the first.
        QTest::mouseClick(button(30), Qt::LeftButton);
        QCOMPARE(m_panel->SavedPicture(), std::string("imgKeyOn"));
        QCOMPARE(selected.count(), 2);

        // Another key: the first goes back to On, the second is highlighted.
        m_panel->SetKeyCON(31);
        QTest::mouseClick(button(31), Qt::LeftButton);
        QCOMPARE(m_panel->ImageKey(30), QStringLiteral("imgKeyOn"));
        QCOMPARE(m_panel->ImageKey(31), QStringLiteral("imgKeyHL"));
        QCOMPARE(m_panel->SavedPicture(), std::string("imgKeyCON"));
        QCOMPARE(selected.last()[1].toString(), QStringLiteral("r"));
    }

    void leavingAKeyRestoresIt()
    {
        QSignalSpy left(m_panel, &DevicePanel::slotLeft);
        m_panel->SetKeyCON(30);
        QTest::mouseClick(button(30), Qt::LeftButton);
        QCOMPARE(m_panel->KeyState(30), KeyPicture::HL);
        left.clear(); // whatever had the focus before left it

        // A menu opening takes the focus only for a while: still selected.
        QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
        QApplication::sendEvent(button(30), &popup);
        QCOMPARE(m_panel->KeyState(30), KeyPicture::HL);
        QCOMPARE(left.count(), 0);

        m_elsewhere->setFocus(Qt::MouseFocusReason);
        QTRY_COMPARE(left.count(), 1);
        QCOMPARE(left[0][0].toInt(), 30);
        QCOMPARE(m_panel->KeyState(30), KeyPicture::CON);
        QCOMPARE(m_panel->SelectedSlot(), -1);
    }

    void mouseButtonsToggle()
    {
        QSignalSpy selected(m_panel, &DevicePanel::slotSelected);
        m_panel->SetKeyOn(101);
        const int clicks = m_panel->KeyClickCount();
        QTest::mouseClick(button(101), Qt::LeftButton);
        QVERIFY(button(101)->isChecked());
        QVERIFY(m_panel->MouseButtonPressed(101));
        // No HL picture for a mouse button: it shows as pressed instead.
        QCOMPARE(m_panel->ImageKey(101), QStringLiteral("imgMouseOnLtBut"));
        QCOMPARE(m_panel->SelectedSlot(), 101);
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected[0][1].toString(), QStringLiteral("mouse1"));
        QCOMPARE(m_panel->KeyClickCount(), clicks + 1);

        // Clicked again it comes up, and that selects nothing, plays nothing.
        QTest::mouseClick(button(101), Qt::LeftButton);
        QVERIFY(!button(101)->isChecked());
        QCOMPARE(selected.count(), 1);
        QCOMPARE(m_panel->KeyClickCount(), clicks + 1);

        // One pressed at a time.
        QTest::mouseClick(button(102), Qt::LeftButton);
        QTest::mouseClick(button(104), Qt::LeftButton);
        QVERIFY(!button(102)->isChecked());
        QVERIFY(button(104)->isChecked());

        // A key clicked releases it, and so does a joystick button.
        QTest::mouseClick(button(5), Qt::LeftButton);
        QVERIFY(!button(104)->isChecked());
        QCOMPARE(m_panel->KeyState(5), KeyPicture::HL);
        QTest::mouseClick(button(105), Qt::LeftButton);
        QVERIFY(button(105)->isChecked());
        QTest::mouseClick(button(108), Qt::LeftButton);
        QVERIFY(!button(105)->isChecked());
        QCOMPARE(m_panel->ImageKey(108), QStringLiteral("imgJOY_HL"));
    }

    void joystickLabelStandsForItsButton()
    {
        QSignalSpy selected(m_panel, &DevicePanel::slotSelected);
        m_panel->SetKeyCON(107);
        const int clicks = m_panel->KeyClickCount();
        QTest::mouseClick(m_panel->JoyLabel(107), Qt::LeftButton);
        QCOMPARE(m_panel->ImageKey(107), QStringLiteral("imgJOY_HL"));
        QCOMPARE(m_panel->KeyClickCount(), clicks + 1);
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected[0][2].toString(), QStringLiteral("+attack"));
        QVERIFY(button(107)->hasFocus());
        m_elsewhere->setFocus(Qt::MouseFocusReason);
        QTRY_COMPARE(m_panel->ImageKey(107), QStringLiteral("imgJOY_Con"));
    }

    void toolTipsAndPointer()
    {
        QSignalSpy moved(m_panel, &DevicePanel::pointerMoved);
        moveOver(button(30));
        QCOMPARE(button(30)->toolTip(), QStringLiteral("e = \"+forward\""));
        QCOMPARE(moved.count(), 1);
        moveOver(button(101));
        QCOMPARE(button(101)->toolTip(), QStringLiteral("mouse1 = \"\""));
        QCOMPARE(moved.count(), 2);
        // Over a joystick button only the tool tip changes.
        moveOver(button(107));
        QCOMPARE(button(107)->toolTip(), QStringLiteral("joy2 = \"+attack\""));
        moveOver(m_panel->JoyLabel(107));
        QCOMPARE(m_panel->JoyLabel(107)->toolTip(), QStringLiteral("joy2 = \"+attack\""));
        QCOMPARE(moved.count(), 2);
        // The keyboard frame and the mouse picture reset the status text too.
        moveOver(m_panel->KeyboardFrame());
        moveOver(m_panel->MousePicture());
        QCOMPARE(moved.count(), 4);
    }

    void rightButtonAsksForTheMenu()
    {
        QSignalSpy menu(m_panel, &DevicePanel::contextMenuRequested);
        QSignalSpy selected(m_panel, &DevicePanel::slotSelected);
        const QList<QWidget *> targets{button(30), button(101), button(106), m_panel->JoyLabel(106),
                                       m_panel->KeyboardFrame(), m_panel->MousePicture()};
        for (QWidget *w : targets)
            QTest::mouseClick(w, Qt::RightButton, Qt::NoModifier, QPoint(2, 2));
        QCOMPARE(menu.count(), targets.size());
        QCOMPARE(selected.count(), 0);
        QVERIFY(!button(101)->isChecked());
        QCOMPARE(m_panel->KeyState(30), KeyPicture::Off);
    }

    void disabledPanelAndVoidKeys()
    {
        QSignalSpy selected(m_panel, &DevicePanel::slotSelected);
        m_panel->SetDevicePanelEnabled(false);
        for (int slot = 0; slot < kPanelSlotCount; ++slot)
            QVERIFY(!button(slot)->isEnabled());
        QTest::mouseClick(button(30), Qt::LeftButton);
        QTest::mouseClick(button(101), Qt::LeftButton);
        QVERIFY(!m_panel->ClickSlot(30));
        QCOMPARE(selected.count(), 0);
        QVERIFY(!m_panel->JoyLabel(106)->isEnabled());

        m_panel->SetDevicePanelEnabled(true);
        for (int slot = 0; slot < kPanelSlotCount; ++slot)
            QCOMPARE(button(slot)->isEnabled(), !IsVoidSlot(slot));
        // A void key keeps its picture whatever the scan says.
        m_panel->SetKeyOn(40);
        m_panel->SetKeyCON(84);
        QCOMPARE(m_panel->ImageKey(40), QStringLiteral("imgKeyVoid15w"));
        QCOMPARE(m_panel->ImageKey(84), QStringLiteral("imgKeyVoid"));
        QVERIFY(!m_panel->ClickSlot(40));
    }

    void programmaticReselect()
    {
        QSignalSpy selected(m_panel, &DevicePanel::slotSelected);
        m_panel->SetKeyOn(25);
        QVERIFY(m_panel->ClickSlot(25));
        QCOMPARE(m_panel->KeyState(25), KeyPicture::HL);
        QCOMPARE(selected.last()[1].toString(), QStringLiteral("+"));
        QVERIFY(m_panel->ClickSlot(13));
        QCOMPARE(m_panel->KeyState(25), KeyPicture::On);
        QCOMPARE(m_panel->KeyState(13), KeyPicture::HL);
        QVERIFY(m_panel->ClickSlot(103));
        QVERIFY(m_panel->MouseButtonPressed(103));
        // Clearing the table: everything Off, nothing pressed or selected.
        m_panel->ClearKeyStates();
        QCOMPARE(m_panel->KeyState(13), KeyPicture::Off);
        QCOMPARE(m_panel->KeyState(25), KeyPicture::Off);
        QVERIFY(!button(103)->isChecked());
        QCOMPARE(m_panel->SelectedSlot(), -1);
    }

    void droppedFilesAreReported()
    {
        QSignalSpy dropped(m_panel, &DevicePanel::filesDropped);
        QMimeData files;
        const QString a = m_dir.filePath(QStringLiteral("a.cfg")), b = m_dir.filePath(QStringLiteral("b.cfg"));
        files.setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
        const QPoint at = m_panel->KeyboardFrame()->geometry().center();
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_panel, &enter);
        QVERIFY(enter.isAccepted());
        QCOMPARE(enter.dropAction(), Qt::CopyAction);
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_panel, &drop);
        QCOMPARE(dropped.count(), 1);
        QCOMPARE(dropped[0][0].toStringList(), (QStringList{a, b}));

        QMimeData text;
        text.setText(QStringLiteral("bind x +attack"));
        QDragEnterEvent refused(at, Qt::CopyAction | Qt::MoveAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_panel, &refused);
        QVERIFY(!refused.isAccepted());
    }

    void lockLightsOffAndInertOffscreen()
    {
        if (QGuiApplication::platformName() == QLatin1String("xcb"))
            QSKIP("runs against a real X server");
        QCOMPARE(LockKeys::DetectPlatform(), LockKeys::PlatformNone);
        QCOMPARE(mGlobal::PlatformId, LockKeys::PlatformNone);
        const QPixmap off = m_panel->Images().List(QStringLiteral("ilsLEDs")).value(QStringLiteral("imgLEDSquare_Off"));
        QSignalSpy changed(m_panel, &DevicePanel::lockStatesChanged);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(!m_panel->LockState(i));
            QCOMPARE(m_panel->LockLight(i)->pixmap().cacheKey(), off.cacheKey());
            QTest::mouseClick(m_panel->LockLight(i), Qt::LeftButton);
            QTest::mouseClick(m_panel->LockLabel(i), Qt::LeftButton);
            QVERIFY(!m_panel->LockState(i));
        }
        m_panel->ToggleLockKey(7);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(m_panel->LockLabel(1)->palette().color(QPalette::WindowText), PanelImages::LightOffTextColor());
    }

    void keyClickIsSilentInTests()
    {
        QVERIFY(KeyClickPlayer::PlayerProgram().isEmpty());
        QVERIFY(!KeyClickPlayer::Play(QString::fromStdString(mGlobal::KeyClickSound)));
        QVERIFY(QFileInfo(QString::fromStdString(mGlobal::KeyClickSound)).size() > 44);
    }

    void insideTheFrame()
    {
        delete m_window;
        m_window = nullptr;
        mGlobal::ShowKeyboard = true;
        test::FrameFixture fx;
        fMain &frame = *fx.frame;
        DevicePanel *panel = frame.Panel();
        QVERIFY(panel);
        QCOMPARE(panel->objectName(), QStringLiteral("picContainer"));
        QVERIFY(frame.centralWidget()->isAncestorOf(panel));
        QVERIFY(!panel->isHidden());
        QVERIFY(!panel->SlotButton(30)->isEnabled());
        auto *num = frame.findChild<QLabel *>(QStringLiteral("StatusPanel5"));
        QVERIFY(num);
        QCOMPARE(num->text(), QStringLiteral("NUM"));
        QCOMPARE(num->isEnabled(), panel->LockState(0));

        frame.NewConfig();
        QVERIFY(panel->SlotButton(30)->isEnabled());
        QVERIFY(!panel->SlotButton(40)->isEnabled());

        // A selected key enables Find Next Conflict; leaving it disables it.
        PopupMenu *menu = frame.Menu();
        QVERIFY(!menu->IsEnabled("cmnuFindNextConflict"));
        emit panel->slotSelected(30, QStringLiteral("e"), QString());
        QVERIFY(menu->IsEnabled("cmnuFindNextConflict"));
        QVERIFY(frame.ToolButton("tbFindNextConflict")->isEnabled());
        emit panel->slotLeft(30);
        QVERIFY(!menu->IsEnabled("cmnuFindNextConflict"));
        QVERIFY(!frame.ToolButton("tbFindNextConflict")->isEnabled());

        // Files dropped on the panel are opened.
        const QString path = m_dir.filePath(QStringLiteral("dropped.cfg"));
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("bind e +forward\r\n");
        }
        emit panel->filesDropped({path});
        QCOMPARE(QString::fromStdString(frame.Docs()[frame.ActiveDoc()].Path), path);

        // The menu command hides and shows the panel and remembers it.
        frame.Dispatch("cmnuToggleKB");
        QVERIFY(panel->isHidden());
        QCOMPARE(GetProfileString("General", "ShowKeyboard", "", mGlobal::IniPath), std::string("False"));
        QVERIFY(!mGlobal::ShowKeyboard);
        frame.Dispatch("cmnuToggleKB");
        QVERIFY(!panel->isHidden());
        QCOMPARE(GetProfileString("General", "ShowKeyboard", "", mGlobal::IniPath), std::string("True"));

        // No document left: the panel goes disabled again.
        frame.CloseAllFiles();
        QTRY_VERIFY(!frame.Docs().AnyOpen());
        QVERIFY(!panel->SlotButton(30)->isEnabled());
        QVERIFY(!panel->SlotButton(101)->isEnabled());

        // Stored hidden, the next start shows no panel.
        WriteProfileString("General", "ShowKeyboard", "False", mGlobal::IniPath);
        fMain second;
        second.MDIForm_Load(QString());
        QVERIFY(second.Panel()->isHidden());
    }
};

QTEST_MAIN(TestDevicePanel)
#include "tst_devicepanel.moc"

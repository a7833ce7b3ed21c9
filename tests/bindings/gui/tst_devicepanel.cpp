// The input-device panel as a user meets it: keys and buttons clicked with the
// mouse, the pictures and pressed values that result, the tool tips, the
// signals the frame acts on, the lock lights (off and inert without X11), and
// the panel inside the frame.

#include "app/profile.h"
#include "bindings/gui/devicepanel.h"
#include "bindings/gui/keyclickplayer.h"
#include "bindings/gui/lockkeys.h"

#include "support/guitest.h"

#include <QAbstractButton>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

using namespace varkel;

namespace {

std::string keyName(int slot)
{
    const std::map<int, std::string> names{{13, "`"}, {25, "+"}, {30, "e"}, {31, "r"}, {101, "mouse1"}, {107, "joy2"}};
    return names.count(slot) ? names.at(slot) : "key" + std::to_string(slot);
}

std::string boundText(int slot)
{
    return slot == 30 ? "+forward" : slot == 107 ? "+attack" : "";
}

QRect scaled(const TwipsRect &r, const QWidget *w)
{
    const int x = w->logicalDpiX(), y = w->logicalDpiY();
    return QRect(TwipsToPixels(r.left, x), TwipsToPixels(r.top, y), TwipsToPixels(r.width, x),
                 TwipsToPixels(r.height, y));
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

    void aPanelGoesWhileOneOfItsKeysHasTheFocus()
    {
        // Destroying a shown panel hides it, which takes the focus from the
        // key that has it; the key must not call back into the panel being
        // destroyed (the sanitizer build reports that call).
        auto panel = std::make_unique<DevicePanel>();
        panel->resize(panel->sizeHint());
        panel->show();
        panel->SetDevicePanelEnabled(true);
        panel->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(panel.get()));
        panel->SlotButton(30)->setFocus();
        QTRY_VERIFY(panel->SlotButton(30)->hasFocus());
        panel.reset();
    }

    void controlsAreScaledFromTheTableAndFramesCentred()
    {
        for (const KeyLayout &k : KeyboardLayout())
            QCOMPARE(button(k.slot)->geometry(), scaled(k.rect, m_panel));
        for (int slot = kFirstMouseSlot; slot <= kLastMouseSlot; ++slot)
            QCOMPARE(button(slot)->geometry(), scaled(MouseButtonArea(slot), m_panel));
        for (int slot = kFirstJoySlot; slot <= kLastJoySlot; ++slot)
            QCOMPARE(button(slot)->geometry(), scaled(JoyButtonRect(slot), m_panel));
        QVERIFY(!button(110) && !button(-1));

        // The keyboard and mouse frames are centred as a pair, also after a resize.
        const int k = m_panel->KeyboardFrame()->width(), m = m_panel->MouseFrame()->width();
        const int gap = TwipsToPixels(kFrameGapTwips, m_panel->logicalDpiX());
        m_window->resize(1500, 400);
        QTRY_VERIFY(m_panel->width() > 1400);
        QCOMPARE(m_panel->KeyboardFrame()->x(), (m_panel->width() - (k + m + gap)) / 2);
        QCOMPARE(m_panel->MouseFrame()->x(), m_panel->KeyboardFrame()->x() + k + gap);

        // A binding row goes above the keyboard, left-aligned with it.
        QFrame *row = m_panel->BindingFrame();
        QCOMPARE(row->height(), 0);
        const int keyboardTop = m_panel->KeyboardFrame()->y(), height = m_panel->sizeHint().height();
        auto *layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(new QLineEdit(row));
        row->layout()->itemAt(0)->widget()->show();
        QTRY_VERIFY(row->height() > 0);
        QCOMPARE(row->x(), m_panel->KeyboardFrame()->x());
        QVERIFY(m_panel->KeyboardFrame()->y() >= row->geometry().bottom());
        QCOMPARE(m_panel->KeyboardFrame()->y() - keyboardTop, m_panel->sizeHint().height() - height);
        QTRY_COMPARE(m_panel->height(), m_panel->sizeHint().height());
    }

    void captionsFitAndEveryPictureIsDrawn()
    {
        for (const KeyLayout &k : KeyboardLayout()) {
            QAbstractButton *key = button(k.slot);
            const QFontMetrics fm(key->font());
            QCOMPARE(key->font().pointSizeF(), CaptionFontOf(k.font).pointSize);
            const QRectF face = PanelImages::CapFaceRect(key->size(), m_panel->logicalDpiX(), m_panel->logicalDpiY());
            QVERIFY2(fm.horizontalAdvance(key->text()) <= face.width() + 2, qPrintable(key->text() + " is too wide"));
            QVERIFY2(fm.height() >= 7, qPrintable(key->text() + " is too small to read"));
        }

        const PanelImages &images = m_panel->Images();
        for (std::string_view list : ImageListNames()) {
            const QHash<QString, QPixmap> &pictures = images.List(QString::fromLatin1(list.data(), qsizetype(list.size())));
            QCOMPARE(pictures.size(), qsizetype(ImageListKeys(list).size()));
            for (const std::string &key : ImageListKeys(list)) {
                const QPixmap pm = pictures.value(QString::fromStdString(key));
                QVERIFY2(!pm.isNull() && pm.toImage().pixelColor(pm.width() / 2, pm.height() / 2).alpha() > 0,
                         key.c_str());
            }
        }
        for (int slot : VoidSlots())
            QVERIFY(images.Contains(m_panel->ImageKey(slot)));
        // Each control shows the picture of its key, at its own size.
        m_panel->SetKeyCON(26);
        QCOMPARE(m_panel->ImageKey(26), QStringLiteral("imgKeyCON2w"));
        QCOMPARE(images.Image(QStringLiteral("imgKeyCON2w")).deviceIndependentSize().toSize(), button(26)->size());
        QCOMPARE(images.Image(QStringLiteral("imgMouseOnRtBut")).deviceIndependentSize().toSize(), button(102)->size());

        // A HiDPI screen gets pictures at twice the pixels, same layout.
        PanelImages hidpi, dense;
        hidpi.Build(96, 96, 2.0);
        dense.Build(192, 192, 1.0);
        QCOMPARE(hidpi.Image(QStringLiteral("imgKeyOnSpaceb")).size(), QSize(2 * 242, 2 * 30));
        QCOMPARE(hidpi.Image(QStringLiteral("imgKeyOnSpaceb")).deviceIndependentSize().toSize(), QSize(242, 30));
        QCOMPARE(dense.Image(QStringLiteral("imgKeyOff")).size(), QSize(60, 60));
    }

    void clickingSelectsAndLeavingRestores()
    {
        QSignalSpy selected(m_panel, &DevicePanel::slotSelected);
        QSignalSpy left(m_panel, &DevicePanel::slotLeft);
        m_panel->SetKeyOn(30);
        const int clicks = m_panel->KeyClickCount();
        QTest::mouseClick(button(30), Qt::LeftButton);
        QCOMPARE(m_panel->ImageKey(30), QStringLiteral("imgKeyHL"));
        QCOMPARE(m_panel->SelectedSlot(), 30);
        QCOMPARE(m_panel->KeyClickCount(), clicks + 1);
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected[0], (QList<QVariant>{30, QStringLiteral("e"), QStringLiteral("+forward")}));
        QVERIFY(button(30)->hasFocus());
        // Another key: the first goes back to On.
        m_panel->SetKeyCON(31);
        QTest::mouseClick(button(31), Qt::LeftButton);
        QCOMPARE(m_panel->KeyState(30), KeyPicture::On);
        left.clear();

        // A menu opening takes the focus only for a while: still selected.
        QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
        QApplication::sendEvent(button(31), &popup);
        QCOMPARE(m_panel->KeyState(31), KeyPicture::HL);
        QCOMPARE(left.count(), 0);
        m_elsewhere->setFocus(Qt::MouseFocusReason);
        QTRY_COMPARE(left.count(), 1);
        QCOMPARE(left[0][0].toInt(), 31);
        QCOMPARE(m_panel->KeyState(31), KeyPicture::CON);
        QCOMPARE(m_panel->SelectedSlot(), -1);

        // A joystick button's number label stands for the button.
        m_panel->SetKeyCON(107);
        QTest::mouseClick(m_panel->JoyLabel(107), Qt::LeftButton);
        QCOMPARE(m_panel->ImageKey(107), QStringLiteral("imgJOY_HL"));
        QCOMPARE(selected.last()[2].toString(), QStringLiteral("+attack"));
        QVERIFY(button(107)->hasFocus());
        m_elsewhere->setFocus(Qt::MouseFocusReason);
        QTRY_COMPARE(m_panel->ImageKey(107), QStringLiteral("imgJOY_Con"));
    }

    void mouseButtonsStayPressed()
    {
        QSignalSpy selected(m_panel, &DevicePanel::slotSelected);
        m_panel->SetKeyOn(101);
        const int clicks = m_panel->KeyClickCount();
        QTest::mouseClick(button(101), Qt::LeftButton);
        QVERIFY(button(101)->isChecked());
        // No HL picture for a mouse button: it shows as pressed instead.
        QCOMPARE(m_panel->ImageKey(101), QStringLiteral("imgMouseOnLtBut"));
        QCOMPARE(selected.count(), 1);
        // Clicked again it comes up, and that selects nothing, plays nothing.
        QTest::mouseClick(button(101), Qt::LeftButton);
        QVERIFY(!button(101)->isChecked());
        QCOMPARE(selected.count(), 1);
        QCOMPARE(m_panel->KeyClickCount(), clicks + 1);
        // One pressed at a time; a key releases it.
        QTest::mouseClick(button(102), Qt::LeftButton);
        QTest::mouseClick(button(104), Qt::LeftButton);
        QVERIFY(!button(102)->isChecked());
        QTest::mouseClick(button(5), Qt::LeftButton);
        QVERIFY(!button(104)->isChecked());
        // Reselected by the program, then the table cleared: nothing pressed.
        QVERIFY(m_panel->ClickSlot(103));
        QVERIFY(button(103)->isChecked());
        m_panel->ClearKeyStates();
        QVERIFY(!button(103)->isChecked());
        QCOMPARE(m_panel->SelectedSlot(), -1);
    }

    void toolTipsPointerAndRightButton()
    {
        QSignalSpy moved(m_panel, &DevicePanel::pointerMoved);
        moveOver(button(30));
        QCOMPARE(button(30)->toolTip(), QStringLiteral("e = \"+forward\""));
        moveOver(button(101));
        QCOMPARE(button(101)->toolTip(), QStringLiteral("mouse1 = \"\""));
        QCOMPARE(moved.count(), 2);
        // Over a joystick button only the tool tip changes.
        moveOver(m_panel->JoyLabel(107));
        QCOMPARE(m_panel->JoyLabel(107)->toolTip(), QStringLiteral("joy2 = \"+attack\""));
        QCOMPARE(moved.count(), 2);
        // The keyboard frame and the mouse picture reset the status text too.
        moveOver(m_panel->KeyboardFrame());
        moveOver(m_panel->MousePicture());
        QCOMPARE(moved.count(), 4);

        // The right button asks for the menu and selects nothing.
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
        QVERIFY(!m_panel->JoyLabel(106)->isEnabled());
        QTest::mouseClick(button(30), Qt::LeftButton);
        QTest::mouseClick(button(101), Qt::LeftButton);
        QVERIFY(!m_panel->ClickSlot(30));
        QCOMPARE(selected.count(), 0);

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

    void lockLightsAndKeyClickInertOffscreen()
    {
        QVERIFY(KeyClickPlayer::PlayerProgram().isEmpty());
        QVERIFY(!KeyClickPlayer::Play(QString::fromStdString(mGlobal::KeyClickSound)));
        if (QGuiApplication::platformName() == QLatin1String("xcb"))
            QSKIP("runs against a real X server");
        QCOMPARE(LockKeys::DetectPlatform(), LockKeys::PlatformNone);
        const QPixmap off = m_panel->Images().List(QStringLiteral("ilsLEDs")).value(QStringLiteral("imgLEDSquare_Off"));
        QSignalSpy changed(m_panel, &DevicePanel::lockStatesChanged);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(m_panel->LockLight(i)->pixmap().cacheKey(), off.cacheKey());
            QTest::mouseClick(m_panel->LockLight(i), Qt::LeftButton);
            QTest::mouseClick(m_panel->LockLabel(i), Qt::LeftButton);
        }
        m_panel->ToggleLockKey(7);
        QVERIFY(changed.isEmpty() && !m_panel->LockState(0) && !m_panel->LockState(1) && !m_panel->LockState(2));
        QCOMPARE(m_panel->LockLabel(1)->palette().color(QPalette::WindowText), PanelImages::LightOffTextColor(m_panel->palette()));
    }

    void insideTheFrame()
    {
        delete m_window;
        m_window = nullptr;
        mGlobal::ShowKeyboard = true;
        test::FrameFixture fx;
        fMain &frame = *fx.frame;
        DevicePanel *panel = frame.bindings().Panel();
        QVERIFY(frame.centralWidget()->isAncestorOf(panel) && !panel->isHidden());
        QVERIFY(!panel->SlotButton(30)->isEnabled());
        auto *num = frame.findChild<QLabel *>(QStringLiteral("StatusPanel5"));
        QCOMPARE(num->isEnabled(), panel->LockState(0));

        frame.documents().NewConfig();
        QVERIFY(panel->SlotButton(30)->isEnabled() && !panel->SlotButton(40)->isEnabled());
        // A selected key enables Find Next Conflict; leaving it disables it.
        PopupMenu *menu = frame.commands().Menu();
        QVERIFY(!menu->IsEnabled("cmnuFindNextConflict"));
        emit panel->slotSelected(30, QStringLiteral("e"), QString());
        QVERIFY(menu->IsEnabled("cmnuFindNextConflict") && frame.commands().ToolButton("tbFindNextConflict")->isEnabled());
        emit panel->slotLeft(30);
        QVERIFY(!menu->IsEnabled("cmnuFindNextConflict") && !frame.commands().ToolButton("tbFindNextConflict")->isEnabled());

        // Files dropped on the panel are opened.
        const QString path = fx.write(QStringLiteral("dropped.cfg"), "bind e +forward\r\n");
        emit panel->filesDropped({path});
        QCOMPARE(QString::fromStdString(frame.documents().Docs()[frame.documents().ActiveDoc()].Path), path);

        // The menu command hides and shows the panel and remembers it.
        frame.Dispatch("cmnuToggleKB");
        QVERIFY(panel->isHidden() && !mGlobal::ShowKeyboard);
        QCOMPARE(GetProfileString("General", "ShowKeyboard", "", mGlobal::IniPath), std::string("False"));
        frame.Dispatch("cmnuToggleKB");
        QVERIFY(!panel->isHidden());
        QCOMPARE(GetProfileString("General", "ShowKeyboard", "", mGlobal::IniPath), std::string("True"));

        // No document left: the panel goes disabled again.
        frame.documents().CloseAllFiles();
        QTRY_VERIFY(!frame.documents().Docs().AnyOpen());
        QVERIFY(!panel->SlotButton(30)->isEnabled() && !panel->SlotButton(101)->isEnabled());

        // Stored hidden, the next start shows no panel.
        WriteProfileString("General", "ShowKeyboard", "False", mGlobal::IniPath);
        fMain second;
        second.MDIForm_Load(QString());
        QVERIFY(second.bindings().Panel()->isHidden());
    }
};

QTEST_MAIN(TestDevicePanel)
#include "tst_devicepanel.moc"

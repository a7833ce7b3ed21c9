// The bindings on their own: the part is built with stand-ins for the
// documents, the menus and the status bar, so what it asks of them and
// what it does with their answers can be checked without a whole frame.

#include "app/mglobal.h"
#include "bindings/gui/commandbar.h"
#include "bindings/gui/devicepanel.h"
#include "bindings/gui/keybindings.h"
#include "documents/gui/richedit.h"
#include "language/dictionary.h"

#include <QAbstractButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <memory>
#include <vector>

using namespace varkel;

namespace {

// The neighbours of the bindings: scripts in plain editors, and a record of
// what the menus were told.
struct StandIns {
    std::vector<std::unique_ptr<RichEdit>> editors;
    RichEdit *active = nullptr;
    QStringList menuCalls;
    int caretShown = 0;

    RichEdit *add(const char *text)
    {
        editors.push_back(std::make_unique<RichEdit>());
        editors.back()->SetText(text);
        active = editors.back().get();
        return active;
    }

    KeyBindings::Hooks hooks()
    {
        KeyBindings::Hooks h;
        h.activeEditor = [this] { return active; };
        h.openEditors = [this] {
            std::vector<RichEdit *> all;
            for (const auto &e : editors)
                all.push_back(e.get());
            return all;
        };
        h.documentOpen = [this] { return !editors.empty(); };
        h.displayCharPos = [this] { ++caretShown; };
        h.enableCommand = [this](std::string_view command, bool enabled) {
            menuCalls << QStringLiteral("%1=%2").arg(QString::fromLatin1(command.data(), command.size())).arg(enabled);
        };
        h.radioCheck = [this](const std::string &menuKey, const std::string &buttonKey) {
            menuCalls << QString::fromStdString(menuKey + "|" + buttonKey);
        };
        return h;
    }
};

// The bindings with their panel and command bar, reading one script with
// conflicts of the active script marked.
struct PartReading {
    QWidget host;
    QToolBar band;
    KeyBindings keys;
    DevicePanel *panel;

    PartReading(const GameDictionary &dict, StandIns &s, RichEdit *e)
        : keys(dict)
    {
        keys.SetHooks(s.hooks());
        panel = keys.BuildDevicePanel(&host);
        keys.BuildCommandBar(&band);
        keys.FillCommandBar();
        keys.SetDevicePanelEnabled(true);
        mGlobal::ConflictType = 2;
        keys.RefreshDocumentBindings(e);
    }
};

} // namespace

class TestKeyBindings : public QObject {
    Q_OBJECT

    GameDictionary m_dict;
    QTemporaryDir m_ini;

private slots:
    void initTestCase()
    {
        mGlobal::AppDir = QString(VARKEL_BINARY_DIR).toStdString();
        mGlobal::IniPath = m_ini.filePath("Varkel.ini").toStdString();
        qputenv("VARKEL_NO_SOUND", "1");
        QVERIFY(!BuildDictionary(m_dict, mGlobal::AppDir + "/Data", "Q2"));
    }

    void aKeyClickSelectsItsBindLineInTheActiveScript()
    {
        StandIns s;
        RichEdit *e = s.add("// keys\r\nbind f +use\r\nbind g +jump\r\nbind f +attack\r\n");
        PartReading part(m_dict, s, e);
        KeyBindings &keys = part.keys;
        DevicePanel *panel = part.panel;

        const int f = m_dict.KeyIndex("f");
        QCOMPARE(panel->KeyState(f), KeyPicture::CON);
        QVERIFY(panel->ClickSlot(f));
        QCOMPARE(QByteArray::fromStdString(e->SelText()), QByteArray("bind f +use"));
        QCOMPARE(e->GetLineFromChar(e->SelStart()), 1);
        QCOMPARE(keys.InsertionTools()->BindingText(), std::string("+use"));
        QVERIFY(s.menuCalls.contains(QStringLiteral("cmnuFindNextConflict=1")));
        QVERIFY(s.caretShown > 0);

        keys.FindNextConflict(e->SelStart() + 1);
        QCOMPARE(QByteArray::fromStdString(e->SelText()), QByteArray("bind f +attack"));

        // A key no line binds: nothing is selected, the caret stays.
        const int g = m_dict.KeyIndex("h");
        e->SetSelStart(3);
        QVERIFY(panel->ClickSlot(g));
        QCOMPARE(e->SelLength(), 0L);
    }

    void theSideButtonsAreMouse4AndMouse5WhereTheGameHasThem()
    {
        GameDictionary q3;
        QVERIFY(!BuildDictionary(q3, mGlobal::AppDir + "/Data", "Q3"));
        StandIns s;
        RichEdit *e = s.add("bind mouse4 +zoom\r\nbind mouse5 +attack\r\nbind MOUSE4 +speed\r\n");
        PartReading part(q3, s, e);
        KeyBindings &keys = part.keys;
        DevicePanel *panel = part.panel;

        const int mouse4 = q3.KeyNumber("mouse4");
        const int mouse5 = q3.KeyNumber("mouse5");
        QAbstractButton *back = panel->SlotButton(mouse4);
        QVERIFY(back && !back->isHidden() && back->isEnabled());
        QCOMPARE(panel->KeyState(mouse4), KeyPicture::CON);
        QCOMPARE(panel->KeyState(mouse5), KeyPicture::On);
        QCOMPARE(panel->ToolTipFor(mouse4), QStringLiteral("mouse4 = \"+zoom\""));

        // A click presses it and selects its line; Find Next Conflict goes on from there.
        QVERIFY(panel->ClickSlot(mouse4));
        QVERIFY(back->isChecked());
        QCOMPARE(panel->SelectedSlot(), mouse4);
        QCOMPARE(QByteArray::fromStdString(e->SelText()), QByteArray("bind mouse4 +zoom"));
        QCOMPARE(keys.InsertionTools()->BindingText(), std::string("+zoom"));
        keys.FindNextConflict(e->SelStart() + 1);
        QCOMPARE(QByteArray::fromStdString(e->SelText()), QByteArray("bind MOUSE4 +speed"));

        // One button of the mouse is pressed at a time, side buttons included.
        QVERIFY(panel->ClickSlot(kFirstMouseSlot));
        QVERIFY(!back->isChecked());
        QCOMPARE(panel->SelectedSlot(), kFirstMouseSlot);
        QVERIFY(panel->ClickSlot(mouse5));
        QVERIFY(!panel->SlotButton(kFirstMouseSlot)->isChecked());
        QCOMPARE(QByteArray::fromStdString(e->SelText()), QByteArray("bind mouse5 +attack"));

        // Unbound again: Off after the next read.
        e->SetText("bind f +use\r\n");
        keys.RefreshDocumentBindings(e);
        QCOMPARE(panel->KeyState(mouse4), KeyPicture::Off);
        QVERIFY(!panel->SlotButton(mouse5)->isChecked());

        // A game without them shows no side buttons.
        KeyBindings quake2(m_dict);
        QWidget host2;
        DevicePanel *panel2 = quake2.BuildDevicePanel(&host2);
        for (const char *name : {"cmdMouseSide4", "cmdMouseSide5"}) {
            auto *side = panel2->findChild<QAbstractButton *>(QLatin1String(name));
            QVERIFY(side && side->isHidden());
        }
        QVERIFY(!panel2->ShowsKey(mouse4));
    }

    void conflictsAcrossScriptsReadEveryOpenEditor()
    {
        StandIns s;
        s.add("bind x +forward\r\n");
        RichEdit *second = s.add("bind x +back\r\nbind y +left\r\n");
        QWidget host;
        KeyBindings keys(m_dict);
        keys.SetHooks(s.hooks());
        DevicePanel *panel = keys.BuildDevicePanel(&host);
        keys.SetDevicePanelEnabled(true);

        mGlobal::ConflictType = 1;
        keys.SetConflictState();
        QVERIFY(s.menuCalls.contains(QStringLiteral("cmnuConflicts_All|tbConflicts_All")));
        keys.RefreshDocumentBindings(second);
        QCOMPARE(panel->KeyState(m_dict.KeyIndex("x")), KeyPicture::CON);
        QCOMPARE(panel->KeyState(m_dict.KeyIndex("y")), KeyPicture::On);

        // One script at a time: the same key is bound once in each.
        mGlobal::ConflictType = 2;
        keys.RefreshDocumentBindings(second);
        QCOMPARE(panel->KeyState(m_dict.KeyIndex("x")), KeyPicture::On);
        QCOMPARE(keys.Bindings().BoundText[static_cast<size_t>(m_dict.KeyIndex("x"))], std::string("+back"));

        // No script left: emptying the table shows every key off.
        s.editors.clear();
        s.active = nullptr;
        keys.RefreshBindings();
        QCOMPARE(panel->KeyState(m_dict.KeyIndex("x")), KeyPicture::Off);
    }
};

QTEST_MAIN(TestKeyBindings)
#include "tst_keybindings.moc"

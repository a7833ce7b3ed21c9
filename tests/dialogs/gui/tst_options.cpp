// The options dialog, the tool dialog and the user tools in the running
// program: enable rules, applying page by page, the input filters, the tool
// checks, the Tools menu items and starting a tool without a shell.
//
// With VARKEL_SCREENSHOT_DIR set, the four pages are also saved as PNG files.

#include "app/gui/fmain.h"
#include "app/gui/prompts.h"
#include "app/mglobal.h"
#include "app/profile.h"
#include "commands/gui/popupmenu.h"
#include "dialogs/gui/colorbutton.h"
#include "dialogs/gui/faddtool.h"
#include "dialogs/gui/foptions.h"
#include "dialogs/gui/usertoolsmenu.h"
#include "dialogs/usertools.h"
#include "documents/gui/fedit.h"
#include "documents/gui/richedit.h"
#include "language/dictionary.h"

#include <QtTest>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <functional>

using namespace varkel;

namespace {

// Answers every dialog from a script and records the messages.
class ScriptedPrompts : public Prompts {
public:
    QStringList messages;
    QColor nextColor;          // invalid: the colour dialog is cancelled
    QString nextFile;
    QString lastInitialFile;

    QStringList OpenFiles(QWidget *, const QString &, const QString &) override { return {}; }
    QString SaveFile(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QMessageBox::StandardButton Ask(QWidget *, const QString &text, QMessageBox::StandardButtons) override
    {
        messages << text;
        return QMessageBox::No;
    }
    void Critical(QWidget *, const QString &text) override { messages << text; }
    void Exclamation(QWidget *, const QString &, const QString &text) override { messages << text; }
    QString OpenFile(QWidget *, const QString &, const QString &initial, const QString &) override
    {
        lastInitialFile = initial;
        return nextFile;
    }
    QColor ChooseColor(QWidget *, const QColor &) override { return nextColor; }
};

int styleAt(RichEdit *e, long pos)
{
    return static_cast<int>(e->SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, static_cast<unsigned long>(pos)));
}

// Types one character that QTest cannot synthesise (outside ASCII).
void typeChar(QWidget *w, QChar c)
{
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &release);
}

// Clicks a check box or option button on its indicator, as a user would.
void clickBox(QWidget *w)
{
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(8, w->height() / 2));
}

std::string iniValue(const char *section, const std::string &key)
{
    return GetProfileString(section, key, "<missing>", mGlobal::IniPath);
}

// Runs `body` on the next modal dialog of type T once it is showing.
template <typename T>
void onModal(std::function<void(T *)> body)
{
    QTimer::singleShot(0, [body] {
        T *dialog = nullptr;
        for (int i = 0; i < 200 && !dialog; ++i) {
            dialog = qobject_cast<T *>(QApplication::activeModalWidget());
            if (!dialog)
                QTest::qWait(5);
        }
        QVERIFY2(dialog, "no modal dialog");
        body(dialog);
    });
}

} // namespace

class TestOptions : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    ScriptedPrompts m_prompts;
    int m_syntaxApplied = 0;
    int m_toolsApplied = 0;

    std::unique_ptr<fOptions> makeDialog(int page = 0)
    {
        fOptions::Hooks hooks;
        hooks.syntaxApplied = [this] { ++m_syntaxApplied; };
        hooks.userToolsApplied = [this] { ++m_toolsApplied; };
        auto dialog = std::make_unique<fOptions>(m_prompts, std::move(hooks));
        dialog->SetPage(page);
        return dialog;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("VARKEL_INI", QFile::encodeName(m_dir.filePath("Varkel.ini")));
        mGlobal::AppDir = VARKEL_BINARY_DIR;
        QVERIFY(QFile::exists(QString::fromStdString(mGlobal::AppDir + "/Data/Q2sample.dat")));
    }

    void init()
    {
        mGlobal::IniPath = m_dir.filePath("Varkel.ini").toStdString();
        QFile::remove(QString::fromStdString(mGlobal::IniPath));
        mGlobal::QVersion = "Q2";
        mGlobal::AutoSyntaxType = 2;
        mGlobal::ColorStringElements = false;
        mGlobal::SyntaxColors = {0, 0x000000, 0xFF0000, 0xC00000, 0x800080, 0xC000C0, 0x008000, 0x0000FF, 0x000080};
        mGlobal::CommentAutoSize = true;
        mGlobal::CommentChar = "*";
        mGlobal::CommentSize = 20;
        mGlobal::CommentAlignment = true;
        mGlobal::CommentUCase = true;
        mGlobal::ShowTipOday = true;
        mGlobal::ToolNames.clear();
        mGlobal::ToolPaths.clear();
        mGlobal::AddingTool = false;
        m_prompts.messages.clear();
        m_prompts.nextColor = QColor();
        m_syntaxApplied = m_toolsApplied = 0;
    }

    void opensWithStoredSettings()
    {
        mGlobal::AutoSyntaxType = 1;
        mGlobal::ColorStringElements = true;
        mGlobal::SyntaxColors[3] = 0x123456;
        mGlobal::CommentAutoSize = false;
        mGlobal::CommentSize = 7;
        mGlobal::CommentChar = "#";
        mGlobal::CommentAlignment = false;
        mGlobal::ShowTipOday = false;
        mGlobal::ToolNames = {"One", "Two"};
        mGlobal::ToolPaths = {"/bin/one", "/bin/two"};
        auto d = makeDialog(2);
        QCOMPARE(d->windowTitle(), QStringLiteral("Options"));
        QCOMPARE(d->tabOptions->currentIndex(), 2);
        QStringList tabs;
        for (int i = 0; i < d->tabOptions->count(); ++i)
            tabs << d->tabOptions->tabText(i);
        QCOMPARE(tabs, (QStringList{"Syntax Colors", "Comment Block", "User Tools", "Misc"}));
        QVERIFY(d->optSyntaxType[1]->isChecked());
        QVERIFY(d->chkColorString->isChecked());
        QCOMPARE(d->cmdSyntaxColor[2]->Color(), 0x123456u);
        QVERIFY(d->optBlockSize[1]->isChecked());
        QCOMPARE(d->txtBlockSize->text(), QStringLiteral("7"));
        QCOMPARE(d->txtComChar->text(), QStringLiteral("#"));
        QVERIFY(d->optComAlign[0]->isChecked());
        QVERIFY(!d->chkShowTips->isChecked());
        QVERIFY(!d->chkCFG->isChecked()); // no association store: shown unassociated
        QCOMPARE(d->lvwUserTools->topLevelItemCount(), 2);
        QCOMPARE(d->lvwUserTools->topLevelItem(1)->text(1), QStringLiteral("/bin/two"));
        QCOMPARE(d->lvwUserTools->headerItem()->text(0), QStringLiteral("Application Name"));
        QVERIFY(!d->IsApplyEnabled());
        QVERIFY(m_prompts.messages.isEmpty());
    }

    void previewsAreColouredWithoutADocument()
    {
        auto d = makeDialog();
        RichEdit *e = d->rtfEdit;
        const std::string text = e->Text();
        QVERIFY(!text.empty());
        // Some word of the sample is a command, and a "//" comment is green.
        bool command = false, comment = false;
        for (long i = 0; i < static_cast<long>(text.size()); ++i) {
            command = command || styleAt(e, i) == Command;
            comment = comment || styleAt(e, i) == Comment;
        }
        QVERIFY(command);
        QVERIFY(comment);
        QVERIFY(!e->CanUndo());

        const std::string block = d->rtfComment->Text();
        QVERIFY(block.find("YOUR TEXT HERE") != std::string::npos);
        QVERIFY(block.rfind("//**", 0) == 0);
        QCOMPARE(styleAt(d->rtfComment, 0), static_cast<int>(Comment));

        // With colouring off the sample is all plain text.
        mGlobal::AutoSyntaxType = 0;
        auto plain = makeDialog();
        for (long i = 0; i < plain->rtfEdit->TextLength(); ++i)
            QCOMPARE(styleAt(plain->rtfEdit, i), static_cast<int>(PlainText));
    }

    void missingSampleIsReportedAndLoadingGoesOn()
    {
        mGlobal::QVersion = "Q9";
        Error reported;
        fOptions::Hooks hooks;
        hooks.reportError = [&](const Error &e) { reported = e; };
        fOptions d(m_prompts, hooks);
        QCOMPARE(reported.code, ErrorCode::FileNotFound);
        QVERIFY(d.rtfComment->Text().find("YOUR TEXT HERE") != std::string::npos);
    }

    void syntaxEnableRules()
    {
        auto d = makeDialog();
        d->show();
        clickBox(d->optSyntaxType[0]);
        QVERIFY(d->IsApplyEnabled());
        QVERIFY(d->cmdSyntaxColor[0]->isEnabled() && d->lblSyntaxColor[0]->isEnabled());
        for (int k = 1; k < 8; ++k)
            QVERIFY(!d->cmdSyntaxColor[k]->isEnabled() && !d->lblSyntaxColor[k]->isEnabled());
        QVERIFY(!d->chkColorString->isEnabled());

        clickBox(d->optSyntaxType[2]);
        for (int k = 0; k < 8; ++k)
            QVERIFY(d->cmdSyntaxColor[k]->isEnabled());
        clickBox(d->chkColorString);
        QVERIFY(d->chkColorString->isChecked());
        QVERIFY(!d->cmdSyntaxColor[7]->isEnabled() && !d->lblSyntaxColor[7]->isEnabled());
        QVERIFY(d->cmdSyntaxColor[6]->isEnabled());
        // Clicking a mode again keeps the string row off while the box is checked.
        clickBox(d->optSyntaxType[1]);
        QVERIFY(!d->cmdSyntaxColor[7]->isEnabled());
    }

    void blockSizeEnableRule()
    {
        auto d = makeDialog(1);
        d->show();
        QVERIFY(d->optBlockSize[0]->isChecked());
        QVERIFY(!d->txtBlockSize->isEnabled() && !d->lblBlockSize->isEnabled());
        clickBox(d->optBlockSize[1]);
        QVERIFY(d->txtBlockSize->isEnabled() && d->lblBlockSize->isEnabled());
        // The block-size choice applies at once.
        QVERIFY(!mGlobal::CommentAutoSize);
        QCOMPARE(iniValue("General", "CommentAutoSize"), std::string("False"));
        QVERIFY(!d->IsApplyEnabled());
    }

    void colourButtonAndSwitchingPagesApplies()
    {
        auto d = makeDialog(0);
        d->show();
        m_prompts.nextColor = QColor(0x12, 0x34, 0x56);
        d->cmdSyntaxColor_Click(1);
        QCOMPARE(d->cmdSyntaxColor[1]->Color(), 0x563412u);
        QVERIFY(d->IsApplyEnabled());
        QCOMPARE(mGlobal::SyntaxColors[2], 0xFF0000u); // not yet applied

        m_prompts.nextColor = QColor(); // a cancelled colour dialog changes nothing
        d->cmdSyntaxColor_Click(1);
        QCOMPARE(d->cmdSyntaxColor[1]->Color(), 0x563412u);

        d->tabOptions->setCurrentIndex(1);
        QCOMPARE(mGlobal::SyntaxColors[2], 0x563412u);
        QCOMPARE(iniValue("Font", "SyntaxColor1"), std::to_string(0x563412));
        QCOMPARE(iniValue("General", "AutoSyntaxType"), std::string("2"));
        QCOMPARE(iniValue("Font", "ColorStringElements"), std::string("False"));
        QCOMPARE(m_syntaxApplied, 1);
        QVERIFY(!d->IsApplyEnabled());
        QCOMPARE(d->tabOptions->currentIndex(), 1);

        // Without changes, switching applies nothing.
        d->tabOptions->setCurrentIndex(0);
        QCOMPARE(m_syntaxApplied, 1);
    }

    void disabledRowsKeepTheirStoredColours()
    {
        auto d = makeDialog(0);
        d->show();
        for (int k = 0; k < 8; ++k)
            d->cmdSyntaxColor[k]->SetColor(0x010101u * static_cast<unsigned>(k + 1));
        clickBox(d->optSyntaxType[0]);
        QVERIFY(d->ApplyOptions(0));
        QCOMPARE(mGlobal::AutoSyntaxType, 0);
        QCOMPARE(mGlobal::SyntaxColors[1], 0x010101u);
        QCOMPARE(mGlobal::SyntaxColors[2], 0xFF0000u);
        QCOMPARE(mGlobal::SyntaxColors[8], 0x000080u);
        QCOMPARE(iniValue("Font", "SyntaxColor1"), std::string("<missing>"));
        // The preview follows: all plain text now.
        QCOMPARE(styleAt(d->rtfEdit, 0), static_cast<int>(PlainText));

        // Colouring string contents: every row but "Strings" is stored.
        clickBox(d->optSyntaxType[2]);
        clickBox(d->chkColorString);
        QVERIFY(d->ApplyOptions(0));
        QVERIFY(mGlobal::ColorStringElements);
        QCOMPARE(mGlobal::SyntaxColors[7], 0x070707u);
        QCOMPARE(mGlobal::SyntaxColors[8], 0x000080u);
        QCOMPARE(iniValue("Font", "SyntaxColor7"), std::string("<missing>"));
    }

    void cancelKeepsWhatWasApplied()
    {
        auto d = makeDialog(3);
        d->show();
        clickBox(d->chkShowTips);
        QVERIFY(d->IsApplyEnabled());
        QTest::mouseClick(d->cmdOK[1], Qt::LeftButton); // Apply
        QVERIFY(!d->IsApplyEnabled());
        QVERIFY(d->isVisible());
        QCOMPARE(iniValue("General", "ShowTipOday"), std::string("False"));

        clickBox(d->chkShowTips);
        QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
        QVERIFY(!d->isVisible());
        QCOMPARE(d->result(), static_cast<int>(QDialog::Rejected));
        QVERIFY(!mGlobal::ShowTipOday);
        QCOMPARE(iniValue("General", "ShowTipOday"), std::string("False"));
    }

    void okAppliesTheCurrentPage()
    {
        auto d = makeDialog(3);
        d->show();
        clickBox(d->chkShowTips);
        QTest::mouseClick(d->cmdOK[0], Qt::LeftButton);
        QCOMPARE(d->result(), static_cast<int>(QDialog::Accepted));
        QCOMPARE(iniValue("General", "ShowTipOday"), std::string("False"));
    }

    void associationHooks()
    {
        QStringList asked;
        fOptions::Hooks hooks;
        hooks.isAssociated = [](const std::string &ext) { return ext == "rc"; };
        hooks.associate = [&](QWidget *, const std::string &ext) {
            asked << QString::fromStdString(ext);
            return ext != "cfg"; // the user keeps another program for *.cfg
        };
        fOptions d(m_prompts, hooks);
        d.SetPage(3);
        QVERIFY(!d.chkCFG->isChecked());
        QVERIFY(d.chkRC->isChecked());
        d.chkCFG->setChecked(true);
        QVERIFY(d.ApplyOptions(3));
        QCOMPARE(asked, (QStringList{"cfg", "rc"}));
        QVERIFY(!d.chkCFG->isChecked());
        QVERIFY(d.chkRC->isChecked());
        // An unchecked box is left alone.
        asked.clear();
        d.chkRC->setChecked(false);
        QVERIFY(d.ApplyOptions(3));
        QVERIFY(asked.isEmpty());
    }

    void emptyBlockCharacterIsRefused()
    {
        auto d = makeDialog(1);
        d->show();
        d->txtComChar->setFocus();
        QTest::keyClick(d->txtComChar, Qt::Key_Backspace);
        QCOMPARE(d->txtComChar->text(), QString());
        QVERIFY(d->IsApplyEnabled());

        QTest::mouseClick(d->cmdOK[0], Qt::LeftButton);
        QCOMPARE(m_prompts.messages, (QStringList{"Please enter a Block Character."}));
        QVERIFY(d->isVisible());
        QVERIFY(d->IsApplyEnabled());
        QCOMPARE(mGlobal::CommentChar, std::string("*"));
        QCOMPARE(iniValue("General", "CommentChar"), std::string("<missing>"));

        // Leaving the page is refused too: the tab returns to the page.
        m_prompts.messages.clear();
        d->tabOptions->setCurrentIndex(3);
        QCOMPARE(m_prompts.messages.size(), 1);
        QCOMPARE(d->tabOptions->currentIndex(), 1);
        QVERIFY(d->IsApplyEnabled());

        // A character makes the page apply.
        QTest::keyClicks(d->txtComChar, "=");
        QTest::mouseClick(d->cmdOK[1], Qt::LeftButton);
        QCOMPARE(mGlobal::CommentChar, std::string("="));
        QCOMPARE(iniValue("General", "CommentChar"), std::string("="));
        QVERIFY(d->rtfComment->Text().rfind("//===", 0) == 0);
    }

    void blockSizeFilter()
    {
        auto d = makeDialog(1);
        d->show();
        clickBox(d->optBlockSize[1]);
        QLineEdit *box = d->txtBlockSize;
        box->setFocus();
        box->clear();
        QTest::keyClicks(box, "1a-2");
        QCOMPARE(box->text(), QStringLiteral("12"));
        QTest::keyClicks(box, "3");
        QCOMPARE(box->text(), QStringLiteral("12")); // a third digit is refused
        box->selectAll();
        QTest::keyClicks(box, "7");
        QCOMPARE(box->text(), QStringLiteral("7"));   // replacing the selection is fine
        QTest::keyClicks(box, "5");
        QVERIFY(d->IsApplyEnabled());
        // Enter applies the page and is not inserted.
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->text(), QStringLiteral("75"));
        QCOMPARE(mGlobal::CommentSize, 75);
        QCOMPARE(iniValue("General", "CommentSize"), std::string("75"));
        QVERIFY(!d->IsApplyEnabled());
        QVERIFY(d->isVisible());

        // An emptied box stores 0.
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClick(box, Qt::Key_Backspace);
        QVERIFY(d->ApplyOptions(1));
        QCOMPARE(mGlobal::CommentSize, 0);
    }

    void blockCharacterFilter()
    {
        auto d = makeDialog(1);
        d->show();
        QLineEdit *box = d->txtComChar;
        box->setFocus();
        box->setCursorPosition(1);
        QTest::keyClicks(box, "ab");
        QCOMPARE(box->text(), QStringLiteral("*"));
        box->selectAll();
        QTest::keyClicks(box, "#");
        QCOMPARE(box->text(), QStringLiteral("#"));
        QTest::keyClick(box, Qt::Key_Backspace);
        typeChar(box, QChar(0x20AC)); // not an 8-bit character
        QCOMPARE(box->text(), QString());
        typeChar(box, QChar(0xA7));
        QCOMPARE(box->text(), QString(QChar(0xA7)));
        QTest::keyClick(box, Qt::Key_Enter);
        QCOMPARE(mGlobal::CommentChar, std::string("\xA7"));
    }

    void commentChoicesApplyAtOnce()
    {
        auto d = makeDialog(1);
        d->show();
        clickBox(d->optComAlign[0]);
        QVERIFY(!mGlobal::CommentAlignment);
        QCOMPARE(iniValue("General", "CommentAlignment"), std::string("False"));
        QVERIFY(d->rtfComment->Text().find("//* YOUR TEXT HERE       *") != std::string::npos);
        clickBox(d->chkComUCase);
        QVERIFY(!mGlobal::CommentUCase);
        QVERIFY(d->rtfComment->Text().find("Your Text Here") != std::string::npos);
        QCOMPARE(iniValue("General", "CommentUCase"), std::string("False"));
    }

    // --- user tools --------------------------------------------------------

    void toolChecksInOrder()
    {
        QTreeWidget list;
        list.setColumnCount(2);
        auto *row = new QTreeWidgetItem(&list);
        list.setCurrentItem(row);
        mGlobal::AddingTool = true;
        int changed = 0;
        fAddTool d(&list, m_prompts, [&] { ++changed; });
        QCOMPARE(d.windowTitle(), QStringLiteral("Varkel - Add User Tool"));
        d.show();

        d.txtToolName->setText(QString(33, 'x'));
        d.cmdOK_Click();
        QCOMPARE(m_prompts.messages, (QStringList{"Tool Name cannot exceed 32 characters"}));
        QCOMPARE(d.txtToolName->selectedText().size(), 33);

        d.txtToolName->clear();
        d.txtToolPath->setText("/bin/true");
        d.cmdOK_Click();
        QCOMPARE(m_prompts.messages.last(), QStringLiteral("Please enter a Tool Name"));

        d.txtToolName->setText(QString(32, 'x'));
        d.txtToolPath->clear();
        d.cmdOK_Click();
        QCOMPARE(m_prompts.messages.last(), QStringLiteral("Please enter a Path"));
        QCOMPARE(m_prompts.messages.size(), 3);
        QVERIFY(d.isVisible());
        QCOMPARE(changed, 0);

        d.txtToolPath->setText(" /opt/tool ");
        d.cmdOK_Click();
        QCOMPARE(m_prompts.messages.size(), 3);
        QVERIFY(!d.isVisible());
        QCOMPARE(row->text(0), QString(32, 'x'));
        QCOMPARE(row->text(1), QStringLiteral(" /opt/tool ")); // taken as typed
        QVERIFY(!mGlobal::AddingTool);
        QCOMPARE(changed, 1);
    }

    void toolCancelInAddModeRemovesTheRow()
    {
        for (bool closeWindow : {false, true}) {
            QTreeWidget list;
            new QTreeWidgetItem(&list, QStringList{"Old", "/old"});
            auto *added = new QTreeWidgetItem(&list);
            list.setCurrentItem(added);
            mGlobal::AddingTool = true;
            fAddTool d(&list, m_prompts, {});
            d.show();
            if (closeWindow)
                d.close();
            else
                QTest::mouseClick(d.cmdCancel, Qt::LeftButton);
            QCOMPARE(list.topLevelItemCount(), 1);
            QCOMPARE(list.topLevelItem(0)->text(0), QStringLiteral("Old"));
            QVERIFY(!mGlobal::AddingTool);
        }
        // In edit mode Cancel changes nothing.
        QTreeWidget list;
        auto *row = new QTreeWidgetItem(&list, QStringList{"Old", "/old"});
        list.setCurrentItem(row);
        mGlobal::AddingTool = false;
        fAddTool d(&list, m_prompts, {});
        QCOMPARE(d.windowTitle(), QStringLiteral("Varkel - Edit User Tool"));
        d.txtToolName->setText("New");
        d.cmdCancel_Click();
        QCOMPARE(list.topLevelItemCount(), 1);
        QCOMPARE(row->text(0), QStringLiteral("Old"));
    }

    void browseFillsThePath()
    {
        QTreeWidget list;
        list.setCurrentItem(new QTreeWidgetItem(&list));
        fAddTool d(&list, m_prompts, {});
        d.txtToolPath->setText("/usr/bin/old");
        m_prompts.nextFile = QString();
        d.cmdBrowse_Click();
        QCOMPARE(m_prompts.lastInitialFile, QStringLiteral("/usr/bin/old"));
        QCOMPARE(d.txtToolPath->text(), QStringLiteral("/usr/bin/old")); // cancelled
        m_prompts.nextFile = "/opt/My Tools/run";
        d.cmdBrowse_Click();
        QCOMPARE(d.txtToolPath->text(), QStringLiteral("/opt/My Tools/run"));
    }

    void toolPageAddEditDeleteMoveSort()
    {
        mGlobal::ToolNames = {"bravo", "Alpha", "charlie"};
        mGlobal::ToolPaths = {"/b", "/a", "/c"};
        auto d = makeDialog(2);
        d->show();
        QTreeWidget *list = d->lvwUserTools;
        auto names = [list] {
            QStringList out;
            for (int i = 0; i < list->topLevelItemCount(); ++i)
                out << list->topLevelItem(i)->text(0);
            return out;
        };

        // Add: the tool dialog fills the new row.
        onModal<fAddTool>([](fAddTool *t) {
            QCOMPARE(t->windowTitle(), QStringLiteral("Varkel - Add User Tool"));
            t->txtToolName->setText("delta");
            t->txtToolPath->setText("/d");
            QTest::mouseClick(t->cmdOK, Qt::LeftButton);
        });
        d->cmdAdd_Click();
        QCOMPARE(names(), (QStringList{"bravo", "Alpha", "charlie", "delta"}));
        QVERIFY(d->IsApplyEnabled());
        QVERIFY(d->ApplyOptions(2));

        // Add, then cancel: no row is left behind, nothing changed.
        onModal<fAddTool>([](fAddTool *t) { QTest::mouseClick(t->cmdCancel, Qt::LeftButton); });
        d->cmdAdd_Click();
        QCOMPARE(names().size(), 4);
        QVERIFY(!d->IsApplyEnabled());

        // Edit the selected row.
        list->setCurrentItem(list->topLevelItem(1));
        onModal<fAddTool>([](fAddTool *t) {
            QCOMPARE(t->windowTitle(), QStringLiteral("Varkel - Edit User Tool"));
            QCOMPARE(t->txtToolName->text(), QStringLiteral("Alpha"));
            QCOMPARE(t->txtToolPath->text(), QStringLiteral("/a"));
            t->txtToolPath->setText("/a2");
            QTest::mouseClick(t->cmdOK, Qt::LeftButton);
        });
        d->cmdEdit_Click();
        QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("/a2"));
        QVERIFY(d->IsApplyEnabled());

        // Move up from row 1, then once more at the top: nothing happens there.
        d->cmdMoveItem_Click(0);
        QCOMPARE(names(), (QStringList{"Alpha", "bravo", "charlie", "delta"}));
        QCOMPARE(list->currentItem(), list->topLevelItem(0));
        QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("/a2"));
        d->cmdMoveItem_Click(0);
        QCOMPARE(names(), (QStringList{"Alpha", "bravo", "charlie", "delta"}));
        list->setCurrentItem(list->topLevelItem(3));
        d->cmdMoveItem_Click(1);
        QCOMPARE(names().last(), QStringLiteral("delta"));
        d->cmdMoveItem_Click(0);
        QCOMPARE(names(), (QStringList{"Alpha", "bravo", "delta", "charlie"}));
        QCOMPARE(list->currentItem()->text(0), QStringLiteral("delta"));

        // The first header click sorts descending, the next ascending (case-blind).
        d->lvwUserTools_ColumnClick(0);
        QCOMPARE(names(), (QStringList{"delta", "charlie", "bravo", "Alpha"}));
        d->lvwUserTools_ColumnClick(0);
        QCOMPARE(names(), (QStringList{"Alpha", "bravo", "charlie", "delta"}));
        QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("/a2")); // paths travel with names

        // Delete the selected row, then store the list.
        list->setCurrentItem(list->topLevelItem(1));
        d->cmdDelete_Click();
        QCOMPARE(names(), (QStringList{"Alpha", "charlie", "delta"}));
        m_toolsApplied = 0;
        d->tabOptions->setCurrentIndex(3); // leaving the page applies it
        QCOMPARE(m_toolsApplied, 1);
        QCOMPARE(mGlobal::ToolNames, (std::vector<std::string>{"Alpha", "charlie", "delta"}));
        QCOMPARE(mGlobal::ToolPaths, (std::vector<std::string>{"/a2", "/c", "/d"}));
        QCOMPARE(iniValue("User Tools", "NumUserTools"), std::string("3"));
        QCOMPARE(iniValue("User Tools", "ToolName3"), std::string("delta"));
        QCOMPARE(iniValue("User Tools", "ToolPath1"), std::string("/a2"));
    }

    void toolsMenuReplaceAfterTheListShrank()
    {
        QMenuBar bar;
        PopupMenu menu;
        menu.Attach(&bar);
        const int tools = menu.AddItem("&Tools", "", 0, 0, "", false, true, "cmnuToolsTOP");
        menu.AddItem("Configure User Tools...", "", 0, tools, "", false, true, "cmnuCfgUserTools");
        menu.AddItem("-", "", 0, tools, "", false, true, "cmnuSepTools");

        int inMenu = BuildUserToolsMenu(menu, "ADD", 0, {"One", "Two", "Three"});
        QCOMPARE(inMenu, 3);
        for (int n = 1; n <= 3; ++n) {
            const int index = menu.IndexForKey("cmnuUserTool" + std::to_string(n));
            QVERIFY(index > 0);
            QCOMPARE(menu.ItemData(index), n);
            QVERIFY(menu.IsEnabled("cmnuUserTool" + std::to_string(n)));
        }
        QCOMPARE(menu.Caption("cmnuUserTool2"), QStringLiteral("Two"));
        QMenu *sub = menu.Submenu("cmnuToolsTOP");
        QVERIFY(sub);
        QCOMPARE(sub->actions().last()->text(), QStringLiteral("Three")); // at the end of the menu

        inMenu = BuildUserToolsMenu(menu, "REPLACE", inMenu, {"Only"});
        QCOMPARE(inMenu, 1);
        QCOMPARE(menu.Caption("cmnuUserTool1"), QStringLiteral("Only"));
        QCOMPARE(menu.IndexForKey("cmnuUserTool2"), 0);
        QCOMPARE(menu.IndexForKey("cmnuUserTool3"), 0);
        QCOMPARE(sub->actions().last()->text(), QStringLiteral("Only"));
        QCOMPARE(menu.IndexForKey("cmnuCfgUserTools") > 0, true);
    }

    void startingAToolRunsNoShell()
    {
        QTemporaryDir dir;
        const QString base = dir.path();
        const std::string b = base.toStdString();
        QVERIFY(StartUserTool("touch '" + b + "/a b' " + b + "/c\\ d " + b + "/x;touch " + b + "/y"));
        QTRY_VERIFY(QFile::exists(base + "/y"));
        QTRY_VERIFY(QFile::exists(base + "/a b"));
        QVERIFY(QFile::exists(base + "/c d"));
        QVERIFY(QFile::exists(base + "/x;touch"));
        QVERIFY(!QFile::exists(base + "/x"));

        QVERIFY(StartUserTool("touch " + b + "/$HOME"));
        QTRY_VERIFY(QFile::exists(base + "/$HOME"));

        // A program path with spaces, as the browse button leaves it.
        QDir().mkpath(base + "/My Tools");
        QFile script(base + "/My Tools/run");
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\ntouch \"$(dirname \"$0\")/ran\"\n");
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
        QVERIFY(StartUserTool(b + "/My Tools/run"));
        QTRY_VERIFY(QFile::exists(base + "/My Tools/ran"));

        QVERIFY(!StartUserTool(b + "/no such program"));
        QVERIFY(!StartUserTool("touch \"open quote"));
        QVERIFY(!StartUserTool(""));
    }

    // --- the frame ---------------------------------------------------------

    void frameMenusDispatchAndDocuments()
    {
        WriteProfileInt("User Tools", "NumUserTools", 3, mGlobal::IniPath);
        const QString marker = m_dir.filePath("tool-ran");
        for (int n = 1; n <= 3; ++n) {
            WriteProfileString("User Tools", ToolNameKey(n), "Tool " + std::to_string(n), mGlobal::IniPath);
            WriteProfileString("User Tools", ToolPathKey(n), "touch " + marker.toStdString() + std::to_string(n),
                               mGlobal::IniPath);
        }
        fMain frame;
        frame.SetPrompts(std::make_unique<ScriptedPrompts>());
        frame.MDIForm_Load(QString());
        QCOMPARE(frame.ToolsInMenu(), 3);
        const int index = frame.Menu()->IndexForKey("cmnuUserTool2");
        QVERIFY(index > 0);
        QCOMPARE(frame.Menu()->ItemData(index), 2);

        frame.m_cMenu_Click(index);
        QTRY_VERIFY(QFile::exists(marker + "2"));
        QVERIFY(!QFile::exists(marker + "1"));

        // A document whose state the dialog must not touch.
        const int doc = frame.NewConfig();
        RichEdit *e = frame.Editor(doc)->rtfEdit;
        e->SetSelText("bind x \"+attack\"\r\n");
        QVERIFY(frame.Docs()[doc].Modified);
        QVERIFY(e->CanUndo());
        frame.Docs()[doc].Modified = false;

        onModal<fOptions>([](fOptions *d) {
            QCOMPARE(d->tabOptions->currentIndex(), 0);
            clickBox(d->optSyntaxType[0]);
            QTest::mouseClick(d->cmdOK[0], Qt::LeftButton);
        });
        frame.Dispatch("cmnuSyntaxColors");
        QCOMPARE(mGlobal::AutoSyntaxType, 0);
        QVERIFY(frame.Menu()->IsChecked("cmnuAutoSyntax_None"));
        QVERIFY(!frame.Docs()[doc].Modified);
        QVERIFY(e->CanUndo());
        QCOMPARE(styleAt(e, 0), static_cast<int>(PlainText));

        // The tool page: two tools deleted, then OK rebuilds the menu.
        onModal<fOptions>([](fOptions *d) {
            QCOMPARE(d->tabOptions->currentIndex(), 2);
            d->lvwUserTools->setCurrentItem(d->lvwUserTools->topLevelItem(1));
            d->cmdDelete_Click();
            d->cmdDelete_Click();
            QTest::mouseClick(d->cmdOK[0], Qt::LeftButton);
        });
        frame.Dispatch("cmnuCfgUserTools");
        QCOMPARE(frame.ToolsInMenu(), 1);
        QVERIFY(frame.Menu()->IndexForKey("cmnuUserTool1") > 0);
        QCOMPARE(frame.Menu()->IndexForKey("cmnuUserTool2"), 0);
        QCOMPARE(frame.Menu()->IndexForKey("cmnuUserTool3"), 0);
        QCOMPARE(iniValue("User Tools", "NumUserTools"), std::string("1"));

        for (const auto &[key, page] : {std::pair{"cmnuCfgComment", 1}, std::pair{"cmnuOptions", 3}}) {
            int shown = -1;
            onModal<fOptions>([&shown](fOptions *d) {
                shown = d->tabOptions->currentIndex();
                d->reject();
            });
            frame.Dispatch(key);
            QCOMPARE(shown, page);
        }
        frame.Docs()[doc].Modified = false;
        frame.close();
    }

    void screenshots()
    {
        const QByteArray dir = qgetenv("VARKEL_SCREENSHOT_DIR");
        if (dir.isEmpty())
            QSKIP("VARKEL_SCREENSHOT_DIR not set");
        mGlobal::ToolNames = {"Quake II", "Text Editor"};
        mGlobal::ToolPaths = {"/usr/games/quake2 +exec server.cfg", "/usr/bin/gedit"};
        auto d = makeDialog(0);
        d->show();
        QTest::qWait(50);
        for (int page = 0; page < 4; ++page) {
            d->tabOptions->setCurrentIndex(page);
            QTest::qWait(50);
            d->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/options-page%1.png").arg(page));
        }
        clickBox(d->optSyntaxType[0]);
        d->tabOptions->setCurrentIndex(0);
        QTest::qWait(50);
        d->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/options-page0-none.png"));
        QTreeWidget list;
        list.setCurrentItem(new QTreeWidgetItem(&list));
        mGlobal::AddingTool = true;
        fAddTool t(&list, m_prompts, {});
        t.show();
        QTest::qWait(50);
        t.grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/addtool.png"));
        mGlobal::AddingTool = false;

        WriteUserTools(mGlobal::IniPath, mGlobal::ToolNames, mGlobal::ToolPaths);
        fMain frame;
        frame.SetPrompts(std::make_unique<ScriptedPrompts>());
        frame.MDIForm_Load(QString());
        frame.show();
        QMenu *tools = frame.Menu()->Submenu("cmnuToolsTOP");
        tools->popup(frame.mapToGlobal(QPoint(40, 40)));
        QTest::qWait(100);
        tools->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/tools-menu.png"));
        tools->hide();
    }
};

QTEST_MAIN(TestOptions)
#include "tst_options.moc"

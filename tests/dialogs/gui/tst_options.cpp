// The options dialog, the tool dialog and the user tools in the running
// program: enable rules, applying page by page, the input filters, the tool
// checks, the Tools menu items and starting a tool without a shell.

#include "app/colourscheme.h"
#include "app/profile.h"
#include "app/tempdir.h"
#include "bindings/gui/commandbar.h"
#include "commands/gui/usertoolsmenu.h"
#include "dialogs/fileassoc.h"
#include "dialogs/gui/colorbutton.h"
#include "dialogs/gui/faddtool.h"
#include "dialogs/gui/foptions.h"
#include "dialogs/usertools.h"
#include "documents/gui/fedit.h"
#include "documents/gui/richedit.h"
#include "support/guitest.h"

#include <QtTest>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>

using namespace varkel;
using varkel::test::onModal;

namespace {

// Answers every dialog from a script and records the messages.
class ScriptedPrompts : public Prompts {
public:
    QStringList messages;
    QColor nextColor; // invalid: the colour dialog is cancelled
    QString nextFile, lastInitialFile;

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

bool hasStyle(RichEdit *e, int style)
{
    for (long i = 0; i < e->TextLength(); ++i)
        if (styleAt(e, i) == style)
            return true;
    return false;
}

// Types one character that QTest cannot synthesise (outside ASCII).
void typeChar(QWidget *w, QChar c)
{
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
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

QStringList names(QTreeWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(0);
    return out;
}

} // namespace

class TestOptions : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    ScriptedPrompts m_prompts;
    int m_syntaxApplied = 0;
    int m_toolsApplied = 0;

    std::unique_ptr<fOptions> makeDialog(int page)
    {
        fOptions::Hooks hooks;
        hooks.syntaxApplied = [this] { ++m_syntaxApplied; };
        hooks.userToolsApplied = [this] { ++m_toolsApplied; };
        auto dialog = std::make_unique<fOptions>(m_prompts, std::move(hooks));
        dialog->SetPage(page);
        dialog->show();
        return dialog;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("VARKEL_INI", QFile::encodeName(m_dir.filePath("Varkel.ini")));
        mGlobal::AppDir = VARKEL_BINARY_DIR;
    }

    void init()
    {
        mGlobal::IniPath = m_dir.filePath("Varkel.ini").toStdString();
        QFile::remove(QString::fromStdString(mGlobal::IniPath));
        mGlobal::QVersion = "Q2";
        mGlobal::AutoSyntaxType = 2;
        mGlobal::ColorStringElements = false;
        mGlobal::SyntaxColors = {0, 0x000000, 0xFF0000, 0xC00000, 0x800080, 0xC000C0, 0x008000, 0x0000FF, 0x000080};
        mGlobal::CommentAutoSize = mGlobal::CommentAlignment = mGlobal::CommentUCase = mGlobal::ShowTipOday = true;
        mGlobal::CommentChar = "*";
        mGlobal::CommentSize = 20;
        mGlobal::ToolNames.clear();
        mGlobal::ToolPaths.clear();
        mGlobal::AddingTool = false;
        m_prompts.messages.clear();
        m_prompts.nextColor = QColor();
        m_syntaxApplied = m_toolsApplied = 0;
    }

    void opensWithStoredSettingsAndColouredPreviews()
    {
        mGlobal::AutoSyntaxType = 1;
        mGlobal::ColorStringElements = true;
        mGlobal::SyntaxColors[3] = 0x123456;
        mGlobal::CommentAutoSize = mGlobal::CommentAlignment = mGlobal::ShowTipOday = false;
        mGlobal::CommentSize = 7;
        mGlobal::CommentChar = "#";
        mGlobal::ToolNames = {"One", "Two"};
        mGlobal::ToolPaths = {"/bin/one", "/bin/two"};
        auto d = makeDialog(2);
        QVERIFY(d->optSyntaxType[1]->isChecked() && d->chkColorString->isChecked());
        QCOMPARE(d->cmdSyntaxColor[2]->Color(), 0x123456u);
        QVERIFY(d->optBlockSize[1]->isChecked() && d->optComAlign[0]->isChecked());
        QCOMPARE(d->txtBlockSize->text() + d->txtComChar->text(), QStringLiteral("7#"));
        QVERIFY(!d->chkShowTips->isChecked() && !d->chkCFG->isChecked());
        QCOMPARE(d->lvwUserTools->topLevelItem(1)->text(1), QStringLiteral("/bin/two"));
        QVERIFY(!d->IsApplyEnabled() && m_prompts.messages.isEmpty());

        // The previews are coloured without a document and leave nothing to undo.
        QVERIFY(hasStyle(d->rtfEdit, Command) && hasStyle(d->rtfEdit, Comment) && !d->rtfEdit->CanUndo());
        QVERIFY(d->rtfComment->Text().rfind("//##", 0) == 0 && styleAt(d->rtfComment, 0) == Comment);
        // With colouring off the sample is all plain text.
        mGlobal::AutoSyntaxType = 0;
        auto plain = makeDialog(0);
        QVERIFY(!hasStyle(plain->rtfEdit, Command) && !hasStyle(plain->rtfEdit, Comment));

        // A missing sample is reported and the dialog still opens.
        mGlobal::QVersion = "Q9";
        Error reported;
        fOptions::Hooks hooks;
        hooks.reportError = [&](const Error &e) { reported = e; };
        fOptions missing(m_prompts, hooks);
        QCOMPARE(reported.code, ErrorCode::FileNotFound);
        QVERIFY(missing.rtfComment->Text().find("YOUR TEXT HERE") != std::string::npos);
    }

    void syntaxEnableRulesAndDisabledRowsKeepTheirColours()
    {
        auto d = makeDialog(0);
        for (int k = 0; k < 8; ++k)
            d->cmdSyntaxColor[k]->SetColor(0x010101u * static_cast<unsigned>(k + 1));
        clickBox(d->optSyntaxType[0]);
        QVERIFY(d->IsApplyEnabled() && !d->chkColorString->isEnabled());
        for (int k = 0; k < 8; ++k)
            QVERIFY(d->cmdSyntaxColor[k]->isEnabled() == (k == 0) && d->lblSyntaxColor[k]->isEnabled() == (k == 0));
        // Only the enabled row is stored; the preview follows.
        QVERIFY(d->ApplyOptions(0));
        QVERIFY(mGlobal::AutoSyntaxType == 0 && mGlobal::SyntaxColors[1] == 0x010101u);
        QCOMPARE(mGlobal::SyntaxColors[2], 0xFF0000u);
        QCOMPARE(iniValue("Font", "SyntaxColor1"), std::string("<missing>"));
        QCOMPARE(styleAt(d->rtfEdit, 0), static_cast<int>(PlainText));

        // Colouring string contents: every row but "Strings", also after
        // another mode is clicked.
        clickBox(d->optSyntaxType[2]);
        QVERIFY(d->cmdSyntaxColor[7]->isEnabled());
        clickBox(d->chkColorString);
        clickBox(d->optSyntaxType[1]);
        QVERIFY(!d->cmdSyntaxColor[7]->isEnabled() && !d->lblSyntaxColor[7]->isEnabled());
        QVERIFY(d->cmdSyntaxColor[6]->isEnabled());
        QVERIFY(d->ApplyOptions(0));
        QVERIFY(mGlobal::ColorStringElements && mGlobal::SyntaxColors[7] == 0x070707u);
        QCOMPARE(mGlobal::SyntaxColors[8], 0x000080u);
        QCOMPARE(iniValue("Font", "SyntaxColor7"), std::string("<missing>"));
    }

    void darkPresetSetsEveryColourAndTheBackground()
    {
        mGlobal::BGColor = 0xFFFFFF;
        auto d = makeDialog(0);
        // Colouring by character with string contents: the Strings row is
        // disabled, yet a preset changes the background, so it goes too.
        clickBox(d->chkColorString);
        QVERIFY(!d->cmdSyntaxColor[7]->isEnabled());
        QTest::mouseClick(d->cmdPresetDark, Qt::LeftButton);
        QVERIFY(d->IsApplyEnabled());
        for (int k = 0; k < 8; ++k)
            QCOMPARE(d->cmdSyntaxColor[k]->Color(), kDarkPreset.syntax[static_cast<size_t>(k)]);
        QCOMPARE(mGlobal::BGColor, 0xFFFFFFu); // nothing changes before Apply
        QVERIFY(d->ApplyOptions(0));
        QCOMPARE(mGlobal::BGColor, kDarkPreset.background);
        QCOMPARE(iniValue("Font", "BGColor"), std::to_string(kDarkPreset.background));
        for (int k = 0; k < 8; ++k)
            QCOMPARE(mGlobal::SyntaxColors[static_cast<size_t>(k + 1)], kDarkPreset.syntax[static_cast<size_t>(k)]);
        QCOMPARE(iniValue("Font", "SyntaxColor7"), std::to_string(kDarkPreset.syntax[7]));
        QCOMPARE(m_syntaxApplied, 1);

        // Back to the default colours; a later Apply without a preset leaves
        // the background alone.
        QTest::mouseClick(d->cmdPresetDefault, Qt::LeftButton);
        QVERIFY(d->ApplyOptions(0));
        QCOMPARE(mGlobal::BGColor, kLightPreset.background);
        QCOMPARE(mGlobal::SyntaxColors[2], kLightPreset.syntax[1]);
        mGlobal::BGColor = 0x102030;
        QVERIFY(d->ApplyOptions(0));
        QCOMPARE(mGlobal::BGColor, 0x102030u);
        mGlobal::BGColor = 0xFFFFFF;
    }

    void switchingPagesAppliesAndCancelKeepsWhatWasApplied()
    {
        auto d = makeDialog(0);
        m_prompts.nextColor = QColor(0x12, 0x34, 0x56);
        d->cmdSyntaxColor_Click(1);
        QVERIFY(d->cmdSyntaxColor[1]->Color() == 0x563412u && d->IsApplyEnabled());
        QCOMPARE(mGlobal::SyntaxColors[2], 0xFF0000u); // not yet applied
        m_prompts.nextColor = QColor(); // a cancelled colour dialog changes nothing
        d->cmdSyntaxColor_Click(1);
        QCOMPARE(d->cmdSyntaxColor[1]->Color(), 0x563412u);

        d->tabOptions->setCurrentIndex(3);
        QCOMPARE(mGlobal::SyntaxColors[2], 0x563412u);
        QCOMPARE(iniValue("Font", "SyntaxColor1"), std::to_string(0x563412));
        QCOMPARE(iniValue("General", "AutoSyntaxType"), std::string("2"));
        QVERIFY(m_syntaxApplied == 1 && !d->IsApplyEnabled() && d->tabOptions->currentIndex() == 3);
        d->tabOptions->setCurrentIndex(0);
        d->tabOptions->setCurrentIndex(3);
        QCOMPARE(m_syntaxApplied, 1); // switching without changes applies nothing

        // Apply stores the page and keeps the dialog; Cancel then drops only
        // what came after.
        clickBox(d->chkShowTips);
        QTest::mouseClick(d->cmdOK[1], Qt::LeftButton);
        QVERIFY(!d->IsApplyEnabled() && d->isVisible());
        QCOMPARE(iniValue("General", "ShowTipOday"), std::string("False"));
        clickBox(d->chkShowTips);
        QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
        QVERIFY(d->result() == QDialog::Rejected && !mGlobal::ShowTipOday);
        QCOMPARE(iniValue("General", "ShowTipOday"), std::string("False"));

        // OK applies the current page.
        auto ok = makeDialog(3);
        clickBox(ok->chkShowTips);
        QTest::mouseClick(ok->cmdOK[0], Qt::LeftButton);
        QVERIFY(ok->result() == QDialog::Accepted);
        QCOMPARE(iniValue("General", "ShowTipOday"), std::string("True"));
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
        QVERIFY(!d.chkCFG->isChecked() && d.chkRC->isChecked());
        d.chkCFG->setChecked(true);
        QVERIFY(d.ApplyOptions(3));
        QVERIFY(!d.chkCFG->isChecked() && d.chkRC->isChecked());
        // An unchecked box is left alone.
        d.chkRC->setChecked(false);
        QVERIFY(d.ApplyOptions(3));
        QCOMPARE(asked, (QStringList{"cfg", "rc"}));
    }

    // Through the frame: a desktop entry the user changed is asked about once
    // for both boxes, and kept on No while both types are associated.
    void frameAsksOnceAboutAChangedDesktopEntry()
    {
        QTemporaryDir xdg;
        const auto at = [&xdg](const char *name) { return QFile::encodeName(xdg.filePath(name)).toStdString(); };
        const test::EnvOverride data("XDG_DATA_HOME", at("data").c_str()), config("XDG_CONFIG_HOME", at("config").c_str()),
            dataDirs("XDG_DATA_DIRS", at("sysdata").c_str()), configDirs("XDG_CONFIG_DIRS", at("sysconfig").c_str());
        QVERIFY(QDir(xdg.path()).mkpath(QStringLiteral("data/applications")));
        const QString entry = xdg.filePath(QStringLiteral("data/applications/varkel.desktop"));
        const QByteArray mine = "[Desktop Entry]\nType=Application\nName=My Varkel\nExec=varkel %f\n";
        {
            QFile f(entry);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(mine);
        }
        fMain frame;
        auto prompts = std::make_unique<ScriptedPrompts>();
        ScriptedPrompts *asked = prompts.get();
        frame.SetPrompts(std::move(prompts));
        frame.MDIForm_Load(QString());
        onModal<fOptions>([](fOptions *d) {
            QCOMPARE(d->tabOptions->currentIndex(), 3);
            QVERIFY(!d->chkCFG->isChecked() && !d->chkRC->isChecked());
            clickBox(d->chkCFG);
            clickBox(d->chkRC);
            QTest::mouseClick(d->cmdOK[0], Qt::LeftButton);
        });
        frame.Dispatch("cmnuOptions");
        QCOMPARE(asked->messages, QStringList{QString::fromStdString(ReplaceFileQuestion(entry.toStdString()))});
        QFile f(entry);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), mine);
        QCOMPARE(GetRegString(".cfg", ""), std::string("Varkel.Config"));
        QCOMPARE(GetRegString(".rc", ""), std::string("Varkel.Config"));
        frame.close();
    }

    void emptyBlockCharacterIsRefused()
    {
        auto d = makeDialog(1);
        d->txtComChar->setFocus();
        QTest::keyClick(d->txtComChar, Qt::Key_Backspace);
        QCOMPARE(d->txtComChar->text(), QString());
        QTest::mouseClick(d->cmdOK[0], Qt::LeftButton);
        QCOMPARE(m_prompts.messages, (QStringList{"Please enter a Block Character."}));
        QVERIFY(d->isVisible() && d->IsApplyEnabled());
        QCOMPARE(mGlobal::CommentChar, std::string("*"));
        QCOMPARE(iniValue("General", "CommentChar"), std::string("<missing>"));

        // Leaving the page is refused too: the tab returns to the page.
        d->tabOptions->setCurrentIndex(3);
        QCOMPARE(m_prompts.messages.size(), 2);
        QCOMPARE(d->tabOptions->currentIndex(), 1);

        QTest::keyClicks(d->txtComChar, "=");
        QTest::mouseClick(d->cmdOK[1], Qt::LeftButton);
        QCOMPARE(iniValue("General", "CommentChar"), std::string("="));
        QVERIFY(d->rtfComment->Text().rfind("//===", 0) == 0);
    }

    void commentPageFiltersAndChoices()
    {
        auto d = makeDialog(1);
        QLineEdit *size = d->txtBlockSize;
        QVERIFY(!size->isEnabled() && !d->lblBlockSize->isEnabled());
        clickBox(d->optBlockSize[1]);
        QVERIFY(size->isEnabled() && d->lblBlockSize->isEnabled());
        // The choice applies at once.
        QCOMPARE(iniValue("General", "CommentAutoSize"), std::string("False"));
        QVERIFY(!d->IsApplyEnabled());

        size->setFocus();
        size->clear();
        QTest::keyClicks(size, "1a-23");
        QCOMPARE(size->text(), QStringLiteral("12")); // digits only, two at most
        // Enter applies the page and is not inserted.
        QTest::keyClick(size, Qt::Key_Return);
        QCOMPARE(size->text(), QStringLiteral("12"));
        QCOMPARE(iniValue("General", "CommentSize"), std::string("12"));
        QVERIFY(!d->IsApplyEnabled() && d->isVisible());

        QLineEdit *ch = d->txtComChar;
        ch->setFocus();
        ch->selectAll();
        typeChar(ch, QChar(0x20AC)); // not an 8-bit character
        QCOMPARE(ch->text(), QStringLiteral("*"));
        typeChar(ch, QChar(0xA7));
        QTest::keyClicks(ch, "a"); // one character
        QCOMPARE(ch->text(), QString(QChar(0xA7)));
        QTest::keyClick(ch, Qt::Key_Enter);
        QCOMPARE(mGlobal::CommentChar, std::string("\xA7"));

        clickBox(d->optComAlign[0]);
        QCOMPARE(iniValue("General", "CommentAlignment"), std::string("False"));
        clickBox(d->chkComUCase);
        QCOMPARE(iniValue("General", "CommentUCase"), std::string("False"));
        QVERIFY(d->rtfComment->Text().find("//\xA7 Your Text Here") != std::string::npos);
    }

    // --- user tools --------------------------------------------------------

    void toolDialogChecksAndCancel()
    {
        QTreeWidget list;
        new QTreeWidgetItem(&list, QStringList{"Old", "/old"});
        auto *row = new QTreeWidgetItem(&list);
        list.setCurrentItem(row);
        mGlobal::AddingTool = true;
        int changed = 0;
        fAddTool d(&list, m_prompts, [&] { ++changed; });
        d.show();
        // The length is checked first, even with the path empty.
        d.txtToolName->setText(QString(33, 'x'));
        d.cmdOK_Click();
        QCOMPARE(m_prompts.messages, QStringList{"Tool Name cannot exceed 32 characters"});
        QVERIFY(d.isVisible());
        QCOMPARE(changed, 0);

        // Browse starts at the typed path and keeps it when cancelled.
        d.txtToolName->setText(QString(32, 'x'));
        d.txtToolPath->setText("/usr/bin/old");
        d.cmdBrowse_Click();
        QCOMPARE(m_prompts.lastInitialFile, QStringLiteral("/usr/bin/old"));
        QCOMPARE(d.txtToolPath->text(), QStringLiteral("/usr/bin/old"));
        m_prompts.nextFile = " /opt/My Tools/run ";
        d.cmdBrowse_Click();
        d.cmdOK_Click();
        QVERIFY(!d.isVisible());
        QCOMPARE(row->text(0), QString(32, 'x'));
        QCOMPARE(row->text(1), QStringLiteral(" /opt/My Tools/run ")); // taken as given
        QVERIFY(!mGlobal::AddingTool);
        QCOMPARE(changed, 1);

        // Cancel in add mode (button or window close) removes the new row.
        for (bool closeWindow : {false, true}) {
            list.setCurrentItem(new QTreeWidgetItem(&list));
            mGlobal::AddingTool = true;
            fAddTool add(&list, m_prompts, {});
            add.show();
            closeWindow ? void(add.close()) : QTest::mouseClick(add.cmdCancel, Qt::LeftButton);
            QCOMPARE(list.topLevelItemCount(), 2);
            QVERIFY(!mGlobal::AddingTool);
        }
        // In edit mode Cancel changes nothing.
        list.setCurrentItem(list.topLevelItem(0));
        fAddTool edit(&list, m_prompts, {});
        edit.txtToolName->setText("New");
        edit.cmdCancel_Click();
        QCOMPARE(names(&list), (QStringList{"Old", QString(32, 'x')}));
    }

    void toolPageAddEditDeleteMoveSort()
    {
        mGlobal::ToolNames = {"bravo", "Alpha", "charlie"};
        mGlobal::ToolPaths = {"/b", "/a", "/c"};
        auto d = makeDialog(2);
        QTreeWidget *list = d->lvwUserTools;
        onModal<fAddTool>([](fAddTool *t) {
            t->txtToolName->setText("delta");
            t->txtToolPath->setText("/d");
            QTest::mouseClick(t->cmdOK, Qt::LeftButton);
        });
        d->cmdAdd_Click();
        QCOMPARE(names(list), (QStringList{"bravo", "Alpha", "charlie", "delta"}));
        QVERIFY(d->ApplyOptions(2));
        // Add, then cancel: no row is left behind, nothing changed.
        onModal<fAddTool>([](fAddTool *t) { QTest::mouseClick(t->cmdCancel, Qt::LeftButton); });
        d->cmdAdd_Click();
        QCOMPARE(names(list).size(), 4);
        QVERIFY(!d->IsApplyEnabled());

        list->setCurrentItem(list->topLevelItem(1));
        onModal<fAddTool>([](fAddTool *t) {
            QCOMPARE(t->txtToolName->text(), QStringLiteral("Alpha"));
            t->txtToolPath->setText("/a2");
            QTest::mouseClick(t->cmdOK, Qt::LeftButton);
        });
        d->cmdEdit_Click();
        QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("/a2"));

        // Moving stops at either end and keeps the row selected.
        d->cmdMoveItem_Click(0);
        d->cmdMoveItem_Click(0);
        QCOMPARE(names(list), (QStringList{"Alpha", "bravo", "charlie", "delta"}));
        QCOMPARE(list->currentItem(), list->topLevelItem(0));
        list->setCurrentItem(list->topLevelItem(3));
        d->cmdMoveItem_Click(1);
        d->cmdMoveItem_Click(0);
        QCOMPARE(names(list), (QStringList{"Alpha", "bravo", "delta", "charlie"}));
        QCOMPARE(list->currentItem()->text(0), QStringLiteral("delta"));

        // The first header click sorts descending, the next ascending (case-blind).
        d->lvwUserTools_ColumnClick(0);
        QCOMPARE(names(list), (QStringList{"delta", "charlie", "bravo", "Alpha"}));
        d->lvwUserTools_ColumnClick(0);
        QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("/a2")); // paths travel with names

        list->setCurrentItem(list->topLevelItem(1));
        d->cmdDelete_Click();
        m_toolsApplied = 0;
        d->tabOptions->setCurrentIndex(3); // leaving the page applies it
        QCOMPARE(m_toolsApplied, 1);
        QCOMPARE(mGlobal::ToolNames, (std::vector<std::string>{"Alpha", "charlie", "delta"}));
        QCOMPARE(mGlobal::ToolPaths, (std::vector<std::string>{"/a2", "/c", "/d"}));
        QCOMPARE(iniValue("User Tools", "NumUserTools"), std::string("3"));
        QCOMPARE(iniValue("User Tools", "ToolName3"), std::string("delta"));
    }

    void startingAToolRunsNoShell()
    {
        QTemporaryDir dir;
        const QString base = dir.path();
        const std::string b = base.toStdString();
        QVERIFY(StartUserTool("touch '" + b + "/a b' " + b + "/c\\ d " + b + "/x;touch " + b + "/y " + b + "/$HOME"));
        QTRY_VERIFY(QFile::exists(base + "/y"));
        for (const char *made : {"/a b", "/c d", "/x;touch", "/$HOME"})
            QTRY_VERIFY2(QFile::exists(base + made), made);
        QVERIFY(!QFile::exists(base + "/x"));

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

    // With no document open the options dialog is still a form to colour:
    // applying "No Syntax Highlighting" recolours the insertion boxes. Tool
    // items carry the tools picture and show their names as typed.
    void frameWithoutDocuments()
    {
        WriteUserTools(mGlobal::IniPath, {"Q&A Notes"}, {"true"});
        fMain frame;
        frame.SetPrompts(std::make_unique<ScriptedPrompts>());
        frame.MDIForm_Load(QString());
        QAction *tool = frame.commands().Menu()->Action("cmnuUserTool1");
        QVERIFY(tool);
        QCOMPARE(tool->text(), QStringLiteral("Q&&A Notes"));
        QVERIFY(!tool->icon().isNull());

        CommandBar *bar = frame.bindings().InsertionTools();
        const auto textColor = [bar] {
            return bar->cboCommand[1]->palette().color(QPalette::Active, QPalette::Text);
        };
        QCOMPARE(textColor(), QColor(0, 0, 0xFF)); // commands in blue
        onModal<fOptions>([](fOptions *d) {
            clickBox(d->optSyntaxType[0]);
            QTest::mouseClick(d->cmdOK[0], Qt::LeftButton);
        });
        frame.Dispatch("cmnuSyntaxColors");
        QVERIFY(frame.commands().Menu()->IsChecked("cmnuAutoSyntax_None"));
        QCOMPARE(textColor(), QColor(0, 0, 0)); // plain text
        frame.close();
    }

    void frameMenusDispatchAndDocuments()
    {
        const QString marker = m_dir.filePath("tool-ran");
        std::vector<std::string> toolNames, toolPaths;
        for (int n = 1; n <= 3; ++n) {
            toolNames.push_back("Tool " + std::to_string(n));
            toolPaths.push_back("touch " + marker.toStdString() + std::to_string(n));
        }
        WriteUserTools(mGlobal::IniPath, toolNames, toolPaths);
        fMain frame;
        frame.SetPrompts(std::make_unique<ScriptedPrompts>());
        frame.MDIForm_Load(QString());
        QCOMPARE(frame.commands().ToolsInMenu(), 3);
        QMenu *tools = frame.commands().Menu()->Submenu("cmnuToolsTOP");
        QCOMPARE(tools->actions().last()->text(), QStringLiteral("Tool 3")); // at the end of the menu
        QCOMPARE(frame.commands().Menu()->ItemData(frame.commands().Menu()->IndexForKey("cmnuUserTool3")), 3);
        frame.commands().m_cMenu_Click(frame.commands().Menu()->IndexForKey("cmnuUserTool2"));
        QTRY_VERIFY(QFile::exists(marker + "2"));
        QVERIFY(!QFile::exists(marker + "1"));

        // A document whose state the dialog must not touch.
        const int doc = frame.documents().NewConfig();
        RichEdit *e = frame.documents().Editor(doc)->rtfEdit;
        e->SetSelText("bind x \"+attack\"\r\n");
        frame.documents().Docs()[doc].Modified = false;
        onModal<fOptions>([](fOptions *d) {
            QCOMPARE(d->tabOptions->currentIndex(), 0);
            clickBox(d->optSyntaxType[0]);
            QTest::mouseClick(d->cmdOK[0], Qt::LeftButton);
        });
        frame.Dispatch("cmnuSyntaxColors");
        QVERIFY(frame.commands().Menu()->IsChecked("cmnuAutoSyntax_None"));
        QVERIFY(!frame.documents().Docs()[doc].Modified);
        QVERIFY(e->CanUndo());
        QCOMPARE(styleAt(e, 0), static_cast<int>(PlainText));

        // The tool page: two tools deleted, then OK rebuilds the menu in place
        // ("REPLACE" after the count fell from 3 to 1).
        onModal<fOptions>([](fOptions *d) {
            QCOMPARE(d->tabOptions->currentIndex(), 2);
            d->lvwUserTools->setCurrentItem(d->lvwUserTools->topLevelItem(1));
            d->cmdDelete_Click();
            d->cmdDelete_Click();
            QTest::mouseClick(d->cmdOK[0], Qt::LeftButton);
        });
        frame.Dispatch("cmnuCfgUserTools");
        QCOMPARE(frame.commands().ToolsInMenu(), 1);
        QCOMPARE(frame.commands().Menu()->Caption("cmnuUserTool1"), QStringLiteral("Tool 1"));
        QCOMPARE(frame.commands().Menu()->IndexForKey("cmnuUserTool2"), 0);
        QCOMPARE(frame.commands().Menu()->IndexForKey("cmnuUserTool3"), 0);
        QCOMPARE(tools->actions().last()->text(), QStringLiteral("Tool 1"));
        QVERIFY(frame.commands().Menu()->IndexForKey("cmnuCfgUserTools") > 0);
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
        frame.documents().Docs()[doc].Modified = false;
        frame.close();
    }
};

QTEST_MAIN(TestOptions)
#include "tst_options.moc"

// Scripts in either encoding: the bytes survive opening, saving and
// reopening in the other encoding; text from outside (typing, input methods,
// the clipboard, drops, Find and Replace, the insertion tools) becomes the
// script's bytes or is refused; the status bar and the Edit menu tell and
// switch the encoding.

#include "bindings/gui/bindingstable.h"
#include "bindings/gui/commandbar.h"
#include "bindings/gui/devicepanel.h"
#include "bindings/gui/insertbutton.h"
#include "commands/gui/replacedialog.h"
#include "documents/gui/fedit.h"
#include "documents/gui/richedit.h"
#include "support/guitest.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDirIterator>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QAbstractItemModel>
#include <QMimeData>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace varkel;
using namespace varkel::test;

namespace {
QByteArray bytesOf(const RichEdit *e)
{
    const std::string_view v = e->TextView();
    return QByteArray(v.data(), static_cast<qsizetype>(v.size()));
}

QByteArray everyByte()
{
    QByteArray b;
    for (int c = 0; c < 256; ++c)
        b.append(static_cast<char>(c));
    return b + "\r\nbind x y";
}

long codePage(const RichEdit *e)
{
    return e->SendScintilla(QsciScintillaBase::SCI_GETCODEPAGE);
}

const QString kEuro = QString(QChar(0x20AC));

// Types text a key at a time, as a keyboard layout that has those keys would.
void typeText(QWidget *w, const QString &text)
{
    for (const QChar c : text) {
        const int key = c.toUpper().unicode();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}
} // namespace

class TestEncodings : public QObject {
    Q_OBJECT
private slots:
    void bytesSurviveOpenSaveAndReopenInBothEncodings()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        static const char kBomInvalid[] = "\xEF\xBB\xBF" "say caf\xE9 \xC3\x28\0\r\n";
        struct Case {
            const char *name;
            QByteArray bytes;
            Encoding found;
        };
        std::vector<Case> cases{
            {"every-byte.cfg", everyByte(), Encoding::Latin1},
            {"empty.cfg", QByteArray(), Encoding::Latin1},
            {"ascii.cfg", QByteArray("bind x \"say hi\"\r\n"), Encoding::Latin1},
            {"invalid.cfg", QByteArray("say \xC3\x28 \xE2\x82 \xE9\xFF\r\n"), Encoding::Latin1},
            {"utf8.cfg", QByteArray("name \"J\xC3\xA9r\xC3\xB4me \xE2\x82\xAC\xF0\x9F\x98\x80\"\n"), Encoding::Utf8},
            {"bom.cfg", QByteArray("\xEF\xBB\xBF" "bind x y\r\n"), Encoding::Utf8},
            {"bom-only.cfg", QByteArray("\xEF\xBB\xBF"), Encoding::Utf8},
            // A byte-order mark makes the script UTF-8 even with ill-formed
            // sequences after it: they stay as they are.
            {"bom-invalid.cfg", QByteArray(kBomInvalid, sizeof kBomInvalid - 1), Encoding::Utf8},
        };
        QDirIterator it(QStringLiteral(VARKEL_SHARED_DIR "/corpus"), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QByteArray bytes = FrameFixture::read(file);
            cases.push_back({nullptr, bytes, DetectEncoding(std::string_view(bytes.constData(), bytes.size()))});
        }
        int n = 0;
        for (const Case &c : cases) {
            const QString file = fx.write(QStringLiteral("case%1.cfg").arg(++n), c.bytes);
            const char *label = c.name ? c.name : "corpus file";
            f.documents().OpenConfig(file);
            const int d = f.documents().ActiveDoc();
            RichEdit *e = f.documents().ActiveEditor();
            QVERIFY2(d > 0 && e, label);
            QVERIFY2(f.documents().Docs()[d].TextEncoding == c.found, label);
            QCOMPARE(codePage(e), c.found == Encoding::Utf8 ? 65001L : 0L);
            QCOMPARE(bytesOf(e), c.bytes);
            QVERIFY(f.documents().SaveConfig(d, file.toStdString()));
            QVERIFY2(FrameFixture::read(file) == c.bytes, label);

            // The same bytes read the other way, and saved again.
            const Encoding other = c.found == Encoding::Utf8 ? Encoding::Latin1 : Encoding::Utf8;
            f.documents().ReopenAs(other);
            QVERIFY2(f.documents().Docs()[d].TextEncoding == other, label);
            QCOMPARE(codePage(e), other == Encoding::Utf8 ? 65001L : 0L);
            QCOMPARE(bytesOf(e), c.bytes);
            QVERIFY2(!f.documents().Docs()[d].Modified, label);
            QVERIFY(f.documents().SaveConfig(d, file.toStdString()));
            QVERIFY2(FrameFixture::read(file) == c.bytes, label);
            f.documents().UnloadDocument(d);
        }
        QVERIFY(fx.prompts->asked.isEmpty());
    }

    void typedTextTheEncodingCannotHoldIsRefused()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.documents().OpenConfig(fx.write("latin.cfg", "say \r\n"));
        RichEdit *e = f.documents().ActiveEditor();
        e->setFocus();
        e->SetSelStart(4);
        QSignalSpy refused(e, &RichEdit::inputRefused);
        typeText(e, QStringLiteral("\u00E9"));
        QCOMPARE(bytesOf(e), QByteArray("say \xE9\r\n"));
        typeText(e, kEuro);
        QCOMPARE(bytesOf(e), QByteArray("say \xE9\r\n")); // no "?" either
        QCOMPARE(refused.count(), 1);
        QCOMPARE(refused.at(0).at(0).toString(), kEuro);
        QVERIFY2(f.commands().StatusPanelText(1).contains(kEuro) &&
                     f.commands().StatusPanelText(1).contains(QStringLiteral("Latin-1")),
                 qPrintable(f.commands().StatusPanelText(1)));

        // An input method's composed text is refused the same way.
        QInputMethodEvent composed(QString(), {});
        composed.setCommitString(QStringLiteral("x") + kEuro);
        QApplication::sendEvent(e, &composed);
        QCOMPARE(bytesOf(e), QByteArray("say \xE9\r\n"));
        QCOMPARE(refused.count(), 2);
        QInputMethodEvent held(QString(), {});
        held.setCommitString(QStringLiteral("\u00FCx"));
        QApplication::sendEvent(e, &held);
        QCOMPARE(bytesOf(e), QByteArray("say \xE9\xFCx\r\n"));

        // A UTF-8 script takes the same keys as UTF-8.
        f.documents().OpenConfig(fx.write("utf8.cfg", "say \xC3\xA9\r\n"));
        e = f.documents().ActiveEditor();
        e->setFocus();
        e->SetSelStart(6);
        typeText(e, kEuro + QStringLiteral("\u00E9"));
        QCOMPARE(bytesOf(e), QByteArray("say \xC3\xA9\xE2\x82\xAC\xC3\xA9\r\n"));
    }

    void pastedAndDroppedTextTheEncodingCannotHoldIsRefused()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.documents().OpenConfig(fx.write("latin.cfg", "bind x y\r\n"));
        RichEdit *e = f.documents().ActiveEditor();
        QSignalSpy refused(e, &RichEdit::inputRefused);
        e->SetSel(5, 1);
        QApplication::clipboard()->setText(QStringLiteral("caf\u00E9 ") + kEuro);
        f.Dispatch("cmnuPaste");
        // Nothing is written and the selection stays.
        QCOMPARE(bytesOf(e), QByteArray("bind x y\r\n"));
        QCOMPARE(e->SelStart(), 5L);
        QCOMPARE(e->SelLength(), 1L);
        QCOMPARE(refused.count(), 1);
        QVERIFY(f.commands().StatusPanelText(1).contains(kEuro));
        QApplication::clipboard()->setText(QStringLiteral("caf\u00E9"));
        f.Dispatch("cmnuPaste");
        QCOMPARE(bytesOf(e), QByteArray("bind caf\xE9 y\r\n"));

        // Dropped text: refused whole, or written in the script's encoding.
        QMimeData data;
        data.setText(kEuro);
        const QPoint at(2, 3);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(e->viewport(), &enter);
        QCOMPARE(refused.count(), 1); // nothing said while the drag passes
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(e->viewport(), &drop);
        QCOMPARE(bytesOf(e), QByteArray("bind caf\xE9 y\r\n"));
        QCOMPARE(refused.count(), 2);
        // The control's own way in (the middle button's paste) takes the
        // same bytes.
        bool rectangular = false;
        QCOMPARE(e->fromMimeData(&data, rectangular), QByteArray());
        data.setText(QStringLiteral("\u00FF"));
        QCOMPARE(e->fromMimeData(&data, rectangular), QByteArray("\xFF"));

        // In a UTF-8 script the same text goes in as UTF-8.
        f.documents().OpenConfig(fx.write("utf8.cfg", "say \xC3\xA9\r\n"));
        e = f.documents().ActiveEditor();
        e->SetSelStart(4);
        QApplication::clipboard()->setText(QStringLiteral("caf\u00E9 ") + kEuro);
        f.Dispatch("cmnuPaste");
        QCOMPARE(bytesOf(e), QByteArray("say caf\xC3\xA9 \xE2\x82\xAC\xC3\xA9\r\n"));
    }

    void clipboardCarriesCharactersBetweenEncodings()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        const QString text = QStringLiteral("J\u00E9r\u00F4me ") + kEuro;
        f.documents().OpenConfig(fx.write("utf8.cfg", "name \"J\xC3\xA9r\xC3\xB4me \xE2\x82\xAC\"\n"));
        const int utf8Doc = f.documents().ActiveDoc();
        RichEdit *u = f.documents().ActiveEditor();
        u->SetSel(6, 12);
        f.Dispatch("cmnuCopy");
        QCOMPARE(QApplication::clipboard()->text(), text);
        // Cut and paste back: the same bytes.
        f.Dispatch("cmnuCut");
        QCOMPARE(bytesOf(u), QByteArray("name \"\"\n"));
        f.Dispatch("cmnuPaste");
        QCOMPARE(bytesOf(u), QByteArray("name \"J\xC3\xA9r\xC3\xB4me \xE2\x82\xAC\"\n"));

        // Latin-1 text copied reads as its characters; pasted into a UTF-8
        // script it becomes UTF-8, and back again.
        f.documents().OpenConfig(fx.write("latin.cfg", "say caf\xE9\xA0\xFF\r\n"));
        RichEdit *l = f.documents().ActiveEditor();
        l->SetSel(4, 6);
        f.Dispatch("cmnuCopy");
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("caf\u00E9\u00A0\u00FF"));
        f.documents().ActivateDocument(utf8Doc);
        u->SetSelStart(0);
        f.Dispatch("cmnuPaste");
        QVERIFY(bytesOf(u).startsWith("caf\xC3\xA9\xC2\xA0\xC3\xBFname"));
        u->SetSel(0, 5);
        f.Dispatch("cmnuCopy");
        f.documents().ActivateDocument(f.documents().DocOf(l));
        l->SetSelStart(0);
        f.Dispatch("cmnuPaste");
        QCOMPARE(bytesOf(l), QByteArray("caf\xE9say caf\xE9\xA0\xFF\r\n"));

        // The control's own copy (a drag out of it) speaks the same text.
        std::unique_ptr<QMimeData> out(u->toMimeData(QByteArray("\xE2\x82\xAC\xE9"), false));
        QCOMPARE(out->text(), kEuro + QStringLiteral("\u00E9"));
        out.reset(l->toMimeData(QByteArray("a\xE9\0b", 4), false));
        QCOMPARE(out->text(), QStringLiteral("a\u00E9") + QChar(0) + QStringLiteral("b"));
    }

    void findAndReplaceUseTheScriptsEncoding()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.documents().OpenConfig(fx.write("utf8.cfg", "bind x \"say \xC3\x84rger\"\r\nbind y \"say \xC3\xA4rger\"\r\n"));
        RichEdit *e = f.documents().ActiveEditor();
        // Letters of any alphabet match in either case.
        fx.prompts->inputAnswers.push_back(QStringLiteral("SAY \u00E4rger"));
        f.Dispatch("cmnuFind");
        QCOMPARE(e->SelStart(), 8L);
        QCOMPARE(e->SelLength(), 10L);
        f.Dispatch("cmnuFindNext");
        QCOMPARE(e->SelStart(), 29L);
        QCOMPARE(e->SelLength(), 10L);
        fx.prompts->inputAnswers.push_back(QStringLiteral("\u00C4rger"));
        f.Dispatch("cmnuFind");
        QCOMPARE(e->SelStart(), 12L);
        QCOMPARE(e->SelLength(), 6L);
        // A query the script cannot hold finds nothing.
        f.documents().OpenConfig(fx.write("latin.cfg", "say \xE4rger ? \x80\r\n"));
        RichEdit *l = f.documents().ActiveEditor();
        l->SetSelStart(0);
        fx.prompts->inputAnswers.push_back(kEuro);
        f.Dispatch("cmnuFind");
        QCOMPARE(l->SelStart(), 0L);
        QCOMPARE(l->SelLength(), 0L);
        // The last search goes from one encoding to the other as text.
        fx.prompts->inputAnswers.push_back(QStringLiteral("\u00E4RGER"));
        f.Dispatch("cmnuFind");
        QCOMPARE(l->SelStart(), 4L);
        QCOMPARE(l->SelLength(), 5L);

        // Replace: the query and the replacement in the script's bytes; a
        // replacement the script cannot hold is refused.
        f.Dispatch("cmnuReplace");
        ReplaceDialog *dialog = f.commands().replaceDialog();
        QVERIFY(dialog);
        QCOMPARE(dialog->findText(), QStringLiteral("\u00E4rger")); // the selection found
        dialog->setReplaceText(QStringLiteral("\u00FC ") + kEuro);
        QSignalSpy refused(l, &RichEdit::inputRefused);
        QCOMPARE(f.commands().ReplaceAll(), 0);
        QCOMPARE(bytesOf(l), QByteArray("say \xE4rger ? \x80\r\n"));
        QCOMPARE(refused.count(), 1);
        f.documents().ActivateDocument(f.documents().DocOf(e));
        dialog->setFindText(QStringLiteral("\u00E4RGER"));
        QCOMPARE(f.commands().ReplaceAll(), 2);
        QCOMPARE(bytesOf(e), QByteArray("bind x \"say \xC3\xBC \xE2\x82\xAC\"\r\nbind y \"say \xC3\xBC \xE2\x82\xAC\"\r\n"));
        QVERIFY(!dialog->matchCase());

        // A match may take other bytes than the query (the long s is an s):
        // the selection covers what matched, and Replace replaces it.
        e->SetSelStart(0);
        dialog->setFindText(QStringLiteral("\u017FAY \u00DC"));
        dialog->setReplaceText(QStringLiteral("!"));
        QVERIFY(f.commands().ReplaceStep(false));
        QCOMPARE(e->SelStart(), 8L);
        QCOMPARE(e->SelLength(), 6L);
        QVERIFY(f.commands().ReplaceStep(true));
        QCOMPARE(bytesOf(e), QByteArray("bind x \"! \xE2\x82\xAC\"\r\nbind y \"say \xC3\xBC \xE2\x82\xAC\"\r\n"));
        // So does Replace All, each match as long as it is.
        QCOMPARE(f.commands().ReplaceAll(), 1);
        QCOMPARE(bytesOf(e), QByteArray("bind x \"! \xE2\x82\xAC\"\r\nbind y \"! \xE2\x82\xAC\"\r\n"));
    }

    void statusPanelAndReopenCommands()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        const QByteArray utf8 = "say \xC3\xA9t\xC3\xA9\r\n";
        const QString utf8File = fx.write("utf8.cfg", utf8);
        f.documents().OpenConfig(utf8File);
        const int u = f.documents().ActiveDoc();
        QCOMPARE(f.commands().StatusPanelText(9), QStringLiteral("UTF-8"));
        QVERIFY(f.commands().Menu()->IsEnabled("cmnuReopenLatin1"));
        QVERIFY(!f.commands().Menu()->IsEnabled("cmnuReopenUtf8"));
        f.documents().OpenConfig(fx.write("latin.cfg", "say \xE9\r\n"));
        const int l = f.documents().ActiveDoc();
        QCOMPARE(f.commands().StatusPanelText(9), QStringLiteral("Latin-1"));
        // The panel has room for its text even in a narrow window.
        f.resize(640, 480);
        const auto *panel = f.findChild<QLabel *>(QStringLiteral("StatusPanel9"));
        QVERIFY(panel);
        QVERIFY(panel->minimumWidth() >= panel->fontMetrics().horizontalAdvance(QStringLiteral("Latin-1")));
        QVERIFY(!f.commands().Menu()->IsEnabled("cmnuReopenLatin1"));
        QVERIFY(f.commands().Menu()->IsEnabled("cmnuReopenUtf8"));
        f.documents().ActivateDocument(u);
        QCOMPARE(f.commands().StatusPanelText(9), QStringLiteral("UTF-8"));

        // A modified script is asked about first: Cancel keeps everything,
        // No reads the file again in the other encoding, the edit gone.
        RichEdit *e = f.documents().ActiveEditor();
        e->SetSelStart(0);
        e->SetSelText("x");
        QVERIFY(f.documents().Docs()[u].Modified);
        fx.prompts->askAnswers = {QMessageBox::Cancel, QMessageBox::No};
        f.Dispatch("cmnuReopenLatin1");
        QCOMPARE(fx.prompts->asked.size(), 1);
        QVERIFY(fx.prompts->asked.last().startsWith(QStringLiteral("Save changes to")));
        QVERIFY(f.documents().Docs()[u].TextEncoding == Encoding::Utf8);
        QVERIFY(bytesOf(e).startsWith("xsay"));
        f.Dispatch("cmnuReopenLatin1");
        QVERIFY(f.documents().Docs()[u].TextEncoding == Encoding::Latin1);
        QCOMPARE(bytesOf(e), utf8);
        QVERIFY(!f.documents().Docs()[u].Modified);
        QCOMPARE(f.commands().StatusPanelText(9), QStringLiteral("Latin-1"));
        QVERIFY(f.commands().Menu()->IsEnabled("cmnuReopenUtf8"));
        // Yes saves the edit, then reads the saved bytes.
        e->SetSelStart(0);
        e->SetSelText("y");
        fx.prompts->askAnswers = {QMessageBox::Yes};
        f.Dispatch("cmnuReopenUtf8");
        QCOMPARE(FrameFixture::read(utf8File), "y" + utf8);
        QCOMPARE(bytesOf(e), "y" + utf8);
        QCOMPARE(f.commands().StatusPanelText(9), QStringLiteral("UTF-8"));
        // Revert keeps the encoding chosen.
        f.documents().ReopenAs(Encoding::Latin1);
        e->SetSelText("z");
        fx.prompts->askAnswers = {QMessageBox::Yes};
        f.Dispatch("cmnuRevert");
        QVERIFY(f.documents().Docs()[u].TextEncoding == Encoding::Latin1);
        QCOMPARE(codePage(e), 0L);

        // A new script has no file: it changes encoding in place, its text
        // and its edits kept.
        const int n = f.documents().NewConfig();
        RichEdit *fresh = f.documents().ActiveEditor();
        QCOMPARE(f.commands().StatusPanelText(9), QStringLiteral("Latin-1"));
        fresh->SetSelText("say ");
        f.Dispatch("cmnuReopenUtf8");
        QVERIFY(f.documents().Docs()[n].TextEncoding == Encoding::Utf8);
        QVERIFY(f.documents().Docs()[n].Modified);
        fresh->setFocus();
        typeText(fresh, kEuro);
        QCOMPARE(bytesOf(fresh), QByteArray("say \xE2\x82\xAC"));

        fx.prompts->askAnswers = {QMessageBox::No, QMessageBox::No, QMessageBox::No};
        f.documents().CloseAllFiles();
        QVERIFY(!f.documents().Docs()[l].Closed || f.commands().StatusPanelText(9).isEmpty());
        QCOMPARE(f.commands().StatusPanelText(9), QString());
    }

    void insertionToolsWriteTheScriptsEncoding()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        CommandBar *bar = f.bindings().InsertionTools();
        f.documents().OpenConfig(fx.write("latin.cfg", "// keys\r\n"));
        RichEdit *l = f.documents().ActiveEditor();
        l->setFocus();
        l->SetSelStart(9);
        QSignalSpy refused(l, &RichEdit::inputRefused);
        bar->SetBindingRow("x", "say caf\xC3\xA9", Encoding::Utf8);
        QCOMPARE(bar->txtBinding->text(), QStringLiteral("say caf\u00E9"));
        QTest::mouseClick(bar->cmdInsertBinding, Qt::LeftButton);
        QCOMPARE(bytesOf(l), QByteArray("// keys\r\nbind X \"say caf\xE9\""));
        bar->txtBinding->setText(QStringLiteral("say ") + kEuro);
        l->SetSelStart(0);
        QTest::mouseClick(bar->cmdInsertBinding, Qt::LeftButton);
        QCOMPARE(bytesOf(l), QByteArray("// keys\r\nbind X \"say caf\xE9\""));
        QCOMPARE(refused.count(), 1);

        f.documents().OpenConfig(fx.write("utf8.cfg", "// cl\xC3\xA9s\r\n"));
        RichEdit *u = f.documents().ActiveEditor();
        u->setFocus();
        u->SetSelStart(u->TextLength());
        bar->SetBindingRow("x", "say \xE2\x82\xAC", Encoding::Utf8);
        QCOMPARE(bar->txtBinding->text(), QStringLiteral("say ") + kEuro);
        QTest::mouseClick(bar->cmdInsertBinding, Qt::LeftButton);
        QCOMPARE(bytesOf(u), QByteArray("// cl\xC3\xA9s\r\nbind X \"say \xE2\x82\xAC\""));

        // A comment block: its text in the script's encoding, upper-cased
        // by character; refused whole where a character has no place.
        u->SetSelStart(0);
        fx.prompts->inputAnswers.push_back(QStringLiteral("caf\u00E9 ") + kEuro);
        f.Dispatch("cmnuInsertComment");
        const QByteArray block = bytesOf(u).left(bytesOf(u).indexOf("// cl"));
        QVERIFY2(block.contains("CAF\xC3\x89 \xE2\x82\xAC") || block.contains("caf\xC3\xA9 \xE2\x82\xAC"), block.constData());
        QVERIFY(!block.contains('?'));
        // Its lines are as wide on screen as one another.
        const QStringList blockLines = QString::fromUtf8(block).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(blockLines.size(), 3);
        QCOMPARE(blockLines[1].size(), blockLines[0].size());
        f.documents().ActivateDocument(f.documents().DocOf(l));
        const QByteArray before = bytesOf(l);
        fx.prompts->inputAnswers.push_back(QStringLiteral("caf\u00E9 ") + kEuro);
        f.Dispatch("cmnuInsertComment");
        QCOMPARE(bytesOf(l), before);
        QCOMPARE(refused.count(), 2);
    }

    // Texts taken from a script read in that script's encoding, not in a
    // guess from their own bytes: a Latin-1 script's bytes that happen to be
    // UTF-8 show as Latin-1 and go back unchanged; a row of a UTF-8 script
    // the chain execs reads as UTF-8.
    void insertionToolsReadTextsInTheirScriptsEncoding()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        CommandBar *bar = f.bindings().InsertionTools();
        fx.write("other.cfg", "bind y \"say caf\xC3\xA9\"\r\n");
        f.documents().OpenConfig(fx.write("latin.cfg", "// caf\xE9\r\nbind x \"say \xC3\xA9t\xC3\xA9\"\r\n"
                                                       "alias \xC3\xA0" "bas \"say hi\"\r\nexec other\r\n"));
        RichEdit *e = f.documents().ActiveEditor();
        QVERIFY(e->GetEncoding() == Encoding::Latin1);
        f.bindings().RefreshBindings();
        const QString shown = QStringLiteral("say \u00C3\u00A9t\u00C3\u00A9");
        const int xSlot = f.colouring().Dictionary().KeyIndex("x");
        QCOMPARE(f.bindings().Panel()->ToolTipFor(xSlot), QStringLiteral("x = \"") + shown + QStringLiteral("\""));
        QCOMPARE(bar->cboCommand[kAliasRow]->itemText(0), QStringLiteral("\u00C3\u00A0bas"));

        const QByteArray before = bytesOf(e);
        bar->cboCommand[kAliasRow]->setCurrentIndex(0);
        QVERIFY(bar->cmdInsertCommand[kAliasRow]->isEnabled());
        e->SetSelStart(0);
        QTest::mouseClick(bar->cmdInsertCommand[kAliasRow], Qt::LeftButton);
        QCOMPARE(bytesOf(e), "\xC3\xA0" "bas" + before);

        QVERIFY(f.bindings().Panel()->ClickSlot(xSlot));
        QCOMPARE(bar->txtBinding->text(), shown);
        e->SetSelStart(e->TextLength());
        QTest::mouseClick(bar->cmdInsertBinding, Qt::LeftButton);
        QCOMPARE(bytesOf(e).count("say \xC3\xA9t\xC3\xA9"), 2);

        BindingsTable *table = f.bindings().Table();
        table->show();
        table->SetEffective(true);
        f.bindings().UpdateBindingsTable();
        QStringList commands;
        for (int i = 0; i < table->RowCount(); ++i)
            commands << table->CellText(i, BindingsTable::CommandColumn);
        QVERIFY2(commands.contains(shown), qPrintable(commands.join('|')));
        QVERIFY2(commands.contains(QStringLiteral("say caf\u00E9")), qPrintable(commands.join('|')));
    }

    void bindingsTableEditsInTheScriptsEncoding()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.documents().OpenConfig(fx.write("latin.cfg", "bind x \"say hi\"\r\nbind y \"say caf\xE9\"\r\n"));
        RichEdit *e = f.documents().ActiveEditor();
        QSignalSpy refused(e, &RichEdit::inputRefused);
        BindingsTable *table = f.bindings().Table();
        table->show();
        const auto rowOf = [table](const QString &key) {
            for (int i = 0; i < table->RowCount(); ++i)
                if (table->CellText(i, BindingsTable::KeyColumn) == key)
                    return i;
            return -1;
        };
        QCOMPARE(table->CellText(rowOf("y"), BindingsTable::CommandColumn), QStringLiteral("say caf\u00E9"));
        QAbstractItemModel *model = table->View()->model();
        model->setData(model->index(rowOf("x"), BindingsTable::CommandColumn), QStringLiteral("say \u00E0 bient\u00F4t"));
        QTRY_COMPARE(bytesOf(e), QByteArray("bind x \"say \xE0 bient\xF4t\"\r\nbind y \"say caf\xE9\"\r\n"));
        model->setData(model->index(rowOf("x"), BindingsTable::CommandColumn), QStringLiteral("say ") + kEuro);
        QTRY_COMPARE(refused.count(), 1);
        QCOMPARE(bytesOf(e), QByteArray("bind x \"say \xE0 bient\xF4t\"\r\nbind y \"say caf\xE9\"\r\n"));

        // A UTF-8 script takes it as UTF-8; the panel's tip reads it too.
        f.documents().OpenConfig(fx.write("utf8.cfg", "bind x \"say caf\xC3\xA9\"\r\n"));
        RichEdit *u = f.documents().ActiveEditor();
        const int xSlot = f.colouring().Dictionary().KeyIndex("x");
        QCOMPARE(f.bindings().Panel()->ToolTipFor(xSlot), QStringLiteral("x = \"say caf\u00E9\""));
        QTRY_COMPARE(table->CellText(rowOf("x"), BindingsTable::CommandColumn), QStringLiteral("say caf\u00E9"));
        model->setData(model->index(rowOf("x"), BindingsTable::CommandColumn), QStringLiteral("say ") + kEuro);
        QTRY_COMPARE(bytesOf(u), QByteArray("bind x \"say \xE2\x82\xAC\"\r\n"));
    }
};

QTEST_MAIN(TestEncodings)
#include "tst_encodings.moc"

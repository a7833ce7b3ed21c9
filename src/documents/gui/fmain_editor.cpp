// The frame's reactions to its document windows: activation, the caret
// position display, text and selection changes, word wrap and arranging.

#include "app/gui/fmain.h"
#include "app/mglobal.h"
#include "bindings/gui/devicepanel.h"
#include "commands/gui/popupmenu.h"
#include "app/recentfiles.h"
#include "commands/catalogue.h"
#include "documents/gui/childwindow.h"
#include "documents/gui/fedit.h"
#include "documents/gui/richedit.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabBar>
#include <QToolButton>

namespace varkel {

void fMain::OnWindowActivated(fEdit *w)
{
    if (!w || !m_docs.IsValid(w->Tag()) || m_docs[w->Tag()].Closed)
        return;
    const int tab = TabIndexOf(w->Tag());
    if (tab >= 0)
        tabOpenFiles->setCurrentIndex(tab);
    DisplayCharPos(w);
    SetEditStates();
    CheckWindowMenuItem();
    setWindowTitle(QStringLiteral("Varkel [") + QString::fromStdString(m_docs[w->Tag()].Path) + QStringLiteral("]"));
    RefreshDocumentBindings(w);
}

void fMain::DisplayCharPos(fEdit *w)
{
    if (!w || m_panels.size() < 4 || w != ActiveWindow())
        return;
    RichEdit *e = w->rtfEdit;
    const long s = e->SelStart();
    const int line = e->GetLineFromChar(s);
    const int count = e->LineCount();
    const long first = e->LineIndex(line);
    m_panels[1]->setText(QStringLiteral("Line: %1 of %2").arg(line + 1).arg(count));
    m_panels[2]->setText(QStringLiteral("Col: %1").arg(s - first));
    m_panels[3]->setText(QStringLiteral("Char: %1").arg(s));
}

void fMain::ClearCharPos()
{
    const auto panels = StatusPanels();
    for (size_t i = 1; i <= 3 && i < m_panels.size() && i < panels.size(); ++i)
        m_panels[i]->setText(QString::fromLatin1(panels[i].initialText.data(),
                                                 static_cast<qsizetype>(panels[i].initialText.size())));
}

void fMain::OnEditorTextChanged(fEdit *w)
{
    if (mGlobal::HiLiteBusy || mGlobal::Loading)
        return;
    const int d = w->Tag();
    if (!m_docs.IsValid(d) || m_docs[d].Closed)
        return;
    m_docs[d].Modified = true;
    SetEditStates();
}

void fMain::OnEditorSelectionChanged(fEdit *)
{
    if (!mGlobal::HiLiteBusy)
        SetEditStates();
}

void fMain::OnEditorKeyDown(fEdit *w, int key)
{
    // Colouring by line: the line the caret is about to leave is coloured.
    if (mGlobal::AutoSyntaxType == 2 &&
        (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Return || key == Qt::Key_Enter) &&
        w->rtfEdit->GetLineFromChar(w->rtfEdit->SelStart()) == mGlobal::LastLine)
        RealTimeHiLite(w, 0);
}

void fMain::OnEditorKeyUp(fEdit *w, int key)
{
    if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right) {
        DisplayCharPos(w);
    } else {
        if (mGlobal::AutoRefresh)
            RefreshDocumentBindings(w);
        if (mGlobal::AutoSyntaxType == 1)
            RealTimeHiLite(w, 0);
        else if (mGlobal::AutoSyntaxType == 2)
            mGlobal::LastLine = w->rtfEdit->GetLineFromChar(w->rtfEdit->SelStart());
    }
    UpdateLockLEDs();
    SetEditStates();
}

void fMain::OnEditorMouseUp(fEdit *w, Qt::MouseButton button)
{
    DisplayCharPos(w);
    SetEditStates();
    if (button == Qt::RightButton)
        ShowEditPopup();
    RichEdit *e = w->rtfEdit;
    if (mGlobal::AutoSyntaxType == 2 && e->SelLength() == 0) {
        const int line = e->GetLineFromChar(e->SelStart());
        if (line != mGlobal::LastLine) {
            RealTimeHiLite(w, 0, mGlobal::LastLine);
            mGlobal::LastLine = line;
        }
    }
}

void fMain::OnEditorFocus(fEdit *, bool gotFocus)
{
    if (gotFocus && m_panel)
        m_panel->ReleaseMouseButtons();
    if (gotFocus)
        SetEditStates();
    else
        mGlobal::InsertTarget = "EDITBOX";
}

void fMain::ToggleWordWrap()
{
    const int d = ActiveDoc();
    if (!d)
        return;
    DocRecord &doc = m_docs[d];
    doc.WordWrap = !doc.WordWrap;
    Editor(d)->rtfEdit->SetRightMargin(doc.WordWrap ? 0 : 65535);
    if (QToolButton *b = ToolButton("tbWordWrap"))
        b->setChecked(doc.WordWrap);
    m_cMenu->SetItemState("cmnuWordWrap", doc.WordWrap, std::nullopt);
}

void fMain::Arrange(int mode)
{
    if (!m_mdi->isVisible()) {
        // Before the frame is shown the area has no size yet: arrange on show.
        m_pendingArrange = mode;
        return;
    }
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *sub : m_mdi->subWindowList(QMdiArea::CreationOrder))
        if (sub->isVisible() && !sub->isMinimized())
            windows << sub;
    const QRect area = m_mdi->viewport()->rect();
    switch (mode) {
    case 0:
        m_mdi->cascadeSubWindows();
        break;
    case 1:
    case 2: {
        // Horizontal tiling stacks the windows one above the other at full
        // width; vertical tiling puts them side by side at full height.
        const int n = static_cast<int>(windows.size());
        if (n == 0)
            break;
        for (int i = 0; i < n; ++i) {
            QMdiSubWindow *sub = windows[i];
            if (sub->isMaximized())
                sub->showNormal();
            if (mode == 1) {
                const int top = area.height() * i / n, bottom = area.height() * (i + 1) / n;
                sub->setGeometry(0, top, area.width(), bottom - top);
            } else {
                const int left = area.width() * i / n, right = area.width() * (i + 1) / n;
                sub->setGeometry(left, 0, right - left, area.height());
            }
        }
        break;
    }
    case 3: {
        // Line the minimised windows up along the bottom edge.
        int x = 0;
        for (QMdiSubWindow *sub : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
            if (!sub->isMinimized())
                continue;
            const QSize size = sub->size();
            sub->move(x, area.height() - size.height());
            x += size.width();
        }
        break;
    }
    default:
        break;
    }
}

} // namespace varkel

namespace varkel {

void fMain::BuildWindowList()
{
    std::vector<fEdit *> windows;
    for (QMdiSubWindow *sub : m_mdi->subWindowList(QMdiArea::CreationOrder))
        if (auto *w = qobject_cast<fEdit *>(sub->widget()); w && m_docs.IsValid(w->Tag()) && !m_docs[w->Tag()].Closed)
            windows.push_back(w);
    const int n = static_cast<int>(windows.size());
    const int owner = m_cMenu->IndexForKey("cmnuWindowTOP");
    m_cMenu->RemoveChildren("cmnuWindowTOP");
    for (std::string_view key : {"cmnuTileHorz", "cmnuTileVert", "cmnuCascade", "cmnuArrange"}) {
        const MenuItemDef *def = FindMenuItem(key);
        const int index = m_cMenu->AddItem(def->caption, "", 0, owner, def->icon, false, n >= 1, def->key);
        CreateMenuHelp(m_menuHelp, index, def->help);
    }
    if (n > 0)
        m_cMenu->AddItem("-", "", 0, owner, "", false, true, "cmnuWindowSep");
    const int active = ActiveDoc();
    for (int i = 0; i < n; ++i) {
        const int tag = windows[static_cast<size_t>(i)]->Tag();
        const std::string &caption = m_docs[tag].Path;
        const int index = m_cMenu->AddItem("&" + std::to_string(i + 1) + ") " + TruncLongPath(caption), "", tag, owner,
                                           "imgChild", tag == active, true, "cmnuChild" + std::to_string(tag));
        CreateMenuHelp(m_menuHelp, index, caption);
    }
}

void fMain::CheckWindowMenuItem()
{
    const int active = ActiveDoc();
    if (active && m_cMenu->IndexForKey("cmnuChild" + std::to_string(active)))
        m_cMenu->SetRadioCheck(m_cMenu->IndexForKey("cmnuChild" + std::to_string(active)));
}

void fMain::OnChildMaximize(ChildWindow *w)
{
    if (!w)
        return;
    if (w->isMinimized())
        w->showNormal();
    const QSize area = m_mdi->viewport()->size();
    const QRect fill(QPoint(0, 0), area);
    if (w->geometry() == fill) {
        QRect r = w->savedRect;
        if (r.height() <= 0)
            r.setHeight(qRound(area.height() * 0.8));
        if (r.width() <= 0)
            r.setWidth(qRound(area.width() * 0.9));
        w->savedRect = r;
        w->setGeometry(r);
    } else {
        w->savedRect = w->geometry();
        w->setGeometry(fill);
    }
}

} // namespace varkel

#include "bindings/gui/commandbar.h"

#include "app/mglobal.h"
#include "bindings/gui/insertbutton.h"
#include "bindings/gui/itemimages.h"
#include "bindings/uservariablelist.h"
#include "commands/gui/icons.h"
#include "documents/gui/richedit.h"
#include "documents/gui/textcodec.h"
#include "documents/unicodetext.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDrag>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalBlocker>
#include <QToolButton>

#include <algorithm>

namespace varkel {

namespace {
// The tools hold their text as UTF-8: the vocabularies are ASCII, and a
// text taken from a script is read in that script's encoding. The text
// becomes a script's bytes only on its way into a script, in its encoding.
QString qs(std::string_view s, Encoding encoding = Encoding::Latin1)
{
    return BytesToText(s, encoding);
}

std::string utf8(const QString &s)
{
    const QByteArray bytes = s.toUtf8();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString fromUtf8(const std::string &s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QColor fromBgr(unsigned bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
}

QComboBox *newPickList(QWidget *parent, const char *name)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    // Typing picks a word; it never adds to the list.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(20);
    box->setMinimumContentsLength(8);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return box;
}

QLabel *newLabel(QWidget *parent, const char *name, const QString &caption)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// Buttons take the focus when clicked, so that the box that had it last
// (the editor or the binding box) reports losing it before the click inserts.
template <typename Button>
Button *newButton(QWidget *parent, const QString &name, const char *image)
{
    auto *button = new Button(parent);
    button->setObjectName(name);
    button->setIcon(IconFor(image));
    button->setIconSize(QSize(16, 16));
    button->setFocusPolicy(Qt::StrongFocus);
    button->setAutoRaise(false);
    button->setMouseTracking(true);
    return button;
}
} // namespace

CommandBar::CommandBar(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("CommandBar"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    buildControls();
    connectControls();
    applyPalettes();
    SetEditStates(false);
}

CommandBar::~CommandBar() = default;

void CommandBar::SetHooks(Hooks hooks)
{
    m_hooks = std::move(hooks);
}

std::string CommandBar::set() const
{
    return mGlobal::QVersion;
}

void CommandBar::buildControls()
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(3);

    // Upper line: the alias / vstr, command and cvar rows side by side.
    static constexpr const char *kComboNames[] = {"cboCommand0", "cboCommand1", "cboCommand2"};
    static constexpr const char *kLabelNames[] = {"lblCommandDes0", "lblCommandDes1", "lblCommandDes2"};
    for (int row = 0; row < kCommandRowCount; ++row) {
        const auto i = static_cast<size_t>(row);
        const std::string_view initialSet = row == kAliasRow ? "Q2" : "";
        lblCommandDes[i] = newLabel(this, kLabelNames[row], qs(RowCaption(row, initialSet)));
        cboCommand[i] = newPickList(this, kComboNames[row]);
        cmdSearchCommand[i] = newButton<QToolButton>(this, QStringLiteral("cmdSearchCommand%1").arg(row), "imgFind");
        cmdInsertCommand[i] = newButton<InsertButton>(this, QStringLiteral("cmdInsertCommand%1").arg(row),
                                                      "imgInsert_Click");
        cmdSearchCommand[i]->setToolTip(qs(SearchToolTip(ToolOfRow(row), initialSet)));
        cmdInsertCommand[i]->setToolTip(qs(InsertToolTip(ToolOfRow(row), initialSet)));
        const int column = row * 4;
        grid->addWidget(lblCommandDes[i], 0, column);
        grid->addWidget(cboCommand[i], 0, column + 1);
        grid->addWidget(cmdSearchCommand[i], 0, column + 2);
        grid->addWidget(cmdInsertCommand[i], 0, column + 3);
        grid->setColumnStretch(column + 1, 1);
    }
    cboCommand[kAliasRow]->setEditText(qs(RowCaption(kAliasRow, "Q2")));
    cboCommand[kAliasRow]->setToolTip(qs(AliasListToolTip("Q2")));

    // Lower line: the item row under the alias row, the binding row beside it.
    imgcboItems = new QComboBox(this);
    imgcboItems->setObjectName(QStringLiteral("imgcboItems"));
    imgcboItems->setEditable(false);
    imgcboItems->setIconSize(QSize(16, 16));
    imgcboItems->setMaxVisibleItems(20);
    imgcboItems->setMinimumContentsLength(10);
    imgcboItems->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    imgcboItems->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    cmdSearchItem = newButton<QToolButton>(this, QStringLiteral("cmdSearchItem"), "imgFind");
    cmdInsertItem = newButton<InsertButton>(this, QStringLiteral("cmdInsertItem"), "imgInsert_Click");
    cmdSearchItem->setToolTip(qs(SearchToolTip(InsertionTool::Item, {})));
    cmdInsertItem->setToolTip(qs(InsertToolTip(InsertionTool::Item, {})));
    grid->addWidget(imgcboItems, 1, 0, 1, 2);
    grid->addWidget(cmdSearchItem, 1, 2);
    grid->addWidget(cmdInsertItem, 1, 3);

    lblKeyName = newLabel(this, "lblKeyName", QStringLiteral("Keyname:"));
    cboKeyname = newPickList(this, "cboKeyname");
    lblBinding = newLabel(this, "lblBinding", QStringLiteral("Binding:"));
    txtBinding = new QLineEdit(this);
    txtBinding->setObjectName(QStringLiteral("txtBinding"));
    txtBinding->setToolTip(qs(kBindingBoxToolTip));
    txtBinding->setMouseTracking(true);
    txtBinding->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    cmdInsertBinding = newButton<InsertButton>(this, QStringLiteral("cmdInsertBinding"), "imgInsert_Click");
    cmdInsertBinding->setToolTip(qs(InsertToolTip(InsertionTool::Binding, {})));
    grid->addWidget(lblKeyName, 1, 4);
    grid->addWidget(cboKeyname, 1, 5, 1, 3);
    grid->addWidget(lblBinding, 1, 8);
    grid->addWidget(txtBinding, 1, 9, 1, 2);
    grid->addWidget(cmdInsertBinding, 1, 11);

    // Square buttons as high as the boxes beside them.
    const int side = std::max(cboCommand[0]->sizeHint().height(), 22);
    for (QToolButton *b : {static_cast<QToolButton *>(cmdSearchItem), static_cast<QToolButton *>(cmdInsertItem),
                           static_cast<QToolButton *>(cmdInsertBinding)})
        b->setFixedSize(side, side);
    for (int row = 0; row < kCommandRowCount; ++row) {
        cmdSearchCommand[static_cast<size_t>(row)]->setFixedSize(side, side);
        cmdInsertCommand[static_cast<size_t>(row)]->setFixedSize(side, side);
    }
    imgcboItems->setFixedHeight(side);
    txtBinding->setFixedHeight(side);
    for (QComboBox *box : cboCommand)
        box->setFixedHeight(side);
    cboKeyname->setFixedHeight(side);
}

void CommandBar::connectControls()
{
    for (int row = 0; row < kCommandRowCount; ++row) {
        QComboBox *box = cboCommand[static_cast<size_t>(row)];
        connect(box, &QComboBox::editTextChanged, this, [this, row] { cboCommand_Click(row); });
        connect(box, &QComboBox::activated, this, [this, row] { cboCommand_Click(row); });
        connect(cmdSearchCommand[static_cast<size_t>(row)], &QToolButton::clicked, this, [this, row] { SearchCommand(row); });
        connectInsertButton(cmdInsertCommand[static_cast<size_t>(row)], ToolOfRow(row), row);
        cmdInsertCommand[static_cast<size_t>(row)]->installEventFilter(this);
        cmdSearchCommand[static_cast<size_t>(row)]->installEventFilter(this);
    }
    connect(imgcboItems, &QComboBox::currentIndexChanged, this, [this] { imgcboItems_Click(); });
    connect(imgcboItems, &QComboBox::activated, this, [this] { imgcboItems_Click(); });
    connect(cmdSearchItem, &QToolButton::clicked, this, [this] { SearchItem(); });
    connectInsertButton(cmdInsertItem, InsertionTool::Item, 0);

    connect(cboKeyname, &QComboBox::editTextChanged, this, [this] { UpdateBindingButton(); });
    connect(cboKeyname, &QComboBox::activated, this, [this] { UpdateBindingButton(); });
    cboKeyname->installEventFilter(this);
    if (cboKeyname->lineEdit())
        cboKeyname->lineEdit()->installEventFilter(this);
    // Any change of the box makes it the target, typed or filled by a key
    // click. A re-read of the bindings that empties it while the user types
    // in a script does no harm: clicking an insert button takes the focus
    // from the editor, which makes the document the target again.
    connect(txtBinding, &QLineEdit::textChanged, this, [this] {
        mGlobal::InsertTarget = NextInsertTarget(TargetEvent::BindingBoxChanged);
        UpdateBindingButton();
    });
    connect(txtBinding, &QLineEdit::returnPressed, this, [this] {
        if (cmdInsertBinding->isEnabled())
            InsertBinding();
    });
    txtBinding->installEventFilter(this);
    connectInsertButton(cmdInsertBinding, InsertionTool::Binding, 0);
    cmdInsertBinding->installEventFilter(this);
}

void CommandBar::connectInsertButton(InsertButton *button, InsertionTool tool, int row)
{
    connect(button, &InsertButton::buttonDown, this, [this] { beginDropWindow(); });
    connect(button, &InsertButton::buttonUp, this, [this] {
        if (!m_dragging)
            endDropWindow();
    });
    connect(button, &InsertButton::dragWanted, this, [this, button, tool, row] { runDrag(button, tool, row); });
    if (tool == InsertionTool::Binding)
        connect(button, &QToolButton::clicked, this, [this] { InsertBinding(); });
    else
        connect(button, &QToolButton::clicked, this, [this, tool, row] { insertTool(tool, row); });
}

// ---------------------------------------------------------------------------
// Filling

void CommandBar::FillFromDictionary(const GameDictionary &dict)
{
    m_dict = &dict;
    const std::string commandSet = dict.Set();
    const BuildStep step = dict.completedStep();
    {
        const QSignalBlocker b1(cboCommand[kCommandRow]), b2(cboCommand[kCvarRow]), b3(cboKeyname), b4(imgcboItems);
        auto fill = [](QComboBox *box, const std::vector<std::string> &words) {
            box->clear();
            QStringList list;
            list.reserve(static_cast<qsizetype>(words.size()));
            for (const std::string &w : words)
                list << qs(w);
            box->addItems(list);
            box->setEditText(QString());
        };
        fill(cboCommand[kCommandRow], dict.Commands());
        fill(cboCommand[kCvarRow], dict.Cvars());
        // The panel's keys first, then every other key the game knows.
        std::vector<std::string> keys = dict.KeyNameList();
        for (const std::string &extra : dict.ExtraKeyNames())
            keys.push_back(toUpperLatin1(extra));
        fill(cboKeyname, keys);

        imgcboItems->clear();
        m_items = dict.Items();
        const int setNumber = dict.setNumber();
        for (const ItemEntry &entry : m_items)
            imgcboItems->addItem(ItemImage(setNumber, entry.picture), qs(entry.text));
        imgcboItems->setCurrentIndex(-1);
        if (step >= BuildStep::ItemList)
            imgcboItems->setPlaceholderText(qs(ItemsCaption(commandSet)));

        if (step == BuildStep::Complete) {
            lblCommandDes[kAliasRow]->setText(qs(RowCaption(kAliasRow, commandSet)));
            cmdSearchCommand[kAliasRow]->setToolTip(qs(SearchToolTip(InsertionTool::Alias, commandSet)));
            cboCommand[kAliasRow]->setToolTip(qs(AliasListToolTip(commandSet)));
            cmdInsertCommand[kAliasRow]->setToolTip(qs(InsertToolTip(InsertionTool::Alias, commandSet)));
            cboCommand[kCommandRow]->setEditText(qs(RowInitialText(kCommandRow, commandSet)));
            cboCommand[kCvarRow]->setEditText(qs(RowInitialText(kCvarRow, commandSet)));
        }
    }
    if (step == BuildStep::Complete)
        cboCommand[kAliasRow]->setEditText(qs(RowInitialText(kAliasRow, commandSet)));
    for (int row = 0; row < kCommandRowCount; ++row)
        cboCommand_Click(row);
    imgcboItems_Click();
    UpdateBindingButton();
}

void CommandBar::SetUserVariables(const UserVariableList *vars)
{
    m_vars = vars;
    cboCommand_Click(kAliasRow);
}

void CommandBar::SetAliasList(const std::vector<std::string> &names)
{
    // The box shows UTF-8; the list compares the script's bytes.
    const std::string shown = AliasText();
    const std::string previous = Utf8ToDocumentBytes(shown, m_aliasEncoding).value_or(shown);
    SetAliasList(names, AliasRowText(m_vars, previous, set()), m_aliasEncoding);
}

void CommandBar::SetAliasList(const std::vector<std::string> &names, const std::string &text, Encoding encoding)
{
    const bool sameEncoding = encoding == m_aliasEncoding;
    m_aliasEncoding = encoding;
    QComboBox *box = cboCommand[kAliasRow];
    {
        const QSignalBlocker block(box);
        if (sameEncoding && names == m_aliasNames && box->count() == static_cast<int>(names.size())) {
            // The same list as before (a re-read after typing, mostly): the
            // box keeps its items and only goes back to the first, as a
            // refill leaves it.
            box->setCurrentIndex(names.empty() ? -1 : 0);
        } else {
            box->clear();
            QStringList list;
            for (const std::string &name : names)
                list << qs(name, encoding);
            box->addItems(list);
            m_aliasNames = names;
        }
    }
    box->setEditText(qs(text, encoding));
    cboCommand_Click(kAliasRow);
}

std::string CommandBar::AliasText() const
{
    return utf8(cboCommand[kAliasRow]->currentText());
}

void CommandBar::SetBindingRow(const std::string &keyName, const std::string &binding, Encoding encoding)
{
    txtBinding->setText(qs(binding, encoding));
    cboKeyname->setEditText(qs(encoding == Encoding::Utf8 ? UpperCaseUtf8(keyName) : toUpperLatin1(keyName), encoding));
}

std::string CommandBar::KeynameText() const
{
    return utf8(cboKeyname->currentText());
}

std::string CommandBar::BindingText() const
{
    return utf8(txtBinding->text());
}

// ---------------------------------------------------------------------------
// States and colours

void CommandBar::SetEditStates(bool documentOpen)
{
    m_open = documentOpen;
    if (!documentOpen) {
        for (int row = 0; row < kCommandRowCount; ++row) {
            cmdInsertCommand[static_cast<size_t>(row)]->setEnabled(false);
            cmdSearchCommand[static_cast<size_t>(row)]->setEnabled(false);
        }
        cmdInsertItem->setEnabled(false);
        cmdSearchItem->setEnabled(false);
    } else {
        for (int row = 0; row < kCommandRowCount; ++row)
            cboCommand_Click(row);
        imgcboItems_Click();
    }
    for (QComboBox *box : cboCommand)
        box->setEnabled(documentOpen);
    cboKeyname->setEnabled(documentOpen);
    txtBinding->setEnabled(documentOpen);
    imgcboItems->setEnabled(documentOpen);
    UpdateBindingButton();
    applyPalettes();
}

void CommandBar::SetTextColors(bool byKeywordClass)
{
    m_colorsByClass = byKeywordClass;
    applyPalettes();
}

void CommandBar::applyPalettes()
{
    // The edit states are set after every key and selection change; the
    // palettes are only touched when something they show has changed.
    std::vector<unsigned> look{m_open, m_colorsByClass, mGlobal::BGColor};
    look.insert(look.end(), mGlobal::SyntaxColors.begin(), mGlobal::SyntaxColors.end());
    if (look == m_appliedLook)
        return;
    m_appliedLook = std::move(look);

    // The pick lists show the editor's colours: the text colour of their
    // keyword class on the editor's background while a document is open, on
    // the button face of the palette otherwise. Only the roles set here are
    // fixed; every other colour follows the window's palette, and a change of
    // palette (the desktop going dark) paints them again.
    const QColor face = palette().color(QPalette::Active, QPalette::Button);
    const QColor back = m_open ? fromBgr(mGlobal::BGColor) : face;
    auto colorOf = [this](KeywordClass cls) {
        return fromBgr(mGlobal::SyntaxColors[static_cast<size_t>(m_colorsByClass ? cls : PlainText)]);
    };
    auto paint = [&](QWidget *box, const QColor &text) {
        QPalette pal;
        for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
            pal.setColor(g, QPalette::Base, back);
            pal.setColor(g, QPalette::Text, text);
        }
        pal.setColor(QPalette::Disabled, QPalette::Base, face);
        box->setPalette(pal);
        if (auto *combo = qobject_cast<QComboBox *>(box))
            combo->view()->setPalette(pal);
    };
    paint(cboCommand[kAliasRow], colorOf(PlainText));
    paint(cboCommand[kCommandRow], colorOf(Command));
    paint(cboCommand[kCvarRow], colorOf(Cvar));
    paint(cboKeyname, colorOf(KeyName));
    paint(txtBinding, colorOf(PlainText));

    // The item box shows its entry on a button face, which the style shades:
    // the editor's background and plain-text colour while a document is
    // open, the palette's otherwise.
    QPalette items;
    if (m_open) {
        for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
            for (QPalette::ColorRole r : {QPalette::Button, QPalette::Base, QPalette::Window})
                items.setColor(g, r, back);
            for (QPalette::ColorRole r : {QPalette::ButtonText, QPalette::Text, QPalette::WindowText})
                items.setColor(g, r, fromBgr(mGlobal::SyntaxColors[PlainText]));
        }
    }
    imgcboItems->setPalette(items);
    imgcboItems->view()->setPalette(items);
}

void CommandBar::changeEvent(QEvent *e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::PaletteChange) {
        m_appliedLook.clear();
        applyPalettes();
    }
}

// ---------------------------------------------------------------------------
// Enable rules

std::string CommandBar::rowScriptBytes(int row) const
{
    // The alias / vstr row is compared with its script's names, in that
    // script's bytes; the vocabularies of the other rows are ASCII.
    const std::string text = utf8(cboCommand[static_cast<size_t>(row)]->currentText());
    return row == kAliasRow ? Utf8ToDocumentBytes(text, m_aliasEncoding).value_or(text) : text;
}

void CommandBar::cboCommand_Click(int row)
{
    if (row < 0 || row >= kCommandRowCount)
        return;
    const bool open = m_hooks.documentOpen ? m_hooks.documentOpen() : m_open;
    const bool enabled = open && m_dict && CommandRowEnabled(row, rowScriptBytes(row), m_vars, *m_dict);
    cmdInsertCommand[static_cast<size_t>(row)]->setEnabled(enabled);
    cmdSearchCommand[static_cast<size_t>(row)]->setEnabled(enabled);
}

void CommandBar::imgcboItems_Click()
{
    const bool open = m_hooks.documentOpen ? m_hooks.documentOpen() : m_open;
    const bool enabled = open && ItemToolsEnabled(CurrentItem());
    cmdInsertItem->setEnabled(enabled);
    cmdSearchItem->setEnabled(enabled);
}

void CommandBar::UpdateBindingButton()
{
    const bool open = m_hooks.documentOpen ? m_hooks.documentOpen() : m_open;
    cmdInsertBinding->setEnabled(BindingToolEnabled(KeynameText(), BindingText(), open));
}

const ItemEntry *CommandBar::CurrentItem() const
{
    const int i = imgcboItems->currentIndex();
    if (i < 0 || i >= static_cast<int>(m_items.size()))
        return nullptr;
    return &m_items[static_cast<size_t>(i)];
}

// ---------------------------------------------------------------------------
// Inserting and searching

std::string CommandBar::ToolText(InsertionTool tool, int row) const
{
    switch (tool) {
    case InsertionTool::Alias:
    case InsertionTool::Command:
    case InsertionTool::Cvar:
        if (tool == InsertionTool::Alias)
            row = kAliasRow;
        else if (tool == InsertionTool::Command)
            row = kCommandRow;
        else
            row = kCvarRow;
        return CommandRowInsertText(row, set(), utf8(cboCommand[static_cast<size_t>(row)]->currentText()));
    case InsertionTool::Item:
        if (const ItemEntry *entry = CurrentItem())
            return itemInsertText(set(), *entry);
        return {};
    case InsertionTool::Binding:
        return BindingInsertText(set(), KeynameText(), BindingText());
    }
    return {};
}

void CommandBar::InsertCommand(int row)
{
    if (row >= 0 && row < kCommandRowCount)
        insertTool(ToolOfRow(row), row);
}

void CommandBar::InsertItem()
{
    insertTool(InsertionTool::Item, 0);
}

void CommandBar::insertTool(InsertionTool tool, int row)
{
    const std::string text = ToolText(tool, row);
    RichEdit *editor = m_hooks.activeEditor ? m_hooks.activeEditor() : nullptr;
    const InsertDestination where = ClickDestination(tool, mGlobal::InsertTarget, editor && !editor->isHidden());
    std::string bytes;
    if (where == InsertDestination::Editor) {
        // A character the script's encoding cannot hold keeps the whole
        // insertion out of it.
        auto held = Utf8ToDocumentBytes(text, editor->GetEncoding());
        if (!held) {
            editor->RefuseUnheldText(fromUtf8(text));
            return;
        }
        bytes = std::move(*held);
    }
    if (where == InsertDestination::BindingBox) {
        txtBinding->insert(fromUtf8(text));
        txtBinding->setFocus();
    } else if (where == InsertDestination::Editor && tool == InsertionTool::Binding) {
        const LinePlacement place = PlaceBindingLine(editor->TextView(), static_cast<std::size_t>(editor->SelStart()),
                                                     static_cast<std::size_t>(editor->SelLength()),
                                                     editor->LineEnd(), bytes);
        editor->SetSel(static_cast<long>(place.start), static_cast<long>(place.length));
        editor->SetSelText(place.text);
        editor->SetSelStart(static_cast<long>(place.caret));
        editor->setFocus();
        // The refresh that follows colours the caret's line; a line placed
        // before it is coloured here.
        if (place.ownLine && mGlobal::AutoSyntaxType != 0 && m_hooks.realTimeHiLite)
            m_hooks.realTimeHiLite(editor->GetLineFromChar(static_cast<long>(place.start)));
    } else if (where == InsertDestination::Editor) {
        editor->SetSelText(bytes);
        editor->setFocus();
    }
    afterInsertion(AfterClick(tool, where, mGlobal::AutoSyntaxType, mGlobal::AutoRefresh));
}

void CommandBar::InsertBinding()
{
    insertTool(InsertionTool::Binding, 0);
}

void CommandBar::afterInsertion(const AfterInsertion &after)
{
    if (after.realTimeHiLite && m_hooks.realTimeHiLite)
        m_hooks.realTimeHiLite(-1);
    if (after.refreshBindings && m_hooks.refreshBindings)
        m_hooks.refreshBindings();
    if (after.refreshAll && m_hooks.refreshAll)
        m_hooks.refreshAll();
}

void CommandBar::SearchCommand(int row)
{
    if (row < 0 || row >= kCommandRowCount)
        return;
    if (auto text = CommandRowSearchText(row, rowScriptBytes(row), m_vars))
        searchFor(row == kAliasRow ? DocumentBytesToUtf8(*text, m_aliasEncoding) : *text);
}

void CommandBar::SearchItem()
{
    const ItemEntry *entry = CurrentItem();
    if (entry && !entry->heading)
        searchFor(itemInsertText(set(), *entry));
}

void CommandBar::searchFor(const std::string &text)
{
    RichEdit *editor = m_hooks.activeEditor ? m_hooks.activeEditor() : nullptr;
    if (!editor)
        return;
    // A search that finds nothing leaves the selection as it was; nor does
    // text the script's encoding cannot hold find anything.
    if (const auto bytes = Utf8ToDocumentBytes(text, editor->GetEncoding()))
        editor->Find(*bytes, 0);
    if (!editor->isHidden())
        editor->setFocus();
}

// ---------------------------------------------------------------------------
// Dragging with the right button

void CommandBar::beginDropWindow()
{
    // While an insert button is held, the active editor places dropped text
    // at the drop point itself.
    RichEdit *editor = m_hooks.activeEditor ? m_hooks.activeEditor() : nullptr;
    if (m_dropEditor && m_dropEditor != editor)
        m_dropEditor->SetOLEDropMode(1);
    m_dropEditor = editor;
    if (editor)
        editor->SetOLEDropMode(2);
}

void CommandBar::endDropWindow()
{
    if (m_dropEditor)
        m_dropEditor->SetOLEDropMode(1);
    m_dropEditor = nullptr;
}

void CommandBar::runDrag(InsertButton *button, InsertionTool tool, int row)
{
    if (m_dragging || !button->isEnabled())
        return;
    m_dragging = true;
    if (!m_dropEditor)
        beginDropWindow();
    button->setIcon(IconFor("imgInsert_Drag"));
    button->repaint();
    const bool binding = tool == InsertionTool::Binding;
    if (binding)
        txtBinding->setAcceptDrops(false); // the line cannot go back into its own box

    QPointer<QDrag> drag = new QDrag(button);
    auto *data = new QMimeData;
    data->setText(fromUtf8(ToolText(tool, row)));
    drag->setMimeData(data);
    if (m_hooks.execDrag)
        m_hooks.execDrag(drag);
    else
        drag->exec(Qt::MoveAction, Qt::MoveAction);
    if (drag)
        drag->deleteLater();

    // Whatever became of the drag: back to the normal drop mode and picture.
    endDropWindow();
    button->setIcon(IconFor("imgInsert_Click"));
    RichEdit *editor = m_hooks.activeEditor ? m_hooks.activeEditor() : nullptr;
    afterInsertion(AfterDrag(tool, mGlobal::InsertTarget, editor && !editor->isHidden(), mGlobal::AutoSyntaxType,
                             mGlobal::AutoRefresh));
    if (binding)
        txtBinding->setAcceptDrops(true);
    m_dragging = false;
}

// ---------------------------------------------------------------------------
// Events

bool CommandBar::eventFilter(QObject *watched, QEvent *e)
{
    switch (e->type()) {
    case QEvent::Enter:
    case QEvent::MouseMove:
        // The buttons of the pick-list rows, the binding button and the
        // binding box show their tool tip as the status text.
        if (watched == txtBinding || watched == cmdInsertBinding ||
            std::find(cmdInsertCommand.begin(), cmdInsertCommand.end(), watched) != cmdInsertCommand.end() ||
            std::find(cmdSearchCommand.begin(), cmdSearchCommand.end(), watched) != cmdSearchCommand.end()) {
            if (m_hooks.statusTip)
                m_hooks.statusTip(static_cast<QWidget *>(watched)->toolTip());
        }
        break;
    case QEvent::FocusIn:
        if (watched == txtBinding || watched == cboKeyname || (cboKeyname && watched == cboKeyname->lineEdit()))
            UpdateBindingButton();
        break;
    case QEvent::FocusOut:
        if (watched == txtBinding)
            mGlobal::InsertTarget = NextInsertTarget(TargetEvent::BindingBoxLostFocus);
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, e);
}

void CommandBar::contextMenuEvent(QContextMenuEvent *e)
{
    // The right button drags from the insert buttons; it opens no menu here.
    e->accept();
}

} // namespace varkel

#include "dialogs/gui/foptions.h"

#include "documents/gui/prompts.h"
#include "app/colourscheme.h"
#include "app/mglobal.h"
#include "app/profile.h"
#include "app/settings.h"
#include "dialogs/gui/colorbutton.h"
#include "dialogs/gui/faddtool.h"
#include "dialogs/optionrules.h"
#include "dialogs/usertools.h"
#include "documents/gui/richedit.h"
#include "language/commentblock.h"
#include "language/dictionary.h"
#include "language/syntaxhilite.h"

#include <QCheckBox>
#include <QResizeEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace varkel {

namespace {

const char *const kSyntaxTypeCaptions[3] = {"No Syntax Highlighting", "Auto Syntax By Char", "Auto Syntax By Line"};
const char *const kColorRowCaptions[8] = {"Plain Text", "Commands", "Cvars",    "Items",
                                          "Keynames",   "Comments", "Numbers", "Strings"};
const char *const kPageCaptions[4] = {"Syntax Colors", "Comment Block", "User Tools", "Misc"};

// The text the comment preview frames.
constexpr std::string_view kPreviewText = "Your Text Here";

// Style colours, background and font of a preview: those of every editor.
void applyEditorLook(RichEdit *e)
{
    for (int c = 1; c <= 8; ++c)
        e->SetStyleColor(c, mGlobal::SyntaxColors[static_cast<size_t>(c)]);
    e->SetStyleColor(0, mGlobal::SyntaxColors[1]);
    e->SetEditorFont(mGlobal::FontName, mGlobal::FontSize, mGlobal::FontBold, mGlobal::FontItalic);
    e->SetBackColor(mGlobal::BGColor);
}

// A row of the tool list; the header sorts it without regard to case.
class ToolRow : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem &other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        const int order = text(column).compare(other.text(column), Qt::CaseInsensitive);
        return order != 0 ? order < 0 : text(column) < other.text(column);
    }
};

CommentBlockSettings currentCommentSettings()
{
    CommentBlockSettings s;
    s.CommentChar = mGlobal::CommentChar;
    s.CommentSize = std::clamp(mGlobal::CommentSize, 0, 32767);
    s.CommentAutoSize = mGlobal::CommentAutoSize;
    s.CommentAlignment = mGlobal::CommentAlignment;
    s.CommentUCase = mGlobal::CommentUCase;
    return s;
}

} // namespace

fOptions::fOptions(Prompts &prompts, Hooks hooks, const GameDictionary *dictionary, QWidget *parent)
    : QDialog(parent)
    , m_prompts(prompts)
    , m_hooks(std::move(hooks))
    , m_dictionary(dictionary)
{
    setObjectName(QStringLiteral("fOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setModal(true);

    tabOptions = new QTabWidget(this);
    tabOptions->setObjectName(QStringLiteral("tabOptions"));
    tabOptions->addTab(buildSyntaxPage(), QString::fromLatin1(kPageCaptions[0]));
    tabOptions->addTab(buildCommentPage(), QString::fromLatin1(kPageCaptions[1]));
    tabOptions->addTab(buildToolsPage(), QString::fromLatin1(kPageCaptions[2]));
    tabOptions->addTab(buildMiscPage(), QString::fromLatin1(kPageCaptions[3]));

    cmdOK[0] = new QPushButton(QStringLiteral("OK"), this);
    cmdOK[0]->setObjectName(QStringLiteral("cmdOK0"));
    cmdOK[0]->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    cmdOK[1] = new QPushButton(QStringLiteral("Apply"), this);
    cmdOK[1]->setObjectName(QStringLiteral("cmdOK1"));
    cmdOK[1]->setAutoDefault(false);
    cmdOK[1]->setEnabled(false);
    for (QPushButton *b : {cmdOK[0], cmdCancel, cmdOK[1]})
        b->setMinimumWidth(84);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK[0]);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdOK[1]);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabOptions, 1);
    layout->addLayout(buttons);
    resize(600, 470);

    Form_Load();

    connect(cmdOK[0], &QPushButton::clicked, this, [this] { cmdOK_Click(0); });
    connect(cmdOK[1], &QPushButton::clicked, this, [this] { cmdOK_Click(1); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(tabOptions, &QTabWidget::currentChanged, this, &fOptions::onTabChanged);
}

fOptions::~fOptions() = default;

// --- pages -----------------------------------------------------------------

QWidget *fOptions::buildSyntaxPage()
{
    auto *page = new QWidget;
    auto *modes = new QVBoxLayout;
    for (int i = 0; i < 3; ++i) {
        optSyntaxType[i] = new QRadioButton(QString::fromLatin1(kSyntaxTypeCaptions[i]), page);
        optSyntaxType[i]->setObjectName(QStringLiteral("optSyntaxType%1").arg(i));
        modes->addWidget(optSyntaxType[i]);
        connect(optSyntaxType[i], &QRadioButton::clicked, this, [this] {
            optSyntaxType_Rule();
            enableApply();
        });
    }

    auto *rows = new QGridLayout;
    rows->setHorizontalSpacing(10);
    rows->setVerticalSpacing(4);
    for (int k = 0; k < kSyntaxColorRows; ++k) {
        lblSyntaxColor[k] = new QLabel(QString::fromLatin1(kColorRowCaptions[k]), page);
        lblSyntaxColor[k]->setObjectName(QStringLiteral("lblSyntaxColor%1").arg(k));
        cmdSyntaxColor[k] = new ColorButton(page);
        cmdSyntaxColor[k]->setObjectName(QStringLiteral("cmdSyntaxColor%1").arg(k));
        lblSyntaxColor[k]->setBuddy(cmdSyntaxColor[k]);
        rows->addWidget(lblSyntaxColor[k], k, 0);
        rows->addWidget(cmdSyntaxColor[k], k, 1);
        connect(cmdSyntaxColor[k], &ColorButton::clicked, this, [this, k] { cmdSyntaxColor_Click(k); });
    }
    rows->setColumnStretch(0, 1);

    chkColorString = new QCheckBox(QStringLiteral("Color String Contents (slower)"), page);
    chkColorString->setObjectName(QStringLiteral("chkColorString"));
    connect(chkColorString, &QCheckBox::clicked, this, [this] {
        optSyntaxType_Rule();
        enableApply();
    });

    rtfEdit = new RichEdit(page);
    rtfEdit->setObjectName(QStringLiteral("rtfEdit"));
    rtfEdit->setReadOnly(true);
    rtfEdit->setMinimumWidth(260);

    auto *left = new QVBoxLayout;
    auto *modeFrame = new QFrame(page);
    modeFrame->setFrameShape(QFrame::StyledPanel);
    modeFrame->setLayout(modes);
    left->addWidget(modeFrame);
    auto *rowFrame = new QFrame(page);
    rowFrame->setFrameShape(QFrame::StyledPanel);
    auto *rowBox = new QVBoxLayout(rowFrame);
    rowBox->addLayout(rows);
    rowBox->addSpacing(4);
    rowBox->addWidget(chkColorString);

    cmdPresetDefault = new QPushButton(QStringLiteral("Default"), page);
    cmdPresetDefault->setObjectName(QStringLiteral("cmdPresetDefault"));
    cmdPresetDefault->setToolTip(QStringLiteral("Dark colours on a white background"));
    cmdPresetDark = new QPushButton(QStringLiteral("Dark"), page);
    cmdPresetDark->setObjectName(QStringLiteral("cmdPresetDark"));
    cmdPresetDark->setToolTip(QStringLiteral("Light colours on a dark background"));
    auto *presets = new QHBoxLayout;
    presets->addWidget(new QLabel(QStringLiteral("Presets:"), page));
    for (QPushButton *b : {cmdPresetDefault, cmdPresetDark}) {
        b->setAutoDefault(false);
        presets->addWidget(b);
    }
    presets->addStretch(1);
    connect(cmdPresetDefault, &QPushButton::clicked, this, [this] { cmdPreset_Click(false); });
    connect(cmdPresetDark, &QPushButton::clicked, this, [this] { cmdPreset_Click(true); });
    rowBox->addSpacing(4);
    rowBox->addLayout(presets);
    left->addWidget(rowFrame);
    left->addStretch(1);

    auto *layout = new QHBoxLayout(page);
    layout->addLayout(left);
    layout->addWidget(rtfEdit, 1);
    return page;
}

QWidget *fOptions::buildCommentPage()
{
    auto *page = new QWidget;

    auto *sizeFrame = new QGroupBox(QStringLiteral("Block Size"), page);
    optBlockSize[0] = new QRadioButton(QStringLiteral("Auto Size"), sizeFrame);
    optBlockSize[1] = new QRadioButton(QStringLiteral("Fixed Size"), sizeFrame);
    txtBlockSize = new QLineEdit(sizeFrame);
    txtBlockSize->setObjectName(QStringLiteral("txtBlockSize"));
    txtBlockSize->setMaxLength(2);
    txtBlockSize->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,2}")), txtBlockSize));
    txtBlockSize->setFixedWidth(txtBlockSize->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    lblBlockSize = new QLabel(QStringLiteral("Number of Chars"), sizeFrame);
    lblBlockSize->setObjectName(QStringLiteral("lblBlockSize"));
    lblBlockSize->setBuddy(txtBlockSize);
    auto *sizeBox = new QGridLayout(sizeFrame);
    sizeBox->addWidget(optBlockSize[0], 0, 0, 1, 3);
    sizeBox->addWidget(optBlockSize[1], 1, 0, 1, 3);
    sizeBox->addWidget(txtBlockSize, 2, 0);
    sizeBox->addWidget(lblBlockSize, 2, 1);
    sizeBox->setColumnStretch(2, 1);

    auto *alignFrame = new QGroupBox(QStringLiteral("Text Placement"), page);
    optComAlign[0] = new QRadioButton(QStringLiteral("Left Justify"), alignFrame);
    optComAlign[1] = new QRadioButton(QStringLiteral("Center"), alignFrame);
    auto *alignBox = new QVBoxLayout(alignFrame);
    alignBox->addWidget(optComAlign[0]);
    alignBox->addWidget(optComAlign[1]);
    alignBox->addStretch(1);

    for (int i = 0; i < 2; ++i) {
        optBlockSize[i]->setObjectName(QStringLiteral("optBlockSize%1").arg(i));
        optComAlign[i]->setObjectName(QStringLiteral("optComAlign%1").arg(i));
        connect(optBlockSize[i], &QRadioButton::clicked, this, [this] {
            optBlockSize_Rule();
            ApplyOptions(tabOptions->currentIndex());
        });
        connect(optComAlign[i], &QRadioButton::clicked, this, [this] { ApplyOptions(tabOptions->currentIndex()); });
    }

    txtComChar = new QLineEdit(page);
    txtComChar->setObjectName(QStringLiteral("txtComChar"));
    txtComChar->setMaxLength(1);
    txtComChar->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[\\x{20}-\\x{7E}\\x{80}-\\x{FF}]?")), txtComChar));
    txtComChar->setFixedWidth(txtComChar->fontMetrics().horizontalAdvance(QStringLiteral("WW")) + 14);
    auto *comCharLabel = new QLabel(QStringLiteral("Block Character:"), page);
    comCharLabel->setBuddy(txtComChar);
    chkComUCase = new QCheckBox(QStringLiteral("Convert to Uppercase"), page);
    chkComUCase->setObjectName(QStringLiteral("chkComUCase"));
    connect(chkComUCase, &QCheckBox::clicked, this, [this] { ApplyOptions(tabOptions->currentIndex()); });

    for (QLineEdit *box : {txtBlockSize, txtComChar}) {
        box->installEventFilter(this);
        connect(box, &QLineEdit::textEdited, this, &fOptions::enableApply);
    }

    auto *charRow = new QHBoxLayout;
    charRow->addWidget(comCharLabel);
    charRow->addWidget(txtComChar);
    charRow->addStretch(1);
    auto *right = new QVBoxLayout;
    right->addLayout(charRow);
    right->addWidget(chkComUCase);
    right->addStretch(1);

    auto *top = new QHBoxLayout;
    top->addWidget(sizeFrame);
    top->addWidget(alignFrame);
    top->addLayout(right, 1);

    auto *previewFrame = new QGroupBox(QStringLiteral("Comment Block Preview"), page);
    rtfComment = new RichEdit(previewFrame);
    rtfComment->setObjectName(QStringLiteral("rtfComment"));
    rtfComment->setReadOnly(true);
    auto *previewBox = new QVBoxLayout(previewFrame);
    previewBox->addWidget(rtfComment);

    auto *layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(previewFrame, 1);
    return page;
}

QWidget *fOptions::buildToolsPage()
{
    auto *page = new QWidget;
    lvwUserTools = new QTreeWidget(page);
    lvwUserTools->setObjectName(QStringLiteral("lvwUserTools"));
    lvwUserTools->setRootIsDecorated(false);
    lvwUserTools->setUniformRowHeights(true);
    lvwUserTools->setAllColumnsShowFocus(true);
    lvwUserTools->setSelectionMode(QAbstractItemView::SingleSelection);
    lvwUserTools->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwUserTools->setHeaderLabels({QStringLiteral("Application Name"), QStringLiteral("Path")});
    lvwUserTools->header()->setSectionsClickable(true);
    lvwUserTools->header()->setSectionsMovable(false);
    lvwUserTools->header()->setStretchLastSection(false);
    lvwUserTools->viewport()->installEventFilter(this);
    connect(lvwUserTools->header(), &QHeaderView::sectionClicked, this, &fOptions::lvwUserTools_ColumnClick);
    connect(lvwUserTools, &QTreeWidget::itemDoubleClicked, this, [this] { cmdEdit_Click(); });

    cmdAdd = new QPushButton(QStringLiteral("Add New Tool"), page);
    cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    cmdEdit = new QPushButton(QStringLiteral("Edit"), page);
    cmdEdit->setObjectName(QStringLiteral("cmdEdit"));
    cmdDelete = new QPushButton(QStringLiteral("Delete"), page);
    cmdDelete->setObjectName(QStringLiteral("cmdDelete"));
    for (QPushButton *b : {cmdAdd, cmdEdit, cmdDelete})
        b->setAutoDefault(false);
    connect(cmdAdd, &QPushButton::clicked, this, &fOptions::cmdAdd_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &fOptions::cmdEdit_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &fOptions::cmdDelete_Click);

    const char *const tips[2] = {"Move Tool Up In List", "Move Tool Down In List"};
    for (int i = 0; i < 2; ++i) {
        cmdMoveItem[i] = new QToolButton(page);
        cmdMoveItem[i]->setObjectName(QStringLiteral("cmdMoveItem%1").arg(i));
        cmdMoveItem[i]->setArrowType(i == 0 ? Qt::UpArrow : Qt::DownArrow);
        cmdMoveItem[i]->setToolTip(QString::fromLatin1(tips[i]));
        cmdMoveItem[i]->setFixedSize(28, 28);
        connect(cmdMoveItem[i], &QToolButton::clicked, this, [this, i] { cmdMoveItem_Click(i); });
    }

    auto *moves = new QHBoxLayout;
    moves->addWidget(cmdMoveItem[0]);
    moves->addWidget(cmdMoveItem[1]);
    moves->addStretch(1);
    auto *side = new QVBoxLayout;
    side->addWidget(cmdAdd);
    side->addWidget(cmdEdit);
    side->addWidget(cmdDelete);
    side->addSpacing(12);
    side->addLayout(moves);
    side->addStretch(1);

    auto *layout = new QHBoxLayout(page);
    layout->addWidget(lvwUserTools, 1);
    layout->addLayout(side);
    return page;
}

QWidget *fOptions::buildMiscPage()
{
    auto *page = new QWidget;
    lblFileTypeInstr = new QLabel(QStringLiteral("Associate Varkel with the following file types:"), page);
    lblFileTypeInstr->setObjectName(QStringLiteral("lblFileTypeInstr"));
    chkCFG = new QCheckBox(QStringLiteral("*.cfg"), page);
    chkCFG->setObjectName(QStringLiteral("chkCFG"));
    chkRC = new QCheckBox(QStringLiteral("*.rc"), page);
    chkRC->setObjectName(QStringLiteral("chkRC"));
    chkShowTips = new QCheckBox(QStringLiteral("Show Tip of the Day at Startup"), page);
    chkShowTips->setObjectName(QStringLiteral("chkShowTips"));
    chkDetectGame = new QCheckBox(QStringLiteral("Detect the game of each script"), page);
    chkDetectGame->setObjectName(QStringLiteral("chkDetectGame"));
    chkDetectGame->setToolTip(QStringLiteral("Each script is read and coloured with the command set its own words point to; "
                                             "off, one command set serves every script"));
    chkLineNumbers = new QCheckBox(QStringLiteral("Show line numbers"), page);
    chkLineNumbers->setObjectName(QStringLiteral("chkLineNumbers"));
    chkCheckScripts = new QCheckBox(QStringLiteral("Check scripts while typing"), page);
    chkCheckScripts->setObjectName(QStringLiteral("chkCheckScripts"));
    chkCheckScripts->setToolTip(QStringLiteral("Underlines what the game would not understand and lists it under Problems"));
    chkCompletions = new QCheckBox(QStringLiteral("Offer completions"), page);
    chkCompletions->setObjectName(QStringLiteral("chkCompletions"));
    chkCompletions->setToolTip(QStringLiteral("Lists the commands, cvars, keys and scripts a word being typed may become"));
    for (QCheckBox *box : {chkCFG, chkRC, chkShowTips, chkDetectGame, chkLineNumbers, chkCheckScripts, chkCompletions})
        connect(box, &QCheckBox::clicked, this, &fOptions::enableApply);

    auto *types = new QVBoxLayout;
    types->setContentsMargins(20, 0, 0, 0);
    types->addWidget(chkCFG);
    types->addWidget(chkRC);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(lblFileTypeInstr);
    layout->addLayout(types);
    layout->addSpacing(18);
    layout->addWidget(chkShowTips);
    layout->addWidget(chkDetectGame);
    layout->addWidget(chkLineNumbers);
    layout->addWidget(chkCheckScripts);
    layout->addWidget(chkCompletions);
    layout->addStretch(1);
    return page;
}

// --- loading -----------------------------------------------------------------

void fOptions::report(const Error &error)
{
    if (m_hooks.reportError) {
        m_hooks.reportError(error);
        return;
    }
    m_prompts.Exclamation(this, QStringLiteral("Error %1").arg(error.number()),
                          QString::fromStdString(error.description()));
}

void fOptions::Form_Load()
{
    // Syntax page.
    const int mode = mGlobal::AutoSyntaxType >= 0 && mGlobal::AutoSyntaxType <= 2 ? mGlobal::AutoSyntaxType : 2;
    optSyntaxType[mode]->setChecked(true);
    for (int k = 0; k < kSyntaxColorRows; ++k)
        cmdSyntaxColor[k]->SetColor(mGlobal::SyntaxColors[static_cast<size_t>(k + 1)]);
    chkColorString->setChecked(mGlobal::ColorStringElements);

    // Sample preview.
    if (!m_dictionary) {
        m_ownDictionary = std::make_unique<GameDictionary>();
        // A dictionary that cannot be read leaves the sample less coloured;
        // the frame has reported that already when it read the same files.
        (void)BuildDictionary(*m_ownDictionary, mGlobal::AppDir + "/Data", mGlobal::QVersion);
        m_dictionary = m_ownDictionary.get();
    }
    applyEditorLook(rtfEdit);
    rtfEdit->setReadOnly(false); // a read-only control refuses even a load
    const Error loaded = rtfEdit->LoadFile(mGlobal::AppDir + "/Data/" + mGlobal::QVersion + "sample.dat");
    rtfEdit->setReadOnly(true);
    if (loaded)
        report(loaded);
    RefreshPreview();

    // Comment page.
    optBlockSize[0]->setChecked(mGlobal::CommentAutoSize);
    optBlockSize[1]->setChecked(!mGlobal::CommentAutoSize);
    txtBlockSize->setText(QString::number(mGlobal::CommentSize));
    txtComChar->setText(QString::fromLatin1(mGlobal::CommentChar.data(),
                                            static_cast<qsizetype>(mGlobal::CommentChar.size())).left(1));
    optComAlign[1]->setChecked(mGlobal::CommentAlignment);
    optComAlign[0]->setChecked(!mGlobal::CommentAlignment);
    chkComUCase->setChecked(mGlobal::CommentUCase);
    optBlockSize_Rule();
    buildCommentPreview();

    // Misc page.
    chkCFG->setChecked(m_hooks.isAssociated && m_hooks.isAssociated("cfg"));
    chkRC->setChecked(m_hooks.isAssociated && m_hooks.isAssociated("rc"));
    chkShowTips->setChecked(mGlobal::ShowTipOday);
    chkDetectGame->setChecked(mGlobal::DetectGame);
    chkLineNumbers->setChecked(mGlobal::ShowLineNumbers);
    chkCheckScripts->setChecked(mGlobal::CheckScripts);
    chkCompletions->setChecked(mGlobal::OfferCompletions);

    // Tools page.
    const size_t count = mGlobal::ToolNames.size();
    for (size_t i = 0; i < count; ++i) {
        auto *row = new ToolRow(lvwUserTools);
        row->setText(0, QString::fromStdString(mGlobal::ToolNames[i]));
        row->setText(1, QString::fromStdString(i < mGlobal::ToolPaths.size() ? mGlobal::ToolPaths[i] : std::string()));
    }
    if (lvwUserTools->topLevelItemCount() > 0)
        lvwUserTools->setCurrentItem(lvwUserTools->topLevelItem(0));

    optSyntaxType_Rule();
    setApplyEnabled(false);
}

void fOptions::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    // The rules of the colouring mode are applied once on every showing.
    optSyntaxType_Rule();
}

void fOptions::SetPage(int page)
{
    if (page < 0 || page >= tabOptions->count())
        page = 0;
    m_switchingBack = true;
    tabOptions->setCurrentIndex(page);
    m_switchingBack = false;
    m_currentPage = page;
}

// --- previews ----------------------------------------------------------------

void fOptions::RefreshPreview()
{
    applyEditorLook(rtfEdit);
    const std::string_view text = rtfEdit->TextView();
    if (text.empty())
        return;
    if (mGlobal::AutoSyntaxType == 0) {
        rtfEdit->StyleRange(0, static_cast<long>(text.size()), PlainText);
        return;
    }
    // The scan reports runs in the order an editor applies them; later runs
    // overwrite earlier ones. The text is copied: styling leaves it alone, but
    // the view must not depend on that.
    const std::string copy(text);
    SyntaxHiLite(copy, 0, *m_dictionary, mGlobal::ColorStringElements,
                 [this](std::size_t start, std::size_t length, KeywordClass cls) {
                     rtfEdit->StyleRange(static_cast<long>(start), static_cast<long>(length), cls);
                 });
}

void fOptions::buildCommentPreview()
{
    applyEditorLook(rtfComment);
    std::string text(kPreviewText);
    const std::string block = BuildCommentBlock(text, currentCommentSettings());
    rtfComment->setReadOnly(false);
    rtfComment->SetText(block);
    rtfComment->setReadOnly(true);
    rtfComment->StyleRange(0, rtfComment->TextLength(), Comment);
}

// --- enable rules --------------------------------------------------------------

int fOptions::selectedSyntaxType() const
{
    for (int i = 0; i < 3; ++i)
        if (optSyntaxType[i]->isChecked())
            return i;
    return 0;
}

void fOptions::optSyntaxType_Rule()
{
    const SyntaxPageEnables e = SyntaxPageRules(selectedSyntaxType(), chkColorString->isChecked());
    for (int k = 0; k < kSyntaxColorRows; ++k) {
        lblSyntaxColor[k]->setEnabled(e.rowEnabled[static_cast<size_t>(k)]);
        cmdSyntaxColor[k]->setEnabled(e.rowEnabled[static_cast<size_t>(k)]);
    }
    chkColorString->setEnabled(e.colorStringEnabled);
}

void fOptions::optBlockSize_Rule()
{
    const bool fixed = optBlockSize[1]->isChecked();
    txtBlockSize->setEnabled(fixed);
    lblBlockSize->setEnabled(fixed);
    // A disabled box shows the button face rather than the window colour.
    QPalette p = txtBlockSize->palette();
    p.setColor(QPalette::Disabled, QPalette::Base, p.color(QPalette::Active, QPalette::Button));
    txtBlockSize->setPalette(p);
}

// --- change tracking and applying ------------------------------------------------

bool fOptions::IsApplyEnabled() const
{
    return cmdOK[1]->isEnabled();
}

void fOptions::setApplyEnabled(bool on)
{
    cmdOK[1]->setEnabled(on);
}

bool fOptions::ApplyOptions(int page)
{
    const std::string &ini = mGlobal::IniPath;
    switch (page) {
    case PageSyntaxColors: {
        mGlobal::ColorStringElements = chkColorString->isChecked();
        mGlobal::AutoSyntaxType = selectedSyntaxType();
        WriteProfileString(kSectionFont, "ColorStringElements", BoolText(mGlobal::ColorStringElements), ini);
        WriteProfileInt(kSectionGeneral, "AutoSyntaxType", mGlobal::AutoSyntaxType, ini);
        // Only the rows the user can see enabled take their colour, unless a
        // preset was chosen: that one changes the background, and every
        // colour must go with it.
        for (int r = 0; r < kSyntaxColorRows; ++r) {
            if (!cmdSyntaxColor[r]->isEnabled() && !m_presetBackground)
                continue;
            const unsigned color = cmdSyntaxColor[r]->Color();
            mGlobal::SyntaxColors[static_cast<size_t>(r + 1)] = color;
            WriteProfileString(kSectionFont, "SyntaxColor" + std::to_string(r), std::to_string(color), ini);
        }
        if (m_presetBackground) {
            mGlobal::BGColor = *m_presetBackground;
            WriteProfileString(kSectionFont, "BGColor", std::to_string(mGlobal::BGColor), ini);
            m_presetBackground.reset();
        }
        if (m_hooks.syntaxApplied)
            m_hooks.syntaxApplied();
        RefreshPreview();
        break;
    }
    case PageCommentBlock: {
        if (txtComChar->text().isEmpty()) {
            m_prompts.Exclamation(this, QStringLiteral("Varkel"), QStringLiteral("Please enter a Block Character."));
            txtComChar->setFocus();
            return false;
        }
        rtfComment->setReadOnly(false);
        rtfComment->SetText("");
        rtfComment->setReadOnly(true);
        mGlobal::CommentAutoSize = optBlockSize[0]->isChecked();
        mGlobal::CommentSize = BlockSizeValue(txtBlockSize->text().toStdString());
        const QByteArray ch = txtComChar->text().toLatin1();
        mGlobal::CommentChar = std::string(ch.constData(), static_cast<size_t>(ch.size()));
        mGlobal::CommentAlignment = optComAlign[1]->isChecked();
        mGlobal::CommentUCase = chkComUCase->isChecked();
        buildCommentPreview();
        WriteProfileInt(kSectionGeneral, "CommentSize", mGlobal::CommentSize, ini);
        WriteProfileString(kSectionGeneral, "CommentAutoSize", BoolText(mGlobal::CommentAutoSize), ini);
        WriteProfileString(kSectionGeneral, "CommentChar", mGlobal::CommentChar, ini);
        WriteProfileString(kSectionGeneral, "CommentAlignment", BoolText(mGlobal::CommentAlignment), ini);
        WriteProfileString(kSectionGeneral, "CommentUCase", BoolText(mGlobal::CommentUCase), ini);
        break;
    }
    case PageUserTools: {
        std::vector<std::string> names, paths;
        const int count = lvwUserTools->topLevelItemCount();
        for (int i = 0; i < count; ++i) {
            const QTreeWidgetItem *row = lvwUserTools->topLevelItem(i);
            names.push_back(row->text(0).toStdString());
            paths.push_back(row->text(1).toStdString());
        }
        mGlobal::ToolNames = names;
        mGlobal::ToolPaths = paths;
        WriteUserTools(ini, names, paths);
        if (m_hooks.userToolsApplied)
            m_hooks.userToolsApplied();
        break;
    }
    case PageMisc: {
        const std::pair<QCheckBox *, const char *> types[] = {{chkCFG, "cfg"}, {chkRC, "rc"}};
        for (const auto &[box, extension] : types) {
            if (!box->isChecked() || !m_hooks.associate)
                continue;
            if (!m_hooks.associate(this, extension))
                box->setChecked(false);
        }
        mGlobal::ShowTipOday = chkShowTips->isChecked();
        WriteProfileString(kSectionGeneral, "ShowTipOday", BoolText(mGlobal::ShowTipOday), ini);
        if (chkDetectGame->isChecked() != mGlobal::DetectGame) {
            mGlobal::DetectGame = chkDetectGame->isChecked();
            WriteProfileString(kSectionGeneral, "DetectGame", BoolText(mGlobal::DetectGame), ini);
            if (m_hooks.detectionApplied)
                m_hooks.detectionApplied();
        }
        if (mGlobal::ShowLineNumbers != chkLineNumbers->isChecked()) {
            mGlobal::ShowLineNumbers = chkLineNumbers->isChecked();
            WriteProfileString(kSectionGeneral, "ShowLineNumbers", BoolText(mGlobal::ShowLineNumbers), ini);
            if (m_hooks.editorsApplied)
                m_hooks.editorsApplied();
        }
        if (mGlobal::CheckScripts != chkCheckScripts->isChecked() ||
            mGlobal::OfferCompletions != chkCompletions->isChecked()) {
            mGlobal::CheckScripts = chkCheckScripts->isChecked();
            mGlobal::OfferCompletions = chkCompletions->isChecked();
            WriteProfileString(kSectionGeneral, "CheckScripts", BoolText(mGlobal::CheckScripts), ini);
            WriteProfileString(kSectionGeneral, "OfferCompletions", BoolText(mGlobal::OfferCompletions), ini);
            if (m_hooks.checksApplied)
                m_hooks.checksApplied();
        }
        break;
    }
    default:
        return true;
    }
    setApplyEnabled(false);
    return true;
}

void fOptions::onTabChanged(int index)
{
    if (m_switchingBack)
        return;
    const int left = m_currentPage;
    if (IsApplyEnabled() && !ApplyOptions(left)) {
        // Refused: back to the page being left, with its changes still pending.
        m_switchingBack = true;
        tabOptions->setCurrentIndex(left);
        m_switchingBack = false;
        if (left == PageCommentBlock)
            txtComChar->setFocus();
        return;
    }
    m_currentPage = index;
}

void fOptions::cmdOK_Click(int index)
{
    if (IsApplyEnabled() && !ApplyOptions(tabOptions->currentIndex()))
        return;
    if (index == 0)
        accept();
}

// --- input filters ----------------------------------------------------------------

bool fOptions::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == lvwUserTools->viewport() && e->type() == QEvent::Resize) {
        // The name column takes 40 % of the list, the path 58 %.
        const int width = static_cast<QResizeEvent *>(e)->size().width();
        lvwUserTools->setColumnWidth(0, static_cast<int>(width * 0.4));
        lvwUserTools->setColumnWidth(1, static_cast<int>(width * 0.58));
    }
    if (e->type() == QEvent::KeyPress && (watched == txtBlockSize || watched == txtComChar))
        return handleTextKey(static_cast<QLineEdit *>(watched), static_cast<QKeyEvent *>(e));
    return QDialog::eventFilter(watched, e);
}

bool fOptions::handleTextKey(QLineEdit *box, QKeyEvent *e)
{
    char32_t key = 0;
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        key = kKeyEnter;
        break;
    case Qt::Key_Backspace:
        key = kKeyBackspace;
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_Delete:
        return false;
    default: {
        // Shortcuts and keys that type nothing (arrows, Home, ...) pass.
        if (e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
            return false;
        const QString text = e->text();
        if (text.isEmpty() || text.at(0).unicode() < 0x20)
            return false;
        key = text.toUcs4().value(0);
        break;
    }
    }
    const int length = static_cast<int>(box->text().size());
    const int selected = static_cast<int>(box->selectedText().size());
    const KeyVerdict verdict = box == txtBlockSize ? FilterBlockSizeKey(key, length, selected)
                                                   : FilterComCharKey(key, length, selected);
    switch (verdict) {
    case KeyVerdict::Accept:
        return false;
    case KeyVerdict::Refuse:
        return true;
    case KeyVerdict::ApplyPage:
        ApplyOptions(tabOptions->currentIndex());
        return true;
    }
    return false;
}

// --- colour buttons ------------------------------------------------------------------

void fOptions::cmdSyntaxColor_Click(int row)
{
    if (row < 0 || row >= kSyntaxColorRows)
        return;
    ColorButton *button = cmdSyntaxColor[static_cast<size_t>(row)];
    const QColor chosen = m_prompts.ChooseColor(this, ToQColor(button->Color()));
    if (!chosen.isValid())
        return; // cancelled: the button keeps its colour
    button->SetColor(FromQColor(chosen));
    enableApply();
}

void fOptions::cmdPreset_Click(bool dark)
{
    const ColourPreset &preset = dark ? kDarkPreset : kLightPreset;
    for (int r = 0; r < kSyntaxColorRows; ++r)
        cmdSyntaxColor[static_cast<size_t>(r)]->SetColor(preset.syntax[static_cast<size_t>(r)]);
    m_presetBackground = preset.background;
    enableApply();
}

// --- user tools page ---------------------------------------------------------------

void fOptions::showToolDialog(QTreeWidgetItem *row, bool adding)
{
    mGlobal::AddingTool = adding;
    fAddTool dialog(lvwUserTools, m_prompts, [this] { enableApply(); }, this);
    if (!adding && row) {
        dialog.txtToolName->setText(row->text(0));
        dialog.txtToolPath->setText(row->text(1));
    }
    dialog.exec();
}

void fOptions::cmdAdd_Click()
{
    auto *row = new ToolRow(lvwUserTools);
    row->setData(0, Qt::UserRole, 1); // a new row, still empty
    lvwUserTools->setCurrentItem(row);
    showToolDialog(row, true);
}

void fOptions::cmdEdit_Click()
{
    if (lvwUserTools->topLevelItemCount() == 0)
        return;
    QTreeWidgetItem *row = lvwUserTools->currentItem();
    if (!row) {
        row = lvwUserTools->topLevelItem(0);
        lvwUserTools->setCurrentItem(row);
    }
    showToolDialog(row, false);
    if (QTreeWidgetItem *current = lvwUserTools->currentItem())
        lvwUserTools->scrollToItem(current);
}

void fOptions::cmdDelete_Click()
{
    QTreeWidgetItem *row = lvwUserTools->currentItem();
    if (!row)
        return;
    delete row;
    enableApply();
}

void fOptions::cmdMoveItem_Click(int index)
{
    QTreeWidgetItem *row = lvwUserTools->currentItem();
    if (!row)
        return;
    const int at = lvwUserTools->indexOfTopLevelItem(row);
    const int to = index == 0 ? at - 1 : at + 1;
    if (to < 0 || to >= lvwUserTools->topLevelItemCount())
        return;
    QTreeWidgetItem *other = lvwUserTools->topLevelItem(to);
    for (int column = 0; column < 2; ++column) {
        const QString text = row->text(column);
        row->setText(column, other->text(column));
        other->setText(column, text);
    }
    lvwUserTools->setCurrentItem(other);
    lvwUserTools->scrollToItem(other);
    enableApply();
}

void fOptions::lvwUserTools_ColumnClick(int column)
{
    m_sortOrder = m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    lvwUserTools->header()->setSortIndicatorShown(true);
    lvwUserTools->sortItems(column, m_sortOrder);
    if (QTreeWidgetItem *current = lvwUserTools->currentItem())
        lvwUserTools->scrollToItem(current);
    enableApply();
}

} // namespace varkel

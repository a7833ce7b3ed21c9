#include "commands/gui/helpwindow.h"

#include "commands/gui/icons.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QTextCursor>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace varkel {

namespace {
const QString kWindowTitle = QStringLiteral("Varkel Help");
constexpr int kFileRole = Qt::UserRole;

QString fromUtf8(const std::string &s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
} // namespace

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(kWindowTitle);
    setWindowIcon(IconFor("imgHelp"));
    resize(920, 640);

    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("helpToolbar"));
    bar->setIconSize(QSize(16, 16));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Back"));
    m_back->setShortcut(QKeySequence::Back);
    m_back->setEnabled(false);
    m_forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Forward"));
    m_forward->setShortcut(QKeySequence::Forward);
    m_forward->setEnabled(false);
    QAction *contents = bar->addAction(IconFor("imgHelp"), QStringLiteral("Contents"));

    auto *searchPane = new QWidget(this);
    auto *searchLayout = new QVBoxLayout(searchPane);
    searchLayout->setContentsMargins(6, 6, 0, 6);
    auto *label = new QLabel(QStringLiteral("&Search for:"), searchPane);
    m_search = new QLineEdit(searchPane);
    m_search->setObjectName(QStringLiteral("helpSearch"));
    m_search->setPlaceholderText(QStringLiteral("Type a keyword"));
    m_search->setClearButtonEnabled(true);
    label->setBuddy(m_search);
    m_count = new QLabel(searchPane);
    m_count->setObjectName(QStringLiteral("helpResultCount"));
    m_results = new QListWidget(searchPane);
    m_results->setObjectName(QStringLiteral("helpResults"));
    m_results->setUniformItemSizes(true);
    searchLayout->addWidget(label);
    searchLayout->addWidget(m_search);
    searchLayout->addWidget(m_count);
    searchLayout->addWidget(m_results, 1);

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    // The pages link only to each other; anything else opens outside.
    m_browser->setOpenExternalLinks(true);

    auto *split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(searchPane);
    split->addWidget(m_browser);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setSizes({240, 680});
    split->setChildrenCollapsible(false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(split, 1);

    connect(m_back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(contents, &QAction::triggered, this, &HelpWindow::ShowContents);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::updateTitle);
    connect(m_search, &QLineEdit::textChanged, this, &HelpWindow::runSearch);
    connect(m_search, &QLineEdit::returnPressed, this, [this] {
        QListWidgetItem *item = m_results->currentItem();
        if (!item && m_results->count() > 0)
            item = m_results->item(0);
        if (item)
            openResult(item);
    });
    connect(m_results, &QListWidget::itemClicked, this, &HelpWindow::openResult);
    connect(m_results, &QListWidget::itemActivated, this, &HelpWindow::openResult);
    auto *close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

Error HelpWindow::Load(const QString &folder)
{
    HelpIndex index;
    if (Error e = index.LoadFolder(QFile::encodeName(folder).toStdString()))
        return e;
    m_index = std::move(index);
    m_folder = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    m_browser->setSearchPaths({m_folder});
    runSearch();
    return {};
}

void HelpWindow::ShowPage(const QString &file)
{
    if (m_folder.isEmpty())
        return;
    m_browser->setSource(QUrl::fromLocalFile(m_folder + QLatin1Char('/') + file));
}

void HelpWindow::ShowContents()
{
    ShowPage(QString::fromLatin1(kHelpContentsPage.data(), static_cast<qsizetype>(kHelpContentsPage.size())));
    m_browser->setFocus();
}

void HelpWindow::ShowSearch(const QString &query)
{
    if (CurrentPage().isEmpty())
        ShowContents();
    if (m_search->text() == query)
        runSearch(); // the pages may have been read again
    else
        m_search->setText(query);
    m_search->setFocus();
    m_search->selectAll();
}

QString HelpWindow::CurrentPage() const
{
    const QUrl source = m_browser->source();
    return source.isEmpty() ? QString() : QFileInfo(source.toLocalFile()).fileName();
}

void HelpWindow::runSearch()
{
    m_results->clear();
    const QString query = m_search->text();
    const std::vector<HelpHit> hits = m_index.Search(query.toStdString());
    for (const HelpHit &hit : hits) {
        auto *item = new QListWidgetItem(fromUtf8(hit.page->title), m_results);
        item->setData(kFileRole, fromUtf8(hit.page->file));
        item->setToolTip(fromUtf8(hit.page->summary));
    }
    if (query.trimmed().isEmpty())
        m_count->setText(QStringLiteral("All %1 topics").arg(hits.size()));
    else if (hits.empty())
        m_count->setText(QStringLiteral("No topics found"));
    else if (hits.size() == 1)
        m_count->setText(QStringLiteral("1 topic found"));
    else
        m_count->setText(QStringLiteral("%1 topics found").arg(hits.size()));
    // The best match is the one Enter opens; the full list has no best.
    if (m_results->count() > 0 && !query.trimmed().isEmpty())
        m_results->setCurrentRow(0);
}

void HelpWindow::openResult(QListWidgetItem *item)
{
    if (!item)
        return;
    ShowPage(item->data(kFileRole).toString());
    // Put the first word searched for in view on the page.
    const std::vector<std::string> words = HelpIndex::Words(m_search->text().toStdString());
    if (!words.empty()) {
        m_browser->moveCursor(QTextCursor::Start);
        if (!m_browser->find(fromUtf8(words.front())))
            m_browser->moveCursor(QTextCursor::Start);
    }
}

void HelpWindow::updateTitle()
{
    const QString title = m_browser->documentTitle();
    setWindowTitle(title.isEmpty() ? kWindowTitle : kWindowTitle + QStringLiteral(" - ") + title);
}

} // namespace varkel

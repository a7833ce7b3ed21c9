#include "bindings/gui/problemslist.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPalette>
#include <QStyle>
#include <QTableView>

namespace varkel {

class ProblemsModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(std::vector<ProblemRow> rows)
    {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }
    const ProblemRow *row(int i) const
    {
        return i >= 0 && i < static_cast<int>(m_rows.size()) ? &m_rows[static_cast<std::size_t>(i)] : nullptr;
    }
    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : ProblemsList::ColumnCount;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        switch (section) {
        case ProblemsList::LineColumn: return QStringLiteral("Line");
        case ProblemsList::ColumnColumn: return QStringLiteral("Column");
        case ProblemsList::SeverityColumn: return QStringLiteral("Severity");
        case ProblemsList::MessageColumn: return QStringLiteral("Message");
        case ProblemsList::CodeColumn: return QStringLiteral("Code");
        default: return {};
        }
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        const ProblemRow *r = row(index.row());
        if (!r)
            return {};
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
            switch (index.column()) {
            case ProblemsList::LineColumn: return r->line;
            case ProblemsList::ColumnColumn: return static_cast<qulonglong>(r->column);
            case ProblemsList::SeverityColumn: {
                const std::string_view s = LintSeverityName(r->severity);
                return QString::fromLatin1(s.data(), static_cast<int>(s.size()));
            }
            case ProblemsList::MessageColumn: return QString::fromStdString(r->message);
            case ProblemsList::CodeColumn: {
                const std::string_view c = LintCodeName(r->code);
                return QString::fromLatin1(c.data(), static_cast<int>(c.size()));
            }
            default: return {};
            }
        }
        if (role == Qt::DecorationRole && index.column() == ProblemsList::SeverityColumn)
            return QApplication::style()->standardIcon(r->severity == LintSeverity::Warning
                                                           ? QStyle::SP_MessageBoxWarning
                                                           : QStyle::SP_MessageBoxInformation);
        if (role == Qt::TextAlignmentRole &&
            (index.column() == ProblemsList::LineColumn || index.column() == ProblemsList::ColumnColumn))
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }

private:
    std::vector<ProblemRow> m_rows;
};

ProblemsList::ProblemsList(QWidget *parent)
    : QDockWidget(QStringLiteral("Problems"), parent)
{
    setObjectName(QStringLiteral("dockProblems"));
    m_model = new ProblemsModel(this);
    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("tblProblems"));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setWordWrap(false);
    m_view->setAlternatingRowColors(true);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    QHeaderView *header = m_view->horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(MessageColumn, QHeaderView::Stretch);
    const int digit = m_view->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    header->resizeSection(LineColumn, digit * 6 + 12);
    header->resizeSection(ColumnColumn, digit * 6 + 12);
    header->resizeSection(SeverityColumn, digit * 9 + 28);
    header->resizeSection(CodeColumn, digit * 15 + 12);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    setWidget(m_view);

    connect(m_view, &QTableView::clicked, this, [this](const QModelIndex &index) { OnActivated(index.row()); });
    connect(m_view, &QTableView::activated, this, [this](const QModelIndex &index) { OnActivated(index.row()); });
    connect(m_view, &QWidget::customContextMenuRequested, this, &ProblemsList::OnContextMenu);
    connect(this, &QDockWidget::dockLocationChanged, this, [this](Qt::DockWidgetArea area) {
        if (area != Qt::NoDockWidgetArea && m_hooks.areaChanged)
            m_hooks.areaChanged(static_cast<int>(area));
    });
}

ProblemsList::~ProblemsList() = default;

void ProblemsList::SetHooks(Hooks hooks)
{
    m_hooks = std::move(hooks);
}

void ProblemsList::SetRows(std::vector<ProblemRow> rows)
{
    // The row under the caret of the list stays where it was as far as it can.
    const int current = m_view->currentIndex().row();
    m_model->setRows(std::move(rows));
    if (current >= 0 && current < m_model->rowCount())
        m_view->selectionModel()->setCurrentIndex(m_model->index(current, 0), QItemSelectionModel::NoUpdate);
}

int ProblemsList::RowCount() const
{
    return m_model->rowCount();
}

const ProblemRow *ProblemsList::RowAt(int row) const
{
    return m_model->row(row);
}

QString ProblemsList::CellText(int row, int column) const
{
    return m_model->data(m_model->index(row, column), Qt::DisplayRole).toString();
}

QString ProblemsList::AddNameCaption(const ProblemRow &row)
{
    if (row.code != LintCode::UnknownName || row.name.empty())
        return {};
    QString name = QString::fromStdString(row.name);
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("Add %1 to my names").arg(name);
}

void ProblemsList::OnActivated(int row)
{
    if (const ProblemRow *r = m_model->row(row); r && m_hooks.rowChosen)
        m_hooks.rowChosen(*r);
}

void ProblemsList::OnContextMenu(const QPoint &at)
{
    const ProblemRow *r = m_model->row(m_view->indexAt(at).row());
    if (!r)
        return;
    const QString caption = AddNameCaption(*r);
    if (caption.isEmpty())
        return;
    const std::string name = r->name;
    QMenu menu(this);
    QAction *add = menu.addAction(caption);
    if (menu.exec(m_view->viewport()->mapToGlobal(at)) == add && m_hooks.addName)
        m_hooks.addName(name);
}

void ProblemsList::closeEvent(QCloseEvent *e)
{
    QDockWidget::closeEvent(e);
    if (m_hooks.closed)
        m_hooks.closed();
}

} // namespace varkel

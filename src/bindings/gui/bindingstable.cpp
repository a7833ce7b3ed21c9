#include "bindings/gui/bindingstable.h"

#include "documents/gui/textcodec.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace varkel {

// The rows shown, after the filter and the search; sorting is the proxy's.
class BindingsTableModel : public QAbstractTableModel {
public:
    using PlaceText = std::function<QString(const BindingRow &)>;
    using Edited = std::function<void(const BindingRow &, const QString &)>;

    BindingsTableModel(PlaceText place, PlaceText command, Edited edited, QObject *parent)
        : QAbstractTableModel(parent)
        , m_place(std::move(place))
        , m_command(std::move(command))
        , m_edited(std::move(edited))
    {
    }

    void setRows(std::vector<const BindingRow *> rows)
    {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }
    const BindingRow *row(int i) const
    {
        return i >= 0 && i < static_cast<int>(m_rows.size()) ? m_rows[static_cast<std::size_t>(i)] : nullptr;
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : BindingsTable::ColumnCount;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        switch (section) {
        case BindingsTable::KeyColumn: return QStringLiteral("Key");
        case BindingsTable::CommandColumn: return QStringLiteral("Command");
        case BindingsTable::LineColumn: return QStringLiteral("Line");
        case BindingsTable::StateColumn: return QStringLiteral("State");
        case BindingsTable::PanelColumn: return QStringLiteral("Panel");
        default: return {};
        }
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        const BindingRow *r = row(index.row());
        if (!r)
            return {};
        const int column = index.column();
        if (role == Qt::DisplayRole || role == Qt::EditRole) {
            switch (column) {
            case BindingsTable::KeyColumn: return QString::fromStdString(r->key);
            case BindingsTable::CommandColumn: return m_command(*r);
            case BindingsTable::LineColumn: return m_place(*r);
            case BindingsTable::StateColumn:
                return !r->bound() ? QString() : r->state == KeyState::CON ? QStringLiteral("CON") : QStringLiteral("On");
            case BindingsTable::PanelColumn: return r->onPanel() ? QString() : QStringLiteral("no place");
            default: return {};
            }
        }
        if (role == Qt::ToolTipRole && column == BindingsTable::PanelColumn && !r->onPanel())
            return QStringLiteral("The panel has no place for this key");
        if (role == Qt::ToolTipRole && column == BindingsTable::CommandColumn && r->bound())
            return r->editable() ? m_command(*r) + QStringLiteral("\n(double-click to edit)")
                                 : m_command(*r);
        if (role == Qt::UserRole) {
            // Sorting: the place by script and line number, the rest by text.
            if (column == BindingsTable::LineColumn)
                return r->bound() ? static_cast<qlonglong>(r->script) * (qlonglong(1) << 32) + r->line : qlonglong(-1);
            if (column == BindingsTable::KeyColumn)
                return r->keyNumber;
            return data(index, Qt::DisplayRole).toString().toLower();
        }
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        Qt::ItemFlags f = QAbstractTableModel::flags(index);
        if (const BindingRow *r = row(index.row()); r && index.column() == BindingsTable::CommandColumn && r->editable())
            f |= Qt::ItemIsEditable;
        return f;
    }

    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        const BindingRow *r = row(index.row());
        if (!r || role != Qt::EditRole || index.column() != BindingsTable::CommandColumn || !r->editable())
            return false;
        const QString text = value.toString();
        if (text == m_command(*r))
            return false;
        m_edited(*r, text);
        return true;
    }

private:
    std::vector<const BindingRow *> m_rows;
    PlaceText m_place;
    PlaceText m_command;
    Edited m_edited;
};

BindingsTable::BindingsTable(QWidget *parent)
    : QDockWidget(QStringLiteral("Bindings"), parent)
{
    setObjectName(QStringLiteral("dockBindings"));
    auto *body = new QWidget(this);
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    auto *bar = new QHBoxLayout;
    m_search = new QLineEdit(body);
    m_search->setObjectName(QStringLiteral("txtBindingSearch"));
    m_search->setPlaceholderText(QStringLiteral("Search"));
    m_search->setClearButtonEnabled(true);
    m_filter = new QComboBox(body);
    m_filter->setObjectName(QStringLiteral("cboBindingFilter"));
    m_filter->addItems({QStringLiteral("All"), QStringLiteral("Conflicts"), QStringLiteral("Free keys")});
    auto *effective = new QCheckBox(QStringLiteral("Effective bindings"), body);
    effective->setObjectName(QStringLiteral("chkEffective"));
    effective->setToolTip(QStringLiteral("The bindings once the game has run this script and every script it execs"));
    m_effective = effective;
    bar->addWidget(m_search, 1);
    bar->addWidget(m_filter);
    bar->addWidget(m_effective);
    layout->addLayout(bar);

    // An edit is carried out once the editor has closed, since it refills the table.
    m_model = new BindingsTableModel([this](const BindingRow &row) { return PlaceText(row); },
                                     [this](const BindingRow &row) { return CommandText(row); },
                                     [this](const BindingRow &row, const QString &text) {
                                         const BindingRow copy = row;
                                         const std::string path = row.script < m_scripts.size() ? m_scripts[row.script] : std::string();
                                         const std::string command = text.toStdString();
                                         QTimer::singleShot(0, this, [this, copy, path, command] {
                                             if (m_hooks.commandEdited)
                                                 m_hooks.commandEdited(copy, path, command);
                                         });
                                     },
                                     this);
    m_sorted = new QSortFilterProxyModel(this);
    m_sorted->setSourceModel(m_model);
    m_sorted->setSortRole(Qt::UserRole);
    m_view = new QTableView(body);
    m_view->setObjectName(QStringLiteral("tblBindings"));
    m_view->setModel(m_sorted);
    m_view->setSortingEnabled(true);
    m_view->sortByColumn(KeyColumn, Qt::AscendingOrder);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    m_view->setAlternatingRowColors(true);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    m_view->horizontalHeader()->setStretchLastSection(false);
    m_view->horizontalHeader()->setSectionResizeMode(CommandColumn, QHeaderView::Stretch);
    // A long key name off the panel must not squeeze the commands: the key
    // column starts as wide as a long name of the panel and can be dragged.
    m_view->horizontalHeader()->setSectionResizeMode(KeyColumn, QHeaderView::Interactive);
    m_view->horizontalHeader()->resizeSection(KeyColumn, m_view->fontMetrics().horizontalAdvance(QStringLiteral("backspace")) + 16);
    m_view->horizontalHeader()->setSectionResizeMode(LineColumn, QHeaderView::ResizeToContents);
    m_view->horizontalHeader()->setSectionResizeMode(StateColumn, QHeaderView::ResizeToContents);
    m_view->horizontalHeader()->setSectionResizeMode(PanelColumn, QHeaderView::ResizeToContents);
    layout->addWidget(m_view, 1);
    setWidget(body);

    connect(m_search, &QLineEdit::textChanged, this, [this] { Refilter(); });
    connect(m_filter, &QComboBox::currentIndexChanged, this, [this] { Refilter(); });
    connect(effective, &QCheckBox::toggled, this, [this](bool on) {
        if (m_hooks.effectiveToggled)
            m_hooks.effectiveToggled(on);
    });
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { OnCurrentChanged(); });
    connect(this, &QDockWidget::dockLocationChanged, this, [this](Qt::DockWidgetArea area) {
        if (area != Qt::NoDockWidgetArea && m_hooks.areaChanged)
            m_hooks.areaChanged(static_cast<int>(area));
    });
}

void BindingsTable::closeEvent(QCloseEvent *e)
{
    QDockWidget::closeEvent(e);
    if (m_hooks.closed)
        m_hooks.closed();
}

BindingsTable::~BindingsTable() = default;

QSize BindingsTable::sizeHint() const
{
    const QSize base = QDockWidget::sizeHint();
    return {std::max(base.width(), fontMetrics().horizontalAdvance(QLatin1Char('x')) * 64), base.height()};
}

void BindingsTable::SetHooks(Hooks hooks)
{
    m_hooks = std::move(hooks);
}

QString BindingsTable::PlaceText(const BindingRow &row) const
{
    if (!row.bound())
        return {};
    const std::string path = row.script < m_scripts.size() ? m_scripts[row.script] : std::string();
    return QStringLiteral("%1:%2").arg(QFileInfo(QString::fromStdString(path)).fileName()).arg(row.line + 1);
}

Encoding BindingsTable::ScriptEncoding(const BindingRow &row) const
{
    return row.script < m_encodings.size() ? m_encodings[row.script] : Encoding::Latin1;
}

QString BindingsTable::CommandText(const BindingRow &row) const
{
    return BytesToText(row.command, ScriptEncoding(row));
}

void BindingsTable::SetRows(std::vector<BindingRow> bound, std::vector<BindingRow> free, std::vector<std::string> scriptPaths,
                            std::vector<Encoding> scriptEncodings)
{
    m_bound = std::move(bound);
    m_free = std::move(free);
    m_scripts = std::move(scriptPaths);
    m_encodings = std::move(scriptEncodings);
    Refilter();
}

void BindingsTable::Refilter()
{
    const RowFilter filter = Filter();
    const std::string search = m_search->text().toStdString();
    std::vector<const BindingRow *> shown;
    const std::vector<BindingRow> &source = filter == RowFilter::FreeKeys ? m_free : m_bound;
    for (const BindingRow &row : source)
        if (RowPasses(row, filter, search, PlaceText(row).toStdString()))
            shown.push_back(&row);
    const bool wasQuiet = m_quiet;
    m_quiet = true;
    m_model->setRows(std::move(shown));
    m_quiet = wasQuiet;
    SelectKey(m_selectedKey);
}

int BindingsTable::ViewRowOfKey(int keyNumber) const
{
    if (keyNumber < 0)
        return -1;
    for (int i = 0; i < m_sorted->rowCount(); ++i)
        if (const BindingRow *r = RowAt(i); r && r->keyNumber == keyNumber)
            return i;
    return -1;
}

void BindingsTable::SelectKey(int keyNumber)
{
    const bool wasQuiet = m_quiet;
    m_quiet = true;
    const int row = ViewRowOfKey(keyNumber);
    if (row >= 0) {
        const QModelIndex index = m_sorted->index(row, KeyColumn);
        m_view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_view->scrollTo(index);
    } else {
        m_view->selectionModel()->clearSelection();
        m_view->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    m_selectedKey = keyNumber;
    m_quiet = wasQuiet;
}

void BindingsTable::OnCurrentChanged()
{
    if (m_quiet)
        return;
    const BindingRow *row = CurrentRow();
    if (!row)
        return;
    m_selectedKey = row->keyNumber;
    if (row->bound() && m_hooks.rowSelected)
        m_hooks.rowSelected(*row, row->script < m_scripts.size() ? m_scripts[row->script] : std::string());
}

bool BindingsTable::Effective() const
{
    return m_effective->isChecked();
}

void BindingsTable::SetEffective(bool on)
{
    m_effective->setChecked(on);
}

RowFilter BindingsTable::Filter() const
{
    switch (m_filter->currentIndex()) {
    case 1: return RowFilter::Conflicts;
    case 2: return RowFilter::FreeKeys;
    default: return RowFilter::All;
    }
}

void BindingsTable::SetFilter(RowFilter filter)
{
    m_filter->setCurrentIndex(filter == RowFilter::Conflicts ? 1 : filter == RowFilter::FreeKeys ? 2 : 0);
}

int BindingsTable::RowCount() const
{
    return m_sorted->rowCount();
}

const BindingRow *BindingsTable::RowAt(int viewRow) const
{
    const QModelIndex source = m_sorted->mapToSource(m_sorted->index(viewRow, 0));
    return source.isValid() ? m_model->row(source.row()) : nullptr;
}

const BindingRow *BindingsTable::CurrentRow() const
{
    const QModelIndex current = m_view->selectionModel()->currentIndex();
    return current.isValid() ? RowAt(current.row()) : nullptr;
}

const BindingRow *BindingsTable::BoundRowOfKey(int keyNumber, std::string *path) const
{
    for (const BindingRow &row : m_bound)
        if (row.keyNumber == keyNumber && keyNumber >= 0) {
            if (path)
                *path = row.script < m_scripts.size() ? m_scripts[row.script] : std::string();
            return &row;
        }
    return nullptr;
}

QString BindingsTable::CellText(int viewRow, int column) const
{
    return m_sorted->index(viewRow, column).data(Qt::DisplayRole).toString();
}

} // namespace varkel

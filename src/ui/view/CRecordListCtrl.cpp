#include "ui/view/CRecordListCtrl.h"

#include "datafile/ReadingList.h"
#include "db/MeterDatabase.h"
#include "doc/CMrvDoc.h"
#include "ui/view/CMarkListBox.h"

#include <QBrush>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMouseEvent>

#include <algorithm>

namespace mrv {

namespace {

constexpr Qt::Alignment kLeft = Qt::AlignLeft;
constexpr Qt::Alignment kRight = Qt::AlignRight;

} // namespace

RecordListModel::RecordListModel(CMrvDoc& doc, int kind, QObject* parent)
    : QAbstractTableModel(parent), m_doc(doc), m_kind(kind)
{
    if (m_kind == KindMeters) {
        // The rows are the document's meters: whenever those are reloaded the rows follow.
        connect(&m_doc, &CMrvDoc::TablesReloaded, this, [this](int flags, std::int32_t) {
            if (flags & CMrvDoc::TableMeters) {
                RemoveRows();
                InsertRows(static_cast<int>(m_doc.Meters().size()));
            }
        });
    }
    if (m_kind == KindReadings) {
        // Another file (or none): its readings are not this list's rows, and its tariff mask
        // may ask for other columns.
        connect(&m_doc, &CMrvDoc::DataFileChanged, this, [this] {
            RemoveRows();
            ForgetColumns();
        });
    }
}

void RecordListModel::RemoveRows()
{
    m_shown.clear();
    if (m_rows == 0)
        return;
    beginRemoveRows({}, 0, m_rows - 1);
    m_rows = 0;
    m_hhuBlocks.clear();
    endRemoveRows();
}

void RecordListModel::InsertRows(int rows)
{
    if (rows <= 0)
        return;
    beginInsertRows({}, 0, rows - 1);
    m_rows = rows;
    endInsertRows();
}

void RecordListModel::SetColumns(std::vector<Column> columns)
{
    if (!m_columns.empty()) {
        beginRemoveColumns({}, 0, static_cast<int>(m_columns.size()) - 1);
        m_columns.clear();
        endRemoveColumns();
    }
    if (columns.empty())
        return;
    beginInsertColumns({}, 0, static_cast<int>(columns.size()) - 1);
    m_columns = std::move(columns);
    endInsertColumns();
}

int RecordListModel::FillList(std::int32_t key)
{
    RemoveRows();
    switch (m_kind) {
    case KindHhuBlocks: {
        if (!m_columnsMade) {
            SetColumns({{tr("Block ID"), 70, kRight, "0000"},
                        {tr("Block Name"), 160, kLeft, ""},
                        {tr("Meter Num"), 70, kRight, "0000"},
                        {tr("Constant"), 70, kRight, "000000"}});
            m_columnsMade = 1;
        }
        if (key == 0)
            return 0;
        BlockList blocks;
        MeterDatabase& db = m_doc.GetDatabase();
        if (m_doc.IsDatabaseOpen())
            db.LoadBlocks(key, &blocks);
        // Listed: the first 21 Blocks. Counted: every Block of the HHU and its meters, which
        // is what a download file for it holds.
        const std::size_t rows = std::min<std::size_t>(blocks.size(), kMaxHhuBlockRows);
        std::vector<HhuBlockRow> listed;
        listed.reserve(rows);
        std::int32_t total = 0;
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            const int meters = std::max(0, db.LoadMeters(blocks[i].district_id, nullptr));
            if (i < rows)
                listed.push_back({blocks[i], meters});
            total += meters;
        }
        const int n = static_cast<int>(rows);
        if (n > 0) {
            beginInsertRows({}, 0, n - 1);
            m_hhuBlocks = std::move(listed);
            m_rows = n;
            endInsertRows();
        }
        m_currentKey = key;
        m_value = static_cast<std::int32_t>(blocks.size());
        m_count = total;
        return n;
    }
    case KindMeters: {
        if (!m_columnsMade) {
            SetColumns({{"", 35, kLeft, "0000"},
                        {tr("Meter ID"), 120, kLeft, "00"},
                        {tr("Meter ID2"), 120, kLeft, "000000000000"},
                        {tr("User Addr"), 200, kLeft, ""}});
            m_columnsMade = 1;
        }
        if (key == 0)
            return 0;
        // The reload brings the rows (TablesReloaded); a database that cannot be opened
        // leaves the list empty rather than showing another Block's meters under this key.
        m_doc.LoadTables(CMrvDoc::TableMeters, key);
        m_currentKey = key;
        m_value = key;
        m_count = m_rows;
        return m_rows;
    }
    case KindReadings: {
        const HhuDataFile& file = m_doc.GetDataFile();
        if (!m_columnsMade) {
            const std::vector<ReadingColumn> shown =
                ReadingListColumns(TariffMask(file.GetParameterBlock()));
            std::vector<Column> columns;
            // Ids of 12 characters, a "yy/mm/dd" date, energies of up to eight BCD digits.
            for (std::size_t c = 0; c < shown.size(); ++c)
                columns.push_back({ReadingTitle(shown[c]), c < 2 ? 110 : 60, c < 2 ? kLeft : kRight,
                                   c < 2    ? "000000000000"
                                   : c == 2 ? "00/00/00"
                                            : "999999.99"});
            SetColumns(std::move(columns));
            m_columnCount = static_cast<std::int32_t>(m_columns.size());
            m_columnsMade = 1;
        }
        if (!file.IsLoaded() || key < 0)
            return 0;
        const std::vector<BlockEntry> entries = file.GetBlockEntries();
        if (static_cast<std::size_t>(key) >= entries.size())
            return 0;
        const BlockEntry& entry = entries[static_cast<std::size_t>(key)];
        const int readings = file.ReadingCount();
        const int first = std::clamp(entry.firstSequence - 1, 0, readings);
        const int rows = std::clamp(entry.meterCount, 0, readings - first);
        m_firstReading = static_cast<std::size_t>(first);
        InsertRows(rows);
        m_currentKey = key;
        m_value = entry.firstSequence;
        m_count = rows;
        return rows;
    }
    default:
        return 0;
    }
}

void RecordListModel::RefreshRow(int row)
{
    if (m_kind != KindMeters || row < 0 || row >= m_rows || m_columns.empty())
        return;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void RecordListModel::ShowReading(int row, const ReadingRecord& reading)
{
    if (m_kind != KindReadings || row < 0 || row >= m_rows || m_columns.empty())
        return;
    m_shown[row] = reading;
    emit dataChanged(index(row, 1), index(row, columnCount() - 1));
}

std::int32_t RecordListModel::GetValue(std::int32_t* count) const
{
    if (count)
        *count = m_count;
    return m_value;
}

int RecordListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int RecordListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QString RecordListModel::Cell(int row, int column) const
{
    const auto r = static_cast<std::size_t>(row);
    switch (m_kind) {
    case KindHhuBlocks: {
        if (r >= m_hhuBlocks.size())
            return {};
        const HhuBlockRow& b = m_hhuBlocks[r];
        switch (column) {
        case 0:
            return QString::asprintf("%04d", static_cast<int>(b.block.district_id));
        case 1:
            return QString::fromStdString(b.block.district_name);
        case 2:
            return QString::number(b.meters);
        case 3:
            return QString::asprintf("%04x", static_cast<unsigned>(b.block.district_para));
        }
        return {};
    }
    case KindMeters: {
        const MeterList& meters = m_doc.Meters();
        if (r >= meters.size())
            return {};
        const MeterRecord& m = meters[r];
        switch (column) {
        case 0:
            return QString::number(row + 1);
        case 1:
            return QString::fromStdString(m.meter_num);
        case 2:
            return QString::fromStdString(m.property_num);
        case 3:
            return QString::fromStdString(m.meter_address);
        }
        return {};
    }
    case KindReadings: {
        const HhuDataFile& file = m_doc.GetDataFile();
        const std::vector<ReadingRecord>& readings = file.GetReadings();
        const std::size_t at = m_firstReading + r;
        if (at >= readings.size())
            return {};
        const auto shown = m_shown.find(row);
        const ReadingRecord& reading =
            column > 0 && shown != m_shown.end() ? shown->second : readings[at];
        const QString text = QString::fromStdString(
            ReadingListCell(reading, TariffMask(file.GetParameterBlock()), column));
        // A damaged record is marked where the eye starts reading the row.
        if (column == 0 && !readings[at].damage.empty())
            return tr("! ") + text;
        return text;
    }
    }
    return {};
}

QString RecordListModel::ReadingTitle(const ReadingColumn& column)
{
    switch (column.field) {
    case ReadingColumn::MeterId:
        return tr("Meter ID");
    case ReadingColumn::MeterId2:
        return tr("Meter ID2");
    case ReadingColumn::Date:
        return tr("Date");
    case ReadingColumn::Energy:
        return column.tariff ? tr("T%1 E", "energy of a tariff").arg(column.tariff)
                             : tr("Total E", "total energy");
    case ReadingColumn::LastMonth:
        return column.tariff ? tr("LM T%1 E", "last month's energy of a tariff").arg(column.tariff)
                             : tr("LM Total E", "last month's total energy");
    }
    return {};
}

QString RecordListModel::Damage(int row) const
{
    if (m_kind != KindReadings || row < 0)
        return {};
    const std::vector<ReadingRecord>& readings = m_doc.GetDataFile().GetReadings();
    const std::size_t at = m_firstReading + static_cast<std::size_t>(row);
    if (at >= readings.size() || readings[at].damage.empty())
        return {};
    return tr("this record is damaged: %1").arg(QString::fromStdString(readings[at].damage));
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows || index.column() >= columnCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return Cell(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(ColumnAt(index.column()).alignment | Qt::AlignVCenter);
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole: {
        const QString damage = Damage(index.row());
        return damage.isEmpty() ? QVariant() : QVariant(damage);
    }
    case Qt::ForegroundRole:
        if (!Damage(index.row()).isEmpty())
            return QBrush(Qt::red);
        return {};
    default:
        return {};
    }
}

QVariant RecordListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return ColumnAt(section).title;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(ColumnAt(section).alignment | Qt::AlignVCenter);
    return {};
}

CRecordListCtrl::CRecordListCtrl(int id, QWidget* parent) : QTableView(parent), m_id(id)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setSortingEnabled(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    // Fixed row heights keep thousands of rows cheap to lay out and scroll.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setSortIndicatorShown(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // The selected row stays marked as strongly when the focus is elsewhere.
    QPalette pal = palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        pal.setColor(QPalette::Inactive, role, pal.color(QPalette::Active, role));
    setPalette(pal);
}

void CRecordListCtrl::SetDocument(CMrvDoc& doc)
{
    m_doc = &doc;
    Build();
}

void CRecordListCtrl::SetKind(int kind)
{
    m_kind = kind;
    Build();
}

void CRecordListCtrl::Build()
{
    if (m_doc == nullptr || m_kind < 1 || m_kind > 3)
        return;
    auto* old = m_model;
    m_model = new RecordListModel(*m_doc, m_kind, this);
    setModel(m_model);
    delete old;
    connect(m_model, &QAbstractItemModel::columnsInserted, this, [this](const QModelIndex&,
                                                                        int first, int last) {
        for (int c = first; c <= last; ++c)
            setColumnWidth(c, ColumnWidth(c));
    });
}

int CRecordListCtrl::ColumnWidth(int column) const
{
    const RecordListModel::Column& c = m_model->ColumnAt(column);
    // Room for the cell's and the header's margins and the grid line.
    constexpr int kPadding = 14;
    const int title = horizontalHeader()->fontMetrics().horizontalAdvance(c.title) + kPadding;
    const int widest = fontMetrics().horizontalAdvance(c.widest) + kPadding;
    return std::max({c.width, title, widest});
}

int CRecordListCtrl::FillList(std::int32_t key)
{
    return m_model ? m_model->FillList(key) : 0;
}

void CRecordListCtrl::RefreshRow(int row)
{
    if (m_model)
        m_model->RefreshRow(row);
}

void CRecordListCtrl::ShowReading(int row, const ReadingRecord& reading)
{
    if (m_model)
        m_model->ShowReading(row, reading);
}

std::int32_t CRecordListCtrl::GetValue(std::int32_t* count) const
{
    if (!m_model) {
        if (count)
            *count = 0;
        return 0;
    }
    return m_model->GetValue(count);
}

std::int32_t CRecordListCtrl::CurrentKey() const
{
    return m_model ? m_model->CurrentKey() : 0;
}

int CRecordListCtrl::GetItemCount() const
{
    return m_model ? m_model->rowCount() : 0;
}

int CRecordListCtrl::SelectedRow() const
{
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void CRecordListCtrl::SelectRow(int row)
{
    if (!m_model)
        return;
    if (row < 0 || row >= GetItemCount()) {
        selectionModel()->clearSelection();
        return;
    }
    QTableView::selectRow(row);
}

void CRecordListCtrl::mousePressEvent(QMouseEvent* event)
{
    QTableView::mousePressEvent(event);
    if (event->button() == Qt::RightButton)
        emit RightPressed(m_id, event->globalPosition().toPoint());
}

void CRecordListCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit DoubleClicked(m_id, event->globalPosition().toPoint());
}

void CRecordListCtrl::contextMenuEvent(QContextMenuEvent* event)
{
    // The mouse's menu came with the right press; the keyboard's opens at the selected row.
    if (event->reason() == QContextMenuEvent::Mouse)
        return;
    const int row = SelectedRow();
    emit RightPressed(m_id, KeyboardMenuPoint(*this, row >= 0 ? m_model->index(row, 0)
                                                               : QModelIndex()));
}

} // namespace mrv

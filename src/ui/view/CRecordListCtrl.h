#pragma once
// The right-pane list of the main view: the Blocks of one HHU (kind 1), the meters of one Block
// (kind 2) or the readings of one Block of the open data file (kind 3). The model reads the
// document's records when a cell is drawn; only kind 1 keeps rows of its own (at most 21
// Blocks with their meter counts, which the database counts for it).
#include "base/Records.h"
#include "datafile/HhuDataFile.h"
#include "datafile/ReadingList.h"

#include <QAbstractTableModel>
#include <QTableView>

#include <map>
#include <vector>

namespace mrv {

class CMrvDoc;

class RecordListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Kind { KindHhuBlocks = 1, KindMeters = 2, KindReadings = 3 };
    // At most this many Blocks of one HHU are listed and counted.
    static constexpr int kMaxHhuBlockRows = 21;

    struct Column {
        QString title;
        int width; // in pixels, at the least
        Qt::Alignment alignment;
        // The widest text the column shows (digits are all alike wide in the usual fonts):
        // the list widens a column whose width would cut it in the font in use.
        QString widest;
    };

    RecordListModel(CMrvDoc& doc, int kind, QObject* parent = nullptr);

    int Kind() const { return m_kind; }
    // Empties the list and fills it for `key` (kind 1 an HHU id, kind 2 a Block id, kind 3 the
    // index of a Block of the data file). The rows filled; 0 for key 0 (kinds 1 and 2) or a
    // Block index the file does not have, and then the key and counts stay as they were.
    int FillList(std::int32_t key);
    // Kind 2: row `row` is drawn again from the document's meter.
    void RefreshRow(int row);
    // Kind 3: columns 1 and after of row `row` show `reading`.
    void ShowReading(int row, const ReadingRecord& reading);
    // m_value; m_count through `count` when given. Kind 1: the HHU's Blocks and their meters,
    // all of them, also those beyond the rows listed; kind 2: the Block and its meters; kind 3:
    // the first reading shown and the rows.
    std::int32_t GetValue(std::int32_t* count = nullptr) const;
    std::int32_t CurrentKey() const { return m_currentKey; }
    // Kind 3: the columns are made anew at the next fill (a data file was opened).
    void ForgetColumns() { m_columnsMade = 0; }
    const Column& ColumnAt(int column) const { return m_columns.at(std::size_t(column)); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    struct HhuBlockRow {
        BlockRecord block;
        int meters = 0;
    };

    void RemoveRows();
    void InsertRows(int rows);
    void SetColumns(std::vector<Column> columns);
    QString Cell(int row, int column) const;
    // Kind 3: the title of a reading column, in the window's language.
    static QString ReadingTitle(const ReadingColumn& column);
    // Kind 3: "this record is damaged: <why>" for a damaged record of the row, else empty.
    QString Damage(int row) const;

    CMrvDoc& m_doc;
    int m_kind;
    std::int32_t m_columnsMade = 0;
    std::int32_t m_value = 0;
    std::int32_t m_count = 0;
    std::int32_t m_columnCount = 0;
    std::int32_t m_currentKey = 0;
    std::vector<Column> m_columns;
    int m_rows = 0;
    std::vector<HhuBlockRow> m_hhuBlocks;      // kind 1
    std::size_t m_firstReading = 0;            // kind 3: index of the Block's first reading
    std::map<int, ReadingRecord> m_shown;      // kind 3: rows given a reading by ShowReading
};

class CRecordListCtrl final : public QTableView {
    Q_OBJECT
public:
    // `id` is the control id the view knows it by (220, 221, 222).
    explicit CRecordListCtrl(int id, QWidget* parent = nullptr);

    int Id() const { return m_id; }
    void SetDocument(CMrvDoc& doc);
    // 1, 2 or 3; after SetDocument.
    void SetKind(int kind);
    int Kind() const { return m_kind; }
    RecordListModel* Model() const { return m_model; }

    int FillList(std::int32_t key);
    void RefreshRow(int row);
    void ShowReading(int row, const ReadingRecord& reading);
    std::int32_t GetValue(std::int32_t* count = nullptr) const;
    std::int32_t CurrentKey() const;
    int GetItemCount() const;
    // The selected row, -1 when none.
    int SelectedRow() const;
    void SelectRow(int row);

signals:
    // A right-button press (or the context-menu key) and a left double click, with the
    // pointer in screen coordinates.
    void RightPressed(int id, QPoint globalPos);
    void DoubleClicked(int id, QPoint globalPos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void Build();
    // The column's width: as given, or wider where the font needs it for the title or the
    // widest text.
    int ColumnWidth(int column) const;

    int m_id;
    CMrvDoc* m_doc = nullptr;
    int m_kind = 0;
    RecordListModel* m_model = nullptr;
};

} // namespace mrv

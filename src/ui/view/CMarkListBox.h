#pragma once
// The left-pane list of the main view: HHUs (kind 1), Blocks (kind 2) or the Blocks of the open
// data file (kind 3). Rows hold no text: row i stands for element i of the document's array (or
// entry i of the data file's Block table), and the model formats it when the row is drawn. The
// selected row shows a blue ring and inverted text; in kind 2 a blue dot marks the Blocks of
// the HHU whose Blocks the HHU mode lists.
#include "datafile/HhuDataFile.h"

#include <QAbstractListModel>
#include <QListView>
#include <QStyledItemDelegate>

#include <functional>
#include <vector>

namespace mrv {

class CMrvDoc;

// Where a context menu opened from the keyboard shows: on the middle of `row` of `list`, or
// near its top-left corner when no row is given; in screen coordinates.
QPoint KeyboardMenuPoint(const QAbstractItemView& list, const QModelIndex& row);

class MarkListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    enum Kind { KindHhus = 1, KindBlocks = 2, KindFileBlocks = 3 };
    // Kind 2: the `land_id` of the row's Block.
    static constexpr int kHhuIdRole = Qt::UserRole + 1;

    MarkListModel(CMrvDoc& doc, int kind, QObject* parent = nullptr);

    int Kind() const { return m_kind; }
    // Empties the list and adds one row per record the document holds now.
    void Reload();
    void Clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    int Available() const;
    void SetRows(int rows);

    CMrvDoc& m_doc;
    int m_kind;
    int m_rows = 0;
    std::vector<BlockEntry> m_entries; // kind 3: the Block table of the open file
};

// Draws one 20-pixel row: ring, inverted text and the HHU dot.
class MarkRowDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    // `markKey` gives the HHU id whose Blocks get the dot (kind 2).
    MarkRowDelegate(int kind, std::function<int()> markKey, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // A name cut at the divider shows whole in a tooltip; one that fits shows none.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    int m_kind;
    std::function<int()> m_markKey;
};

class CMarkListBox final : public QListView {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 20;

    // `id` is the control id the view knows it by (230, 231, 232).
    explicit CMarkListBox(int id, QWidget* parent = nullptr);

    int Id() const { return m_id; }
    void SetDocument(CMrvDoc& doc);
    // 1 HHUs, 2 Blocks, 3 Blocks of the data file; after SetDocument.
    void SetKind(int kind);
    int Kind() const { return m_kind; }
    // Where the HHU id of the dot comes from (kind 2).
    void SetMarkKey(std::function<int()> markKey);

    MarkListModel* Model() const { return m_model; }
    int GetCount() const;
    // The selected row, -1 when none.
    int GetCurSel() const;
    // Selects `row` (-1: none) without reporting a selection change, as a program does.
    void SetCurSel(int row);
    // Empties the list and adds one row per record of the document.
    void ResetContent();

signals:
    // The user changed the selection.
    void SelChange(int id);
    // A right-button press (or the context-menu key) and a left double click, with the
    // pointer in screen coordinates.
    void RightPressed(int id, QPoint globalPos);
    void DoubleClicked(int id, QPoint globalPos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

private:
    void Build();

    int m_id;
    CMrvDoc* m_doc = nullptr;
    int m_kind = 0;
    std::function<int()> m_markKey;
    MarkListModel* m_model = nullptr;
    bool m_quiet = false;
};

} // namespace mrv

#include "ui/view/CMarkListBox.h"

#include "doc/CMrvDoc.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace mrv {

namespace {
// Where a row's text starts: after the ring of the selected row.
constexpr int kTextLeft = 20;
} // namespace

QPoint KeyboardMenuPoint(const QAbstractItemView& list, const QModelIndex& row)
{
    const QPoint at = row.isValid() ? list.visualRect(row).center() : QPoint(4, 4);
    return list.viewport()->mapToGlobal(at);
}

MarkListModel::MarkListModel(CMrvDoc& doc, int kind, QObject* parent)
    : QAbstractListModel(parent), m_doc(doc), m_kind(kind)
{
    // The rows stand for the document's records: when those are reloaded the rows follow.
    connect(&m_doc, &CMrvDoc::TablesReloaded, this, [this](int flags, std::int32_t) {
        if ((m_kind == KindHhus && (flags & CMrvDoc::TableHhus)) ||
            (m_kind == KindBlocks && (flags & CMrvDoc::TableBlocks)))
            Reload();
    });
    connect(&m_doc, &CMrvDoc::DataFileChanged, this, [this] {
        if (m_kind == KindFileBlocks)
            Reload();
    });
}

int MarkListModel::Available() const
{
    switch (m_kind) {
    case KindHhus:
        return static_cast<int>(m_doc.Hhus().size());
    case KindBlocks:
        return static_cast<int>(m_doc.Blocks().size());
    case KindFileBlocks:
        return static_cast<int>(m_entries.size());
    default:
        return 0;
    }
}

void MarkListModel::SetRows(int rows)
{
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

void MarkListModel::Reload()
{
    if (m_kind == KindFileBlocks) {
        const HhuDataFile& file = m_doc.GetDataFile();
        m_entries = file.IsLoaded() ? file.GetBlockEntries() : std::vector<BlockEntry>{};
    }
    SetRows(Available());
}

void MarkListModel::Clear()
{
    SetRows(0);
}

int MarkListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

QVariant MarkListModel::data(const QModelIndex& index, int role) const
{
    // A row whose record is gone (the document reloaded a shorter table and the list was not
    // refilled yet) shows nothing.
    const int row = index.row();
    if (!index.isValid() || row >= m_rows || row >= Available())
        return {};
    const auto i = static_cast<std::size_t>(row);
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        switch (m_kind) {
        case KindHhus:
            return QString::asprintf("%04d", static_cast<int>(m_doc.Hhus()[i].land_id));
        case KindBlocks:
            return QString::fromStdString(m_doc.Blocks()[i].district_name);
        case KindFileBlocks:
            return QString::fromStdString(m_entries[i].name);
        }
    }
    if (role == kHhuIdRole && m_kind == KindBlocks)
        return static_cast<int>(m_doc.Blocks()[i].land_id);
    return {};
}

MarkRowDelegate::MarkRowDelegate(int kind, std::function<int()> markKey, QObject* parent)
    : QStyledItemDelegate(parent), m_kind(kind), m_markKey(std::move(markKey))
{
}

QSize MarkRowDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return {150, CMarkListBox::kRowHeight};
}

bool MarkRowDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString text = index.data(Qt::DisplayRole).toString();
    // The text starts 20 pixels in (see paint) and is cut at the row's right edge.
    const int needed = kTextLeft + QFontMetrics(option.font).horizontalAdvance(text);
    if (text.isEmpty() || needed <= option.rect.right() + 1) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    QToolTip::showText(event->globalPos(), text, view->viewport(), option.rect);
    return true;
}

void MarkRowDelegate::paint(QPainter* p, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const
{
    const QVariant value = index.data(Qt::DisplayRole);
    if (!value.isValid())
        return;
    const QString text = value.toString();
    const QRect r = option.rect;
    const int left = r.left();
    const int top = r.top();
    const int bottom = r.top() + r.height(); // one past the row, as the ring's box counts
    const QColor window = option.palette.color(QPalette::Base);
    const QColor ink = option.palette.color(QPalette::Text);
    const QColor blue(0, 0, 255);
    const QFontMetrics fm(option.font);

    p->save();
    p->setFont(option.font);
    if (option.state & QStyle::State_Selected) {
        p->setRenderHint(QPainter::Antialiasing);
        p->setPen(QPen(blue, 2));
        p->setBrush(window);
        p->drawEllipse(QRectF(QPointF(left + 4, top + 5), QPointF(15, bottom - 5)));
        p->setRenderHint(QPainter::Antialiasing, false);
        // The text shows inverted: the window colour's opposite behind the text colour's.
        const QRect box(19, top, fm.horizontalAdvance(text), fm.height());
        p->fillRect(box, QColor(255 - window.red(), 255 - window.green(), 255 - window.blue()));
        p->setPen(QColor(255 - ink.red(), 255 - ink.green(), 255 - ink.blue()));
        p->drawText(QPoint(19, top + fm.ascent()), text);
    } else {
        p->fillRect(r, window);
        p->setPen(ink);
        p->drawText(QPoint(kTextLeft, top + fm.ascent()), text);
    }
    if (m_kind == MarkListModel::KindBlocks && m_markKey &&
        index.data(MarkListModel::kHhuIdRole).toInt() == m_markKey()) {
        const int cx = (left + 19) / 2;
        const int cy = (top + bottom) / 2;
        p->setRenderHint(QPainter::Antialiasing);
        p->setPen(QPen(blue, 2));
        p->setBrush(blue);
        p->drawEllipse(QRectF(QPointF(cx - 2, cy - 2), QPointF(cx + 2, cy + 2)));
    }
    p->restore();
}

CMarkListBox::CMarkListBox(int id, QWidget* parent) : QListView(parent), m_id(id)
{
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The scroll bar stays, disabled, when every row fits.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
}

void CMarkListBox::SetDocument(CMrvDoc& doc)
{
    m_doc = &doc;
    Build();
}

void CMarkListBox::SetKind(int kind)
{
    m_kind = kind;
    Build();
}

void CMarkListBox::SetMarkKey(std::function<int()> markKey)
{
    m_markKey = std::move(markKey);
    Build();
}

void CMarkListBox::Build()
{
    if (m_doc == nullptr || m_kind < 1 || m_kind > 3)
        return;
    auto* old = m_model;
    auto* oldDelegate = itemDelegate();
    m_model = new MarkListModel(*m_doc, m_kind, this);
    setModel(m_model);
    // The mark key is read when a row is drawn, so the delegate asks this list for it.
    setItemDelegate(new MarkRowDelegate(
        m_kind, [this] { return m_markKey ? m_markKey() : 0; }, this));
    delete oldDelegate;
    delete old;
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_quiet)
            emit SelChange(m_id);
    });
}

int CMarkListBox::GetCount() const
{
    return m_model ? m_model->rowCount() : 0;
}

int CMarkListBox::GetCurSel() const
{
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void CMarkListBox::SetCurSel(int row)
{
    if (!m_model)
        return;
    m_quiet = true;
    if (row < 0 || row >= GetCount()) {
        selectionModel()->clearSelection();
    } else {
        const QModelIndex index = m_model->index(row);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        scrollTo(index);
    }
    m_quiet = false;
}

void CMarkListBox::ResetContent()
{
    if (m_model)
        m_model->Reload();
}

void CMarkListBox::mousePressEvent(QMouseEvent* event)
{
    // A right press on a row selects it first, so that the menu acts on the row under the
    // pointer (a press below the rows keeps the selection); then it asks the view for its menu.
    if (event->button() == Qt::RightButton) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        const QModelIndex index = indexAt(event->position().toPoint());
        // As a left click does: the view hears of the new selection.
        if (index.isValid() && index.row() != GetCurSel())
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        emit RightPressed(m_id, event->globalPosition().toPoint());
        return;
    }
    QListView::mousePressEvent(event);
}

void CMarkListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit DoubleClicked(m_id, event->globalPosition().toPoint());
}

void CMarkListBox::contextMenuEvent(QContextMenuEvent* event)
{
    // The mouse's menu came with the right press; the keyboard's opens at the selected row.
    if (event->reason() == QContextMenuEvent::Mouse)
        return;
    emit RightPressed(m_id, KeyboardMenuPoint(*this, currentIndex()));
}

QItemSelectionModel::SelectionFlags CMarkListBox::selectionCommand(const QModelIndex& index,
                                                                   const QEvent*) const
{
    // One row is always selected once one was: a click never takes the selection away.
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    return QItemSelectionModel::ClearAndSelect;
}

} // namespace mrv

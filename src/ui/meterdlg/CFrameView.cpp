#include "ui/meterdlg/CFrameView.h"

#include "base/NumberText.h"
#include "base/Prompter.h"
#include "datafile/FileBytes.h"

#include <QColor>
#include <QCoreApplication>
#include <QDateTime>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace mrv {

namespace {

// The parent of a row, packed into the index's id: 0 for a frame; the frame (plus one) in the
// high bits for a layer; and the layer (plus one) in the low bits for a field.
constexpr int kLayerBits = 16;
constexpr quintptr kLayerMask = (quintptr(1) << kLayerBits) - 1;

quintptr LayerParent(std::size_t frame)
{
    return quintptr(frame + 1) << kLayerBits;
}

quintptr FieldParent(std::size_t frame, std::size_t layer)
{
    return LayerParent(frame) | quintptr(layer + 1);
}

QColor Good()
{
    return QColor(0, 110, 40);
}

QColor Bad()
{
    return QColor(190, 20, 20);
}

QString QText(const std::string& s)
{
    return QString::fromStdString(s);
}

// A layer's or a field's name, in the user's language.
QString DecodeText(const std::string& name)
{
    return QCoreApplication::translate("mrv::FrameDecode", name.c_str());
}

} // namespace

CFrameTraceModel::CFrameTraceModel(QObject* parent) : QAbstractItemModel(parent) {}

void CFrameTraceModel::Add(const TransactionTrace& trace)
{
    if (m_entries.empty())
        m_runStartUs = trace.sentUs;
    const int first = 2 * Transactions();
    beginInsertRows({}, first, first + 1);
    m_entries.push_back({trace, DecodeRequest(trace.request, trace.settings), DecodeReply(trace)});
    endInsertRows();
}

void CFrameTraceModel::Clear()
{
    beginResetModel();
    m_entries.clear();
    m_runStartUs = 0;
    endResetModel();
}

std::string CFrameTraceModel::Text() const
{
    std::string out;
    for (const Entry& e : m_entries)
        out += TraceLinesWithLayers(e.trace, m_runStartUs);
    return out;
}

const DecodedFrame& CFrameTraceModel::Decoded(std::size_t frame) const
{
    const Entry& e = m_entries[frame / 2];
    return frame % 2 ? e.reply : e.request;
}

QModelIndex CFrameTraceModel::index(int row, int column, const QModelIndex& parent) const
{
    if (row < 0 || column < 0 || column >= ColumnCount || row >= rowCount(parent))
        return {};
    if (!parent.isValid())
        return createIndex(row, column, quintptr(0));
    const quintptr id = parent.internalId();
    if (id == 0)
        return createIndex(row, column, LayerParent(std::size_t(parent.row())));
    if ((id & kLayerMask) == 0)
        return createIndex(row, column,
                           FieldParent((id >> kLayerBits) - 1, std::size_t(parent.row())));
    return {};
}

QModelIndex CFrameTraceModel::parent(const QModelIndex& child) const
{
    if (!child.isValid() || child.internalId() == 0)
        return {};
    const quintptr id = child.internalId();
    const std::size_t frame = (id >> kLayerBits) - 1;
    if ((id & kLayerMask) == 0)
        return createIndex(int(frame), 0, quintptr(0));
    return createIndex(int((id & kLayerMask) - 1), 0, LayerParent(frame));
}

int CFrameTraceModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return 2 * Transactions();
    if (parent.column() != 0)
        return 0;
    const quintptr id = parent.internalId();
    if (id == 0)
        return int(Decoded(std::size_t(parent.row())).size());
    if ((id & kLayerMask) == 0) {
        const DecodedFrame& d = Decoded((id >> kLayerBits) - 1);
        return int(d[std::size_t(parent.row())].fields.size());
    }
    return 0;
}

int CFrameTraceModel::columnCount(const QModelIndex&) const
{
    return ColumnCount;
}

QVariant CFrameTraceModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const kTitles[ColumnCount] = {QT_TR_NOOP("Time / field"), QT_TR_NOOP("Dir"),
                                                     QT_TR_NOOP("Outcome"), QT_TR_NOOP("Bytes"),
                                                     QT_TR_NOOP("Meaning")};
    return section >= 0 && section < ColumnCount ? tr(kTitles[section]) : QVariant();
}

QVariant CFrameTraceModel::FrameData(std::size_t frame, int column, int role) const
{
    const TransactionTrace& t = m_entries[frame / 2].trace;
    const bool reply = frame % 2 != 0;
    const bool answered = t.outcome == TraceOutcome::Answered;
    if (role == Qt::ForegroundRole && reply && column == ColOutcome)
        return answered ? Good() : Bad();
    if (role == Qt::ToolTipRole && reply)
        return QText(t.detail);
    if (role != Qt::DisplayRole)
        return {};
    switch (column) {
    case ColTime: {
        const std::uint64_t at = reply ? ReplyLineUs(t) : t.sentUs;
        return QText(FormatC("%.3f", double(at >= m_runStartUs ? at - m_runStartUs : 0) / 1e6));
    }
    case ColDir:
        return reply ? "RX" : "TX";
    case ColBytes: {
        const std::vector<std::uint8_t> bytes = reply ? t.Received() : t.request;
        return bytes.empty() ? QString("-") : QText(HexBytes(bytes));
    }
    case ColOutcome:
        return reply ? QCoreApplication::translate("mrv::LinkTrace", OutcomeWord(t.outcome))
                     : QString();
    case ColMeaning:
        return QText(reply ? t.detail : RequestSummary(t));
    default:
        return {};
    }
}

QVariant CFrameTraceModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int column = index.column();
    if (role == Qt::FontRole && column == ColBytes)
        return QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const quintptr id = index.internalId();
    if (id == 0)
        return FrameData(std::size_t(index.row()), column, role);

    const std::size_t frame = (id >> kLayerBits) - 1;
    const DecodedFrame& d = Decoded(frame);
    if ((id & kLayerMask) == 0) {
        const FrameLayer& layer = d[std::size_t(index.row())];
        if (role == Qt::DisplayRole && column == ColTime)
            return DecodeText(layer.name);
        return {};
    }
    const FrameField& f = d[(id & kLayerMask) - 1].fields[std::size_t(index.row())];
    if (role == Qt::ForegroundRole && column == ColOutcome && f.check != FieldCheck::Info)
        return f.check == FieldCheck::Ok ? Good() : Bad();
    if (role == Qt::ToolTipRole && !f.note.empty())
        return QText(f.note);
    if (role != Qt::DisplayRole)
        return {};
    switch (column) {
    case ColTime:
        return DecodeText(f.name);
    case ColBytes:
        return f.bytes.empty() ? QString("-") : QText(HexBytes(f.bytes));
    case ColOutcome:
        return f.check == FieldCheck::Ok    ? tr("ok", "field check")
               : f.check == FieldCheck::Bad ? tr("wrong", "field check")
                                            : QString();
    case ColMeaning:
        return QText(f.check == FieldCheck::Bad && !f.note.empty()
                         ? (f.value.empty() ? f.note : f.value + " (" + f.note + ")")
                         : f.value);
    default:
        return {};
    }
}

CFrameView::CFrameView(Prompter& prompter, QWidget* parent)
    : QWidget(parent), m_prompter(prompter), m_model(new CFrameTraceModel(this))
{
    setObjectName("frameView");
    m_tree = new QTreeView(this);
    m_tree->setObjectName("frames");
    m_tree->setAccessibleName(tr("Frames"));
    m_tree->setModel(m_model);
    m_tree->setUniformRowHeights(true);
    m_tree->setAlternatingRowColors(true);
    m_tree->header()->setStretchLastSection(true);
    // Room for a field's name three levels deep, and for a read reply's bytes.
    m_tree->setColumnWidth(CFrameTraceModel::ColTime, 170);
    m_tree->setColumnWidth(CFrameTraceModel::ColDir, 36);
    m_tree->setColumnWidth(CFrameTraceModel::ColOutcome, 96);
    m_tree->setColumnWidth(CFrameTraceModel::ColBytes, 330);

    m_statsLabel = new QLabel(this);
    m_statsLabel->setObjectName("statistics");
    m_statsLabel->setAccessibleName(tr("Statistics"));
    m_statsLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_statsLabel->setWordWrap(true);
    m_save = new QPushButton(tr("Save Trace..."), this);
    m_save->setObjectName("saveTrace");
    m_save->setAutoDefault(false);
    m_save->setEnabled(false);
    connect(m_save, &QPushButton::clicked, this, &CFrameView::OnSave);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_statsLabel, 1);
    bottom->addWidget(m_save, 0, Qt::AlignTop);
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(m_tree, 1);
    top->addLayout(bottom);
    ShowStatistics();
}

void CFrameView::Add(const TransactionTrace& trace)
{
    // Follow the new rows unless the user scrolled back to read.
    const QScrollBar* bar = m_tree->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    m_model->Add(trace);
    m_stats.Add(trace);
    if (atEnd)
        m_tree->scrollToBottom();
    ShowStatistics();
}

void CFrameView::Clear()
{
    m_model->Clear();
    m_stats.Clear();
    ShowStatistics();
}

void CFrameView::ShowStatistics()
{
    QString text = QText(m_stats.Text()).trimmed();
    m_statsLabel->setText(text.isEmpty() ? tr("No exchange yet.") : text);
    m_save->setEnabled(!m_stats.Empty());
}

std::string CFrameView::Text() const
{
    const QString when = QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm:ss");
    return "Frame trace, saved " + when.toStdString() +
           "\n(seconds since the first request; TX what was sent, RX what came back)\n\n" +
           m_model->Text() + "\nstatistics:\n" + m_stats.Text();
}

void CFrameView::OnSave()
{
    //: a file type's name, then | and its pattern (kept as it is)
    const QString filter = tr("text(.txt)|*.txt");
    const std::optional<std::string> path =
        m_prompter.ChooseSaveFile(tr("Save Trace").toStdString(), filter.toStdString(), {}, "txt");
    if (!path || path->empty())
        return;
    const std::string text = Text();
    const filebytes::WriteResult written =
        filebytes::WriteFileWhole(*path, std::vector<std::uint8_t>(text.begin(), text.end()));
    if (!written)
        m_prompter.Message(filebytes::WriteFailureText(*path, written), tr("Error").toStdString(),
                           MsgIcon::Warning);
}

} // namespace mrv

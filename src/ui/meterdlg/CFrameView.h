#pragma once
// The frame view of the meter dialogs: one row per request and per reply (time since the
// run's first request, direction, bytes, outcome, meaning), each opening into its layers and
// their fields with their checks; below it the run's statistics per meter and "Save Trace...".
#include "link/FrameDecode.h"
#include "link/LinkStatistics.h"

#include <QAbstractItemModel>
#include <QWidget>

#include <vector>

class QLabel;
class QPushButton;
class QTreeView;

namespace mrv {

class Prompter;

// The trace of a run as a tree: frames at the top, their layers below, the fields below those.
class CFrameTraceModel : public QAbstractItemModel {
    Q_OBJECT
public:
    // The outcome before the bytes: it is what a row is read for, and bytes run long.
    enum Column { ColTime, ColDir, ColOutcome, ColBytes, ColMeaning, ColumnCount };

    explicit CFrameTraceModel(QObject* parent = nullptr);

    void Add(const TransactionTrace& trace);
    void Clear();
    int Transactions() const { return static_cast<int>(m_entries.size()); }
    const TransactionTrace& Transaction(int i) const { return m_entries[std::size_t(i)].trace; }

    // The whole trace as text: each frame's line and its decoded layers.
    std::string Text() const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    struct Entry {
        TransactionTrace trace;
        DecodedFrame request;
        DecodedFrame reply;
    };
    const DecodedFrame& Decoded(std::size_t frame) const;
    QVariant FrameData(std::size_t frame, int column, int role) const;

    std::vector<Entry> m_entries;
    std::uint64_t m_runStartUs = 0;
};

class CFrameView : public QWidget {
    Q_OBJECT
public:
    explicit CFrameView(Prompter& prompter, QWidget* parent = nullptr);

    // A transaction of the run: a request row, a reply row, the statistics brought up to date.
    void Add(const TransactionTrace& trace);
    // A new run starts.
    void Clear();

    CFrameTraceModel* Model() const { return m_model; }
    const LinkStatistics& Statistics() const { return m_stats; }
    QTreeView* Tree() const { return m_tree; }
    QLabel* StatisticsLabel() const { return m_statsLabel; }
    QPushButton* SaveButton() const { return m_save; }

    // The text "Save Trace..." writes: a heading, the frames with their layers, the statistics.
    std::string Text() const;

public slots:
    // Asks for a file and writes the trace there (replacing a file whole, never in part).
    void OnSave();

private:
    void ShowStatistics();

    Prompter& m_prompter;
    CFrameTraceModel* m_model;
    LinkStatistics m_stats;
    QTreeView* m_tree;
    QLabel* m_statsLabel;
    QPushButton* m_save;
};

} // namespace mrv

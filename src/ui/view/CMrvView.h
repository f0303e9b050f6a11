#pragma once
// The main view. For now a plain central widget that remembers what the document asked it
// to show; the lists and drawing of the three modes come with the view's own work.
#include <QWidget>

namespace mrv {

class CMrvDoc;

class CMrvView : public QWidget {
    Q_OBJECT
public:
    explicit CMrvView(CMrvDoc& doc, QWidget* parent = nullptr);

    // The document loaded new tables; `code` 2: HHUs and Blocks.
    void RefreshLists(int code);
    // The database was closed: nothing to show.
    void ResetDisplay();

    int LastRefreshCode() const { return m_lastRefresh; }
    int ShownMode() const { return m_shownMode; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CMrvDoc& m_doc;
    int m_lastRefresh = 0;
    int m_shownMode = 0;
};

} // namespace mrv

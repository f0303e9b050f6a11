#include "ui/view/CMrvView.h"

#include "doc/CMrvDoc.h"

#include <QPainter>

namespace mrv {

CMrvView::CMrvView(CMrvDoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc)
{
    setObjectName("MrvView");
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void CMrvView::RefreshLists(int code)
{
    m_lastRefresh = code;
    m_shownMode = m_doc.GetViewMode();
    update();
}

void CMrvView::ResetDisplay()
{
    m_lastRefresh = 0;
    m_shownMode = 0;
    update();
}

void CMrvView::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    // Until the lists exist, say what is loaded so the user sees that Open Database worked.
    QPainter p(this);
    p.setPen(Qt::darkGray);
    QString text;
    if (m_doc.IsDatabaseOpen()) {
        std::int32_t hhus = 0, blocks = 0;
        m_doc.GetHhus(&hhus);
        m_doc.GetBlocks(&blocks);
        // One pass: a server's name holds "%2F" and the like, which a second arg() would take
        // for its own place marker.
        text = QString("%1\nHHU: %2   Block: %3")
                   .arg(QString::fromStdString(m_doc.m_dbName), QString::number(hhus),
                        QString::number(blocks));
    } else {
        text = "No database open";
    }
    p.drawText(rect().adjusted(12, 12, -12, -12), Qt::AlignLeft | Qt::AlignTop, text);
}

} // namespace mrv

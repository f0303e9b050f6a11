#include "ui/app/CMrvApp.h"

#include "base/SettingsStore.h"
#include "db/DatabaseBackend.h"
#include "doc/CMrvDoc.h"
#include "ui/app/CMainFrame.h"
#include "ui/app/QtPrompter.h"
#include "ui/view/CMrvView.h"

#include <QFileInfo>
#include <QPainter>
#include <QPixmap>
#include <QUrl>

namespace mrv {

namespace {

QIcon StatusIcon(const QColor& fill, const QString& mark)
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(fill.darker(150), 2));
    p.setBrush(fill);
    p.drawEllipse(QRectF(2, 2, 28, 28));
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setPixelSize(18);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(2, 2, 28, 28), Qt::AlignCenter, mark);
    return QIcon(pm);
}

} // namespace

std::array<QIcon, 3> MakeStatusIcons()
{
    return {StatusIcon(QColor(40, 160, 60), QString::fromUtf8("\u2713")),
            StatusIcon(QColor(200, 40, 40), QString::fromUtf8("\u2717")),
            StatusIcon(QColor(150, 150, 150), "?")};
}

CMrvApp::CMrvApp(SettingsStore& store, Prompter* prompter, std::string programPath)
    : m_store(store), m_prompter(prompter), m_programPath(std::move(programPath))
{
    if (m_prompter == nullptr) {
        m_ownPrompter = std::make_unique<QtPrompter>(nullptr, "mrv003e");
        m_prompter = m_ownPrompter.get();
    }
}

CMrvApp::~CMrvApp()
{
    ExitInstance();
}

bool CMrvApp::InitInstance(bool show)
{
    m_recentFiles.Load(m_store);
    m_icons = MakeStatusIcons();

    m_doc = std::make_unique<CMrvDoc>(m_store, *m_prompter, m_programPath);
    m_frame = std::make_unique<CMainFrame>(*m_doc);
    m_frame->SetRecentFiles(&m_recentFiles);
    if (m_ownPrompter)
        m_ownPrompter->SetParent(m_frame.get());
    m_doc->LoadSettings();
    if (show) {
        m_frame->show();
        m_frame->repaint();
    }
    return true;
}

void CMrvApp::ExitInstance()
{
    if (!m_doc)
        return;
    m_frame.reset();
    if (m_ownPrompter)
        m_ownPrompter->SetParent(nullptr);
    m_doc.reset(); // saves the settings
    m_recentFiles.Save(m_store);
}

void CMrvApp::OpenFile(const QString& name)
{
    if (!m_frame || name.isEmpty())
        return;
    // A file manager may hand over a URL rather than a path.
    const QUrl url(name);
    const QString file = url.isLocalFile() ? url.toLocalFile() : name;
    if (!IsServerConnect(file.toStdString()) && file.endsWith(".dbf", Qt::CaseInsensitive))
        m_frame->View()->OpenDataFile(QFileInfo(file).absoluteFilePath().toStdString());
    else
        m_frame->OpenDatabaseNamed(file);
}

} // namespace mrv

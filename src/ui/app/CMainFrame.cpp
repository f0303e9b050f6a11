#include "ui/app/CMainFrame.h"

#include "datafile/HhuDataFile.h"
#include "db/DatabaseBackend.h"
#include "doc/CMrvDoc.h"
#include "doc/RecentFileList.h"
#include "ui/app/CFilePathDlg.h"
#include "ui/app/CServerDbDlg.h"
#include "ui/app/Language.h"
#include "ui/app/ProgramIcon.h"
#include "ui/datafile/CCreateDownloadDlg.h"
#include "ui/datafile/CDataFileSheet.h"
#include "ui/datafile/CExportDlg.h"
#include "ui/datafile/DataFileCommands.h"
#include "ui/meterdlg/CCommSettingDlg.h"
#include "ui/meterdlg/CLineCheckDlg.h"
#include "ui/meterdlg/CMeterTestDlg.h"
#include "ui/meterdlg/COperateDlg.h"
#include "ui/print/ReadingPrint.h"
#include "ui/view/CMarkListBox.h"
#include "ui/view/CMrvView.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace mrv {

namespace {

QPixmap Canvas()
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    return pm;
}

// A nine-pin serial connector.
QIcon ConfigIcon()
{
    QPixmap pm = Canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shell;
    shell.moveTo(2, 8);
    shell.lineTo(30, 8);
    shell.lineTo(26, 24);
    shell.lineTo(6, 24);
    shell.closeSubpath();
    p.setPen(QPen(QColor(40, 60, 110), 2));
    p.setBrush(QColor(170, 190, 225));
    p.drawPath(shell);
    p.setBrush(QColor(40, 60, 110));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i)
        p.drawEllipse(QPointF(7.5 + i * 4.25, 13), 1.5, 1.5);
    for (int i = 0; i < 4; ++i)
        p.drawEllipse(QPointF(9.5 + i * 4.4, 19), 1.5, 1.5);
    return QIcon(pm);
}

// A meter dial with its needle.
QIcon OperateIcon()
{
    QPixmap pm = Canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(QColor(250, 245, 220));
    p.drawRoundedRect(QRectF(3, 3, 26, 26), 4, 4);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.drawArc(QRectF(7, 9, 18, 18), 30 * 16, 120 * 16);
    p.setPen(QPen(QColor(200, 30, 30), 2));
    p.drawLine(QPointF(16, 18), QPointF(22, 11));
    return QIcon(pm);
}

// A hand-held unit: a body with a display and keys.
QIcon HhuIcon()
{
    QPixmap pm = Canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(50, 50, 60), 2));
    p.setBrush(QColor(230, 200, 90));
    p.drawRoundedRect(QRectF(8, 2, 16, 28), 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 60, 50));
    p.drawRect(QRectF(11, 6, 10, 8));
    p.setBrush(QColor(60, 60, 70));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRect(QRectF(11 + col * 3.6, 17 + row * 3.8, 2.6, 2.6));
    return QIcon(pm);
}

// A Block of meters: three meter faces in a row.
QIcon MetersIcon()
{
    QPixmap pm = Canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    for (int i = 0; i < 3; ++i) {
        const QRectF face(2 + i * 10, 8 + (i % 2) * 4, 9, 14);
        p.setBrush(QColor(250, 245, 220));
        p.drawRoundedRect(face, 2, 2);
        p.setBrush(QColor(30, 40, 50));
        p.drawRect(QRectF(face.left() + 2, face.top() + 3, 5, 3));
    }
    return QIcon(pm);
}

// A data file: a page with a folded corner and rows of figures.
QIcon DataFileIcon()
{
    QPixmap pm = Canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath page;
    page.moveTo(6, 2);
    page.lineTo(20, 2);
    page.lineTo(26, 8);
    page.lineTo(26, 30);
    page.lineTo(6, 30);
    page.closeSubpath();
    p.setPen(QPen(QColor(40, 60, 110), 1.5));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.drawLine(QPointF(20, 2), QPointF(20, 8));
    p.drawLine(QPointF(20, 8), QPointF(26, 8));
    p.setPen(QPen(QColor(40, 120, 60), 2));
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(10, 13 + i * 4.5), QPointF(22, 13 + i * 4.5));
    return QIcon(pm);
}

QLabel* Indicator(const QString& text, int width, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(width);
    label->setEnabled(false);
    return label;
}

// Lock key state as the kernel's keyboard LEDs show it; false when it cannot be read.
bool LedOn(const QString& suffix)
{
    const QDir leds("/sys/class/leds");
    for (const QString& name : leds.entryList({"*::" + suffix}, QDir::Dirs | QDir::System)) {
        QFile f(leds.filePath(name + "/brightness"));
        if (f.open(QIODevice::ReadOnly) && f.readAll().trimmed() != "0")
            return true;
    }
    return false;
}

// A database file that is not there (a server's database is asked for only when opened).
bool MissingDatabaseFile(const QString& name)
{
    return !IsServerConnect(name.toStdString()) && !QFileInfo::exists(name);
}

} // namespace

CMainFrame::CMainFrame(CMrvDoc& doc, QWidget* parent) : QMainWindow(parent), m_doc(doc)
{
    setObjectName("MainFrame");
    // The title never shows a document name: there are no document files.
    setWindowTitle(QStringLiteral("mrv003e"));
    setWindowIcon(ProgramIcon());
    setMinimumSize(500, 340);
    resize(760, 520);

    m_view = new CMrvView(doc, this);
    setCentralWidget(m_view);

    auto* file = menuBar()->addMenu(tr("&File"));
    // The readings of the data-file Block the view shows, on paper or as a PDF file.
    const struct {
        const char* name;
        const char* text;
        const char* prompt;
        PrintCommand command;
    } printing[] = {
        {"Print", QT_TR_NOOP("&Print..."), QT_TR_NOOP("Print the readings of the Block\nPrint"),
         PrintCommand::Print},
        {"PrintPreview", QT_TR_NOOP("Print Pre&view"),
         QT_TR_NOOP("Show the printed pages of the readings\nPrint Preview"),
         PrintCommand::PrintPreview},
        {"PrintDirect", QT_TR_NOOP("Print &Direct"),
         QT_TR_NOOP("Print the readings on the default printer\nPrint Direct"),
         PrintCommand::PrintDirect},
        {"ExportPdf", QT_TR_NOOP("&Export PDF..."),
         QT_TR_NOOP("Save the printed readings as a PDF file\nExport PDF"),
         PrintCommand::ExportPdf},
    };
    for (const auto& p : printing) {
        QAction* a = AddAction(file, p.name, tr(p.text), tr(p.prompt), nullptr);
        connect(a, &QAction::triggered, this,
                [this, c = p.command] { RunPrintCommand(c, m_doc, *m_view, this); });
        if (p.command == PrintCommand::PrintDirect)
            file->addSeparator();
    }
    Action("Print")->setShortcut(QKeySequence::Print);
    AddAction(file, "ExportReadings", tr("Export &Readings..."),
              tr("Save the readings of the data file as a spreadsheet (.xlsx) or table (.csv)\n"
                 "Export Readings"),
              &CMainFrame::OnExportReadings);
    file->addSeparator();
    AddAction(file, "Exit", tr("E&xit"), tr("Quit the application\nExit"), nullptr);
    connect(Action("Exit"), &QAction::triggered, this, &QWidget::close);

    auto* comm = menuBar()->addMenu(tr("&Communication"));
    AddAction(comm, "Config", tr("&Config"), tr("Communication Setting\nConfig"),
              &CMainFrame::OnConfig);
    AddAction(comm, "Operate", tr("&Operate"), tr("Communication\nOperate"),
              &CMainFrame::OnOperate);
    AddAction(comm, "MeterTest", tr("Meter &Test"), tr("Meter Test"), &CMainFrame::OnMeterTest);
    AddAction(comm, "LineCheck", tr("&Line Check..."),
              tr("Find the meters on a line: speeds, parities and addresses\nLine Check"),
              &CMainFrame::OnLineCheck);

    auto* db = menuBar()->addMenu(tr("&Database"));
    AddAction(db, "OpenDatabase", tr("&Open Database"), tr("Open Database"),
              &CMainFrame::OnOpenDatabase);
    AddAction(db, "OpenServerDatabase", tr("Open &Server Database..."),
              tr("Open a database on a PostgreSQL server"), &CMainFrame::OnOpenServerDatabase);
    m_recentMenu = db->addMenu(tr("&Recent Databases"));
    m_recentMenu->setObjectName("RecentDatabases");
    m_recentMenu->menuAction()->setObjectName("RecentDatabasesMenu");
    m_recentMenu->menuAction()->setStatusTip(tr("Open one of the databases opened last"));
    for (int i = 0; i < RecentFileList::kSize; ++i) {
        QAction* a = m_recentMenu->addAction(QString());
        a->setObjectName(QString("RecentDatabase%1").arg(i + 1));
        connect(a, &QAction::triggered, this, [this, i] { OnRecentDatabase(i); });
    }
    AddAction(db, "CloseDatabase", tr("&Close Database"), tr("Close Database"),
              &CMainFrame::OnCloseDatabase);

    auto* view = menuBar()->addMenu(tr("&View"));
    AddAction(view, "HhuSetting", tr("&HHU Setting"), tr("HHU Setting\nHHU"),
              &CMainFrame::OnHhuSetting);
    AddAction(view, "MeterSetting", tr("&Meter Setting"), tr("Meter Setting\nMeter"),
              &CMainFrame::OnMeterSetting);
    AddAction(view, "ViewFile", tr("&View File"), tr("View File\nView"), &CMainFrame::OnViewFile);
    for (const char* name : {"HhuSetting", "MeterSetting", "ViewFile"})
        Action(name)->setCheckable(true);
    view->addSeparator();
    AddLanguageMenu(view);

    auto* data = menuBar()->addMenu(tr("Da&ta"));
    AddAction(data, "CreateDownloadFile", tr("&Create Download File"), tr("Create Download File"),
              &CMainFrame::OnCreateDownloadFile);
    AddAction(data, "DownloadFile", tr("&Download File"), tr("Download File\nDownLoad"),
              &CMainFrame::OnDownloadFile);
    AddAction(data, "UploadFile", tr("&Upload File"), tr("Upload File\nUpload"),
              &CMainFrame::OnUploadFile);
    AddAction(data, "ConvertDataFile", tr("Con&vert Data File"), tr("Convert Data File"),
              &CMainFrame::OnConvertDataFile);
    AddAction(data, "ExportEnergy", tr("&Export Energy Database..."),
              tr("Save the readings of an energy database as a spreadsheet (.xlsx) or table "
                 "(.csv)"),
              &CMainFrame::OnExportEnergy);
    AddAction(data, "EnergyDatabase", tr("&Energy Database..."),
              tr("Choose the database Input stores readings into"), &CMainFrame::OnEnergyDatabase);
    data->addSeparator();
    AddAction(data, "ParameterSetting", tr("&Parameter Setting"), tr("Parameter Setting"),
              &CMainFrame::OnParameterSetting);
    AddAction(data, "FilePathSetting", tr("&File Path Setting"), tr("File Path Setting"),
              &CMainFrame::OnFilePathSetting);

    auto* about = menuBar()->addAction(tr("&About"));
    about->setObjectName("About");
    about->setStatusTip(tr("Display program information and version number"));
    connect(about, &QAction::triggered, this, &CMainFrame::OnAbout);

    for (QMenu* m : menuBar()->findChildren<QMenu*>())
        connect(m, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUi);

    m_toolBar = new QToolBar(tr("Toolbar"), this);
    m_toolBar->setObjectName("ToolBar");
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->setIconSize(QSize(32, 32));
    Action("Config")->setIcon(ConfigIcon());
    Action("Operate")->setIcon(OperateIcon());
    Action("HhuSetting")->setIcon(HhuIcon());
    Action("MeterSetting")->setIcon(MetersIcon());
    Action("ViewFile")->setIcon(DataFileIcon());
    // Under the toolbar's pictures the short names of the prompts. Given, not taken from the
    // menu texts, where a translation's "(&C)" would show as "(C)".
    Action("Config")->setIconText(tr("Config", "toolbar"));
    Action("Operate")->setIconText(tr("Operate", "toolbar"));
    Action("HhuSetting")->setIconText(tr("HHU", "toolbar"));
    Action("MeterSetting")->setIconText(tr("Meter", "toolbar"));
    Action("ViewFile")->setIconText(tr("View", "toolbar"));
    for (const char* name : {"Config", "Operate", "HhuSetting", "MeterSetting", "ViewFile"})
        m_toolBar->addAction(Action(name));
    for (QAction* a : m_toolBar->actions()) {
        if (auto* b = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(a))) {
            b->setFixedSize(62, 60);
            b->setAutoRaise(true);
        }
    }
    Action("Config")->setToolTip(tr("Config", "toolbar"));
    Action("Operate")->setToolTip(tr("Operate", "toolbar"));
    Action("HhuSetting")->setToolTip(tr("HHU", "toolbar"));
    Action("MeterSetting")->setToolTip(tr("Meter", "toolbar"));
    Action("ViewFile")->setToolTip(tr("View", "toolbar"));
    addToolBar(Qt::TopToolBarArea, m_toolBar);

    // The idle text comes back whenever a status tip or a timed message goes away.
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (message.isEmpty())
            statusBar()->showMessage(tr("Ready"));
    });
    statusBar()->showMessage(tr("Ready"));
    // The three panes keep one width, that of the widest, whatever the language.
    const QString lockKeys[] = {tr("CAP", "Caps Lock"), tr("NUM", "Num Lock"),
                                tr("SCRL", "Scroll Lock")};
    int paneWidth = 0;
    for (const QString& key : lockKeys)
        paneWidth = std::max(paneWidth, statusBar()->fontMetrics().horizontalAdvance(key) + 10);
    m_caps = Indicator(lockKeys[0], paneWidth, this);
    m_num = Indicator(lockKeys[1], paneWidth, this);
    m_scroll = Indicator(lockKeys[2], paneWidth, this);
    statusBar()->addPermanentWidget(m_caps);
    statusBar()->addPermanentWidget(m_num);
    statusBar()->addPermanentWidget(m_scroll);
    // Qt has no portable event for lock-key changes; a slow poll is enough for three labels.
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &CMainFrame::UpdateLockIndicators);
    timer->start(500);
    UpdateLockIndicators();

    connect(&m_doc, &CMrvDoc::RefreshLists, m_view, &CMrvView::RefreshLists);
    connect(&m_doc, &CMrvDoc::ResetDisplay, m_view, &CMrvView::ResetDisplay);
    connect(&m_doc, &CMrvDoc::Busy, this, &CMainFrame::SetBusy);
    connect(&m_doc, &CMrvDoc::PortRefused, statusBar(),
            [this](const QString& why) { statusBar()->showMessage(why); });
    connect(m_view, &CMrvView::ModeChanged, this, &CMainFrame::UpdateCommandUi);
    connect(m_view, &CMrvView::StatusMessage, statusBar(), &QStatusBar::showMessage);
    connect(m_view, &CMrvView::CommandDone, this, &CMainFrame::UpdateCommandUi);
    UpdateCommandUi();
}

void CMainFrame::AddLanguageMenu(QMenu* view)
{
    QMenu* menu = view->addMenu(tr("&Language"));
    menu->setObjectName("Language");
    menu->menuAction()->setObjectName("LanguageMenu");
    menu->menuAction()->setStatusTip(tr("The language of the window, from the next start"));
    auto* group = new QActionGroup(menu);
    // Each language by its own name, so that a person who cannot read the current one
    // still finds theirs.
    const struct {
        const char* name;
        QString text;
        LanguageChoice choice;
    } choices[] = {
        {"LanguageSystem", tr("&System"), LanguageChoice::System},
        {"LanguageChinese", QString::fromUtf8("\u4e2d\u6587"), LanguageChoice::Chinese},
        {"LanguageEnglish", QStringLiteral("English"), LanguageChoice::English},
    };
    const LanguageChoice current = StoredLanguage(m_doc.GetSettings());
    for (const auto& c : choices) {
        QAction* a = menu->addAction(c.text);
        a->setObjectName(c.name);
        a->setCheckable(true);
        a->setChecked(c.choice == current);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, choice = c.choice] {
            if (choice == StoredLanguage(m_doc.GetSettings()))
                return;
            StoreLanguage(m_doc.GetSettings(), choice);
            // Every window and message is built in the language loaded at the start.
            m_doc.GetPrompter().Message(
                tr("The window will show the language chosen when mrv003e starts again.")
                    .toStdString(),
                tr("Language").toStdString());
        });
    }
}

QAction* CMainFrame::AddAction(QMenu* menu, const QString& name, const QString& text,
                               const QString& prompt, void (CMainFrame::*slot)())
{
    auto* action = menu->addAction(text);
    action->setObjectName(name);
    // The prompt's first line is the status-bar help; a second line would be the tool tip.
    const QStringList lines = prompt.split('\n');
    action->setStatusTip(lines.first());
    action->setToolTip(lines.size() > 1 ? lines[1] : lines.first());
    if (slot)
        connect(action, &QAction::triggered, this, slot);
    return action;
}

QAction* CMainFrame::Action(const QString& name) const
{
    return findChild<QAction*>(name);
}

void CMainFrame::UpdateCommandUi()
{
    const bool dbOpen = m_doc.IsDatabaseOpen() != 0;
    Action("OpenDatabase")->setEnabled(m_doc.CanOpenDatabase());
    Action("OpenServerDatabase")->setEnabled(m_doc.CanOpenDatabase());
    Action("CloseDatabase")->setEnabled(m_doc.CanCloseDatabase());
    UpdateRecentMenu();
    Action("CreateDownloadFile")->setEnabled(m_doc.CanCreateDownloadFile());
    const int mode = m_doc.GetViewMode();
    Action("HhuSetting")->setEnabled(dbOpen);
    Action("HhuSetting")->setChecked(dbOpen && mode == CMrvDoc::ModeHhu);
    Action("MeterSetting")->setEnabled(dbOpen);
    Action("MeterSetting")->setChecked(dbOpen && mode == CMrvDoc::ModeBlock);
    const bool fileOpen = m_doc.GetDataFile().IsLoaded();
    Action("ViewFile")->setChecked(fileOpen && mode == CMrvDoc::ModeDataFile);
    for (const char* name : {"Print", "PrintPreview", "PrintDirect", "ExportPdf", "ExportReadings"})
        Action(name)->setEnabled(CanPrintReadings(m_doc));
}

void CMainFrame::SetRecentFiles(RecentFileList* recent)
{
    m_recent = recent;
    UpdateRecentMenu();
}

void CMainFrame::UpdateRecentMenu()
{
    const std::vector<std::string> none;
    const std::vector<std::string>& names = m_recent ? m_recent->Names() : none;
    const QList<QAction*> entries = m_recentMenu->actions();
    for (int i = 0; i < int(entries.size()); ++i) {
        QAction* a = entries[i];
        const bool used = std::size_t(i) < names.size();
        a->setVisible(used);
        if (!used)
            continue;
        const QString name = QString::fromStdString(names[std::size_t(i)]);
        // "&" in a path would be read as the entry's mnemonic.
        a->setText(QString("&%1 %2").arg(i + 1).arg(QString(name).replace('&', "&&")));
        a->setStatusTip(name);
    }
    // Like Open Database: offered while no database is open.
    m_recentMenu->menuAction()->setEnabled(!names.empty() && m_doc.CanOpenDatabase());
}

void CMainFrame::RememberOpenedDatabase()
{
    if (m_recent && m_doc.IsDatabaseOpen())
        m_recent->Add(m_doc.m_dbName);
}

int CMainFrame::OpenDatabaseNamed(const QString& name)
{
    if (!m_doc.CanOpenDatabase())
        return 0;
    const std::string target = name.toStdString();
    int opened = 0;
    if (MissingDatabaseFile(name)) {
        m_doc.GetPrompter().Message(tr("%1\nThis database does not exist.").arg(name).toStdString(),
                                    tr("Open Database").toStdString(), MsgIcon::Warning);
    } else if (IsServerConnect(target)) {
        opened = m_doc.OpenServerDatabase(target);
    } else {
        opened = m_doc.OpenDatabaseFile(QFileInfo(name).absoluteFilePath().toStdString());
    }
    RememberOpenedDatabase();
    UpdateCommandUi();
    return opened;
}

void CMainFrame::OnRecentDatabase(int index)
{
    if (!m_recent || index < 0 || std::size_t(index) >= m_recent->Names().size() ||
        !m_doc.CanOpenDatabase())
        return;
    const std::string name = m_recent->Names()[std::size_t(index)];
    const QString shown = QString::fromStdString(name);
    if (MissingDatabaseFile(shown)) {
        m_doc.GetPrompter().Message(
            tr("%1\nThis database is no longer there; it is taken off the recent list.")
                .arg(shown)
                .toStdString(),
            tr("Recent Databases").toStdString(), MsgIcon::Warning);
        m_recent->Remove(name);
        UpdateCommandUi();
        return;
    }
    OpenDatabaseNamed(shown);
}

void CMainFrame::NotAvailable(const QString& what)
{
    statusBar()->showMessage(tr("%1: not available in this build").arg(what), 4000);
}

void CMainFrame::SetBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void CMainFrame::UpdateLockIndicators()
{
    m_caps->setEnabled(LedOn("capslock"));
    m_num->setEnabled(LedOn("numlock"));
    m_scroll->setEnabled(LedOn("scrolllock"));
}

void CMainFrame::OnConfig()
{
    CCommSettingDlg dlg(this);
    dlg.m_baudIndex = m_doc.m_baudIndex;
    dlg.m_comIndex = m_doc.m_comIndex;
    dlg.m_parity = m_doc.m_parity;
    dlg.m_dataBits = "8";
    dlg.m_stopBits = "1";
    for (int i = 0; i < 4; ++i)
        dlg.m_devicePaths[std::size_t(i)] = m_doc.ComDevice(i);
    dlg.exec();
    // Cancel leaves the dialog's fields as given, so copying back keeps the document's values.
    m_doc.m_baudIndex = dlg.m_baudIndex;
    m_doc.m_comIndex = dlg.m_comIndex;
    m_doc.m_parity = dlg.m_parity;
}

void CMainFrame::OnAbout()
{
    CAboutDlg dlg(this);
    dlg.exec();
}

void CMainFrame::OnOpenDatabase()
{
    m_doc.OnOpenDatabase();
    RememberOpenedDatabase();
    UpdateCommandUi();
}

void CMainFrame::OnOpenServerDatabase()
{
    if (!m_doc.CanOpenDatabase())
        return;
    CServerDbDlg dlg(ServerDatabaseFields::From(m_doc.m_dbName), m_doc.GetPrompter(), this);
    if (dlg.exec() == QDialog::Accepted)
        m_doc.OnOpenServerDatabase(dlg.Fields());
    RememberOpenedDatabase();
    UpdateCommandUi();
}

void CMainFrame::OnCloseDatabase()
{
    if (!m_doc.CanCloseDatabase())
        return;
    m_doc.OnCloseDatabase();
    UpdateCommandUi();
}

void CMainFrame::OnParameterSetting()
{
    CDataFileSheet sheet(m_doc, this);
    sheet.exec();
}

void CMainFrame::OnFilePathSetting()
{
    CFilePathDlg dlg(m_doc, this);
    dlg.exec();
}

void CMainFrame::OnConvertDataFile()
{
    m_doc.OnConvertDataFile();
}

void CMainFrame::OnExportReadings()
{
    if (!CanPrintReadings(m_doc))
        return;
    CExportReadingsDlg dlg(m_doc, m_view->ListBox(CMrvView::IdFileBlocks)->GetCurSel(), this);
    if (dlg.exec() == QDialog::Accepted)
        statusBar()->showMessage(QString::fromStdString(dlg.Summary()), 8000);
}

void CMainFrame::OnExportEnergy()
{
    CExportEnergyDlg dlg(m_doc, this);
    if (dlg.exec() == QDialog::Accepted)
        statusBar()->showMessage(QString::fromStdString(dlg.Summary()), 8000);
}

void CMainFrame::OnEnergyDatabase()
{
    m_doc.OnChooseEnergyDatabase();
}

void CMainFrame::OnOperate()
{
    RunOperateDialog(m_doc, this);
}

void CMainFrame::OnLineCheck()
{
    RunLineCheckDialog(m_doc, this);
}

void CMainFrame::OnMeterTest()
{
    RunMeterTestDialog(m_doc, this);
}

void CMainFrame::OnCreateDownloadFile()
{
    if (!m_doc.CanCreateDownloadFile())
        return;
    CCreateDownloadDlg dlg(m_doc, this);
    dlg.exec();
}

void CMainFrame::OnDownloadFile()
{
    RunTransfer(DownloadCommand(m_doc));
}

void CMainFrame::OnUploadFile()
{
    RunTransfer(UploadCommand(m_doc));
}

void CMainFrame::RunTransfer(const TransferCommand& command)
{
    if (m_transferRunning)
        return;
    m_transferRunning = true;
    RunTransferProgram(command, m_doc.GetPrompter(), {menuBar(), m_toolBar, m_view}, statusBar());
    m_transferRunning = false;
}

bool CMainFrame::event(QEvent* event)
{
    // While the transfer program runs the status line says so; the tips of the disabled menus
    // and tool buttons the mouse passes over would replace that text, or clear it.
    if (event->type() == QEvent::StatusTip && m_transferRunning)
        return true;
    return QMainWindow::event(event);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (m_transferRunning) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void CMainFrame::OnHhuSetting()
{
    m_view->OnHhuSetting();
    UpdateCommandUi();
}

void CMainFrame::OnMeterSetting()
{
    m_view->OnMeterSetting();
    UpdateCommandUi();
}

void CMainFrame::OnViewFile()
{
    m_view->OnViewFile();
    UpdateCommandUi();
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("About"));
    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(48, 48));
    auto* text = new QVBoxLayout;
    text->addWidget(new QLabel(tr("mrv003e meter installation and reading tool"), this));
    text->addWidget(new QLabel(tr("Ver   %1").arg(QStringLiteral("1.2")), this));
    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addSpacing(12);
    row->addLayout(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* top = new QVBoxLayout(this);
    top->addLayout(row);
    top->addWidget(buttons);
}

} // namespace mrv

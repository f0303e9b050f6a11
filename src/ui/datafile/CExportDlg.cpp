#include "ui/datafile/CExportDlg.h"

#include "base/Prompter.h"
#include "datafile/ReadingExport.h"
#include "datafile/ReadingList.h"
#include "db/DatabaseBackend.h"
#include "doc/CMrvDoc.h"
#include "doc/EnergyExport.h"
#include "ui/app/CJobRunner.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <filesystem>

namespace mrv {

namespace {

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

// "<folder>/<name>.xlsx" with no separator taken from the name.
std::string PathIn(const QString& folder, QString name)
{
    name = name.trimmed();
    name.replace('/', '_').replace('\\', '_');
    return QDir(folder).filePath(name + ".xlsx").toStdString();
}

// A label's text as a screen reader says it: without its accelerator ("F&rom:", "从(&R)：")
// and its colon.
QString PlainLabel(QString text)
{
    static const QRegularExpression accelerator(R"(\(&[^)]\))");
    text.remove(accelerator).remove('&');
    while (text.endsWith(':') || text.endsWith(QChar(0xFF1A)))
        text.chop(1);
    return text.trimmed();
}

QLabel* BuddyLabel(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

std::optional<std::string> ConfirmExportPath(std::string path, Prompter& prompter,
                                             const std::string& caption)
{
    namespace fs = std::filesystem;
    while (!path.empty() && (path.back() == ' ' || path.back() == '\t'))
        path.pop_back();
    if (path.empty()) {
        prompter.Message(
            QCoreApplication::translate("mrv::CExportDlg", "Give the file to write.").toStdString(),
            caption, MsgIcon::Warning);
        return std::nullopt;
    }
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        prompter.Message(QCoreApplication::translate("mrv::CExportDlg",
                                                     "%1 is a folder. Give the name of the file to "
                                                     "write in it.")
                             .arg(Q(path))
                             .toStdString(),
                         caption, MsgIcon::Warning);
        return std::nullopt;
    }
    if (!fs::path(path).has_extension())
        path += ".xlsx";
    if (!SpreadsheetFormatOf(path)) {
        prompter.Message(QCoreApplication::translate(
                             "mrv::CExportDlg", "The file's name must end in .xlsx (a workbook) "
                                                "or .csv (a table): the format follows it.")
                             .toStdString(),
                         caption, MsgIcon::Warning);
        return std::nullopt;
    }
    if (fs::exists(path, ec) &&
        prompter.Message(QCoreApplication::translate(
                             "mrv::CExportDlg", "%1 already exists.\nDo you want to replace it?")
                             .arg(Q(path))
                             .toStdString(),
                         caption, MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
        return std::nullopt;
    return path;
}

CExportDlg::CExportDlg(CMrvDoc& doc, const QString& caption, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_caption(caption.toStdString())
{
    setWindowTitle(caption);
}

CExportDlg::~CExportDlg() = default;

void CExportDlg::Finish(QGridLayout* choices, const std::string& suggested)
{
    m_suggested = suggested;
    m_file = new QLineEdit(Q(suggested), this);
    m_file->setObjectName("exportFile");
    m_file->setAccessibleName(tr("File"));
    m_file->setMinimumWidth(380);
    m_file->setToolTip(tr("A name ending in .xlsx writes a workbook, in .csv a table"));
    auto* browse = new QPushButton(tr("&Browse..."), this);
    browse->setObjectName("exportBrowse");
    browse->setAccessibleName(tr("Browse"));
    const int row = choices->rowCount();
    choices->addWidget(BuddyLabel(tr("&File:"), m_file, this), row, 0);
    choices->addWidget(m_file, row, 1);
    choices->addWidget(browse, row, 2);

    m_status = new QLabel(this);
    m_status->setObjectName("exportStatus");
    m_status->setAccessibleName(tr("Status"));
    m_status->setWordWrap(true);
    m_export = new QPushButton(tr("&Export"), this);
    m_export->setObjectName("exportButton");
    m_export->setAccessibleName(tr("Export"));
    m_export->setDefault(true);
    m_stop = new QPushButton(tr("&Stop"), this);
    m_stop->setObjectName("stopButton");
    m_stop->setAccessibleName(tr("Stop"));
    m_close = new QPushButton(tr("Close"), this);
    m_close->setObjectName("closeButton");
    m_close->setAccessibleName(tr("Close"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_export);
    buttons->addWidget(m_stop);
    buttons->addWidget(m_close);

    // The choices in one box, disabled as one during a run: a control disabled on its own
    // (a date not asked for) stays disabled after it.
    auto* box = new QWidget(this);
    box->setLayout(choices);
    choices->setContentsMargins(0, 0, 0, 0);
    auto* top = new QVBoxLayout(this);
    top->addWidget(box);
    top->addWidget(m_status);
    top->addLayout(buttons);

    m_runner =
        std::make_unique<CJobRunner>(std::vector<QWidget*>{box, m_export, m_close}, m_stop, this);
    connect(browse, &QPushButton::clicked, this, &CExportDlg::OnBrowse);
    connect(m_export, &QPushButton::clicked, this, &CExportDlg::OnExport);
    connect(m_close, &QPushButton::clicked, this, &CExportDlg::reject);
    m_export->setFocus();
}

bool CExportDlg::Running() const
{
    return m_runner && m_runner->Running();
}

void CExportDlg::SetStatus(const QString& text)
{
    m_status->setText(text);
}

void CExportDlg::SetFile(const std::string& path)
{
    m_suggested = path;
    m_file->setText(Q(path));
}

std::string CExportDlg::File() const
{
    return m_file->text().toStdString();
}

bool CExportDlg::FileIsSuggested() const
{
    return File() == m_suggested;
}

void CExportDlg::OnBrowse()
{
    const std::optional<std::string> chosen = m_doc.GetPrompter().ChooseSaveFile(
        m_caption,
        tr("Excel workbook(.xlsx)|*.xlsx|CSV table(.csv)|*.csv",
           "file chooser's filter: name(ending)|pattern, twice; only the names are translated")
            .toStdString(),
        File(), ".xlsx");
    if (chosen && !chosen->empty())
        m_file->setText(Q(*chosen));
}

void CExportDlg::OnExport()
{
    if (Running())
        return;
    Prompter& prompter = m_doc.GetPrompter();
    if (const std::optional<std::string> problem = CheckChoices()) {
        prompter.Message(*problem, m_caption, MsgIcon::Warning);
        return;
    }
    const std::optional<std::string> path = ConfirmExportPath(File(), prompter, m_caption);
    if (!path)
        return;
    m_file->setText(Q(*path));
    auto job = MakeJob(*path);
    Outcome outcome;
    SetStatus(tr("Writing %1...").arg(Q(*path)));
    m_runner->Run([&] {
        JobPrompter jobPrompter(*m_runner, prompter);
        SheetHooks hooks;
        hooks.cancelled = [this] { return m_runner->StopRequested(); };
        hooks.progress = [this](int done, int total) {
            m_runner->Post([this, done, total] {
                SetStatus(tr("Writing row %1 of %2...").arg(done).arg(total));
            });
        };
        outcome = job(jobPrompter, hooks);
    });
    if (outcome.done) {
        m_written = *path;
        m_summary = outcome.summary;
        QDialog::accept();
        return;
    }
    if (m_runner->StopRequested()) {
        SetStatus(tr("Stopped: nothing was written."));
        return;
    }
    SetStatus(tr("Nothing was written."));
    if (!outcome.failure.empty())
        prompter.Message(outcome.failure, m_caption, MsgIcon::Error);
}

void CExportDlg::reject()
{
    if (Running()) {
        m_runner->RequestStop();
        return;
    }
    QDialog::reject();
}

CExportReadingsDlg::CExportReadingsDlg(CMrvDoc& doc, int shownBlock, QWidget* parent)
    : CExportDlg(doc, tr("Export Readings"), parent), m_shownBlock(shownBlock),
      m_blocks(doc.GetDataFile().GetBlockEntries())
{
    setObjectName("ExportReadingsDlg");
    const HhuDataFile& file = doc.GetDataFile();
    const ReadingSource source{m_blocks, file.GetReadings(), TariffMask(file.GetParameterBlock())};
    const std::vector<ExportedBlock> every = ExportedBlocks(source);
    std::size_t meters = 0;
    for (const ExportedBlock& b : every)
        meters += b.meters;
    if (m_shownBlock < 0 || std::size_t(m_shownBlock) >= m_blocks.size())
        m_shownBlock = -1;

    m_every = new QRadioButton(
        tr("Every Block (%1 Blocks, %2 meters)").arg(every.size()).arg(meters), this);
    m_every->setObjectName("exportEveryBlock");
    m_every->setAccessibleName(tr("Every Block"));
    const ExportedBlock* shown = m_shownBlock >= 0 ? &every[std::size_t(m_shownBlock)] : nullptr;
    m_shown = new QRadioButton(
        shown ? tr("The Block shown: %1 (%2 meters)").arg(Q(shown->name)).arg(shown->meters)
              : tr("The Block shown"),
        this);
    m_shown->setObjectName("exportShownBlock");
    m_shown->setAccessibleName(tr("The Block shown"));
    m_shown->setEnabled(shown != nullptr);
    m_every->setChecked(true);
    auto* choices = new QGridLayout;
    choices->addWidget(new QLabel(tr("Readings of %1").arg(Q(file.LoadedPath())), this), 0, 0, 1,
                       3);
    choices->addWidget(m_every, 1, 0, 1, 3);
    choices->addWidget(m_shown, 2, 0, 1, 3);
    Finish(choices, SuggestedPath(true));
    // The suggested name follows the choice until the user types one of their own.
    connect(m_every, &QRadioButton::toggled, this, [this](bool every) {
        if (FileIsSuggested())
            SetFile(SuggestedPath(every));
    });
}

std::string CExportReadingsDlg::SuggestedPath(bool everyBlock) const
{
    const QFileInfo file(Q(m_doc.GetDataFile().LoadedPath()));
    QString name = file.completeBaseName();
    if (!everyBlock && m_shownBlock >= 0)
        name += ' ' + Q(m_blocks[std::size_t(m_shownBlock)].name);
    return PathIn(file.absolutePath(), name);
}

std::function<CExportDlg::Outcome(Prompter&, const SheetHooks&)>
CExportReadingsDlg::MakeJob(const std::string& path)
{
    // The worker gets copies: nothing it reads belongs to the UI thread.
    struct Copy {
        std::vector<BlockEntry> blocks;
        std::vector<ReadingRecord> readings;
        std::uint8_t mask = 0;
        std::vector<int> which;
    };
    auto copy = std::make_shared<Copy>();
    const HhuDataFile& file = m_doc.GetDataFile();
    copy->blocks = m_blocks;
    copy->readings = file.GetReadings();
    copy->mask = TariffMask(file.GetParameterBlock());
    if (m_shown->isChecked() && m_shownBlock >= 0)
        copy->which = {m_shownBlock};
    return [copy, path](Prompter&, const SheetHooks& hooks) {
        const ReadingSource source{copy->blocks, copy->readings, copy->mask};
        const SpreadsheetFormat format =
            SpreadsheetFormatOf(path).value_or(SpreadsheetFormat::Xlsx);
        const ExportResult written =
            WriteSpreadsheet(path, format, ReadingBook(source, copy->which), hooks);
        Outcome outcome;
        outcome.done = bool(written);
        outcome.failure = ExportFailureText(path, written);
        std::size_t meters = 0;
        for (const ExportedBlock& b : ExportedBlocks(source, copy->which))
            meters += b.meters;
        outcome.summary = tr("%1 meters written to %2").arg(meters).arg(Q(path)).toStdString();
        return outcome;
    };
}

CExportEnergyDlg::CExportEnergyDlg(CMrvDoc& doc, QWidget* parent)
    : CExportDlg(doc, tr("Export Energy Database"), parent)
{
    setObjectName("ExportEnergyDlg");
    m_database = new QLineEdit(Q(doc.m_dbEnergy), this);
    m_database->setObjectName("exportDatabase");
    m_database->setAccessibleName(tr("Energy database"));
    m_database->setToolTip(tr("A database file, or a server's postgresql://user@host:port/dbname"));
    auto* browseDb = new QPushButton(tr("B&rowse..."), this);
    browseDb->setObjectName("exportDatabaseBrowse");
    browseDb->setAccessibleName(tr("Browse for the energy database"));

    const PcTime now = doc.GetClock().Now();
    const QDate today(now.year, now.month, now.day);
    auto dateRow = [this](const QString& text, const char* name, QDate date, QCheckBox*& on,
                          QDateEdit*& edit) {
        on = new QCheckBox(text, this);
        on->setObjectName(QString(name) + "On");
        on->setAccessibleName(PlainLabel(text));
        edit = new QDateEdit(date, this);
        edit->setObjectName(name);
        edit->setAccessibleName(on->accessibleName());
        edit->setDisplayFormat("yyyy-MM-dd");
        edit->setCalendarPopup(true);
        edit->setEnabled(false);
        connect(on, &QCheckBox::toggled, edit, &QWidget::setEnabled);
    };
    dateRow(tr("F&rom:"), "exportFrom", QDate(today.year(), today.month(), 1), m_fromOn, m_from);
    dateRow(tr("&To:"), "exportTo", today, m_toOn, m_to);
    m_meters = new QLineEdit(this);
    m_meters->setObjectName("exportMeters");
    m_meters->setAccessibleName(tr("Meters"));
    m_meters->setPlaceholderText(tr("Meter ID2s, separated by commas; empty: every meter"));

    auto* choices = new QGridLayout;
    choices->addWidget(BuddyLabel(tr("&Database:"), m_database, this), 0, 0);
    choices->addWidget(m_database, 0, 1);
    choices->addWidget(browseDb, 0, 2);
    choices->addWidget(m_fromOn, 1, 0);
    choices->addWidget(m_from, 1, 1, Qt::AlignLeft);
    choices->addWidget(m_toOn, 2, 0);
    choices->addWidget(m_to, 2, 1, Qt::AlignLeft);
    choices->addWidget(BuddyLabel(tr("&Meters:"), m_meters, this), 3, 0);
    choices->addWidget(m_meters, 3, 1, 1, 2);

    std::string suggested;
    if (!doc.m_dbEnergy.empty() && !IsServerConnect(doc.m_dbEnergy)) {
        const QFileInfo db(Q(doc.m_dbEnergy));
        suggested = PathIn(db.absolutePath(), db.completeBaseName());
    } else {
        suggested = PathIn(QDir::currentPath(), "energy");
    }
    Finish(choices, suggested);
    connect(browseDb, &QPushButton::clicked, this, &CExportEnergyDlg::OnBrowseDatabase);
}

void CExportEnergyDlg::OnBrowseDatabase()
{
    const std::optional<std::string> chosen = m_doc.GetPrompter().ChooseOpenFile(
        tr("Open Energy Database").toStdString(),
        tr("database(.db)|*.db *.sqlite *.mdb",
           "file chooser's filter: name(ending)|patterns; only the name is translated")
            .toStdString(),
        m_database->text().toStdString(), ".db");
    if (chosen && !chosen->empty())
        m_database->setText(Q(*chosen));
}

std::optional<std::string> CExportEnergyDlg::CheckChoices()
{
    if (m_database->text().trimmed().isEmpty())
        return tr("Give the energy database to export.").toStdString();
    if (m_fromOn->isChecked() && m_toOn->isChecked() && m_from->date() > m_to->date())
        return tr("The first day of the range is after its last day.").toStdString();
    return std::nullopt;
}

std::function<CExportDlg::Outcome(Prompter&, const SheetHooks&)>
CExportEnergyDlg::MakeJob(const std::string& path)
{
    EnergyFilter filter;
    auto day = [](const QDate& d) { return CalendarDate{d.year(), d.month(), d.day()}; };
    if (m_fromOn->isChecked())
        filter.from = day(m_from->date());
    if (m_toOn->isChecked())
        filter.to = day(m_to->date());
    filter.meters = SplitMeterList(m_meters->text().toStdString());
    const std::string database = m_database->text().trimmed().toStdString();
    return [filter, database, path](Prompter& prompter, const SheetHooks& hooks) {
        const EnergyExportResult result = ExportEnergy(database, filter, path, prompter, hooks);
        Outcome outcome;
        outcome.done = bool(result);
        // A database that could not be read has told the user already.
        if (result.loaded)
            outcome.failure = ExportFailureText(path, result.written);
        outcome.summary = tr("%1 rows written to %2").arg(result.rows).arg(Q(path)).toStdString();
        return outcome;
    };
}

} // namespace mrv

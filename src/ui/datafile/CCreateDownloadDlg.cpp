#include "ui/datafile/CCreateDownloadDlg.h"

#include "base/NumberText.h"
#include "datafile/ParameterBlock.h"
#include "db/MeterDatabase.h"
#include "doc/CMrvDoc.h"
#include "ui/app/CJobRunner.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <set>

namespace mrv {

CCreateDownloadDlg::CCreateDownloadDlg(CMrvDoc& doc, QWidget* parent, SourceFactory factory)
    : QDialog(parent), m_doc(doc), m_factory(std::move(factory))
{
    setWindowTitle(tr("Create Download File"));
    setObjectName("CreateDownloadDlg");
    if (!m_factory) {
        // Qt Sql connections belong to the thread that opened them: the worker opens its own.
        m_factory = [connect =
                         doc.m_connect](Prompter& prompter) -> std::unique_ptr<InstallationSource> {
            auto db = std::make_unique<MeterDatabase>(prompter);
            if (db->OpenMain(connect, "Admin", "") == 0)
                return nullptr;
            return db;
        };
    }

    auto* pathLabel = new QLabel(tr("Download File Path"), this);
    m_path = new QLineEdit(QString::fromStdString(doc.m_downloadPath), this);
    m_path->setObjectName("downloadPath");
    m_path->setAccessibleName(pathLabel->text());
    m_path->setReadOnly(true);
    pathLabel->setBuddy(m_path);

    m_list = new QTableWidget(0, 2, this);
    m_list->setObjectName("hhuList");
    m_list->setAccessibleName(tr("HHU list"));
    m_list->setHorizontalHeaderLabels({tr("HHU ID"), tr("Description")});
    m_list->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_list->verticalHeader()->hide();
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setShowGrid(true);
    m_list->setMinimumSize(300, 180);
    const HhuList& hhus = doc.Hhus();
    m_list->setRowCount(int(hhus.size()));
    for (int row = 0; row < int(hhus.size()); ++row) {
        const HhuRecord& h = hhus[std::size_t(row)];
        auto* id = new QTableWidgetItem(QString::fromStdString(FormatC("%04d", int(h.land_id))));
        id->setData(Qt::UserRole, h.land_id);
        m_list->setItem(row, 0, id);
        m_list->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(h.description)));
    }
    m_list->resizeRowsToContents();

    m_administrator = new QCheckBox(tr("Administrator"), this);
    m_administrator->setObjectName("administrator");
    m_administrator->setAccessibleName(m_administrator->text());
    m_create = new QPushButton(tr("Create", "download file"), this);
    m_create->setObjectName("createButton");
    m_create->setAccessibleName(m_create->text());
    m_create->setDefault(true);
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setObjectName("cancelButton");
    m_cancel->setAccessibleName(m_cancel->text());
    // A few lines high: a run over many HHUs can be read back by scrolling.
    m_status = new QListWidget(this);
    m_status->setObjectName("status");
    m_status->setAccessibleName(tr("Status"));
    m_status->setSelectionMode(QAbstractItemView::NoSelection);
    m_status->setFocusPolicy(Qt::NoFocus);
    m_status->setFixedHeight(m_status->fontMetrics().height() * 4 + 2 * m_status->frameWidth() + 8);
    m_status->addItem(tr("idle"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_administrator);
    buttons->addStretch();
    buttons->addWidget(m_create);
    buttons->addWidget(m_cancel);
    auto* top = new QVBoxLayout(this);
    top->addWidget(pathLabel);
    top->addWidget(m_path);
    top->addWidget(m_list, 1);
    top->addLayout(buttons);
    top->addWidget(m_status);

    // Cancel stays usable during a run: it is what stops the run.
    m_runner = std::make_unique<CJobRunner>(
        std::vector<QWidget*>{m_list, m_administrator, m_create}, nullptr, this);
    connect(m_create, &QPushButton::clicked, this, &CCreateDownloadDlg::OnCreate);
    connect(m_cancel, &QPushButton::clicked, this, &CCreateDownloadDlg::reject);
}

CCreateDownloadDlg::~CCreateDownloadDlg() = default;

bool CCreateDownloadDlg::Running() const
{
    return m_runner->Running();
}

QString CCreateDownloadDlg::StatusText(std::int32_t hhuId, bool stored, bool ok)
{
    const QString name = QString::fromStdString(HhuDataFile::DownloadFileName("", hhuId, stored));
    return (ok ? tr("Create %1  OK!") : tr("Create %1  Fail!")).arg(name);
}

void CCreateDownloadDlg::SetStatus(const QString& text)
{
    m_status->addItem(text);
    m_status->scrollToBottom();
}

void CCreateDownloadDlg::OnCreate()
{
    if (m_runner->Running())
        return;
    std::set<int> rows;
    for (const QModelIndex& index : m_list->selectionModel()->selectedRows())
        rows.insert(index.row());
    if (rows.empty()) {
        SetStatus(tr("Please Choice Meter First!"));
        return;
    }
    // The worker gets copies: nothing it reads belongs to the UI thread.
    Job job;
    job.folder = m_doc.m_downloadPath;
    job.stored = m_administrator->isChecked();
    BuildParameterBlock(m_doc.m_params, job.parameterBlock);
    for (int row : rows)
        job.hhuIds.push_back(m_list->item(row, 0)->data(Qt::UserRole).toInt());

    SetStatus(tr("Create..."));
    m_runner->Run([this, &job] { Work(job); });
    // A run the user stopped ends the dialog; a finished one leaves it ready for another.
    if (m_runner->StopRequested())
        QDialog::reject();
}

void CCreateDownloadDlg::Work(const Job& job)
{
    JobPrompter prompter(*m_runner, m_doc.GetPrompter());
    std::unique_ptr<InstallationSource> source = m_factory(prompter);
    DownloadInput input;
    input.source = source.get();
    input.parameterBlock = job.parameterBlock;
    input.prompter = &prompter;
    DownloadHooks hooks;
    hooks.cancelled = [this] { return m_runner->StopRequested(); };
    for (std::int32_t id : job.hhuIds) {
        if (m_runner->StopRequested())
            return;
        // Without a connection every HHU fails; the database layer has said why.
        const bool ok = source && HhuDataFile::CreateDownloadFile(job.folder, id, job.stored, input,
                                                                  hooks) == 1;
        if (m_runner->StopRequested())
            return;
        const QString text = StatusText(id, job.stored, ok);
        m_runner->Post([this, text] { SetStatus(text); });
    }
}

void CCreateDownloadDlg::reject()
{
    if (m_runner->Running()) {
        m_runner->RequestStop(); // OnCreate closes the dialog when the worker has ended
        return;
    }
    QDialog::reject();
}

} // namespace mrv

#include "ui/meterdlg/CMeterRunDlg.h"

#include "ui/app/CJobRunner.h"
#include "ui/meterdlg/CMeterLogEdit.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace mrv {

CMeterRunDlg::CMeterRunDlg(QWidget* parent) : QDialog(parent) {}

CMeterRunDlg::~CMeterRunDlg() = default;

void CMeterRunDlg::BuildFrame(QWidget* controls, std::vector<QWidget*> inputs,
                              const QString& runText, const char* runName, QSize size)
{
    // The log stays enabled during a run so it can be scrolled; it is read-only anyway.
    m_log = new CMeterLogEdit(this);

    // Outside the controls: during a run "Stop" is the one button enabled.
    m_stop = new QPushButton(tr("Stop"), this);
    m_stop->setObjectName("stop");
    m_stop->setAutoDefault(false);
    m_run = new QPushButton(runText, this);
    m_run->setObjectName(runName);
    m_run->setDefault(true);
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setObjectName("cancel");
    m_cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_stop);
    buttons->addWidget(m_run);
    buttons->addWidget(m_cancel);

    auto* panes = new QHBoxLayout;
    panes->addWidget(controls);
    panes->addWidget(m_log, 1);
    auto* top = new QVBoxLayout(this);
    top->addLayout(panes, 1);
    top->addLayout(buttons);
    resize(size);

    inputs.push_back(m_run);
    inputs.push_back(m_cancel);
    m_runner = std::make_unique<CJobRunner>(std::move(inputs), m_stop);
}

QPlainTextEdit* CMeterRunDlg::LogEdit() const
{
    return m_log;
}

bool CMeterRunDlg::Running() const
{
    return m_runner->Running();
}

void CMeterRunDlg::BindLink(const MeterDocumentCopy& values, std::uint8_t* address,
                            std::uint16_t constant)
{
    m_values = values;
    m_link.Attach(&m_values, m_log->PostingSink(*m_runner), address, constant);
}

void CMeterRunDlg::RunJob(const std::function<void()>& job)
{
    m_runner->Run(job);
}

bool CMeterRunDlg::StopRequested() const
{
    return m_runner->StopRequested();
}

void CMeterRunDlg::PostToUi(std::function<void()> fn)
{
    m_runner->Post(std::move(fn));
}

void CMeterRunDlg::OnUiThread(const std::function<void()>& fn)
{
    m_runner->OnUiThread(fn);
}

void CMeterRunDlg::reject()
{
    if (Running())
        return;
    QDialog::reject();
}

void CMeterRunDlg::closeEvent(QCloseEvent* event)
{
    if (Running()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace mrv

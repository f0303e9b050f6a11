#include "ui/app/CJobRunner.h"

#include <QEventLoop>
#include <QPushButton>
#include <QWidget>

#include <thread>
#include <utility>

namespace mrv {

CJobRunner::CJobRunner(std::vector<QWidget*> controls, QPushButton* stop, QObject* parent)
    : QObject(parent), m_controls(std::move(controls)), m_stopButton(stop)
{
    m_stopButton->setEnabled(false);
    connect(m_stopButton, &QPushButton::clicked, this, &CJobRunner::RequestStop);
}

CJobRunner::~CJobRunner() = default;

void CJobRunner::RequestStop()
{
    if (!m_running)
        return;
    m_stop = true;
    m_stopButton->setEnabled(false); // taken: the run ends after the step in progress
}

void CJobRunner::SetRunning(bool running)
{
    m_running = running;
    for (QWidget* w : m_controls)
        w->setEnabled(!running);
    m_stopButton->setEnabled(running);
    if (running)
        m_stopButton->setFocus();
}

void CJobRunner::Run(const std::function<void()>& job)
{
    if (m_running)
        return;
    m_stop = false;
    SetRunning(true);
    QEventLoop loop;
    std::thread worker([&] {
        job();
        // Queued after everything the job posted, so all of it is shown when Run returns.
        QMetaObject::invokeMethod(&loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    SetRunning(false);
}

void CJobRunner::OnUiThread(const std::function<void()>& fn)
{
    QMetaObject::invokeMethod(this, fn, Qt::BlockingQueuedConnection);
}

void CJobRunner::Post(std::function<void()> fn)
{
    QMetaObject::invokeMethod(this, std::move(fn), Qt::QueuedConnection);
}

} // namespace mrv

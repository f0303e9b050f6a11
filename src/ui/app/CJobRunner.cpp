#include "ui/app/CJobRunner.h"

#include <QEventLoop>
#include <QPushButton>
#include <QThread>
#include <QWidget>

#include <memory>
#include <utility>

namespace mrv {

CJobRunner::CJobRunner(std::vector<QWidget*> controls, QPushButton* stop, QObject* parent)
    : QObject(parent), m_controls(std::move(controls)), m_stopButton(stop)
{
    if (m_stopButton) {
        m_stopButton->setEnabled(false);
        connect(m_stopButton, &QPushButton::clicked, this, &CJobRunner::RequestStop);
    }
}

CJobRunner::~CJobRunner() = default;

void CJobRunner::RequestStop()
{
    if (!m_running)
        return;
    m_stop = true;
    if (m_stopButton)
        m_stopButton->setEnabled(false); // taken: the run ends after the step in progress
}

void CJobRunner::SetRunning(bool running)
{
    if (running) {
        m_refocus = nullptr;
        QWidget* focus = m_controls.empty() ? nullptr : m_controls.front()->window()->focusWidget();
        for (QWidget* w : m_controls)
            if (focus && (w == focus || w->isAncestorOf(focus)))
                m_refocus = focus;
    }
    m_running = running;
    for (QWidget* w : m_controls)
        w->setEnabled(!running);
    if (m_stopButton) {
        m_stopButton->setEnabled(running);
        if (running)
            m_stopButton->setFocus();
    }
    if (!running && m_refocus && m_refocus->isEnabled() && m_refocus->isVisible())
        m_refocus->setFocus();
}

void CJobRunner::Run(const std::function<void()>& job)
{
    if (m_running)
        return;
    m_stop = false;
    SetRunning(true);
    QEventLoop loop;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        job();
        // Queued after everything the job posted, so all of it is shown when Run returns.
        QMetaObject::invokeMethod(&loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    }));
    worker->start();
    loop.exec();
    worker->wait();
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

template <typename Fn> auto JobPrompter::Ask(Fn fn)
{
    if (QThread::currentThread() == m_runner.thread())
        return fn();
    decltype(fn()) answer{};
    m_runner.OnUiThread([&] { answer = fn(); });
    return answer;
}

MsgAnswer JobPrompter::Message(const std::string& text, const std::string& caption, MsgIcon icon,
                               MsgButtons buttons)
{
    return Ask([&] { return m_target.Message(text, caption, icon, buttons); });
}

std::optional<std::string> JobPrompter::ChooseOpenFile(const std::string& title,
                                                       const std::string& filter,
                                                       const std::string& startDir,
                                                       const std::string& defaultExt)
{
    return Ask([&] { return m_target.ChooseOpenFile(title, filter, startDir, defaultExt); });
}

std::optional<std::string> JobPrompter::ChooseSaveFile(const std::string& title,
                                                       const std::string& filter,
                                                       const std::string& startDir,
                                                       const std::string& defaultExt)
{
    return Ask([&] { return m_target.ChooseSaveFile(title, filter, startDir, defaultExt); });
}

std::optional<std::string> JobPrompter::ChooseFolder(const std::string& title,
                                                     const std::string& startDir)
{
    return Ask([&] { return m_target.ChooseFolder(title, startDir); });
}

std::optional<std::string> JobPrompter::AskPassword(const std::string& title,
                                                    const std::string& prompt)
{
    return Ask([&] { return m_target.AskPassword(title, prompt); });
}

} // namespace mrv

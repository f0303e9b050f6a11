#pragma once
// One way to run a long job from a dialog (a meter run, the wait for a program): the job runs
// on a worker thread while the dialog keeps repainting and shows what the job posts as it
// comes; the dialog's input controls are disabled, and its Stop button is the one control
// enabled. The job gets no widget: it asks the UI thread for what belongs there (the port, a
// question) with OnUiThread and hands it log lines with Post. It reads copies, not the live
// values the UI thread owns; between its steps it asks StopRequested.
#include "base/Prompter.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <vector>

class QPushButton;
class QWidget;

namespace mrv {

class CJobRunner : public QObject {
    Q_OBJECT
public:
    // `controls` are disabled during a run; `stop` is enabled only during a run, and a click on
    // it asks the job to stop. A control that had the focus when the run began has it again
    // when the run ends (disabling it had moved the focus on, to Cancel, say). Without a stop button (null) a run cannot be stopped by a click;
    // RequestStop still asks the job.
    CJobRunner(std::vector<QWidget*> controls, QPushButton* stop, QObject* parent = nullptr);
    ~CJobRunner() override;

    // Runs `job` on a worker thread (a QThread, so the job may use Qt objects that need an event
    // dispatcher, such as QProcess) and returns when it has ended, after everything it posted
    // has been handled. The event loop keeps running meanwhile. Does nothing while a run is
    // going on.
    void Run(const std::function<void()>& job);
    bool Running() const { return m_running; }

    // A stop asked for during the run now going on (cleared when the next run starts).
    bool StopRequested() const { return m_stop.load(); }
    void RequestStop();

    // From the job: runs `fn` on the UI thread and waits until it has run.
    void OnUiThread(const std::function<void()>& fn);
    // From the job: runs `fn` on the UI thread later, in the order of the posts.
    void Post(std::function<void()> fn);

private:
    void SetRunning(bool running);

    std::vector<QWidget*> m_controls;
    QPushButton* m_stopButton;
    QPointer<QWidget> m_refocus;
    bool m_running = false;
    std::atomic<bool> m_stop{false};
};

// The Prompter a job uses: every question goes to `target` on the UI thread while the job
// waits for the answer. Asked on the UI thread itself, it asks `target` directly.
class JobPrompter final : public Prompter {
public:
    JobPrompter(CJobRunner& runner, Prompter& target) : m_runner(runner), m_target(target) {}

    MsgAnswer Message(const std::string& text, const std::string& caption, MsgIcon icon,
                      MsgButtons buttons) override;
    std::optional<std::string> ChooseOpenFile(const std::string& title, const std::string& filter,
                                              const std::string& startDir,
                                              const std::string& defaultExt) override;
    std::optional<std::string> ChooseSaveFile(const std::string& title, const std::string& filter,
                                              const std::string& startDir,
                                              const std::string& defaultExt) override;
    std::optional<std::string> ChooseFolder(const std::string& title,
                                            const std::string& startDir) override;
    std::optional<std::string> AskPassword(const std::string& title,
                                           const std::string& prompt) override;

private:
    template <typename Fn> auto Ask(Fn fn);

    CJobRunner& m_runner;
    Prompter& m_target;
};

} // namespace mrv

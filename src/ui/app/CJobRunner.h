#pragma once
// One way to run a long job from a dialog (a meter run, the wait for a program): the job runs
// on a worker thread while the dialog keeps repainting and shows what the job posts as it
// comes; the dialog's input controls are disabled, and its Stop button is the one control
// enabled. The job gets no widget: it asks the UI thread for what belongs there (the port, a
// question) with OnUiThread and hands it log lines with Post. It reads copies, not the live
// values the UI thread owns; between its steps it asks StopRequested.
#include <QObject>

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
    // it asks the job to stop.
    CJobRunner(std::vector<QWidget*> controls, QPushButton* stop, QObject* parent = nullptr);
    ~CJobRunner() override;

    // Runs `job` on a worker and returns when it has ended, after everything it posted has been
    // handled. The event loop keeps running meanwhile. Does nothing while a run is going on.
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
    bool m_running = false;
    std::atomic<bool> m_stop{false};
};

} // namespace mrv

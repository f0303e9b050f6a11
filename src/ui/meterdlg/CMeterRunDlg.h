#pragma once
// The frame that the meter test station and the batch wizards share: their controls on the
// left, the meter log on the right, and below them "Stop", the run button (the default, so
// Enter runs) and "Cancel". A run goes through the job runner: the window keeps repainting and
// the log fills as the run goes on, while the controls and both buttons wait and "Stop" ends
// the run after the command in progress. The dialog cannot be closed during a run.
#include "link/MeterDocument.h"
#include "link/MeterLink.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QPlainTextEdit;
class QPushButton;

namespace mrv {

class CJobRunner;
class CMeterLogEdit;

class CMeterRunDlg : public QDialog {
    Q_OBJECT
public:
    ~CMeterRunDlg() override;

    MeterLink& Link() { return m_link; }
    bool Running() const;

    // The controls of the frame, for tests.
    QPlainTextEdit* LogEdit() const;
    QPushButton* RunButton() const { return m_run; }
    QPushButton* StopButton() const { return m_stop; }
    QPushButton* CancelButton() const { return m_cancel; }

protected:
    explicit CMeterRunDlg(QWidget* parent);

    // Lays `controls` out beside the log with the buttons below them; called once, by the
    // constructor of the dialog, after it has built its controls. `inputs` (those of the
    // controls that take input, or all of them) are disabled during a run.
    void BuildFrame(QWidget* controls, std::vector<QWidget*> inputs, const QString& runText,
                    const char* runName, QSize size);

    // Binds the link to `values`, a copy of the document's that the run reads while the UI
    // thread keeps the document, with the log window as its sink.
    void BindLink(const MeterDocumentCopy& values, std::uint8_t* address, std::uint16_t constant);
    // Runs `job` on the worker and returns when it has ended and its log lines are shown.
    void RunJob(const std::function<void()>& job);
    // For the job: a Stop was pressed during this run.
    bool StopRequested() const;
    // For the job: `fn` runs on the UI thread, after the log lines posted before it.
    void PostToUi(std::function<void()> fn);
    // For the job: `fn` runs on the UI thread while the job waits for it.
    void OnUiThread(const std::function<void()>& fn);

    void closeEvent(QCloseEvent* event) override;
    // Escape and the close box: nothing while a run goes on.
    void reject() override;

    MeterLink m_link;
    CMeterLogEdit* m_log = nullptr;

private:
    MeterDocumentCopy m_values; // what the worker's link reads during a run
    QPushButton* m_run = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_cancel = nullptr;
    std::unique_ptr<CJobRunner> m_runner;
};

} // namespace mrv

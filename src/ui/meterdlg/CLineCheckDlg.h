#pragma once
// "Line Check": finds the meters on a line. For the chosen port it says first why the device
// cannot be opened when it cannot, and what kind of device it is; then it tries the chosen
// speeds, parities and addresses with a short time-out each and lists every meter that
// answers with its own address. A found meter's settings, and a USB adapter's stable name,
// can be taken over for the Communication settings. The scan runs through the dialogs' job
// runner, so the window keeps repainting and "Stop" ends it after the try in progress.
#include "link/LineCheck.h"

#include <QDialog>

#include <array>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace mrv {

class CMrvDoc;
class CJobRunner;

class CLineCheckDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr std::array<int, 8> kSpeeds{600, 1200, 2400, 4800, 9600, 19200, 38400, 57600};

    explicit CLineCheckDlg(CMrvDoc& doc, QWidget* parent = nullptr);
    ~CLineCheckDlg() override;

    // The plan the controls describe.
    ScanPlan Plan() const;
    bool Running() const;

    // The controls, for tests.
    QComboBox* PortList() const { return m_portList; }
    QCheckBox* SpeedBox(int baud) const;
    QCheckBox* ParityBox(std::uint8_t parity) const;
    QSpinBox* FirstAddress() const { return m_first; }
    QSpinBox* LastAddress() const { return m_last; }
    QSpinBox* TimeoutBox() const { return m_timeout; }
    QPlainTextEdit* Report() const { return m_report; }
    QTreeWidget* Meters() const { return m_meters; }
    QProgressBar* Progress() const { return m_progress; }
    QPushButton* CheckButton() const { return m_checkButton; }
    QPushButton* StopButton() const { return m_stopButton; }
    QPushButton* CloseButton() const { return m_closeButton; }
    QPushButton* UseSettingsButton() const { return m_useSettings; }
    QPushButton* UseStableNameButton() const { return m_useStableName; }

public slots:
    // Checks the device and, when it can be opened, scans the line; returns when done.
    void OnCheck();
    // The selected meter's speed and parity, and this port, for the Communication settings.
    void OnUseSettings();
    // The USB adapter's /dev/serial/by-id name as the port's device.
    void OnUseStableName();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void ShowDevice();
    void ShowEstimate();
    void Say(const QString& text);
    void AddMeter(const ScanHit& hit);

    CMrvDoc& m_doc;
    QComboBox* m_portList;
    QLabel* m_deviceLabel;
    std::array<QCheckBox*, kSpeeds.size()> m_speedBoxes{};
    std::array<QCheckBox*, 3> m_parityBoxes{};
    QSpinBox* m_first;
    QSpinBox* m_last;
    QSpinBox* m_timeout;
    QLabel* m_estimate;
    QPlainTextEdit* m_report;
    QTreeWidget* m_meters;
    QProgressBar* m_progress;
    QLabel* m_current;
    QPushButton* m_checkButton;
    QPushButton* m_stopButton;
    QPushButton* m_closeButton;
    QPushButton* m_useSettings;
    QPushButton* m_useStableName;
    QWidget* m_controls;
    std::unique_ptr<CJobRunner> m_runner;
    std::optional<std::string> m_stableName; // of the port checked last
    int m_checkedPort = -1;
};

// The Line Check command: opens the dialog modally on the document's port.
void RunLineCheckDialog(CMrvDoc& doc, QWidget* parent);

} // namespace mrv

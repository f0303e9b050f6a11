#pragma once
// "Operate": the console for one meter. The user ticks operations and presses "Send"; the
// dialog copies its link options and write values into the document, then runs the shared
// Send sequence on its own MeterLink and shows the log. The run goes through the dialogs' job
// runner: the controls are disabled, the window keeps repainting and shows every log line as
// it comes, and "Stop" ends the run after the operation in progress. Below the log, the frame
// view shows each request and reply of the run with its outcome, layers and statistics.
#include "link/MeterLink.h"
#include "link/SendSequence.h"
#include "ui/meterdlg/CMeterLogEdit.h"

#include <QDialog>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace mrv {

class CMrvDoc;
class CFilterEdit;
class CFrameView;
class CJobRunner;

class COperateDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kShowModeFlags = 100;

    explicit COperateDlg(CMrvDoc& doc, QWidget* parent = nullptr);
    ~COperateDlg() override;

    // Set by the opener before the dialog is shown.
    int m_baudRate = 0;  // shown as "%d"
    int m_portIndex = 0; // shown as "COM%d" with index + 1

    // The dialog's fields, taken from the controls at every Send and at closing.
    OperationFlags m_operations{};
    int m_relayMode = 0;
    std::uint8_t m_address = 0;
    std::uint32_t m_moneyCents = 0;
    std::uint32_t m_moneyWord = 0;
    std::uint16_t m_targetAddress = 0;
    std::uint16_t m_relay1 = 0;
    std::uint16_t m_relay2 = 0;
    int m_carrierMode = 0;
    std::uint8_t m_carrierLead = 0;
    int m_newBaudIndex = 2;
    int m_threePhase = 0;
    std::array<std::uint8_t, kShowModeFlags> m_showMode{};
    // The range of the previous EEPROM read, offered at the next one.
    EepromRange m_eeprom;

    MeterLink& Link() { return m_link; }
    bool Running() const;

    // The controls, for tests. OperationBox finds a box of the run order by its text (hidden
    // ones included); null when there is none.
    QCheckBox* OperationBox(const QString& text) const;
    QLineEdit* AddressEdit() const { return m_addressEdit; }
    QLineEdit* PortEdit() const { return m_portEdit; }
    QLineEdit* BaudEdit() const { return m_baudEdit; }
    QComboBox* NewBaudList() const { return m_newBaudList; }
    QCheckBox* ThreePhaseBox() const { return m_threePhaseBox; }
    QPlainTextEdit* LogEdit() const { return m_log; }
    CFrameView* FrameView() const { return m_frames; }
    QPushButton* SendButton() const { return m_sendButton; }
    QPushButton* CloseButton() const { return m_closeButton; }
    QPushButton* StopButton() const { return m_stopButton; }
    QPushButton* PasswordTablesButton() const { return m_passwordButton; }

public slots:
    // Runs the Send and returns when it has ended (the window keeps working meanwhile).
    void OnSend();
    // Takes the control values, stores the new-baud-rate choice in the profile and closes.
    void OnClose();
    // Draws new password tables 1 and 2 into the document.
    void OnNewPasswordTables();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void BuildControls();
    void InitDialog();
    // Takes the control values into the fields. With checkAddress, an address that is not an
    // integer in 0..247 shows the range message and gives false (the fields stay as they were).
    bool TakeControlValues(bool checkAddress);
    void CopyToDocument();
    void SaveNewBaudIndex();
    std::optional<EepromRange> AskEepromRange(const EepromRange& previous);

    CMrvDoc& m_doc;
    MeterLink m_link;
    MeterDocumentCopy m_docCopy; // what the worker's link reads during a Send
    std::uint8_t m_linkAddress = 0; // the engine's address byte
    bool m_initialised = false;

    std::array<QCheckBox*, kRunOrderSize> m_boxes{};
    QWidget* m_controls = nullptr; // everything that takes input, disabled during a run
    QLineEdit* m_portEdit = nullptr;
    QLineEdit* m_baudEdit = nullptr;
    QLineEdit* m_addressEdit = nullptr;
    QCheckBox* m_threePhaseBox = nullptr;
    QComboBox* m_newBaudList = nullptr;
    CMeterLogEdit* m_log = nullptr;
    CFrameView* m_frames = nullptr; // the run's frames, below the log
    QPushButton* m_sendButton = nullptr;
    QPushButton* m_closeButton = nullptr;
    QPushButton* m_stopButton = nullptr;
    std::unique_ptr<CJobRunner> m_runner;

    // Created hidden and never shown.
    QCheckBox* m_plcBox = nullptr;
    QCheckBox* m_runThroughBox = nullptr;
    QLineEdit* m_moneyEdit = nullptr;
    QLineEdit* m_moneyWordEdit = nullptr;
    CFilterEdit* m_targetEdit = nullptr;
    QLineEdit* m_relay1Edit = nullptr;
    QLineEdit* m_relay2Edit = nullptr;
    QLineEdit* m_leadEdit = nullptr;
    std::array<QCheckBox*, 8> m_showModeBoxes{};
    QPushButton* m_passwordButton = nullptr;
};

// The Operate command: opens the dialog modally with the document's baud rate and port.
void RunOperateDialog(CMrvDoc& doc, QWidget* parent);

} // namespace mrv

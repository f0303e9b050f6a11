#pragma once
// "Meter Test": the bench tester's station. "Test" (or Enter) reads the meter on the bench
// at 1200 bit/s, fills the five status rows one by one, may clear the meter's energy when all
// passed, and keeps the result in the test database, one row per meter address. The run goes
// through the meter dialogs' frame: the window keeps repainting, the controls wait, and
// "Stop" ends the test after the read in progress (a stopped test saves nothing).
#include "link/MeterTestStation.h"
#include "ui/meterdlg/CMeterRunDlg.h"

#include <QIcon>

#include <array>
#include <cstdint>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace mrv {

class CFilterEdit;
class CMrvDoc;

class CMeterTestDlg final : public CMeterRunDlg {
    Q_OBJECT
public:
    explicit CMeterTestDlg(CMrvDoc& doc, QWidget* parent = nullptr);
    ~CMeterTestDlg() override;

    // The five tolerance values: loaded from the profile when the dialog is made, taken from
    // the controls at every test, written back by "Cancel".
    MeterTestSettings m_values;

    // The controls, for tests.
    QPlainTextEdit* ParameterEdit() const { return m_parameter; }
    QLineEdit* MeterIdEdit() const;
    QLineEdit* KwhEdit() const;
    QLineEdit* HundredthsEdit() const;
    QLineEdit* DiffEdit() const;
    QCheckBox* TestEnergyBox() const { return m_testEnergy; }
    QCheckBox* ClearEnergyBox() const { return m_clearEnergy; }
    // A row's status text, and its icon (whose accessible name says "pass", "fail" or "wait").
    QLabel* RowText(TestRow row) const { return m_rowText[std::size_t(row)]; }
    QLabel* RowIcon(TestRow row) const { return m_rowIcon[std::size_t(row)]; }
    // The outcome of the last test run (rows, values read).
    const MeterTestOutcome& LastOutcome() const { return m_outcome; }

public slots:
    // Runs one test and returns when it has ended (the window keeps working meanwhile).
    void OnTest();
    // Writes the values of the last test to the profile, closes the test database and closes.
    // Escape and the close box only close: nothing is written, and the test database stays
    // open for the next test.
    void OnCancel();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void ResetRows();
    void ShowRow(TestRow row, const RowStatus& status);
    // The controls' values; false, after a message naming the field, when one is out of range.
    bool TakeControlValues();
    MeterTestExpected Expected() const;

    CMrvDoc& m_doc;
    std::uint8_t m_address = 0; // the engine's address byte
    MeterTestOutcome m_outcome;
    bool m_initialised = false;
    std::array<QIcon, 3> m_icons; // pass, fail, neutral

    QPlainTextEdit* m_parameter = nullptr;
    CFilterEdit* m_meterId = nullptr;
    std::array<QLabel*, kTestRows> m_rowIcon{};
    std::array<QLabel*, kTestRows> m_rowText{};
    CFilterEdit* m_kwh = nullptr;
    CFilterEdit* m_hundredths = nullptr;
    CFilterEdit* m_diff = nullptr;
    QCheckBox* m_testEnergy = nullptr;
    QCheckBox* m_clearEnergy = nullptr;
};

// Communication > Meter Test: opens the dialog modally.
void RunMeterTestDialog(CMrvDoc& doc, QWidget* parent);

} // namespace mrv

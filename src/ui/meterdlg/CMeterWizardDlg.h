#pragma once
// The batch wizards: "Meter Setting" programs the meters of a Block one after another,
// "Reading" reads the meters of a data-file Block into the file. Both walk their list with
// "Previous" and the next button, drive the port themselves (even parity at the rate they
// were given), run the ticked groups of commands on the current meter with the run button
// and may then move on by themselves. A run goes through the meter dialogs' frame: the
// window keeps repainting, the controls wait, and "Stop" ends the run after the command in
// progress.
#include "link/MeterWizards.h"
#include "ui/meterdlg/CMeterRunDlg.h"

#include <QStringList>

#include <array>
#include <cstdint>
#include <vector>

class QCheckBox;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace mrv {

class CMrvDoc;
class CMrvView;
struct ViewCommandArgs;

class CMeterWizardDlg : public CMeterRunDlg {
    Q_OBJECT
public:
    ~CMeterWizardDlg() override;

    // Set by the opener before the dialog is shown.
    int m_baudRate = 1200;
    int m_portIndex = 1; // 0 is COM1

    int Position() const { return m_walk.Position(); }
    // The address the current meter's commands go to.
    std::uint8_t MeterAddress() const { return m_address; }

    // The controls, for tests. Box finds a check box of the group by its text.
    QCheckBox* Box(const QString& text) const;
    QCheckBox* SkipBox() const { return m_skip; }
    QLineEdit* PortEdit() const { return m_portEdit; }
    QLineEdit* BaudEdit() const { return m_baudEdit; }
    QLineEdit* MeterIdEdit() const { return m_meterIdEdit; }
    QPushButton* PreviousButton() const { return m_previous; }
    QPushButton* NextButton() const { return m_next; }

public slots:
    // Runs the ticked commands on the current meter and returns when the run has ended.
    void OnRun();
    void OnPrevious();
    void OnNext();

protected:
    struct Texts {
        QString title;     // the window's caption
        QString runButton; // "Set", "Reading"
        QString nextButton;
        QString group;     // the check boxes' group
        QStringList boxes; // in the order their commands run; all ticked at first
    };
    CMeterWizardDlg(CMrvDoc& doc, const Texts& texts, WizardWalk walk, QWidget* parent);

    // The meter at a position of the walk: the address its commands go to.
    virtual std::uint8_t AddressAt(int position) const = 0;
    // On the worker: the commands of one run on the attached link, by the ticked boxes.
    virtual WizardRunEnd RunCommands(const std::vector<bool>& ticked, const WizardHooks& hooks) = 0;
    // On the UI thread after a run whose commands all succeeded, before the port closes;
    // false keeps the wizard on this meter.
    virtual bool Finish() { return true; }
    // On the UI thread before the port is opened: false (after telling the user why) runs
    // nothing.
    virtual bool MayRun(const std::vector<bool>& /*ticked*/) { return true; }

    void showEvent(QShowEvent* event) override;
    // Opens and configures the port; false after the message.
    bool OpenPort();
    void UpdateMoveButtons();

    CMrvDoc& m_doc;
    // Given to the link at binding; WriteConstant sends it.
    std::uint16_t m_writeConstant = 0;

private:
    void BuildControls(const Texts& texts);
    // Shows the current meter: its address, the buttons' enabling, an empty log.
    void ShowMeter();

    WizardWalk m_walk;
    std::uint8_t m_address = 0; // the engine's address byte
    bool m_initialised = false;

    std::vector<QCheckBox*> m_boxes;
    QCheckBox* m_skip = nullptr;
    QLineEdit* m_portEdit = nullptr;
    QLineEdit* m_baudEdit = nullptr;
    QLineEdit* m_meterIdEdit = nullptr;
    QPushButton* m_previous = nullptr;
    QPushButton* m_next = nullptr;
};

// "Meter Setting": the meters of the document's meter array (the selected Block), from the
// selected one; the Block's meter constant is what WriteConstant sends.
class CMeterSettingDlg final : public CMeterWizardDlg {
    Q_OBJECT
public:
    // `constant`: three BCD bytes, least significant first.
    CMeterSettingDlg(CMrvDoc& doc, int meterIndex, const std::array<std::uint8_t, 3>& constant,
                     QWidget* parent = nullptr);

protected:
    std::uint8_t AddressAt(int position) const override;
    WizardRunEnd RunCommands(const std::vector<bool>& ticked, const WizardHooks& hooks) override;
    bool MayRun(const std::vector<bool>& ticked) override;

private:
    std::uint64_t m_constantValue = 0; // the Block's constant in decimal
};

// "Reading": the records first..last (counted from 1 over the file) of the loaded data file;
// each reading is written into the file and shown in the view's reading list at once.
class CReadingDlg final : public CMeterWizardDlg {
    Q_OBJECT
public:
    CReadingDlg(CMrvDoc& doc, CMrvView* view, int current, int first, int last,
                QWidget* parent = nullptr);

    QPushButton* ReadAllButton() const { return m_readAll; }
    QProgressBar* ProgressBar() const { return m_progress; }

public slots:
    // "Read All": reads every meter of the Block shown with the ticked reads, unattended: a
    // meter that fails is tried again after the others, meters read before are left alone,
    // each reading is stored and shown at once, and the summary ends the log.
    void OnReadAll();

protected:
    std::uint8_t AddressAt(int position) const override;
    WizardRunEnd RunCommands(const std::vector<bool>& ticked, const WizardHooks& hooks) override;
    bool Finish() override;

private:
    void BuildReadAll(int first, int last);

    CMrvView* m_view;
    int m_first;
    std::vector<int> m_sequences;   // the records of the Block shown
    std::uint8_t m_allAddress = 0;  // the engine's address byte during Read All
    QPushButton* m_readAll = nullptr;
    QProgressBar* m_progress = nullptr;
    ReadingBlocks m_blocks;
    bool m_readsEnergy = true; // the run read at least one of the two energy blocks
};

// The view's "Set" and "Read": open the wizards modally with what the view hands over.
void RunMeterSettingWizard(const ViewCommandArgs& args);
void RunReadingWizard(const ViewCommandArgs& args);

} // namespace mrv
